#pragma once
// The main dialog: one form with every setting of an export. Create GIF (the default button, so
// also Enter in any field) takes the fields with their checks and runs the shared Create GIF
// command; Exit (also Escape and the window's close button) takes the fields, saves the settings
// and closes. The About box comes from the context menu and F1, since on Linux the window menu
// belongs to the window manager. The command runs on a worker thread while the dialog's event
// loop goes on; Exit and a further Create GIF wait for its end. "Make maps…" in the context menu
// asks for the detector's place and a folder, makes the three maps there on a worker thread with
// a progress window, and fills the three map fields with them.

#include <QDialog>
#include <array>
#include <memory>

#include "export/animation_exporter.h"
#include "maps/station_maps.h"
#include "platform/clock.h"
#include "platform/export_screen.h"
#include "platform/settings_key.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"
#include "settings/settings_form.h"
#include "ui/locale_date_time_text.h"
#include "ui/make_maps_dialog.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QProgressDialog;
class QPushButton;
class QRadioButton;

namespace animark::ui {

class ExportThread;
class MapThread;
class ProgressDialog;

class MainDialog final : public QDialog, private ExportScreen {
  Q_OBJECT

 public:
  // Sets the defaults (both period ends from `clock`), loads the stored settings from `key`
  // (telling a key failure through `messages` before any window shows) and fills the form. Every
  // message of the dialog and of its exports goes through `messages`; `key` is opened again at
  // Exit. Both must outlive the dialog.
  MainDialog(UserMessages& messages, SettingsKey& key, const Clock& clock);
  ~MainDialog() override;

  // taking false: fills every control from the settings. taking true: takes every control into
  // the settings in exchange order with the form's checks; at the first refusal shows its
  // message (exclamation icon), then puts the focus on the failing control with all its text
  // selected, and returns false.
  bool ExchangeFields(bool taking);

  // Captions of the three zoom buttons; the checked button stays checked.
  void ShowMileCaptions();
  void ShowKilometreCaptions();

  // What the last exchange took (or the settings loaded, before any).
  const ExportSettings& Settings() const { return settings_; }

  // From Create GIF until its command has ended.
  bool Exporting() const { return exportThread_ != nullptr; }

  // Makes the maps of every range into `request.folder` (map100.bmp ...) with a progress window;
  // once all are written, the map fields name them; a failure is told, a cancel is not.
  void MakeMaps(const MapRequest& request);
  // From MakeMaps until its maps are written, refused or cancelled.
  bool MakingMaps() const { return mapThread_ != nullptr; }

 public slots:
  // Exit: takes the fields (a refusal is shown but does not stop it), saves and closes.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // Create GIF: takes the fields and, when every check passed, starts the command.
  void OnCreateGif();
  void ShowAbout();
  // "Make maps…": asks, then MakeMaps.
  void OnMakeMaps();
  void EndMakingMaps(const std::vector<StationMap>& maps, const StationMapsResult& result);

  // Around one export: minimises the dialog, shows the progress window (which keeps input from
  // the dialog), disables Create GIF and shows the busy cursor; EndExport undoes it all.
  ProgressWindow* BeginExport() override;
  void EndExport() override;

  void BuildForm();
  void ShowFields(const FormFields& form);
  FormFields FieldsShown() const;
  // The field limits the text edits again where their text fits (a longer text, loaded from the
  // store, stays whole in its edit until it is taken and refused).
  void LimitTexts();
  QWidget* Control(FormField field) const { return controls_[static_cast<std::size_t>(field)]; }

  UserMessages& messages_;
  SettingsKey& key_;
  const LocaleDateTimeText dates_;
  ExportSettings settings_;
  std::unique_ptr<AnimationExporter> exporter_;

  QLineEdit* exportFile_ = nullptr;
  QLineEdit* periodStart_ = nullptr;
  QLineEdit* periodEnd_ = nullptr;
  std::array<QRadioButton*, kRangeCount> zoom_{};
  QButtonGroup* zoomGroup_ = nullptr;
  std::array<QLineEdit*, kRangeCount> mapFiles_{};
  std::array<QLineEdit*, kRangeCount> ringCounts_{};
  QCheckBox* crosshairs_ = nullptr;
  QRadioButton* miles_ = nullptr;
  QRadioButton* kilometres_ = nullptr;
  QButtonGroup* unitGroup_ = nullptr;
  QCheckBox* labelRings_ = nullptr;
  QLineEdit* persistence_ = nullptr;
  QLineEdit* rate_ = nullptr;
  QLineEdit* pauseBetweenFrames_ = nullptr;
  QLineEdit* pauseAfterLastFrame_ = nullptr;
  QLineEdit* iterations_ = nullptr;
  QLineEdit* comments_ = nullptr;
  QLineEdit* dataDirectory_ = nullptr;
  QPushButton* createGif_ = nullptr;
  QAction* aboutAction_ = nullptr;
  QAction* optimizeAction_ = nullptr;    // "Optimize for the web": the small stream
  QAction* ageColoursAction_ = nullptr;  // "Colour strikes by age"
  QAction* makeMapsAction_ = nullptr;
  // The last place and folder asked for maps, offered again.
  MapRequest mapRequest_;
  bool mapPlaceKnown_ = false;
  // The dialog's column of the field table: each field's control, a radio group's first button.
  std::array<QWidget*, kFormFieldCount> controls_{};

  // While an export runs; the thread last, so that it ends before anything it uses.
  std::unique_ptr<ProgressDialog> progress_;
  std::unique_ptr<ExportThread> exportThread_;
  // While maps are made, likewise.
  std::unique_ptr<QProgressDialog> mapProgress_;
  std::unique_ptr<MapThread> mapThread_;
};

}  // namespace animark::ui
