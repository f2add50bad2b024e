// The main dialog driven as a user drives it: keys and clicks on the real controls, messages
// recorded instead of shown, a settings store of its own per test.

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <vector>

#include "settings/settings_store.h"
#include "ui/about_dialog.h"
#include "ui/locale_date_time_text.h"
#include "ui/progress_dialog.h"
#include "ui_test_support.h"

namespace animark::ui::testing {
namespace {

using animark::testing::ReadFileBytes;

bool Checked(const MainDialog& dialog, const char* name) {
  return dialog.findChild<QAbstractButton*>(name)->isChecked();
}

QString Caption(const MainDialog& dialog, const char* name) {
  return dialog.findChild<QAbstractButton*>(name)->text();
}

QString Shown(const DateTime& value) {
  return QString::fromStdString(LocaleDateTimeText().Format(value));
}

struct ShownMessage {
  std::string text;
  MessageIcon icon;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

std::vector<ShownMessage> Messages(const RecordingMessages& messages) {
  std::vector<ShownMessage> shown;
  for (const auto& message : messages.shown) shown.push_back({message.text, message.icon});
  return shown;
}

void PrintTo(const ShownMessage& message, std::ostream* out) {
  *out << '"' << message.text << "\" icon " << static_cast<int>(message.icon);
}

TEST_F(DialogTest, FirstStartShowsTheDefaults) {
  Open();
  EXPECT_EQ(dialog->windowTitle(), "Animark");
  for (const char* name :
       {"exportFile", "comments", "dataDirectory", "mapFile0", "mapFile1", "mapFile2"}) {
    EXPECT_EQ(Edit(name)->text(), "") << name;
  }
  const std::pair<const char*, const char*> numbers[] = {{"iterations", "0"},
                                                         {"persistenceMinutes", "60"},
                                                         {"rateMinutesPerSecond", "60"},
                                                         {"pauseBetweenFrames", "100"},
                                                         {"pauseAfterLastFrame", "150"},
                                                         {"ringCount0", "0"},
                                                         {"ringCount1", "0"},
                                                         {"ringCount2", "0"}};
  for (const auto& [name, text] : numbers) EXPECT_EQ(Edit(name)->text(), text) << name;
  const QString now = Shown(DateTime::FromParts(2026, 7, 14, 21, 30, 15));
  EXPECT_EQ(Edit("periodStart")->text(), now);
  EXPECT_EQ(Edit("periodEnd")->text(), now);

  EXPECT_TRUE(Checked(*dialog, "zoom0"));
  EXPECT_FALSE(Checked(*dialog, "zoom1") || Checked(*dialog, "zoom2"));
  EXPECT_TRUE(Checked(*dialog, "miles"));
  EXPECT_FALSE(Checked(*dialog, "kilometres") || Checked(*dialog, "crosshairs") ||
               Checked(*dialog, "labelRings"));
  EXPECT_EQ(Caption(*dialog, "zoom0"), "100 mi");
  EXPECT_EQ(Caption(*dialog, "zoom1"), "200 mi");
  EXPECT_EQ(Caption(*dialog, "zoom2"), "300 mi");

  EXPECT_EQ(dialog->focusWidget(), Edit("exportFile"));
  EXPECT_TRUE(messages.shown.empty());
}

// Cut-off captions are what a layout in dialog units risks with another font than its own.
void ExpectCaptionsFit(const QWidget& window) {
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    for (const QString& line : label->text().split('\n')) {
      EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->width()) << line.toStdString();
    }
    EXPECT_LE(label->fontMetrics().height() * (label->text().count('\n') + 1), label->height())
        << label->text().toStdString();
  }
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
  }
}

TEST_F(DialogTest, EveryCaptionFitsItsControl) {
  Open();
  Click("kilometres");  // the longer zoom captions
  ExpectCaptionsFit(*dialog);
  ExpectCaptionsFit(AboutDialog(dialog.get()));
  ProgressDialog progress(dialog.get());
  progress.SetText(ProgressText::Progress, "Progress: adding frame 1440 of 1441");
  progress.SetText(ProgressText::Length, "Length of animation: 1440.00 sec.");
  ExpectCaptionsFit(progress);
}

