#include "platform/console.h"

#include <unistd.h>

#include <csignal>

#include "platform/file_replacement.h"

namespace animark {

namespace {

extern "C" void RemoveTemporaryFileAndDie(int signalNumber) {
  RemovePendingTemporaryFile();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseUtf8Console() {}

bool IsTerminal(StandardStream stream) {
  return ::isatty(stream == StandardStream::Input ? STDIN_FILENO : STDERR_FILENO) != 0;
}

void RemoveTemporaryFileOnInterruption() {
  for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
    std::signal(signalNumber, RemoveTemporaryFileAndDie);
  }
}

}  // namespace animark
