#pragma once
// The progress window of one export: four text lines and a bar. The export reports through this
// seam; the dialog shows a window, the command line a bar on a terminal, tests record it.

#include <cstdint>
#include <string_view>

namespace animark {

enum class ProgressText {
  Status,      // "Adding bitmap...", "Creating GIF file...", "Compressing image..."
  FrameCount,  // "Number of frames: %i"
  Progress,    // "Progress: adding frame %i of %i"
  Length,      // "Length of animation: %.2f sec."
};

class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;

  virtual void SetText(ProgressText line, std::string_view text) = 0;
  // The bar runs from `minimum` to `maximum` (the frame count, which may pass 65535).
  virtual void SetRange(std::int32_t minimum, std::int32_t maximum) = 0;
  virtual void SetPosition(std::int32_t position) = 0;
  // Brings the window to the top and repaints it at once (after each frame).
  virtual void BringToTopAndRepaint() = 0;
  // Whether the user asked to stop the export (asked after each frame). A window without a way
  // to ask never does.
  virtual bool CancelRequested() { return false; }
};

// For an export that runs without a visible progress window.
class NoProgressWindow final : public ProgressWindow {
 public:
  void SetText(ProgressText, std::string_view) override {}
  void SetRange(std::int32_t, std::int32_t) override {}
  void SetPosition(std::int32_t) override {}
  void BringToTopAndRepaint() override {}
};

}  // namespace animark
