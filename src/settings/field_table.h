#pragma once
// The one table of the settings form's fields: for each field, in exchange order, what kind of
// control holds it, the value it is stored under and the limits its check applies. The form, the
// settings store and every front end read it; a front end adds only its own column (its control,
// its option), kept beside its own code.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "settings/field_checks.h"

namespace animark {

// The fields in exchange order: filling and taking both visit them in this order, and taking
// stops at the first one that fails its check.
enum class FormField {
  Comments,
  DataDirectory,
  ExportFile,
  Iterations,
  MapFile0,
  MapFile1,
  MapFile2,
  PersistenceMinutes,
  RateMinutesPerSecond,
  ZoomRange,
  PeriodStart,
  PeriodEnd,
  PauseBetweenFrames,
  PauseAfterLastFrame,
  RingCount0,
  RingCount1,
  RingCount2,
  Crosshairs,
  LabelRings,
  Units,
};

inline constexpr std::size_t kFormFieldCount = static_cast<std::size_t>(FormField::Units) + 1;

enum class FieldKind {
  Text,     // an edit field, checked for its length
  Integer,  // an edit field holding a whole number, checked for its range
  Period,   // an edit field holding a date and time
  Choice,   // a radio group
  Flag,     // a check box
};

struct FieldRow {
  FormField field;
  FieldKind kind;
  // The stored value's name; of a period, the letter its six parts start with ("S": SD SM SY SH
  // SN SS, day to second).
  std::string_view storedName;
  IntegerRange range{0, 0};   // integers only
  std::size_t textLimit = 0;  // texts only, in characters
};

inline constexpr std::array<FieldRow, kFormFieldCount> kFieldTable = {{
    {FormField::Comments, FieldKind::Text, "CM", {}, kCommentsLimit},
    {FormField::DataDirectory, FieldKind::Text, "DD", {}, kPathLimit},
    {FormField::ExportFile, FieldKind::Text, "XN", {}, kPathLimit},
    {FormField::Iterations, FieldKind::Integer, "IT", kIterationsRange},
    {FormField::MapFile0, FieldKind::Text, "M1", {}, kPathLimit},
    {FormField::MapFile1, FieldKind::Text, "M2", {}, kPathLimit},
    {FormField::MapFile2, FieldKind::Text, "M3", {}, kPathLimit},
    {FormField::PersistenceMinutes, FieldKind::Integer, "PS", kPersistenceRange},
    {FormField::RateMinutesPerSecond, FieldKind::Integer, "RT", kRateRange},
    {FormField::ZoomRange, FieldKind::Choice, "ZM"},
    {FormField::PeriodStart, FieldKind::Period, "S"},
    {FormField::PeriodEnd, FieldKind::Period, "E"},
    {FormField::PauseBetweenFrames, FieldKind::Integer, "PB", kPauseRange},
    {FormField::PauseAfterLastFrame, FieldKind::Integer, "PL", kPauseRange},
    {FormField::RingCount0, FieldKind::Integer, "R1", kRingCountRange},
    {FormField::RingCount1, FieldKind::Integer, "R2", kRingCountRange},
    {FormField::RingCount2, FieldKind::Integer, "R3", kRingCountRange},
    {FormField::Crosshairs, FieldKind::Flag, "CH"},
    {FormField::LabelRings, FieldKind::Flag, "LR"},
    {FormField::Units, FieldKind::Choice, "UN"},
}};

constexpr const FieldRow& RowOf(FormField field) {
  return kFieldTable[static_cast<std::size_t>(field)];
}

// The map file and the ring count of range 0, 1 or 2.
constexpr FormField MapFileField(int range) {
  return static_cast<FormField>(static_cast<int>(FormField::MapFile0) + range);
}
constexpr FormField RingCountField(int range) {
  return static_cast<FormField>(static_cast<int>(FormField::RingCount0) + range);
}

// The names of a period's six stored parts, day, month, year, hour, minute, second: "SD" .. "SS".
std::array<std::string, 6> PeriodPartNames(FormField period);

// How a message names the stored value or values of `field`: "RT", or "SD SM SY SH SN SS".
std::string StoredNames(FormField field);

}  // namespace animark
