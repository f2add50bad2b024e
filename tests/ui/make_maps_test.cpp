// "Make maps…": the box that asks for the detector's place, and the maps it makes into the map
// fields (where gmt and its coastline data are installed).

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QProgressDialog>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "export/user_texts.h"
#include "maps/background_map.h"
#include "ui/make_maps_dialog.h"
#include "ui_test_support.h"

namespace animark::ui::testing {
namespace {

namespace fs = std::filesystem;

void Fill(QDialog& ask, const QString& latitude, const QString& longitude, const QString& folder) {
  ask.findChild<QLineEdit*>("latitude")->setText(latitude);
  ask.findChild<QLineEdit*>("longitude")->setText(longitude);
  ask.findChild<QLineEdit*>("folder")->setText(folder);
}

TEST_F(DialogTest, MakeMapsRefusesTheFirstBadFieldAndStaysOpen) {
  Open();
  struct Case {
    const char* latitude;
    const char* longitude;
    const char* folder;
    const char* refused;  // the field
    const char* message;
  };
  const Case cases[] = {
      {"90.5", "13.4", "/tmp", "latitude", kLatitudeRefusalText},
      {"", "13.4", "/tmp", "latitude", kLatitudeRefusalText},
      {"52.5N", "", "", "latitude", kLatitudeRefusalText},
      {"52.5", "-180.01", "/tmp", "longitude", kLongitudeRefusalText},
      {"52.5", "13.4E", "", "longitude", kLongitudeRefusalText},
      {"52.5", "13.4", " ", "folder", kMapFolderRefusalText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.latitude + std::string(" ") + c.longitude);
    messages.shown.clear();
    MakeMapsDialog ask(dialog.get(), messages, MapRequest{}, false);
    ask.show();
    Fill(ask, c.latitude, c.longitude, c.folder);
    ask.accept();
    EXPECT_TRUE(ask.isVisible());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, c.message);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    auto* field = ask.findChild<QLineEdit*>(c.refused);
    EXPECT_EQ(ask.focusWidget(), field);
    EXPECT_EQ(field->selectedText(), field->text());
  }

  messages.shown.clear();
  MakeMapsDialog ask(dialog.get(), messages, MapRequest{}, false);
  ask.show();
  Fill(ask, " -33,87 ", "+151.21", "/srv/maps");
  ask.findChild<QRadioButton*>("light")->setChecked(true);
  ask.accept();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(ask.result(), QDialog::Accepted);
  EXPECT_EQ(ask.Request().place.latitude, -33.87);
  EXPECT_EQ(ask.Request().place.longitude, 151.21);
  EXPECT_EQ(ask.Request().folder, fs::path("/srv/maps"));
  EXPECT_EQ(ask.Request().style, MapStyle::Light);
}

TEST_F(DialogTest, AFolderThatTakesNoMapIsToldAndTheFieldsStay) {
  Open();
  Type("mapFile0", "old.bmp");
  dialog->MakeMaps({{55.68, 12.57}, dir / "missing", MapStyle::Dark});
  while (dialog->MakingMaps()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  ASSERT_EQ(messages.shown.size(), 1u);
  const std::string path = (dir / "missing" / "map100.bmp").string();
  EXPECT_EQ(messages.shown[0].text.rfind("The map file " + path + " could not be created (", 0), 0u)
      << messages.shown[0].text;
  EXPECT_TRUE(messages.shown[0].text.ends_with(").\nNo map was made."));
  EXPECT_EQ(Edit("mapFile0")->text(), "old.bmp");
  EXPECT_TRUE(dialog->findChild<QAbstractButton*>("createGif")->isEnabled());
}

// Without gmt the first map fails at once, while its progress is still being shown.
TEST_F(DialogTest, MissingMapDataIsToldAndTheFieldsStay) {
  Open();
  Type("mapFile0", "old.bmp");
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (dir / "no-programs").c_str(), 1);
  dialog->MakeMaps({{55.68, 12.57}, dir.Path(), MapStyle::Dark});
  while (dialog->MakingMaps()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  setenv("PATH", path.c_str(), 1);
  QCoreApplication::processEvents();  // the progress window's deferred deletion
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text.rfind("No map was made.\nThe gmt program was not found", 0), 0u)
      << messages.shown[0].text;
  EXPECT_EQ(Edit("mapFile0")->text(), "old.bmp");
  EXPECT_FALSE(fs::exists(dir / "map100.bmp"));
  EXPECT_EQ(dialog->findChild<QProgressDialog*>(), nullptr);
}

// From the context menu's entry through the box to the three fields, and the place offered again.
TEST_F(DialogTest, MadeMapsFillTheMapFields) {
  if (std::system("gmt --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "gmt is not installed";
  Open();
  auto* makeMaps = dialog->findChild<QAction*>("makeMaps");
  ASSERT_NE(makeMaps, nullptr);
  QTimer::singleShot(0, [&] {
    auto* ask = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!ask) return;
    Fill(*ask, "55.68", "12.57", QString::fromStdString(dir.Path().string()));
    ask->findChild<QAbstractButton*>("make")->click();
  });
  makeMaps->trigger();
  EXPECT_FALSE(dialog->findChild<QAbstractButton*>("createGif")->isEnabled());
  while (dialog->MakingMaps()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  EXPECT_TRUE(messages.shown.empty());
  for (int range = 0; range < kRangeCount; ++range) {
    const fs::path map = dir / ("map" + std::to_string(100 * (range + 1)) + ".bmp");
    EXPECT_EQ(Edit(("mapFile" + std::to_string(range)).c_str())->text().toStdString(),
              map.string());
    FrameBuffer loaded;
    EXPECT_TRUE(LoadBackgroundMap(map.string(), loaded).Usable()) << map;
  }

  QStringList offered;
  QTimer::singleShot(0, [&] {
    auto* ask = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!ask) return;
    for (const char* name : {"latitude", "longitude", "folder"}) {
      offered << ask->findChild<QLineEdit*>(name)->text();
    }
    ask->reject();
  });
  makeMaps->trigger();
  EXPECT_EQ(offered, (QStringList{"55.68", "12.57", QString::fromStdString(dir.Path().string())}));
  EXPECT_FALSE(dialog->MakingMaps());
}

}  // namespace
}  // namespace animark::ui::testing
