#pragma once
// The main dialog (template 102): one form with every setting of an export. Create GIF (the
// default button, so also Enter) takes the fields with their checks and runs the shared Create
// GIF command on this thread; Exit (also Escape, the close button and the system menu's Close)
// takes the fields, saves the settings and closes. The system menu holds the About entry (F1 too)
// "Optimize for the web", "Colour strikes by age" and "Make maps…", which asks for the detector's
// place, makes its three maps and fills the map fields with them.

#include <windows.h>

#include <array>
#include <memory>

#include "export/animation_exporter.h"
#include "platform/clock.h"
#include "platform/export_screen.h"
#include "platform/settings_key.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"
#include "settings/field_table.h"
#include "settings/settings_form.h"
#include "win/make_maps_dialog.h"

namespace animark::win {

class ProgressDialog;

class MainDialog final : private ExportScreen {
 public:
  // Sets the defaults (both period ends from `clock`) and loads the stored settings from `key`,
  // telling a key failure through `messages` before any window shows. `dates` writes and reads
  // the period fields. All must outlive the dialog.
  MainDialog(HINSTANCE instance, UserMessages& messages, SettingsKey& key, const Clock& clock,
             const DateTimeText& dates);
  ~MainDialog() override;
  MainDialog(const MainDialog&) = delete;
  MainDialog& operator=(const MainDialog&) = delete;

  // Shows the dialog and returns when it has closed through Exit.
  void Run();

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void OnInitDialog();
  // taking false: fills every control from the settings. taking true: takes every control into
  // the settings in exchange order with the form's checks; at the first refusal shows its
  // message, then puts the focus on the failing control with all its text selected, and returns
  // false.
  bool ExchangeFields(bool taking);
  void ShowFields(const FormFields& form);
  FormFields FieldsShown() const;
  // The field limits the text edits again where their text fits (a longer text, loaded from the
  // store, stays whole in its edit until it is taken and refused).
  void LimitTexts();
  void ShowMileCaptions();
  void ShowKilometreCaptions();
  void OnCreateGif();
  void OnExit();
  // Flips one of our own flags and its check mark in the system menu.
  void ToggleFlag(std::int32_t& flag, UINT entry);
  // "Make maps…": asks, then makes the maps on this thread with a progress window, the dialog
  // disabled; when they are written, the map fields get them. Tells the outcome, if any.
  void OnMakeMaps();
  // The folder first offered: the 100-mile map field's when it exists, else the Documents folder.
  std::filesystem::path FirstMapFolder() const;
  // While minimised: the icon, centred.
  void PaintMinimised();

  // Around one export: minimises the dialog and keeps input from it, shows the progress window,
  // disables Create GIF and shows the busy cursor; EndExport undoes it all.
  ProgressWindow* BeginExport() override;
  void EndExport() override;

  HWND Control(FormField field) const;

  HINSTANCE instance_;
  UserMessages& messages_;
  SettingsKey& key_;
  const DateTimeText& dates_;
  ExportSettings settings_;
  std::unique_ptr<AnimationExporter> exporter_;
  HICON appIcon_ = nullptr;       // shared with the system: not destroyed
  HICON appIconSmall_ = nullptr;  // the title bar's size, destroyed with the dialog
  HWND window_ = nullptr;
  bool exporting_ = false;
  std::unique_ptr<ProgressDialog> progress_;  // while an export runs
  bool makingMaps_ = false;
  // The last Make maps taken, offered again for the session.
  MapRequest mapRequest_;
  bool mapPlaceKnown_ = false;
};

}  // namespace animark::win
