#pragma once
// The seams of the command line: messages and questions on standard error and the terminal, and a
// progress bar on standard error while frames are written.

#include <cstdint>
#include <string>

#include "platform/export_screen.h"
#include "platform/progress_window.h"
#include "platform/user_messages.h"

namespace animark::cli {

// Prints every message as "PROGRAM: text" on standard error. A question is answered Yes at once
// when `assumeYes`; otherwise it is asked on the terminal when standard input is one, and
// answered No with a hint when there is no terminal to ask.
class TerminalMessages : public UserMessages {
 public:
  TerminalMessages(std::string program, bool assumeYes);
  MessageAnswer Show(std::string_view text, MessageIcon icon) override;

 private:
  std::string program_;
  bool assumeYes_;
};

// A bar of frames written, redrawn in place on standard error.
class TerminalProgress : public ProgressWindow {
 public:
  void SetText(ProgressText, std::string_view) override {}
  void SetRange(std::int32_t minimum, std::int32_t maximum) override;
  void SetPosition(std::int32_t position) override;
  void BringToTopAndRepaint() override {}
  // Ends the bar's line, if one was drawn.
  void Finish();

 private:
  int maximum_ = 0;
  int drawn_ = -1;  // filled width last drawn
};

// Shows the bar only when asked for and standard error is a terminal.
class TerminalScreen : public ExportScreen {
 public:
  explicit TerminalScreen(bool showProgress);
  ProgressWindow* BeginExport() override;
  void EndExport() override;

 private:
  bool showProgress_;
  TerminalProgress progress_;
};

}  // namespace animark::cli
