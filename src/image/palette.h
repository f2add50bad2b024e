#pragma once
// The 16-entry colour table every frame is shown in, and the entries the overlays draw with:
// 13, 14 and 15 are the same in every table, whatever a map brings for 0..12.

#include <array>
#include <cstdint>

namespace animark {

struct RgbColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

inline constexpr int kColourTableEntries = 16;
using ColourTable = std::array<RgbColour, kColourTableEntries>;

// Rings, crosshairs, ring labels and the text column's fixed labels.
inline constexpr std::int16_t kLabelColour = 13;
// Every strike mark is sent as this entry.
inline constexpr std::int16_t kStrikeColour = 14;
// The texts that change from export to export and from frame to frame.
inline constexpr std::int16_t kValueColour = 15;

inline constexpr int kFirstFixedEntry = kLabelColour;

// The age colours' orange and red, which take the map's entries 11 and 12 when strikes are
// coloured by age.
inline constexpr std::int16_t kOrangeEntry = 11;
inline constexpr std::int16_t kRedEntry = 12;
inline constexpr RgbColour kOrange = {255, 128, 0};
inline constexpr RgbColour kRed = {255, 0, 0};

// The strike mark kinds a frame buffer cell carries (see FrameBuffer): kind 1, the plain mark, is
// the strike colour; the age bands, newest first, are white, yellow, orange and red.
inline constexpr int kMarkKinds = 5;
inline constexpr std::array<std::uint8_t, kMarkKinds> kMarkKindEntries = {
    0, kStrikeColour, kValueColour, kOrangeEntry, kRedEntry};
inline constexpr int kAgeBands = 4;
inline constexpr std::array<int, kAgeBands> kAgeBandKinds = {2, 1, 3, 4};

// The entry a frame buffer cell is shown in: a marked cell in its mark kind's entry, and any other
// value outside the table (a stray negative one too) in the strike colour.
constexpr std::uint8_t ShownEntry(std::int16_t cell) {
  const auto value = static_cast<std::uint16_t>(cell);
  if (value < kColourTableEntries) return static_cast<std::uint8_t>(value);
  const unsigned kind = value / kColourTableEntries;
  return kind < kMarkKinds ? kMarkKindEntries[kind] : static_cast<std::uint8_t>(kStrikeColour);
}
inline constexpr std::array<RgbColour, 3> kFixedColours = {
    {{0, 125, 109}, {255, 255, 0}, {255, 255, 255}}};

// The colours used when no map is loaded.
inline constexpr ColourTable kDefaultPalette = {{{0, 0, 0},
                                                 {129, 0, 0},
                                                 {0, 129, 0},
                                                 {129, 129, 0},
                                                 {0, 0, 129},
                                                 {129, 0, 129},
                                                 {0, 129, 129},
                                                 {194, 194, 194},
                                                 {129, 129, 129},
                                                 {255, 0, 0},
                                                 {0, 255, 0},
                                                 {255, 255, 0},
                                                 {0, 0, 255},
                                                 kFixedColours[0],
                                                 kFixedColours[1],
                                                 kFixedColours[2]}};

}  // namespace animark
