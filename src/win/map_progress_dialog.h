#pragma once
// The progress window of Make maps (template 131): which map is being drawn, a bar of the maps
// drawn and a Cancel button. The maps are made on the dialog's thread, so the window takes its
// input (Cancel, Escape, repainting) between maps.

#include <windows.h>

#include "maps/station_maps.h"

namespace animark::win {

class MapProgressDialog final : public MapProgress {
 public:
  // The window is made at the first question or report, owned by `owner`, centred on it and with
  // the keyboard: a folder refused before any drawing shows no window.
  MapProgressDialog(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
  // Destroys the window.
  ~MapProgressDialog() override;
  MapProgressDialog(const MapProgressDialog&) = delete;
  MapProgressDialog& operator=(const MapProgressDialog&) = delete;

  // "Drawing the 200-mile map (2 of 3)..." and the bar at `done` of `count`, repainted at once.
  void Drawing(int rangeMiles, int done, int count) override;
  // Handles the input that waits for the thread's windows first, so that a Cancel or Escape
  // given while the last map was drawn counts.
  bool CancelRequested() override;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Makes and shows the window unless it is made; false when it cannot be.
  bool Shown();

  HINSTANCE instance_;
  HWND owner_;
  HWND window_ = nullptr;
  bool cancelRequested_ = false;
};

}  // namespace animark::win