// Each radio group is one stop, at its checked button; the arrow keys move within it.
TEST_F(DialogTest, TabVisitsTheControlsInTheirOrder) {
  Open();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  Click("zoom1");
  Edit("exportFile")->setFocus();
  QStringList visited;
  for (int i = 0; i < 23; ++i) {
    visited << dialog->focusWidget()->objectName();
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(visited.join(' ').toStdString(),
            "exportFile periodStart periodEnd zoom1 mapFile0 mapFile1 mapFile2 ringCount0 "
            "ringCount1 ringCount2 crosshairs miles labelRings persistenceMinutes "
            "rateMinutesPerSecond pauseBetweenFrames pauseAfterLastFrame iterations comments "
            "dataDirectory createGif exit exportFile");

  auto* zoom1 = dialog->findChild<QAbstractButton*>("zoom1");
  zoom1->setFocus();
  QTest::keyClick(zoom1, Qt::Key_Down);
  EXPECT_EQ(dialog->focusWidget()->objectName(), "zoom2");
  EXPECT_TRUE(Checked(*dialog, "zoom2"));
}

// A value refused by Create GIF: its message, then the focus on its control with all its text
// selected, and no export.
struct Refusal {
  const char* control;
  const char* typed;
  const char* message;
};

class RefusalTest : public DialogTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusalTest, CreateGifShowsTheMessageAndSelectsTheControl) {
  const Refusal& refusal = GetParam();
  Open();
  Type(refusal.control, refusal.typed);
  Click("createGif");
  EXPECT_EQ(Messages(messages),
            (std::vector<ShownMessage>{{refusal.message, MessageIcon::Exclamation}}));
  EXPECT_EQ(dialog->focusWidget(), Edit(refusal.control));
  EXPECT_EQ(Edit(refusal.control)->selectedText(), Edit(refusal.control)->text());
}

constexpr const char* kNotAnInteger = "Please enter an integer.";
constexpr const char* kPauseRange = "Please enter an integer between 1 and 65535.";

INSTANTIATE_TEST_SUITE_P(
    Form, RefusalTest,
    ::testing::Values(
        Refusal{"iterations", "-2", "Please enter an integer between -1 and 65535."},
        Refusal{"iterations", "65536", "Please enter an integer between -1 and 65535."},
        Refusal{"rateMinutesPerSecond", "0", "Please enter an integer between 1 and 65535."},
        // Checked although its range is not the one selected.
        Refusal{"ringCount2", "100", "Please enter an integer between 0 and 99."},
        Refusal{"pauseAfterLastFrame", "0", kPauseRange},
        Refusal{"persistenceMinutes", "42x", kNotAnInteger},
        Refusal{"persistenceMinutes", "4 2", kNotAnInteger},
        Refusal{"persistenceMinutes", "0x10", kNotAnInteger},
        Refusal{"persistenceMinutes", "-0", kNotAnInteger},
        Refusal{"persistenceMinutes", "", kNotAnInteger},
        Refusal{"periodEnd", "soon", "Please enter a date and/or time."}));

TEST_F(DialogTest, ValuesAtTheEdgesOfTheirRangesPass) {
  Open();
  Type("iterations", "-1");
  Type("persistenceMinutes", "0");
  Edit("rateMinutesPerSecond")->setText(" \t42 \t");
  Type("ringCount1", "99");
  // An end before the start is no concern of the form.
  Type("periodStart", Shown(DateTime::FromParts(2026, 7, 15, 0, 0, 0)));
  Type("periodEnd", Shown(DateTime::FromParts(2026, 7, 14, 0, 0, 0)));
  ASSERT_TRUE(dialog->ExchangeFields(true));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dialog->Settings().iterations, -1);
  EXPECT_EQ(dialog->Settings().persistenceMinutes, 0);
  EXPECT_EQ(dialog->Settings().rateMinutesPerSecond, 42);
  EXPECT_EQ(dialog->Settings().ringCounts[1], 99);
  EXPECT_EQ(dialog->Settings().periodEnd, DateTime::FromParts(2026, 7, 14, 0, 0, 0));
}

