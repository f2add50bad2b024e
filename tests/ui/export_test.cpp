// Create GIF from the dialog: the sample storm exported through the shared command, with the
// screen as it must be during the export and after it.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "ui/progress_dialog.h"
#include "ui_test_support.h"

namespace animark::ui::testing {
namespace {

namespace fs = std::filesystem;
using animark::testing::ReadFileBytes;
using animark::testing::WriteFileBytes;

// What the screen shows at one moment of an export.
struct Moment {
  bool minimised = false;
  bool createGifEnabled = true;
  bool busyCursor = false;
  bool progressShown = false;
  int bar = 0;
  int barMaximum = 0;
  QString progressText;
};

class DialogExportTest : public DialogTest {
 protected:
  ExportSettings Storm() const {
    ExportSettings settings = DefaultExportSettings(DateTime::FromParts(2026, 7, 15, 8, 0, 0));
    const fs::path sample = ANIMARK_SAMPLE_DIR;
    settings.exportFile = (dir / "storm").string();
    settings.dataDirectory = sample.string();
    for (int range = 0; range < kRangeCount; ++range) {
      settings.mapFiles[range] = (sample / ("map" + std::to_string(100 * (range + 1)) + ".bmp"));
      settings.ringCounts[range] = 3;
    }
    settings.zoomRange = 1;
    settings.labelRings = 1;
    settings.crosshairs = 1;
    settings.units = 1;
    settings.comments = "storm";
    settings.periodStart = DateTime::FromParts(2026, 7, 14, 23, 0, 0);
    settings.periodEnd = DateTime::FromParts(2026, 7, 15, 0, 30, 0);
    settings.rateMinutesPerSecond = 15;
    return settings;
  }

  Moment Look() const {
    Moment moment;
    moment.minimised = dialog->isMinimized();
    moment.createGifEnabled = dialog->findChild<QAbstractButton*>("createGif")->isEnabled();
    moment.busyCursor =
        QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    if (auto* progress = dialog->findChild<ProgressDialog*>()) {
      moment.progressShown = progress->isVisible();
      moment.bar = progress->findChild<QProgressBar*>("bar")->value();
      moment.barMaximum = progress->findChild<QProgressBar*>("bar")->maximum();
      moment.progressText = progress->findChild<QLabel*>("progress")->text();
    }
    return moment;
  }

  // The names in the test's folder, sorted: a temporary file of an export would show here.
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
      files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  void ExpectScreenRestored() const {
    const Moment after = Look();
    EXPECT_FALSE(after.minimised);
    EXPECT_TRUE(after.createGifEnabled);
    EXPECT_FALSE(after.busyCursor);
    EXPECT_EQ(dialog->findChild<ProgressDialog*>(), nullptr);
    EXPECT_TRUE(dialog->isVisible());
  }
};

TEST_F(DialogExportTest, WritesWhatTheCommandLineWritesAndShowsTheFramesAsTheyAreAdded) {
  Store(Storm());
  Open();
  // Timers run between the reports of the worker thread.
  std::vector<Moment> moments;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (dialog->Exporting()) moments.push_back(Look());
  });
  watch.start(0);
  Click("createGif");
  watch.stop();

  EXPECT_TRUE(messages.shown.empty());
  ASSERT_TRUE(fs::exists(dir / "storm.gif"));
  EXPECT_EQ(Edit("exportFile")->text().toStdString(), (dir / "storm").string());
  ExpectScreenRestored();

  // Frames go on while the window shows the last one reported: it moves forward only, and each
  // frame's text comes just before its place on the bar.
  std::erase_if(moments, [](const Moment& moment) { return !moment.progressShown; });
  ASSERT_FALSE(moments.empty());
  const int frames = moments.back().barMaximum;
  ASSERT_GT(frames, 1);
  int bar = 0;
  for (const Moment& moment : moments) {
    EXPECT_TRUE(moment.minimised && moment.busyCursor);
    EXPECT_FALSE(moment.createGifEnabled);
    if (moment.barMaximum != frames) continue;  // before the frames are counted
    EXPECT_GE(moment.bar, bar);
    bar = moment.bar;
    if (moment.progressText == "Progress:") continue;  // before the first frame
    const auto text = [&](int frame) {
      return QString("Progress: adding frame %1 of %2").arg(frame).arg(frames);
    };
    EXPECT_TRUE(moment.progressText == text(moment.bar) ||
                moment.progressText == text(moment.bar + 1))
        << moment.progressText.toStdString() << " at " << moment.bar;
  }

  // The same settings, saved at Exit, through the command line.
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  const std::string command = std::string(ANIMARK_CLI) + " export --quiet --settings '" +
                              key->Path().string() + "' -o '" + (dir / "cli.gif").string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(ReadFileBytes(dir / "storm.gif"), ReadFileBytes(dir / "cli.gif"));
}

