#pragma once
// The program's name: the caption of its main window and of every message box.

namespace animark::ui {

inline constexpr char kProgramName[] = "Animark";

}  // namespace animark::ui