TEST_F(DialogTest, ARefusalKeepsEarlierFieldsTakenAndLaterOnesUntouched) {
  Open();
  Type("comments", "typed comment");
  Type("dataDirectory", "strikes");
  Type("exportFile", "storm");
  Type("iterations", "7");
  Type("mapFile2", "map300.bmp");
  Type("persistenceMinutes", "lots");
  Type("rateMinutesPerSecond", "5");
  Click("zoom2");
  Type("pauseBetweenFrames", "20");
  Type("ringCount0", "3");
  Click("crosshairs");
  Click("kilometres");
  Click("createGif");

  ASSERT_EQ(Messages(messages),
            (std::vector<ShownMessage>{{kNotAnInteger, MessageIcon::Exclamation}}));
  const ExportSettings& taken = dialog->Settings();
  EXPECT_EQ(taken.comments, "typed comment");
  EXPECT_EQ(taken.dataDirectory, "strikes");
  EXPECT_EQ(taken.exportFile, "storm");
  EXPECT_EQ(taken.iterations, 7);
  EXPECT_EQ(taken.mapFiles[2], "map300.bmp");
  EXPECT_EQ(taken.persistenceMinutes, 60);
  EXPECT_EQ(taken.rateMinutesPerSecond, 60);
  EXPECT_EQ(taken.zoomRange, 0);
  EXPECT_EQ(taken.pauseBetweenFrames, 100);
  EXPECT_EQ(taken.ringCounts[0], 0);
  EXPECT_EQ(taken.crosshairs, 0);
  EXPECT_EQ(taken.units, 0);
  EXPECT_FALSE(std::filesystem::exists("storm.gif"));
}

TEST_F(DialogTest, KilometersChangesCaptionsOnlyAndExitStoresTheUnit) {
  Open();
  Click("zoom1");
  Click("kilometres");
  EXPECT_EQ(Caption(*dialog, "zoom0"), "160 km");
  EXPECT_EQ(Caption(*dialog, "zoom1"), "320 km");
  EXPECT_EQ(Caption(*dialog, "zoom2"), "480 km");
  EXPECT_TRUE(Checked(*dialog, "zoom1"));
  EXPECT_EQ(dialog->Settings().units, 0);  // until the fields are taken

  Click("miles");
  EXPECT_EQ(Caption(*dialog, "zoom1"), "200 mi");
  EXPECT_TRUE(Checked(*dialog, "zoom1"));
  // The arrow keys move the check within the group as a click does.
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  auto* miles = dialog->findChild<QAbstractButton*>("miles");
  miles->setFocus();
  QTest::keyClick(miles, Qt::Key_Right);
  EXPECT_TRUE(Checked(*dialog, "kilometres"));
  EXPECT_EQ(Caption(*dialog, "zoom1"), "320 km");
  QTest::keyClick(dialog.get(), Qt::Key_Escape);

  Open();
  EXPECT_EQ(dialog->Settings().units, 1);
  EXPECT_EQ(dialog->Settings().zoomRange, 1);
  EXPECT_TRUE(Checked(*dialog, "kilometres"));
  EXPECT_EQ(Caption(*dialog, "zoom2"), "480 km");
}

TEST_F(DialogTest, AStoredUnitOutsideTheGroupChecksNeitherButton) {
  ExportSettings stored = DefaultExportSettings(DateTime::FromParts(2026, 7, 14, 0, 0, 0));
  stored.units = 5;
  stored.zoomRange = 7;
  Store(stored);
  Open();
  EXPECT_FALSE(Checked(*dialog, "miles") || Checked(*dialog, "kilometres"));
  EXPECT_FALSE(Checked(*dialog, "zoom0") || Checked(*dialog, "zoom1") || Checked(*dialog, "zoom2"));
  EXPECT_EQ(Caption(*dialog, "zoom0"), "100 mi");
  ASSERT_TRUE(dialog->ExchangeFields(true));
  EXPECT_EQ(dialog->Settings().units, -1);
  EXPECT_EQ(dialog->Settings().zoomRange, -1);
}

