#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace animark {
namespace {

TEST(TextEncodingTest, ValidTextRoundTripsZerosAndSurrogatePairsIncluded) {
  using std::string_literals::operator""s;
  const std::u16string wide = u"C:\\Blitzdaten\\J\u00fcrgen \u20ac \U0001F329\0end"s;
  const std::string utf8 =
      std::string("C:\\Blitzdaten\\J\xC3\xBCrgen \xE2\x82\xAC \xF0\x9F\x8C\xA9") + '\0' + "end";
  EXPECT_EQ(Utf8FromUtf16(wide), utf8);
  EXPECT_EQ(Utf16FromUtf8(utf8), wide);
  EXPECT_TRUE(IsValidUtf8(utf8));
}

TEST(TextEncodingTest, BrokenSequencesBecomeReplacementCharacters) {
  struct Case {
    const char* name;
    std::string utf8;
    std::u16string wide;
  };
  const Case cases[] = {
      {"stray continuation byte", "a\x80z", u"a\uFFFDz"},
      {"Windows-1252 byte", "J\xFCrgen", u"J\uFFFDrgen"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"cut short", "ab\xE2\x82", u"ab\uFFFD\uFFFD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(IsValidUtf8(c.utf8));
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.wide);
  }
  const char16_t loneHigh[] = {u'a', 0xD83C, u'b', 0xDF29};
  EXPECT_EQ(Utf8FromUtf16(std::u16string_view(loneHigh, 4)),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

}  // namespace
}  // namespace animark
