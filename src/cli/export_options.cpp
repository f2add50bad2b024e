#include "cli/export_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "cli/iso_date_time_text.h"
#include "export/frame_plan.h"
#include "platform/ascii_text.h"
#include "platform/output_file.h"
#include "settings/settings_form.h"

namespace animark::cli {

namespace {

std::optional<RangeIndex> ParseRange(std::string_view text) {
  if (text == "100" || text == "160") return 0;
  if (text == "200" || text == "320") return 1;
  if (text == "300" || text == "480") return 2;
  return std::nullopt;
}

constexpr const char* kRangeMessage =
    "Please choose 100, 200 or 300 (miles) or 160, 320 or 480 (km).";

bool AssignsRange(const std::vector<std::string>& assignments, RangeIndex range) {
  return std::ranges::any_of(assignments, [range](const std::string& text) {
    const auto parsed = ParseRangeAssignment(text);
    return parsed && parsed->first == range;
  });
}

// The command line's column of the field table: the option that types each field and whether it
// was given (else the field kept the value the settings were loaded with).
struct OptionOfField {
  FormField field;
  const char* option;
  bool (*given)(const ExportOptions&);
};
using Options = const ExportOptions&;
constexpr OptionOfField kOptionColumn[] = {
    {FormField::Comments, "--comments", [](Options o) { return o.comments.has_value(); }},
    {FormField::DataDirectory, "--data-dir", [](Options o) { return o.dataDir.has_value(); }},
    {FormField::ExportFile, "--output", [](Options o) { return o.output.has_value(); }},
    {FormField::Iterations, "--iterations", [](Options o) { return o.iterations.has_value(); }},
    {FormField::MapFile0, "--map", [](Options o) { return AssignsRange(o.maps, 0); }},
    {FormField::MapFile1, "--map", [](Options o) { return AssignsRange(o.maps, 1); }},
    {FormField::MapFile2, "--map", [](Options o) { return AssignsRange(o.maps, 2); }},
    {FormField::PersistenceMinutes, "--persistence",
     [](Options o) { return o.persistence.has_value(); }},
    {FormField::RateMinutesPerSecond, "--rate", [](Options o) { return o.rate.has_value(); }},
    {FormField::ZoomRange, "--range", [](Options o) { return o.range.has_value(); }},
    {FormField::PeriodStart, "--from", [](Options o) { return o.from || o.last; }},
    {FormField::PeriodEnd, "--to", [](Options o) { return o.to || o.last; }},
    {FormField::PauseBetweenFrames, "--pause", [](Options o) { return o.pause.has_value(); }},
    {FormField::PauseAfterLastFrame, "--pause-last",
     [](Options o) { return o.pauseLast.has_value(); }},
    {FormField::RingCount0, "--rings", [](Options o) { return AssignsRange(o.rings, 0); }},
    {FormField::RingCount1, "--rings", [](Options o) { return AssignsRange(o.rings, 1); }},
    {FormField::RingCount2, "--rings", [](Options o) { return AssignsRange(o.rings, 2); }},
    {FormField::Crosshairs, "--crosshairs", [](Options o) { return o.crosshairs != 0; }},
    {FormField::LabelRings, "--label-rings", [](Options o) { return o.labelRings != 0; }},
    {FormField::Units, "--units", [](Options o) { return o.units.has_value(); }},
};
constexpr bool ColumnInFieldOrder() {
  for (std::size_t i = 0; i < std::size(kOptionColumn); ++i) {
    if (static_cast<std::size_t>(kOptionColumn[i].field) != i) return false;
  }
  return std::size(kOptionColumn) == kFormFieldCount;
}
static_assert(ColumnInFieldOrder(), "one row per field, in the field table's order");

const OptionOfField& OptionOf(FormField field) {
  return kOptionColumn[static_cast<std::size_t>(field)];
}

// A --last period is what a web page shows as "the latest", so its last frame must show the moment
// it ends. Where the period is not a whole number of frame steps, its start moves earlier by less
// than one step; where the frame plan cannot end exactly on the period's end, it stays as it is.
void AlignToTheEnd(ExportSettings& settings) {
  const std::int64_t stepHundredths =
      std::int64_t{settings.rateMinutesPerSecond} * settings.pauseBetweenFrames * 60;
  const std::int64_t periodHundredths =
      std::llround(settings.periodEnd.DaysSince(settings.periodStart) * 8640000);
  if (stepHundredths <= 0 || periodHundredths <= 0) return;
  const std::int64_t steps = (periodHundredths + stepHundredths - 1) / stepHundredths;
  ExportSettings aligned = settings;
  aligned.periodStart = settings.periodEnd.AddSeconds(-(steps * stepHundredths / 100));
  const std::int64_t frames = steps + 1;
  if (frames <= INT32_MAX && PlanFrames(aligned).frameCount == frames &&
      FrameMoment(aligned, static_cast<std::int32_t>(frames)) == settings.periodEnd) {
    settings.periodStart = aligned.periodStart;
  }
}

// Types every given option into `form`, refusing the choices only the command line can get wrong.
std::optional<OptionRefusal> TypeOptions(const ExportOptions& o, const DateTime& now,
                                         const DateTimeText& dates, FormFields& form) {
  const auto type = [](const std::optional<std::string>& given, std::string& field) {
    if (given) field = *given;
  };
  type(o.comments, form.comments);
  type(o.dataDir, form.dataDirectory);
  type(o.output, form.exportFile);
  if (form.exportFile == "-") form.exportFile = kStandardOutputName;
  type(o.iterations, form.iterations);
  for (const std::string& map : o.maps) {
    const auto assignment = ParseRangeAssignment(map);
    if (!assignment) return OptionRefusal{"--map", kRangeMessage};
    form.mapFiles[assignment->first] = assignment->second;
  }
  type(o.persistence, form.persistenceMinutes);
  type(o.rate, form.rateMinutesPerSecond);
  if (o.range) {
    const auto range = ParseRange(*o.range);
    if (!range) return OptionRefusal{"--range", kRangeMessage};
    form.zoomRange = *range;
  }
  if (o.last) {
    // A year of minutes is more than any animation needs.
    constexpr IntegerRange kLastRange{0, 527040};
    std::int32_t minutes = 0;
    if (auto refusal = TakeInteger("--last", *o.last, minutes, kLastRange)) return refusal;
    const DateTime end =
        DateTime::FromParts(now.Year(), now.Month(), now.Day(), now.Hour(), now.Minute(), 0);
    form.periodStart = dates.Format(end.AddSeconds(-std::int64_t{minutes} * 60));
    form.periodEnd = dates.Format(end);
  }
  type(o.from, form.periodStart);
  type(o.to, form.periodEnd);
  type(o.pause, form.pauseBetweenFrames);
  type(o.pauseLast, form.pauseAfterLastFrame);
  for (const std::string& rings : o.rings) {
    const auto assignment = ParseRangeAssignment(rings);
    if (!assignment) return OptionRefusal{"--rings", kRangeMessage};
    form.ringCounts[assignment->first] = assignment->second;
  }
  if (o.crosshairs != 0) form.crosshairs = o.crosshairs > 0;
  if (o.labelRings != 0) form.labelRings = o.labelRings > 0;
  if (o.units) {
    const std::string units = LowerAscii(*o.units);
    if (units != "mi" && units != "km") return OptionRefusal{"--units", "Please choose mi or km."};
    form.units = units == "km" ? 1 : 0;
  }
  return std::nullopt;
}

// The form's refusal told against the option that typed the field, or against the settings file
// `source` and the stored value's name when no option typed it.
OptionRefusal BlameRefusal(const FormRefusal& refusal, const ExportOptions& o,
                           const std::string& source) {
  const OptionOfField& column = OptionOf(refusal.field);
  if (!source.empty() && !column.given(o)) {
    return OptionRefusal{source + ": " + StoredNames(refusal.field), refusal.message};
  }
  const bool period =
      refusal.field == FormField::PeriodStart || refusal.field == FormField::PeriodEnd;
  return OptionRefusal{column.option, refusal.message + (period ? " (YYYY-MM-DD HH:MM[:SS])" : "")};
}

// The dialog shows a stored choice outside its group as no button checked; an export of no range,
// or with labels in no unit, is never what a command line meant. `stored` holds the settings as
// loaded, `taken` as the form took them.
std::optional<OptionRefusal> RefuseChoiceOutsideItsGroup(const ExportSettings& stored,
                                                         const ExportSettings& taken,
                                                         const std::string& source) {
  if (!IsRangeIndex(taken.zoomRange)) {
    return OptionRefusal{source + ": ZM", std::to_string(stored.zoomRange) +
                                              " is none of the three ranges; choose one with "
                                              "--range."};
  }
  if (taken.units != 0 && taken.units != 1) {
    return OptionRefusal{source + ": UN", std::to_string(stored.units) +
                                              " is neither miles nor kilometres; choose with "
                                              "--units."};
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::pair<RangeIndex, std::string>> ParseRangeAssignment(const std::string& text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const auto range = ParseRange(std::string_view(text).substr(0, equals));
  if (!range) return std::nullopt;
  return std::pair{*range, text.substr(equals + 1)};
}

std::optional<OptionRefusal> TakeInteger(const char* option, const std::string& text,
                                         std::int32_t& value, IntegerRange range) {
  const auto parsed = ParseIntegerText(text);
  if (!parsed) return OptionRefusal{option, kNotAnIntegerMessage};
  if (auto message = CheckRange(*parsed, range)) return OptionRefusal{option, *message};
  // The form's reading stops at the 32-bit limits: read the number again, unbounded.
  std::string_view digits = TrimBlanks(text);
  if (digits.starts_with('+')) digits.remove_prefix(1);
  std::int64_t wide = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), wide);
  if (error != std::errc() || wide != *parsed) {
    // Every range here starts above the 32-bit minimum, so the minimum is outside it.
    return OptionRefusal{option, *CheckRange(std::numeric_limits<std::int32_t>::min(), range)};
  }
  value = *parsed;
  return std::nullopt;
}

std::optional<OptionRefusal> ApplyOptions(const ExportOptions& o, const DateTime& now,
                                          ExportSettings& settings, const std::string& source) {
  const IsoDateTimeText dates;
  const ExportSettings stored = settings;
  FormFields form = FillForm(settings, dates);
  if (auto refusal = TypeOptions(o, now, dates, form)) return refusal;
  if (const auto refusal = TakeForm(form, dates, settings)) {
    return BlameRefusal(*refusal, o, source);
  }
  if (auto refusal = RefuseChoiceOutsideItsGroup(stored, settings, source)) return refusal;
  if (o.optimize != 0) settings.optimizeForWeb = o.optimize > 0 ? 1 : 0;
  if (o.ageColours != 0) settings.ageColours = o.ageColours > 0 ? 1 : 0;
  if (o.last && !o.from) AlignToTheEnd(settings);
  return std::nullopt;
}

}  // namespace animark::cli
