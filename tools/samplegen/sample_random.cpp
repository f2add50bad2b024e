#include "sample_random.h"

namespace animark::samplegen {

double SampleRandom::Uniform() {
  return static_cast<double>(engine_()) * 0x1p-32;
}

std::uint32_t SampleRandom::Below(std::uint32_t count) {
  return static_cast<std::uint32_t>((std::uint64_t{engine_()} * count) >> 32);
}

double SampleRandom::Bell() {
  // Four uniforms sum to mean 2 and variance 1/3; sqrt(3) brings the deviation to 1.
  constexpr double kSqrt3 = 1.7320508075688772;
  // One call per statement: the order of calls within an expression is unspecified.
  double sum = 0.0;
  for (int i = 0; i < 4; ++i) sum += Uniform();
  return (sum - 2.0) * kSqrt3;
}

}  // namespace animark::samplegen
