#pragma once
// Where the running program's file is, so that data installed beside it can be found wherever the
// program was installed.

#include <filesystem>

namespace animark {

// The folder of the running program's file; empty when the system does not tell.
std::filesystem::path ProgramFolder();

}  // namespace animark
