#include "export/user_texts.h"

#include <gtest/gtest.h>

namespace animark {
namespace {

TEST(UserTexts, MapRefusalsNameTheRangeInBothUnits) {
  const std::pair<MapRefusalKind, std::string> kinds[] = {
      {MapRefusalKind::NotOpened, "Bitmap for @ could not be opened."},
      {MapRefusalKind::NotBitmap, "The file specified for @ is not a bitmap file."},
      {MapRefusalKind::NotWin31,
       "The file specified for @ is not a WIN3.1 bitmap.\nMaybe you saved it as an OS/2 bitmap?"},
      {MapRefusalKind::WrongSize, "The bitmap specified for @ is not 640 x 480 pixels."},
      {MapRefusalKind::NotFourBit,
       "The bitmap specified for @ is not a 4-bit (16 colours) bitmap."},
      {MapRefusalKind::Compressed,
       "The bitmap specified for @ is RLE compressed.\nCompressed bitmaps are not supported by "
       "this program."},
  };
  const char* const captions[] = {"100 mi/160 km", "200 mi/320 km", "300 mi/480 km"};
  for (RangeIndex range = 0; range < kRangeCount; ++range) {
    for (const auto& [kind, pattern] : kinds) {
      std::string expected = pattern;
      expected.replace(expected.find('@'), 1, captions[range]);
      EXPECT_EQ(MapRefusalText(range, kind), expected);
    }
  }
}

TEST(UserTexts, CreateGifTellsOnlyRefusalsAndFailures) {
  const auto told = [](CreateGifOutcome outcome) {
    return CreateGifText({outcome, "out/storm.gif", {}, std::nullopt});
  };
  for (const CreateGifOutcome quiet : {CreateGifOutcome::Written, CreateGifOutcome::WrittenInPlace,
                                       CreateGifOutcome::Declined, CreateGifOutcome::Cancelled}) {
    EXPECT_FALSE(told(quiet));
  }
  const auto link = told(CreateGifOutcome::ForeignLink);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->text,
            "Export file out/storm.gif is a symbolic link that another user owns: it is not "
            "followed.");
  EXPECT_EQ(link->icon, MessageIcon::Stop);
  // The dialog's fixed words: the path and the reason are the command line's to add.
  const auto notWritten =
      CreateGifText({CreateGifOutcome::NotWritten, "out/storm.gif",
                     std::make_error_code(std::errc::no_space_on_device), std::nullopt});
  ASSERT_TRUE(notWritten);
  EXPECT_EQ(notWritten->text, "Export file could not be written.");
  EXPECT_EQ(notWritten->icon, MessageIcon::Exclamation);
}

}  // namespace
}  // namespace animark
