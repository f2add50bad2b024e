#pragma once
// What a front end does to its screen around one export: the dialog minimises itself, shows the
// progress window, disables Create GIF and shows the busy cursor; the command line draws a bar.

#include "platform/progress_window.h"

namespace animark {

class ExportScreen {
 public:
  virtual ~ExportScreen() = default;

  // Called once the output file is open. Returns the progress window of this export, or null
  // when none could be made (the export then runs without visible progress).
  virtual ProgressWindow* BeginExport() = 0;
  // Called after the export has closed its file: takes the progress window away and returns
  // the screen to what it was before BeginExport.
  virtual void EndExport() = 0;
};

}  // namespace animark