TEST_F(DialogTest, EnterInAnyFieldRunsCreateGif) {
  Open();
  for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
    messages.shown.clear();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    WaitForExport();
    EXPECT_EQ(Messages(messages),
              (std::vector<ShownMessage>{{"No export file name entered.", MessageIcon::Stop}}))
        << edit->objectName().toStdString();
  }
}

// Every way out saves what the form holds.
struct WayOut {
  const char* name;
  void (*leave)(DialogTest&, MainDialog&);
};

class ExitTest : public DialogTest, public ::testing::WithParamInterface<WayOut> {};

TEST_P(ExitTest, SavesTheFieldsAndCloses) {
  Open();
  Type("comments", "kept for next time");
  GetParam().leave(*this, *dialog);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  Open();
  EXPECT_EQ(Edit("comments")->text(), "kept for next time");
}

INSTANTIATE_TEST_SUITE_P(
    Form, ExitTest,
    ::testing::Values(
        WayOut{"Escape",
               [](DialogTest&, MainDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
        WayOut{"ExitButton",
               [](DialogTest&, MainDialog& dialog) {
                 QTest::mouseClick(dialog.findChild<QAbstractButton*>("exit"), Qt::LeftButton);
               }},
        WayOut{"CloseButton", [](DialogTest&, MainDialog& dialog) { dialog.close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, ExitSavesEvenWhenAFieldIsRefused) {
  Open();
  Type("comments", "saved anyway");
  Type("iterations", "65536");
  Type("rateMinutesPerSecond", "9");
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(Messages(messages),
            (std::vector<ShownMessage>{
                {"Please enter an integer between -1 and 65535.", MessageIcon::Exclamation}}));
  EXPECT_FALSE(dialog->isVisible());
  Open();
  EXPECT_EQ(Edit("comments")->text(), "saved anyway");
  EXPECT_EQ(Edit("iterations")->text(), "65536");         // stored although refused
  EXPECT_EQ(Edit("rateMinutesPerSecond")->text(), "60");  // after the refusal: not taken
}

TEST_F(DialogTest, AStoredStartThatIsNoDateShowsEmptyAndIsRefused) {
  Store(DefaultExportSettings(DateTime::FromParts(2026, 7, 14, 0, 0, 0)));
  ASSERT_TRUE(key->Open());
  key->SetDword("SD", 31);
  key->SetDword("SM", 4);
  ASSERT_TRUE(key->Close());
  Open();
  EXPECT_EQ(Edit("periodStart")->text(), "");
  Click("createGif");
  EXPECT_EQ(
      Messages(messages),
      (std::vector<ShownMessage>{{"Please enter a date and/or time.", MessageIcon::Exclamation}}));
  EXPECT_EQ(dialog->focusWidget(), Edit("periodStart"));
}

TEST_F(DialogTest, TextFieldsTakeTheirLimitAndAStoredLongerTextStaysWhole) {
  ExportSettings stored = DefaultExportSettings(DateTime::FromParts(2026, 7, 14, 0, 0, 0));
  stored.comments = std::string(300, 'c');
  Store(stored);
  Open();
  EXPECT_EQ(Edit("comments")->text().size(), 300);
  Type("exportFile", QString(300, 'x'));
  EXPECT_EQ(Edit("exportFile")->text().size(), 256);
  Click("createGif");
  EXPECT_EQ(Messages(messages),
            (std::vector<ShownMessage>{
                {"Please enter no more than 255 characters.", MessageIcon::Exclamation}}));
  EXPECT_EQ(dialog->focusWidget(), Edit("comments"));
  EXPECT_EQ(Edit("comments")->selectedText().size(), 300);

  // Cut to its limit, the field is limited again.
  Type("comments", "short");
  ASSERT_TRUE(dialog->ExchangeFields(true));
  EXPECT_EQ(Edit("comments")->maxLength(), 255);
  EXPECT_EQ(Edit("mapFile0")->maxLength(), 256);
}

TEST_F(DialogTest, AStoreThatCannotBeOpenedIsToldBeforeAnyWindowAndAtExit) {
  // A file where the store's folder should be.
  std::filesystem::create_directories(dir / "config");
  animark::testing::WriteFileBytes(dir / "config" / "animark", {'x'});
  bool windowShown = true;
  messages.onShow = [&] {
    windowShown = false;
    for (QWidget* window : QApplication::topLevelWidgets()) windowShown |= window->isVisible();
  };
  Open();
  EXPECT_FALSE(windowShown);
  EXPECT_EQ(Edit("rateMinutesPerSecond")->text(), "60");
  messages.onShow = nullptr;
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(Messages(messages),
            (std::vector<ShownMessage>{{kSettingsKeyFailure, MessageIcon::Exclamation},
                                       {kSettingsKeyFailure, MessageIcon::Exclamation}}));
  EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DialogTest, AStoreThatCannotBeSavedIsToldAndStaysAsItWas) {
  ExportSettings stored = DefaultExportSettings(DateTime::FromParts(2026, 7, 14, 0, 0, 0));
  stored.comments = "before";
  Store(stored);
  Open();
  const auto before = ReadFileBytes(key->Path());
  Type("comments", "after");
  {
    const animark::testing::FileSizeLimit fullDisk(16);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
  }
  EXPECT_EQ(Messages(messages),
            (std::vector<ShownMessage>{{kSettingsKeyFailure, MessageIcon::Exclamation}}));
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ReadFileBytes(key->Path()), before);
}

TEST_F(DialogTest, AboutComesFromF1AndTheContextMenuCentredOnTheDialog) {
  Open();
  dialog->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  Type("comments", "unchanged");

  QString title;
  QPoint centre;
  QTimer::singleShot(0, [&] {
    QWidget* about = QApplication::activeModalWidget();
    if (!about) return;
    title = about->windowTitle();
    centre = about->geometry().center();
    QTest::mouseClick(about->findChild<QAbstractButton*>("ok"), Qt::LeftButton);
  });
  QTest::keyClick(dialog.get(), Qt::Key_F1);
  EXPECT_EQ(title, "About Animark");
  EXPECT_LE((centre - dialog->geometry().center()).manhattanLength(), 2)
      << centre.x() << "," << centre.y() << " " << dialog->geometry().center().x() << ","
      << dialog->geometry().center().y();
  EXPECT_EQ(Edit("comments")->text(), "unchanged");
  EXPECT_TRUE(dialog->isVisible());

  QStringList entries;
  QTimer::singleShot(0, [&] {
    QWidget* menu = QApplication::activePopupWidget();
    if (!menu) return;
    for (const QAction* action : menu->actions()) entries << action->text();
    menu->close();
  });
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                          dialog->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(dialog.get(), &click);
  EXPECT_EQ(entries, (QStringList{"&Optimize for the web", "Colour strikes &by age", "",
                                  "&Make maps\u2026", "", "&About Animark..."}));
}

// The small stream and age colours are check entries of the context menu, kept in the store like
// the fields.
TEST_F(DialogTest, OwnFlagsAreStoredCheckEntries) {
  struct Flag {
    const char* name;
    std::int32_t ExportSettings::*field;
  };
  for (const Flag flag : {Flag{"optimizeForWeb", &ExportSettings::optimizeForWeb},
                          Flag{"ageColours", &ExportSettings::ageColours}}) {
    SCOPED_TRACE(flag.name);
    ExportSettings stored = DefaultExportSettings(DateTime::FromLocalTime(clock.Now()));
    stored.*flag.field = 1;
    Store(stored);
    Open();
    auto* action = dialog->findChild<QAction*>(flag.name);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(action->isCheckable());
    EXPECT_TRUE(action->isChecked());
    action->trigger();
    EXPECT_EQ(dialog->Settings().*flag.field, 0);
    Click("exit");

    ExportSettings loaded = DefaultExportSettings(DateTime());
    loaded.*flag.field = 1;
    RegistryFile reread(key->Path());
    ASSERT_TRUE(LoadSettings(loaded, reread, messages));
    EXPECT_EQ(loaded.*flag.field, 0);
  }
}

}  // namespace
}  // namespace animark::ui::testing
