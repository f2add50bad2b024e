// Pictures of the desktop dialog for the README, taken by the program itself (QWidget::grab):
//   animark_ui_screenshots DIR  ->  DIR/main-dialog.png, main-dialog-km.png, progress.png,
//                                   about.png
// The dialog exports the sample storm while the progress window is pictured.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "samplegen/sample_set.h"
#include "settings/registry_file.h"
#include "settings/settings_store.h"
#include "support/test_support.h"
#include "ui/main_dialog.h"
#include "ui/progress_dialog.h"

namespace {

using animark::ExportSettings;
namespace fs = std::filesystem;

class StormClock final : public animark::Clock {
 public:
  animark::LocalTime Now() const override { return {2026, 7, 15, 8, 0, 0}; }
};

bool Save(QWidget& widget, const fs::path& file) {
  const bool saved = widget.grab().save(QString::fromStdString(file.string()), "PNG");
  if (!saved) std::fprintf(stderr, "cannot write %s\n", file.c_str());
  return saved;
}

ExportSettings StormSettings(const fs::path& sample, const fs::path& out) {
  ExportSettings settings =
      animark::DefaultExportSettings(animark::DateTime::FromParts(2026, 7, 15, 8, 0, 0));
  settings.exportFile = (out / "storm-night").string();
  settings.comments = "Storm night over the sample landscape";
  settings.dataDirectory = sample.string();
  for (int range = 0; range < animark::kRangeCount; ++range) {
    settings.mapFiles[range] = (sample / ("map" + std::to_string(100 * (range + 1)) + ".bmp"));
    settings.ringCounts[range] = 4;
  }
  settings.zoomRange = 1;
  settings.periodStart = animark::DateTime::FromParts(2026, 7, 14, 21, 0, 0);
  settings.periodEnd = animark::DateTime::FromParts(2026, 7, 15, 2, 0, 0);
  settings.rateMinutesPerSecond = 10;
  settings.persistenceMinutes = 30;
  settings.pauseBetweenFrames = 20;
  settings.crosshairs = 1;
  settings.labelRings = 1;
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const fs::path out = fs::absolute(argv[1]);
  fs::create_directories(out);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Dates as an American user sees them, whatever the machine's locale.
  qputenv("LC_ALL", "en_US.UTF-8");
  int qtArgc = 1;
  QApplication app(qtArgc, argv);

  animark::testing::TempDir work;
  std::string error;
  if (!animark::samplegen::WriteSampleSet(work / "sample", &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  // Names relative to the work folder read as a user would type them.
  fs::current_path(work.Path());
  animark::RegistryFile key(work / "settings.reg");
  animark::testing::RecordingMessages messages;
  animark::SaveSettings(StormSettings("sample", ""), key, messages);

  StormClock clock;
  animark::ui::MainDialog dialog(messages, key, clock);
  dialog.show();
  dialog.activateWindow();
  if (!QTest::qWaitForWindowActive(&dialog)) std::fprintf(stderr, "the dialog is not active\n");
  bool saved = Save(dialog, out / "main-dialog.png");

  auto* kilometres = dialog.findChild<QRadioButton*>("kilometres");
  QTest::mouseClick(kilometres, Qt::LeftButton);
  saved = Save(dialog, out / "main-dialog-km.png") && saved;

  // The About box is modal: it is pictured and closed from the event loop it runs.
  QTimer::singleShot(0, [&] {
    QWidget* about = QApplication::activeModalWidget();
    saved = about && Save(*about, out / "about.png") && saved;
    if (about) QTest::keyClick(about, Qt::Key_Escape);
  });
  QTest::keyClick(&dialog, Qt::Key_F1);

  // "Make maps…" as a station owner fills it in, pictured and cancelled.
  QTimer::singleShot(0, [&] {
    QWidget* ask = QApplication::activeModalWidget();
    if (ask) {
      ask->findChild<QLineEdit*>("latitude")->setText("55.68");
      ask->findChild<QLineEdit*>("longitude")->setText("12.57");
      ask->findChild<QLineEdit*>("folder")->setText("/home/station/maps");
    }
    saved = ask && Save(*ask, out / "make-maps.png") && saved;
    if (ask) QTest::keyClick(ask, Qt::Key_Escape);
  });
  dialog.findChild<QAction*>("makeMaps")->trigger();

  // Timers run between the frames that the export reports: the tenth is pictured.
  bool pictured = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* progress = dialog.findChild<animark::ui::ProgressDialog*>();
    if (pictured || !progress || progress->findChild<QProgressBar*>()->value() < 10) return;
    pictured = true;
    saved = Save(*progress, out / "progress.png") && saved;
  });
  watch.start(0);
  QTest::mouseClick(dialog.findChild<QWidget*>("createGif"), Qt::LeftButton);
  while (dialog.Exporting()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  watch.stop();
  if (!pictured) std::fprintf(stderr, "the progress window was not seen\n");
  for (const auto& shown : messages.shown)
    std::fprintf(stderr, "message: %s\n", shown.text.c_str());
  return saved && pictured && messages.shown.empty() ? 0 : 1;
}
