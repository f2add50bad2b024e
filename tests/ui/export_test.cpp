// Create GIF from the dialog: the sample storm exported through the shared command, with the
// screen as it must be during the export and after it.

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <cstdlib>
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

TEST_F(DialogExportTest, WritesWhatTheCommandLineWritesAndShowsEveryFrame) {
  Store(Storm());
  Open();
  // Timers run while the progress window repaints after each frame.
  std::vector<Moment> moments;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { moments.push_back(Look()); });
  watch.start(0);
  Click("createGif");
  watch.stop();

  EXPECT_TRUE(messages.shown.empty());
  ASSERT_TRUE(fs::exists(dir / "storm.gif"));
  EXPECT_EQ(Edit("exportFile")->text().toStdString(), (dir / "storm").string());
  ExpectScreenRestored();

  ASSERT_FALSE(moments.empty());
  const int frames = moments.front().barMaximum;
  ASSERT_GT(frames, 1);
  std::vector<int> seen;
  for (const Moment& moment : moments) {
    EXPECT_TRUE(moment.minimised && moment.busyCursor && moment.progressShown);
    EXPECT_FALSE(moment.createGifEnabled);
    EXPECT_EQ(moment.progressText,
              QString("Progress: adding frame %1 of %2").arg(moment.bar).arg(frames));
    if (seen.empty() || seen.back() != moment.bar) seen.push_back(moment.bar);
  }
  std::vector<int> everyFrame(frames);
  for (int frame = 1; frame <= frames; ++frame) everyFrame[frame - 1] = frame;
  EXPECT_EQ(seen, everyFrame);

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
  const QString comments = Edit("comments")->text();
  messages.onShow = [&] {
    during = Look();
    QTest::keyClicks(Edit("comments"), "typed");
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    QTest::keyClick(Edit("persistenceMinutes"), Qt::Key_Return);
    QTest::mouseClick(dialog->findChild<QAbstractButton*>("exit"), Qt::LeftButton);
    dialog->close();
  };
  Click("createGif");
  messages.onShow = nullptr;

  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Stop);
  EXPECT_EQ(closed, 0);
  EXPECT_EQ(Edit("comments")->text().toStdString(), comments.toStdString());
  EXPECT_TRUE(during.minimised && during.busyCursor && during.progressShown);
  EXPECT_FALSE(during.createGifEnabled);
  ExpectScreenRestored();
  EXPECT_TRUE(fs::exists(dir / "storm.gif"));
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

// The user stops the export at its tenth frame, with a click on Cancel or with Escape, through the
// input guard of a running export.
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

    EXPECT_EQ(last.bar, 10);
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
