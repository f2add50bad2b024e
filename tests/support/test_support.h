#pragma once
// Shared by the tests of every room: recording implementations of the platform seams and a
// temporary folder that removes itself.

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "image/frame_buffer.h"
#include "platform/progress_window.h"
#include "platform/user_messages.h"

namespace animark::testing {

// Records every message; answers questions with `answer`.
class RecordingMessages : public UserMessages {
 public:
  struct Shown {
    std::string text;
    MessageIcon icon;
  };
  explicit RecordingMessages(MessageAnswer answer = MessageAnswer::Yes) : answer_(answer) {}
  MessageAnswer Show(std::string_view text, MessageIcon icon) override;

  std::vector<Shown> shown;

 private:
  MessageAnswer answer_;
};

// Records every report as one line of text, e.g. "text Status Adding bitmap...", "range 1 61",
// "position 3", "repaint".
class RecordingProgress : public ProgressWindow {
 public:
  void SetText(ProgressText line, std::string_view text) override;
  void SetRange(std::int32_t minimum, std::int32_t maximum) override;
  void SetPosition(std::int32_t position) override;
  void BringToTopAndRepaint() override;

  std::vector<std::string> events;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

#ifndef _WIN32
// While it lives, files may not grow past `bytes`: writes beyond fail as on a full disk, for root
// as for anyone. POSIX only.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  std::uint64_t savedLimit_ = 0;
  void (*savedHandler_)(int) = nullptr;
};
#endif

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A cell of the frame buffer, printed as (x, y).
struct Cell {
  int x;
  int y;
  friend bool operator==(const Cell&, const Cell&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Cell& cell) {
    return out << "(" << cell.x << ", " << cell.y << ")";
  }
};

// The cells that carry a strike mark, column by column.
std::vector<Cell> MarkedCells(const FrameBuffer& buffer);

}  // namespace animark::testing
