#pragma once
// A standard stream that closes itself: every file the program opens is held by one of these.

#include <cstdio>
#include <memory>

namespace animark {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace animark
