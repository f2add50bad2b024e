#include "ui/main_dialog.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "export/create_gif.h"
#include "export/user_texts.h"
#include "settings/settings_store.h"
#include "ui/about_dialog.h"
#include "ui/app_icon.h"
#include "ui/dialog_units.h"
#include "ui/export_thread.h"
#include "ui/map_thread.h"
#include "ui/program.h"
#include "ui/progress_dialog.h"

namespace animark::ui {

namespace {

// Positions in dialog units.
struct Place {
  int x, y, width, height;
};

struct Caption {
  const char* text;
  Place place;
};

constexpr Place kFormSize{0, 0, 320, 224};

constexpr Caption kFrames[] = {
    // Wider than the classic layout (206), for period fields that hold a date, a time with
    // seconds and AM/PM whole.
    {"Period", {4, 20, 214, 24}},
    {"Zoom", {4, 46, 310, 56}},
    {"GIF options", {4, 122, 294, 60}},
};

constexpr Caption kLabels[] = {
    {"Export file:", {4, 9, 37, 8}},
    {"from:", {10, 31, 19, 8}},
    {"to:", {117, 31, 11, 8}},
    {"Rings (0=none):", {231, 56, 54, 8}},
    {"Rings (0=none):", {231, 66, 54, 8}},
    {"Rings (0=none):", {231, 76, 54, 8}},
    {"Persistence:", {4, 107, 42, 8}},
    {"minutes", {75, 107, 27, 8}},
    {"Rate:", {124, 107, 19, 8}},
    {"minutes/second", {173, 107, 53, 8}},
    {"Pause between frames:", {10, 135, 79, 8}},
    {"in 1/100 seconds (max: 65535)", {120, 135, 105, 8}},
    {"Pause after last frame:", {11, 145, 78, 8}},
    {"in 1/100 seconds (max: 65535)", {120, 145, 105, 8}},
    {"Number of iterations:", {18, 155, 71, 8}},
    {"times (max: 65535, 0 = infinite, -1 = no iterations)", {120, 155, 170, 8}},
    {"Comments:", {51, 165, 38, 8}},
    {"Data file directory:", {4, 187, 64, 8}},
    {"The Graphics Interchange Format is copyright CompuServe Incorporated.\n"
     "GIF(sm) is a service mark of CompuServe Incorporated.",
     {4, 202, 312, 18}},
};

constexpr std::array<const char*, kRangeCount> kMileCaptions = {"100 mi", "200 mi", "300 mi"};
constexpr std::array<const char*, kRangeCount> kKilometreCaptions = {"160 km", "320 km", "480 km"};

// Checks the button at `position` and unchecks the others; a position outside the group checks
// none, which an exclusive group allows only while it is not exclusive.
void CheckPosition(QButtonGroup& group, int position) {
  group.setExclusive(false);
  for (QAbstractButton* button : group.buttons()) button->setChecked(group.id(button) == position);
  group.setExclusive(true);
}

QString FromUtf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

MainDialog::MainDialog(UserMessages& messages, SettingsKey& key, const Clock& clock)
    : QDialog(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      messages_(messages),
      key_(key),
      settings_(DefaultExportSettings(DateTime::FromLocalTime(clock.Now()))),
      exporter_(std::make_unique<AnimationExporter>()) {
  LoadSettings(settings_, key_, messages_);

  setWindowTitle(kProgramName);
  setWindowIcon(AppIcon());
  setFont(DialogFont());
  BuildForm();

  ExchangeFields(false);
  optimizeAction_->setChecked(settings_.optimizeForWeb != 0);
  ageColoursAction_->setChecked(settings_.ageColours != 0);
  if (settings_.units == 1) {
    ShowKilometreCaptions();
  } else {
    ShowMileCaptions();
  }
  exportFile_->setFocus();
}

MainDialog::~MainDialog() = default;

void MainDialog::BuildForm() {
  const DialogUnits units(font());
  const auto place = [&](QWidget* widget, Place at) {
    widget->setGeometry(units.Rect(at.x, at.y, at.width, at.height));
  };
  setFixedSize(units.Size(kFormSize.width, kFormSize.height));

  // Frames and labels first, so that the controls lie above them; none of them takes the focus.
  // A frame's line runs through the middle of its title, as the layout's positions expect.
  const int titleMiddle = QFontMetrics(font()).height() / 2;
  for (const Caption& frame : kFrames) {
    auto* box = new QGroupBox(frame.text, this);
    box->setStyleSheet(QString("QGroupBox { border: 1px solid palette(mid); margin-top: %1px; }"
                               "QGroupBox::title { subcontrol-origin: margin; left: %2px;"
                               " padding: 0 2px; }")
                           .arg(titleMiddle)
                           .arg(units.Rect(0, 0, 4, 0).width()));
    place(box, frame.place);
  }
  for (const Caption& caption : kLabels) {
    auto* label = new QLabel(caption.text, this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, caption.place);
  }

  // The controls in tab order.
  const auto edit = [&](const char* name, Place at) {
    auto* control = new QLineEdit(this);
    control->setObjectName(name);
    place(control, at);
    return control;
  };
  const auto radio = [&](const char* name, Place at) {
    auto* control = new QRadioButton(this);
    control->setObjectName(name);
    place(control, at);
    return control;
  };
  const auto check = [&](const char* name, const char* caption, Place at) {
    auto* control = new QCheckBox(caption, this);
    control->setObjectName(name);
    place(control, at);
    return control;
  };
  const auto button = [&](const char* name, const char* caption, Place at) {
    auto* control = new QPushButton(caption, this);
    control->setObjectName(name);
    place(control, at);
    return control;
  };

  exportFile_ = edit("exportFile", {42, 8, 168, 10});
  // 84 units rather than 70 and 71: "12/31/2026 12:59:59 PM" fits.
  periodStart_ = edit("periodStart", {30, 30, 84, 10});
  periodEnd_ = edit("periodEnd", {130, 30, 84, 10});
  zoomGroup_ = new QButtonGroup(this);
  for (int range = 0; range < kRangeCount; ++range) {
    zoom_[range] = radio(("zoom" + std::to_string(range)).c_str(), {12, 56 + 10 * range, 38, 10});
    zoomGroup_->addButton(zoom_[range], range);
  }
  for (int range = 0; range < kRangeCount; ++range) {
    mapFiles_[range] =
        edit(("mapFile" + std::to_string(range)).c_str(), {50, 56 + 10 * range, 176, 10});
  }
  for (int range = 0; range < kRangeCount; ++range) {
    ringCounts_[range] =
        edit(("ringCount" + std::to_string(range)).c_str(), {286, 56 + 10 * range, 22, 10});
  }
  crosshairs_ = check("crosshairs", "Crosshairs", {12, 89, 50, 10});
  miles_ = radio("miles", {88, 89, 32, 10});
  miles_->setText("Miles");
  kilometres_ = radio("kilometres", {136, 89, 49, 10});
  kilometres_->setText("Kilometers");
  unitGroup_ = new QButtonGroup(this);
  unitGroup_->addButton(miles_, 0);
  unitGroup_->addButton(kilometres_, 1);
  labelRings_ = check("labelRings", "Label rings", {231, 89, 51, 10});
  persistence_ = edit("persistenceMinutes", {46, 106, 27, 10});
  rate_ = edit("rateMinutesPerSecond", {144, 106, 27, 10});
  pauseBetweenFrames_ = edit("pauseBetweenFrames", {90, 134, 27, 10});
  pauseAfterLastFrame_ = edit("pauseAfterLastFrame", {90, 144, 27, 10});
  iterations_ = edit("iterations", {90, 154, 27, 10});
  comments_ = edit("comments", {90, 164, 200, 10});
  dataDirectory_ = edit("dataDirectory", {68, 186, 168, 10});
  createGif_ = button("createGif", "Create GIF", {260, 7, 50, 14});
  createGif_->setDefault(true);
  QPushButton* exit = button("exit", "Exit", {260, 23, 50, 14});
  controls_ = {comments_,
               dataDirectory_,
               exportFile_,
               iterations_,
               mapFiles_[0],
               mapFiles_[1],
               mapFiles_[2],
               persistence_,
               rate_,
               zoom_[0],
               periodStart_,
               periodEnd_,
               pauseBetweenFrames_,
               pauseAfterLastFrame_,
               ringCounts_[0],
               ringCounts_[1],
               ringCounts_[2],
               crosshairs_,
               labelRings_,
               miles_};

  connect(createGif_, &QPushButton::clicked, this, &MainDialog::OnCreateGif);
  connect(exit, &QPushButton::clicked, this, &MainDialog::reject);
  connect(miles_, &QRadioButton::clicked, this, &MainDialog::ShowMileCaptions);
  connect(kilometres_, &QRadioButton::clicked, this, &MainDialog::ShowKilometreCaptions);

  aboutAction_ = new QAction("&About Animark...", this);
  aboutAction_->setShortcut(Qt::Key_F1);
  addAction(aboutAction_);
  connect(aboutAction_, &QAction::triggered, this, &MainDialog::ShowAbout);

  // Ours, beside the form: kept in the settings store like the fields, saved on Exit.
  optimizeAction_ = new QAction("&Optimize for the web", this);
  optimizeAction_->setObjectName("optimizeForWeb");
  optimizeAction_->setCheckable(true);
  connect(optimizeAction_, &QAction::toggled, this,
          [this](bool checked) { settings_.optimizeForWeb = checked ? 1 : 0; });
  ageColoursAction_ = new QAction("Colour strikes &by age", this);
  ageColoursAction_->setObjectName("ageColours");
  ageColoursAction_->setCheckable(true);
  connect(ageColoursAction_, &QAction::toggled, this,
          [this](bool checked) { settings_.ageColours = checked ? 1 : 0; });
  makeMapsAction_ = new QAction("&Make maps\u2026", this);
  makeMapsAction_->setObjectName("makeMaps");
  connect(makeMapsAction_, &QAction::triggered, this, &MainDialog::OnMakeMaps);
}

bool MainDialog::ExchangeFields(bool taking) {
  if (!taking) {
    ShowFields(FillForm(settings_, dates_));
    return true;
  }
  const std::optional<FormRefusal> refusal = TakeForm(FieldsShown(), dates_, settings_);
  LimitTexts();
  if (!refusal) return true;
  messages_.Show(refusal->message, MessageIcon::Exclamation);
  QWidget* control = Control(refusal->field);
  control->setFocus(Qt::OtherFocusReason);
  if (auto* textEdit = qobject_cast<QLineEdit*>(control)) textEdit->selectAll();
  return false;
}

void MainDialog::ShowFields(const FormFields& form) {
  const auto show = [](QLineEdit* control, const std::string& text) {
    control->setText(FromUtf8(text));
    control->setCursorPosition(0);
  };
  // A text longer than its limit (from the store) is shown whole, for the check to refuse.
  const auto showText = [&](FormField field, QLineEdit* control, const std::string& text) {
    const QString shown = FromUtf8(text);
    control->setMaxLength(std::max<int>(static_cast<int>(RowOf(field).textLimit), shown.size()));
    show(control, text);
  };
  showText(FormField::Comments, comments_, form.comments);
  showText(FormField::DataDirectory, dataDirectory_, form.dataDirectory);
  showText(FormField::ExportFile, exportFile_, form.exportFile);
  show(iterations_, form.iterations);
  for (int range = 0; range < kRangeCount; ++range) {
    showText(MapFileField(range), mapFiles_[range], form.mapFiles[range]);
  }
  show(persistence_, form.persistenceMinutes);
  show(rate_, form.rateMinutesPerSecond);
  CheckPosition(*zoomGroup_, form.zoomRange);
  show(periodStart_, form.periodStart);
  show(periodEnd_, form.periodEnd);
  show(pauseBetweenFrames_, form.pauseBetweenFrames);
  show(pauseAfterLastFrame_, form.pauseAfterLastFrame);
  for (int range = 0; range < kRangeCount; ++range) {
    show(ringCounts_[range], form.ringCounts[range]);
  }
  crosshairs_->setChecked(form.crosshairs);
  labelRings_->setChecked(form.labelRings);
  CheckPosition(*unitGroup_, form.units);
}

FormFields MainDialog::FieldsShown() const {
  const auto text = [](const QLineEdit* control) { return control->text().toStdString(); };
  FormFields form;
  form.comments = text(comments_);
  form.dataDirectory = text(dataDirectory_);
  form.exportFile = text(exportFile_);
  form.iterations = text(iterations_);
  for (int range = 0; range < kRangeCount; ++range) {
    form.mapFiles[range] = text(mapFiles_[range]);
    form.ringCounts[range] = text(ringCounts_[range]);
  }
  form.persistenceMinutes = text(persistence_);
  form.rateMinutesPerSecond = text(rate_);
  form.zoomRange = zoomGroup_->checkedId();
  form.periodStart = text(periodStart_);
  form.periodEnd = text(periodEnd_);
  form.pauseBetweenFrames = text(pauseBetweenFrames_);
  form.pauseAfterLastFrame = text(pauseAfterLastFrame_);
  form.crosshairs = crosshairs_->isChecked();
  form.labelRings = labelRings_->isChecked();
  form.units = unitGroup_->checkedId();
  return form;
}

void MainDialog::LimitTexts() {
  for (const FieldRow& row : kFieldTable) {
    if (row.kind != FieldKind::Text) continue;
    auto* control = static_cast<QLineEdit*>(Control(row.field));
    const int limit = static_cast<int>(row.textLimit);
    if (control->text().size() <= limit) control->setMaxLength(limit);
  }
}

void MainDialog::ShowMileCaptions() {
  for (int range = 0; range < kRangeCount; ++range) zoom_[range]->setText(kMileCaptions[range]);
}

void MainDialog::ShowKilometreCaptions() {
  for (int range = 0; range < kRangeCount; ++range) {
    zoom_[range]->setText(kKilometreCaptions[range]);
  }
}

void MainDialog::OnCreateGif() {
  // An Enter typed on before the command's first window shows finds it running.
  if (exportThread_ || !ExchangeFields(true)) return;
  // The command completes the name (".gif") for this export only: the field and the settings
  // keep the name as typed.
  ExportScreen& dialogScreen = *this;
  exportThread_ = std::make_unique<ExportThread>(
      *this, messages_, dialogScreen,
      [settings = settings_, &exporter = *exporter_](UserMessages& messages,
                                                     ExportScreen& screen) mutable {
        return CreateGif(settings, exporter, messages, screen, OutputMode::ReplaceWhenComplete);
      },
      [this](const CreateGifResult& result) {
        exportThread_.reset();
        if (const std::optional<UserText> told = CreateGifText(result)) {
          messages_.Show(told->text, told->icon);
        }
      });
}

void MainDialog::reject() {
  // Not while a command runs: it may still have a message to show.
  if (exportThread_) return;
  mapThread_.reset();
  ExchangeFields(true);
  SaveSettings(settings_, key_, messages_);
  QDialog::reject();
}

void MainDialog::closeEvent(QCloseEvent* event) {
  // An export runs to its end: the window closes through Exit afterwards.
  if (exportThread_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(optimizeAction_);
  menu.addAction(ageColoursAction_);
  menu.addSeparator();
  menu.addAction(makeMapsAction_);
  menu.addSeparator();
  menu.addAction(aboutAction_);
  menu.exec(event->globalPos());
}

void MainDialog::OnMakeMaps() {
  if (exportThread_ || mapThread_) return;
  if (!mapPlaceKnown_) {
    // Beside the maps in use, else in the home folder.
    const QString mapFile = mapFiles_[0]->text();
    const QFileInfo shown(mapFile);
    mapRequest_.folder =
        (!mapFile.isEmpty() && shown.dir().exists() ? shown.absolutePath() : QDir::homePath())
            .toStdString();
  }
  MakeMapsDialog ask(this, messages_, mapRequest_, mapPlaceKnown_);
  if (ask.exec() != QDialog::Accepted) return;
  mapRequest_ = ask.Request();
  mapPlaceKnown_ = true;
  MakeMaps(mapRequest_);
}

void MainDialog::MakeMaps(const MapRequest& request) {
  std::vector<StationMap> maps;
  for (const int range : kMapRanges)
    maps.push_back({range, request.folder / StationMapName(range)});
  mapProgress_ = std::make_unique<QProgressDialog>("Reading the coastline data...", "Cancel", 0,
                                                   static_cast<int>(maps.size()), this);
  mapProgress_->setWindowTitle("Making maps...");
  mapProgress_->setWindowModality(Qt::WindowModal);
  mapProgress_->setMinimumDuration(0);
  mapProgress_->setMinimumWidth(DialogUnits(font()).Size(187, 0).width());
  mapProgress_->setValue(0);
  // Cancel hides the window at once; the map in hand is finished before the run ends.
  connect(mapProgress_.get(), &QProgressDialog::canceled, this, [this] {
    if (mapThread_) mapThread_->Cancel();
  });
  createGif_->setEnabled(false);
  makeMapsAction_->setEnabled(false);
  mapThread_ = std::make_unique<MapThread>(
      *this, request.place, maps, request.style,
      [this](int rangeMiles, int done, int count) {
        // A modal progress window's setValue runs the event loop, where the run may end.
        if (!mapProgress_ || mapProgress_->wasCanceled()) return;
        mapProgress_->setLabelText(QString("Drawing the %1-mile map (%2 of %3)...")
                                       .arg(rangeMiles)
                                       .arg(done + 1)
                                       .arg(count));
        mapProgress_->setValue(done);
      },
      [this, maps](const StationMapsResult& result) { EndMakingMaps(maps, result); });
}

void MainDialog::EndMakingMaps(const std::vector<StationMap>& maps,
                               const StationMapsResult& result) {
  mapThread_.reset();
  // Deleted from the event loop: this may run inside the window's own setValue.
  mapProgress_->hide();
  mapProgress_.release()->deleteLater();
  createGif_->setEnabled(true);
  makeMapsAction_->setEnabled(true);
  if (result.outcome == StationMapsOutcome::Written) {
    for (std::size_t range = 0; range < maps.size(); ++range) {
      mapFiles_[range]->setText(QString::fromStdString(maps[range].path.string()));
      mapFiles_[range]->setCursorPosition(0);
    }
  }
  if (const std::optional<UserText> told = StationMapsText(result)) {
    messages_.Show(told->text, told->icon);
  }
}

void MainDialog::ShowAbout() {
  AboutDialog about(this);
  about.exec();
}

ProgressWindow* MainDialog::BeginExport() {
  showMinimized();
  progress_ = std::make_unique<ProgressDialog>(this);
  connect(progress_.get(), &ProgressDialog::CancelAsked, this, [this] { exportThread_->Cancel(); });
  createGif_->setEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  return progress_.get();
}

void MainDialog::EndExport() {
  progress_.reset();
  showNormal();
  createGif_->setEnabled(true);
  QApplication::restoreOverrideCursor();
}

}  // namespace animark::ui
