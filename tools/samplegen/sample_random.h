#pragma once
// Random numbers that come out the same with every standard library: the sequence of
// std::mt19937 is fixed by the standard, the shapes of the std::*_distribution classes are not,
// so the shaping is done here with plain arithmetic.

#include <cstdint>
#include <random>

namespace animark::samplegen {

class SampleRandom {
 public:
  explicit SampleRandom(std::uint32_t seed) : engine_(seed) {}

  // Uniform in [0, 1), in steps of 2^-32.
  double Uniform();
  // Uniform integer in [0, count); count > 0.
  std::uint32_t Below(std::uint32_t count);
  // Bell-shaped with mean 0 and standard deviation 1, bounded by +/-3.47 (a scaled sum of four
  // uniforms, so no transcendental functions whose last bit differs between maths libraries).
  double Bell();

 private:
  std::mt19937 engine_;
};

}  // namespace animark::samplegen
