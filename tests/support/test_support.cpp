#include "support/test_support.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#ifdef _WIN32
#include <process.h>
#endif

namespace animark::testing {

MessageAnswer RecordingMessages::Show(std::string_view text, MessageIcon icon) {
  shown.push_back({std::string(text), icon});
  return icon == MessageIcon::Question ? answer_ : MessageAnswer::Ok;
}

namespace {
const char* Name(ProgressText line) {
  switch (line) {
    case ProgressText::Status:
      return "Status";
    case ProgressText::FrameCount:
      return "FrameCount";
    case ProgressText::Progress:
      return "Progress";
    case ProgressText::Length:
      return "Length";
  }
  return "?";
}
}  // namespace

void RecordingProgress::SetText(ProgressText line, std::string_view text) {
  events.push_back(std::string("text ") + Name(line) + " " + std::string(text));
}
void RecordingProgress::SetRange(std::int32_t minimum, std::int32_t maximum) {
  events.push_back("range " + std::to_string(minimum) + " " + std::to_string(maximum));
}
void RecordingProgress::SetPosition(std::int32_t position) {
  events.push_back("position " + std::to_string(position));
}
void RecordingProgress::BringToTopAndRepaint() {
  events.push_back("repaint");
}

TempDir::TempDir() {
#ifdef _WIN32
  // No mkdtemp: the next free name of the process's own series.
  static int made = 0;
  const auto base = std::filesystem::temp_directory_path() /
                    ("animark-test-" + std::to_string(::_getpid()) + "-");
  do {
    path_ = base.string() + std::to_string(made++);
  } while (!std::filesystem::create_directory(path_));
#else
  std::string pattern = (std::filesystem::temp_directory_path() / "animark-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
#endif
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

#ifndef _WIN32
FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  savedLimit_ = limit.rlim_cur;
  // Without this the process would be killed at the first write past the limit.
  savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = savedLimit_;
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, savedHandler_);
}
#endif

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<Cell> MarkedCells(const FrameBuffer& buffer) {
  std::vector<Cell> marked;
  for (int x = 0; x < FrameBuffer::kWidth; ++x) {
    for (int y = 0; y < FrameBuffer::kHeight; ++y) {
      if (buffer.At(x, y) >= FrameBuffer::kStrikeMark) marked.push_back({x, y});
    }
  }
  return marked;
}

}  // namespace animark::testing
