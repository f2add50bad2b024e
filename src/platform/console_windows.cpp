#include "platform/console.h"

#include "platform/file_replacement.h"
#include "platform/windows_support.h"

// Needs the types of <windows.h>, which windows_support.h includes.
#include <shellapi.h>

namespace animark {

namespace {

// Runs on a thread of its own. Returning FALSE hands the event on to the default handler, which
// ends the process.
BOOL WINAPI RemoveTemporaryFileOnControl(DWORD) {
  RemovePendingTemporaryFile();
  return FALSE;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(windows::Narrow(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

void UseUtf8Console() {
  ::SetConsoleOutputCP(CP_UTF8);
  ::SetConsoleCP(CP_UTF8);
}

bool IsTerminal(StandardStream stream) {
  DWORD mode = 0;
  return ::GetConsoleMode(
             ::GetStdHandle(stream == StandardStream::Input ? STD_INPUT_HANDLE : STD_ERROR_HANDLE),
             &mode) != 0;
}

void RemoveTemporaryFileOnInterruption() {
  ::SetConsoleCtrlHandler(RemoveTemporaryFileOnControl, TRUE);
}

}  // namespace animark