TEST_F(DialogExportTest, NoInputReachesTheDialogWhileFramesAreWritten) {
  ExportSettings settings = Storm();
  WriteFileBytes(dir / "not-a-map.bmp", {'B', 'M'});
  settings.mapFiles[settings.zoomRange] = (dir / "not-a-map.bmp").string();
  Store(settings);
  Open();
  // The map's refusal comes during the export: the user presses keys and clicks meanwhile.
  Moment during;
  int closed = 0;
  QObject::connect(dialog.get(), &QDialog::finished, [&] { ++closed; });
  const auto texts = [&] {
    QStringList all;
    for (const QLineEdit* edit : dialog->findChildren<QLineEdit*>()) all << edit->text();
    return all.join('\n').toStdString();
  };
  const std::string before = texts();
  // Keys and clicks come through the dialog's window, as the window system delivers them.
  messages.onShow = [&] {
    during = Look();
    QWindow* window = dialog->windowHandle();
    for (const char key : std::string("typed")) QTest::keyClick(window, key);
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClick(window, Qt::Key_Return);
    QTest::mouseClick(window, Qt::LeftButton, {},
                      dialog->findChild<QWidget*>("exit")->geometry().center());
    dialog->close();
  };
  QTest::keyClick(Edit("comments"), Qt::Key_Return);
  WaitForExport();
  messages.onShow = nullptr;

  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
  EXPECT_EQ(closed, 0);
  EXPECT_EQ(texts(), before);
  EXPECT_TRUE(during.minimised && during.busyCursor && during.progressShown);
  EXPECT_FALSE(during.createGifEnabled);
  ExpectScreenRestored();
  EXPECT_TRUE(fs::exists(dir / "storm.gif"));
}

// A second Enter, Exit or the close button before the command's first window shows, or after
// the dialog is back while the file takes its place, finds the command running.
TEST_F(DialogExportTest, CreateGifAndExitWaitForTheRunningCommand) {
  WriteFileBytes(dir / "storm.gif", {'G', 'I', 'F'});
  Store(Storm());
  Open();
  int closed = 0;
  QObject::connect(dialog.get(), &QDialog::finished, [&] { ++closed; });
  QTest::keyClick(Edit("comments"), Qt::Key_Return);
  ASSERT_TRUE(dialog->Exporting());
  QTest::keyClick(Edit("comments"), Qt::Key_Return);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  dialog->close();
  WaitForExport();

  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Export file already exists, overwrite?");
  EXPECT_EQ(closed, 0);
  ExpectScreenRestored();
  EXPECT_GT(fs::file_size(dir / "storm.gif"), 3u);
}

TEST_F(DialogExportTest, AFailedExportLeavesThePreviousAnimation) {
  const std::vector<std::uint8_t> previous = {'G', 'I', 'F', '8', '9', 'a'};
  WriteFileBytes(dir / "storm.gif", previous);
  Store(Storm());
  Open();
  const auto before = fs::directory_iterator(dir.Path());
  {
    const animark::testing::FileSizeLimit fullDisk(4096);
    Click("createGif");
  }
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, "Export file already exists, overwrite?");
  EXPECT_EQ(messages.shown[1].text, "Export file could not be written.");
  EXPECT_EQ(messages.shown[1].icon, MessageIcon::Exclamation);
  EXPECT_EQ(ReadFileBytes(dir / "storm.gif"), previous);
  EXPECT_EQ(Files(), (std::vector<std::string>{"config", "storm.gif"}));  // no temporary left
  ExpectScreenRestored();
}

// The user stops the export once its tenth frame shows, with a click on Cancel or with Escape.
TEST_F(DialogExportTest, CancelStopsTheExportAndLeavesThePreviousAnimation) {
  ExportSettings settings = Storm();
  settings.rateMinutesPerSecond = 1;  // a frame a minute: 91 frames
  Store(settings);
  const std::vector<std::uint8_t> previous = {'G', 'I', 'F', '8', '9', 'a'};
  for (const bool byEscape : {false, true}) {
    SCOPED_TRACE(byEscape ? "Escape" : "Cancel");
    WriteFileBytes(dir / "storm.gif", previous);
    messages.shown.clear();
    Open();
    Moment last;
    bool asked = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* progress = dialog->findChild<ProgressDialog*>();
      if (!progress || asked) return;
      last = Look();
      if (last.bar < 10) return;
      asked = true;
      if (byEscape) {
        QTest::keyClick(progress, Qt::Key_Escape);
      } else {
        // Through the window, as the window system delivers a click: a window that Qt takes
        // as blocked by the modal dialog gets none.
        QTest::mouseClick(progress->windowHandle(), Qt::LeftButton, {},
                          progress->CancelButton()->geometry().center());
      }
    });
    watch.start(0);
    Click("createGif");
    watch.stop();

    // Frames go on while the window shows the last one reported.
    EXPECT_GE(last.bar, 10);
    EXPECT_EQ(last.barMaximum, 91);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Export file already exists, overwrite?");
    EXPECT_EQ(ReadFileBytes(dir / "storm.gif"), previous);
    EXPECT_EQ(Files(), (std::vector<std::string>{"config", "storm.gif"}));  // no temporary left
    ExpectScreenRestored();
  }
}

}  // namespace
}  // namespace animark::ui::testing
