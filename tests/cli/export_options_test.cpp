// Options are typed into the shared form: each refusal names the option that sets the field.
#include <functional>

#include <gtest/gtest.h>

#include "cli/export_options.h"
#include "export/frame_plan.h"

namespace animark::cli {
namespace {

const DateTime kNow = DateTime::FromParts(2026, 7, 15, 0, 10, 42);

std::optional<OptionRefusal> Apply(const ExportOptions& options, ExportSettings& settings) {
  return ApplyOptions(options, kNow, settings);
}

TEST(ExportOptionsTest, RefusesWhatTheFormRefusesUnderTheOptionsName) {
  const char* const kRangeChoice = "Please choose 100, 200 or 300 (miles) or 160, 320 or 480 (km).";
  const std::pair<std::function<void(ExportOptions&)>, std::string> cases[] = {
      {[](ExportOptions& o) { o.rate = "0x10"; }, "--rate: Please enter an integer."},
      {[](ExportOptions& o) { o.persistence = "-0"; }, "--persistence: Please enter an integer."},
      {[](ExportOptions& o) { o.iterations = "-2"; },
       "--iterations: Please enter an integer between -1 and 65535."},
      {[](ExportOptions& o) { o.pause = "65536"; },
       "--pause: Please enter an integer between 1 and 65535."},
      {[](ExportOptions& o) { o.pauseLast = "4 2"; }, "--pause-last: Please enter an integer."},
      {[](ExportOptions& o) { o.rings = {"300=100"}; },
       "--rings: Please enter an integer between 0 and 99."},
      {[](ExportOptions& o) { o.rings = {"250=4"}; }, std::string("--rings: ") + kRangeChoice},
      {[](ExportOptions& o) { o.maps = {"map.bmp"}; }, std::string("--map: ") + kRangeChoice},
      {[](ExportOptions& o) { o.maps = {"200=" + std::string(257, 'm')}; },
       "--map: Please enter no more than 256 characters."},
      {[](ExportOptions& o) { o.range = "150"; }, std::string("--range: ") + kRangeChoice},
      {[](ExportOptions& o) { o.units = "nm"; }, "--units: Please choose mi or km."},
      {[](ExportOptions& o) { o.from = "2026-02-30 10:00"; },
       "--from: Please enter a date and/or time. (YYYY-MM-DD HH:MM[:SS])"},
      {[](ExportOptions& o) { o.to = "yesterday"; },
       "--to: Please enter a date and/or time. (YYYY-MM-DD HH:MM[:SS])"},
      {[](ExportOptions& o) { o.last = "-5"; },
       "--last: Please enter an integer between 0 and 527040."},
      {[](ExportOptions& o) { o.comments = std::string(256, 'c'); },
       "--comments: Please enter no more than 255 characters."},
      {[](ExportOptions& o) { o.dataDir = std::string(257, 'd'); },
       "--data-dir: Please enter no more than 256 characters."},
      {[](ExportOptions& o) { o.output = std::string(257, 'o'); },
       "--output: Please enter no more than 256 characters."},
      // The form's order decides which of two refusals is told.
      {[](ExportOptions& o) {
         o.pause = "0";
         o.rate = "0";
       },
       "--rate: Please enter an integer between 1 and 65535."},
  };
  for (const auto& [type, message] : cases) {
    ExportOptions options;
    type(options);
    ExportSettings settings = DefaultExportSettings(kNow);
    const auto refusal = Apply(options, settings);
    ASSERT_TRUE(refusal) << message;
    EXPECT_EQ(refusal->option + ": " + refusal->message, message);
  }
}

TEST(ExportOptionsTest, StoredValuesAreToldAgainstTheirFileUnlessAnOptionTypedThem) {
  const struct {
    const char* name;
    std::function<void(ExportSettings&)> store;
    std::function<void(ExportOptions&)> type;
    std::string told;  // empty: accepted
  } cases[] = {
      {"rate", [](ExportSettings& s) { s.rateMinutesPerSecond = 0; }, [](ExportOptions&) {},
       "settings.reg: RT: Please enter an integer between 1 and 65535."},
      {"rate typed", [](ExportSettings& s) { s.rateMinutesPerSecond = 0; },
       [](ExportOptions& o) { o.rate = "0"; },
       "--rate: Please enter an integer between 1 and 65535."},
      {"rings", [](ExportSettings& s) { s.ringCounts[2] = 100; }, [](ExportOptions&) {},
       "settings.reg: R3: Please enter an integer between 0 and 99."},
      {"start", [](ExportSettings& s) { s.periodStart = DateTime(); }, [](ExportOptions&) {},
       "settings.reg: SD SM SY SH SN SS: Please enter a date and/or time."},
      {"range", [](ExportSettings& s) { s.zoomRange = 7; }, [](ExportOptions&) {},
       "settings.reg: ZM: 7 is none of the three ranges; choose one with --range."},
      {"range typed", [](ExportSettings& s) { s.zoomRange = 7; },
       [](ExportOptions& o) { o.range = "200"; }, ""},
      {"units", [](ExportSettings& s) { s.units = 5; }, [](ExportOptions&) {},
       "settings.reg: UN: 5 is neither miles nor kilometres; choose with --units."},
      {"units typed", [](ExportSettings& s) { s.units = 5; },
       [](ExportOptions& o) { o.units = "km"; }, ""},
  };
  for (const auto& c : cases) {
    ExportSettings settings = DefaultExportSettings(kNow);
    c.store(settings);
    ExportOptions options;
    c.type(options);
    const auto refusal = ApplyOptions(options, kNow, settings, "settings.reg");
    EXPECT_EQ(refusal ? refusal->option + ": " + refusal->message : "", c.told) << c.name;
  }
}

TEST(ExportOptionsTest, UntouchedFieldsKeepTheirValuesAndOptionsSetTheirs) {
  ExportSettings settings = DefaultExportSettings(kNow);
  settings.mapFiles[0] = "stored100.bmp";
  settings.ringCounts[0] = 3;
  settings.crosshairs = 1;
  settings.periodStart = DateTime::FromParts(2026, 7, 14, 21, 0, 7);

  ExportOptions options;
  options.maps = {"320=map200.bmp"};
  options.rings = {"200=4"};
  options.range = "480";
  options.units = "KM";
  options.labelRings = 1;
  options.to = "2026-07-15T02:00";
  ASSERT_EQ(Apply(options, settings), std::nullopt);

  EXPECT_EQ(settings.mapFiles[0], "stored100.bmp");
  EXPECT_EQ(settings.mapFiles[1], "map200.bmp");
  EXPECT_EQ(settings.ringCounts, (std::array<std::int32_t, 3>{3, 4, 0}));
  EXPECT_EQ(settings.zoomRange, 2);
  EXPECT_EQ(settings.units, 1);
  EXPECT_EQ(settings.crosshairs, 1);
  EXPECT_EQ(settings.labelRings, 1);
  EXPECT_EQ(settings.periodStart, DateTime::FromParts(2026, 7, 14, 21, 0, 7));
  EXPECT_EQ(settings.periodEnd, DateTime::FromParts(2026, 7, 15, 2, 0, 0));
  EXPECT_EQ(settings.optimizeForWeb, 0);

  // The stored choices of the small stream and of age colours stand unless an option changes
  // them.
  for (const int given : {0, 1, -1}) {
    settings.optimizeForWeb = 1;
    settings.ageColours = 1;
    options.optimize = given;
    options.ageColours = given;
    ASSERT_EQ(Apply(options, settings), std::nullopt);
    EXPECT_EQ(settings.optimizeForWeb, given < 0 ? 0 : 1) << given;
    EXPECT_EQ(settings.ageColours, given < 0 ? 0 : 1) << given;
  }
}

TEST(ExportOptionsTest, LastFrameOfALastPeriodShowsItsEnd) {
  const DateTime end = DateTime::FromParts(2026, 7, 15, 0, 10, 0);
  const struct {
    const char* rate;
    const char* pause;
    int startMinutesBefore;  // 120 when the plan already ends on the end
  } cases[] = {
      {"5", "20", 120},   // one-minute steps
      {"7", "100", 126},  // seven-minute steps: six minutes earlier
      {"10", "50", 120},  // five-minute steps divide two hours
  };
  for (const auto& c : cases) {
    ExportSettings settings = DefaultExportSettings(kNow);
    ExportOptions options;
    options.last = "120";
    options.rate = c.rate;
    options.pause = c.pause;
    ASSERT_EQ(Apply(options, settings), std::nullopt);
    EXPECT_EQ(settings.periodEnd, end);
    EXPECT_EQ(settings.periodStart, end.AddSeconds(-60 * c.startMinutesBefore)) << c.rate;
    EXPECT_EQ(FrameMoment(settings, PlanFrames(settings).frameCount), end) << c.rate;
  }
}

TEST(ExportOptionsTest, LastEndsAtTheCurrentMinute) {
  ExportSettings settings = DefaultExportSettings(kNow);
  ExportOptions options;
  options.last = "120";
  ASSERT_EQ(Apply(options, settings), std::nullopt);
  EXPECT_EQ(settings.periodEnd, DateTime::FromParts(2026, 7, 15, 0, 10, 0));
  EXPECT_EQ(settings.periodStart, DateTime::FromParts(2026, 7, 14, 22, 10, 0));
}

}  // namespace
}  // namespace animark::cli
