#include "settings/field_table.h"

namespace animark {

namespace {

// The table's order is the enum's, so that RowOf is a plain index.
constexpr bool RowsInEnumOrder() {
  for (std::size_t i = 0; i < kFieldTable.size(); ++i) {
    if (static_cast<std::size_t>(kFieldTable[i].field) != i) return false;
  }
  return true;
}
static_assert(RowsInEnumOrder());

}  // namespace

std::array<std::string, 6> PeriodPartNames(FormField period) {
  const std::string_view letter = RowOf(period).storedName;
  std::array<std::string, 6> names;
  constexpr std::string_view kParts = "DMYHNS";
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::string(letter) + kParts[i];
  return names;
}

std::string StoredNames(FormField field) {
  if (RowOf(field).kind != FieldKind::Period) return std::string(RowOf(field).storedName);
  std::string names;
  for (const std::string& part : PeriodPartNames(field)) {
    names += (names.empty() ? "" : " ") + part;
  }
  return names;
}

}  // namespace animark
