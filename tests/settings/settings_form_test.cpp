#include "settings/settings_form.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace animark {
namespace {

// Period ends as "YYYY-MM-DD HH:MM:SS", enough to drive the form.
class PlainDates final : public DateTimeText {
 public:
  std::string Format(const DateTime& value) const override {
    return value.Format("%Y-%m-%d %H:%M:%S");
  }
  DateTime Parse(std::string_view text) const override {
    int y, mo, d, h, mi, s;
    char rest;
    if (std::sscanf(std::string(text).c_str(), "%d-%d-%d %d:%d:%d%c", &y, &mo, &d, &h, &mi, &s,
                    &rest) != 6)
      return {};
    return DateTime::FromParts(y, mo, d, h, mi, s);
  }
};

const PlainDates kDates;
const DateTime kNow = DateTime::FromParts(2026, 7, 14, 21, 30, 5);

TEST(SettingsFormTest, FilledFormTakesBackTheSameSettings) {
  ExportSettings settings = DefaultExportSettings(kNow);
  settings.comments = "Storm";
  settings.iterations = -1;
  settings.mapFiles[2] = "maps/map300.bmp";
  settings.zoomRange = 2;
  settings.ringCounts = {1, 2, 99};
  settings.crosshairs = 1;
  settings.units = 1;
  settings.periodEnd = DateTime::FromParts(2026, 7, 15, 2, 0, 59);

  const FormFields form = FillForm(settings, kDates);
  EXPECT_EQ(form.iterations, "-1");
  EXPECT_EQ(form.periodStart, "2026-07-14 21:30:05");
  EXPECT_TRUE(form.crosshairs);
  EXPECT_FALSE(form.labelRings);

  ExportSettings taken = DefaultExportSettings(DateTime());
  EXPECT_EQ(TakeForm(form, kDates, taken), std::nullopt);
  EXPECT_EQ(FillForm(taken, kDates).periodEnd, form.periodEnd);
  EXPECT_EQ(taken.periodStart, settings.periodStart);
  EXPECT_EQ(taken.mapFiles, settings.mapFiles);
  EXPECT_EQ(taken.ringCounts, settings.ringCounts);
  EXPECT_EQ(taken.iterations, -1);
  EXPECT_EQ(taken.units, 1);
}

TEST(SettingsFormTest, ChoicesOutsideTheirGroupCheckNoButtonAndComeBackAsMinusOne) {
  ExportSettings settings = DefaultExportSettings(kNow);
  settings.zoomRange = 7;
  settings.units = 5;
  settings.crosshairs = 2;  // only exactly 1 is on
  const FormFields form = FillForm(settings, kDates);
  EXPECT_EQ(form.zoomRange, -1);
  EXPECT_EQ(form.units, -1);
  EXPECT_FALSE(form.crosshairs);
  ASSERT_EQ(TakeForm(form, kDates, settings), std::nullopt);
  EXPECT_EQ(settings.zoomRange, -1);
  EXPECT_EQ(settings.units, -1);
  EXPECT_EQ(settings.crosshairs, 0);
}

struct RefusalCase {
  const char* name;
  std::function<void(FormFields&)> type;
  std::optional<FormField> field;  // nothing: the form passes
  const char* message;
};

TEST(SettingsFormTest, RefusesTheFirstFieldThatFailsWithItsMessage) {
  const char* const kInteger = "Please enter an integer.";
  const char* const kPause = "Please enter an integer between 1 and 65535.";
  const RefusalCase cases[] = {
      {"blanks around a number", [](FormFields& f) { f.iterations = " \t42 \t"; }, {}, ""},
      {"number and letter", [](FormFields& f) { f.iterations = "42x"; }, FormField::Iterations,
       kInteger},
      {"two numbers", [](FormFields& f) { f.persistenceMinutes = "1 2"; },
       FormField::PersistenceMinutes, kInteger},
      {"hexadecimal", [](FormFields& f) { f.rateMinutesPerSecond = "0x10"; },
       FormField::RateMinutesPerSecond, kInteger},
      {"plus zero", [](FormFields& f) { f.pauseBetweenFrames = "+0"; },
       FormField::PauseBetweenFrames, kInteger},
      {"minus zero", [](FormFields& f) { f.pauseAfterLastFrame = "-0"; },
       FormField::PauseAfterLastFrame, kInteger},
      {"empty", [](FormFields& f) { f.ringCounts[1] = ""; }, FormField::RingCount1, kInteger},
      {"iterations -1", [](FormFields& f) { f.iterations = "-1"; }, {}, ""},
      {"iterations -2", [](FormFields& f) { f.iterations = "-2"; }, FormField::Iterations,
       "Please enter an integer between -1 and 65535."},
      {"iterations 65536", [](FormFields& f) { f.iterations = "65536"; }, FormField::Iterations,
       "Please enter an integer between -1 and 65535."},
      {"saturated", [](FormFields& f) { f.pauseBetweenFrames = "99999999999"; },
       FormField::PauseBetweenFrames, kPause},
      {"rate 0", [](FormFields& f) { f.rateMinutesPerSecond = "0"; },
       FormField::RateMinutesPerSecond, kPause},
      {"persistence 0", [](FormFields& f) { f.persistenceMinutes = "0"; }, {}, ""},
      {"rings of a range not chosen", [](FormFields& f) { f.ringCounts[2] = "100"; },
       FormField::RingCount2, "Please enter an integer between 0 and 99."},
      {"comments", [](FormFields& f) { f.comments = std::string(256, 'c'); }, FormField::Comments,
       "Please enter no more than 255 characters."},
      {"comments in UTF-8",
       [](FormFields& f) { f.comments = std::string(254, 'e') + "\u00e9"; },
       {},
       ""},
      {"map path", [](FormFields& f) { f.mapFiles[1] = std::string(257, 'm'); },
       FormField::MapFile1, "Please enter no more than 256 characters."},
      {"export file of 256", [](FormFields& f) { f.exportFile = std::string(256, 'x'); }, {}, ""},
      {"start", [](FormFields& f) { f.periodStart = "2026-04-31 10:00:00"; },
       FormField::PeriodStart, "Please enter a date and/or time."},
      {"end before start", [](FormFields& f) { f.periodEnd = "2000-01-01 00:00:00"; }, {}, ""},
      {"first failure wins",
       [](FormFields& f) {
         f.ringCounts[0] = "x";
         f.rateMinutesPerSecond = "0";
         f.dataDirectory = std::string(300, 'd');
       },
       FormField::DataDirectory, "Please enter no more than 256 characters."},
  };
  for (const RefusalCase& c : cases) {
    ExportSettings settings = DefaultExportSettings(kNow);
    FormFields form = FillForm(settings, kDates);
    c.type(form);
    const auto refusal = TakeForm(form, kDates, settings);
    if (!c.field) {
      EXPECT_EQ(refusal, std::nullopt) << c.name << ": " << refusal->message;
      continue;
    }
    ASSERT_TRUE(refusal) << c.name;
    EXPECT_EQ(refusal->field, *c.field) << c.name;
    EXPECT_EQ(refusal->message, c.message) << c.name;
  }
}

TEST(SettingsFormTest, FailureKeepsEarlierFieldsTakenAndLaterOnesUntouched) {
  const ExportSettings before = DefaultExportSettings(kNow);
  FormFields form = FillForm(before, kDates);
  form.comments = "typed";
  form.mapFiles[0] = "typed.bmp";
  form.persistenceMinutes = "sixty";  // step 8
  form.rateMinutesPerSecond = "5";
  form.zoomRange = 1;
  form.ringCounts[0] = "3";
  form.units = 1;

  ExportSettings settings = before;
  const auto refusal = TakeForm(form, kDates, settings);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->field, FormField::PersistenceMinutes);
  EXPECT_EQ(settings.comments, "typed");
  EXPECT_EQ(settings.mapFiles[0], "typed.bmp");
  EXPECT_EQ(settings.persistenceMinutes, 60);  // not a number: unchanged
  EXPECT_EQ(settings.rateMinutesPerSecond, 60);
  EXPECT_EQ(settings.zoomRange, 0);
  EXPECT_EQ(settings.ringCounts[0], 0);
  EXPECT_EQ(settings.units, 0);
}

TEST(SettingsFormTest, RefusedValuesStayAsTheirKindLeavesThem) {
  ExportSettings settings = DefaultExportSettings(kNow);
  FormFields form = FillForm(settings, kDates);
  form.rateMinutesPerSecond = "70000";
  ASSERT_TRUE(TakeForm(form, kDates, settings));
  EXPECT_EQ(settings.rateMinutesPerSecond, 70000);  // out of range: stored all the same

  form = FillForm(DefaultExportSettings(kNow), kDates);
  form.periodEnd = "soon";
  ASSERT_TRUE(TakeForm(form, kDates, settings));
  EXPECT_FALSE(settings.periodEnd.IsValid());
  EXPECT_EQ(FillForm(settings, kDates).periodEnd, "");  // an invalid end shows as empty

  form.periodEnd = "2026-07-15 00:00:00";
  form.comments = std::string(256, 'c');
  ASSERT_TRUE(TakeForm(form, kDates, settings));
  EXPECT_EQ(settings.comments.size(), 256u);  // too long: stored all the same
}

}  // namespace
}  // namespace animark
