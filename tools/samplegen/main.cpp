// animark-samplegen DIR: writes the demonstration maps and day files into DIR.

#include <cstdio>
#include <string>

#include "sample_set.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  std::string error;
  if (!animark::samplegen::WriteSampleSet(argv[1], &error)) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
    return 1;
  }
  return 0;
}
