#include "export/user_texts.h"

namespace animark {

namespace {

std::string RangeCaption(RangeIndex range) {
  constexpr const char* kCaptions[kRangeCount] = {"100 mi/160 km", "200 mi/320 km",
                                                  "300 mi/480 km"};
  return kCaptions[range];
}

}  // namespace

std::string MapRefusalText(RangeIndex range, MapRefusalKind kind) {
  const std::string caption = RangeCaption(range);
  switch (kind) {
    case MapRefusalKind::NotOpened:
      return "Bitmap for " + caption + " could not be opened.";
    case MapRefusalKind::NotBitmap:
      return "The file specified for " + caption + " is not a bitmap file.";
    case MapRefusalKind::NotWin31:
      return "The file specified for " + caption +
             " is not a WIN3.1 bitmap.\nMaybe you saved it as an OS/2 bitmap?";
    case MapRefusalKind::WrongSize:
      return "The bitmap specified for " + caption + " is not 640 x 480 pixels.";
    case MapRefusalKind::NotFourBit:
      return "The bitmap specified for " + caption + " is not a 4-bit (16 colours) bitmap.";
    case MapRefusalKind::Compressed:
      return "The bitmap specified for " + caption +
             " is RLE compressed.\nCompressed bitmaps are not supported by this program.";
  }
  return {};
}

std::string PeriodRefusalText(const PeriodRefusal& refusal) {
  switch (refusal.problem) {
    case PeriodProblem::EndBeforeStart:
      return "The period yields no frames: its end lies before its start.";
    case PeriodProblem::TooManyFrames:
      return "The period yields " + std::to_string(refusal.frameCount) +
             " frames, more than an animation can hold (2147483647).";
    case PeriodProblem::BeforeYear100:
      return "The period starts before the year 100, which the animation cannot show.";
  }
  return {};
}

std::optional<UserText> CreateGifText(const CreateGifResult& result) {
  switch (result.outcome) {
    case CreateGifOutcome::NoFileName:
      return UserText{"No export file name entered.", MessageIcon::Stop};
    case CreateGifOutcome::NameEndsWithSlash:
      return UserText{"The export file name ends with a slash: enter a file name after the folder.",
                      MessageIcon::Stop};
    case CreateGifOutcome::PeriodRefused:
      return UserText{PeriodRefusalText(*result.period), MessageIcon::Exclamation};
    case CreateGifOutcome::ForeignLink:
      return UserText{"Export file " + result.path +
                          " is a symbolic link that another user owns: it is not followed.",
                      MessageIcon::Stop};
    case CreateGifOutcome::NotCreated:
      return UserText{"Export file could not be created.", MessageIcon::Exclamation};
    case CreateGifOutcome::NotWritten:
      return UserText{"Export file could not be written.", MessageIcon::Exclamation};
    case CreateGifOutcome::Written:
    case CreateGifOutcome::WrittenInPlace:
    case CreateGifOutcome::Declined:
    case CreateGifOutcome::Cancelled:
      break;
  }
  return std::nullopt;
}

std::optional<UserText> StationMapsText(const StationMapsResult& result) {
  const std::string path = result.path.string();
  switch (result.outcome) {
    case StationMapsOutcome::Written:
    case StationMapsOutcome::Cancelled:
      return std::nullopt;
    case StationMapsOutcome::Unwritable:
      return UserText{"The map file " + path + " could not be created (" + result.reason +
                          ").\nNo map was made.",
                      MessageIcon::Exclamation};
    case StationMapsOutcome::NoData:
    case StationMapsOutcome::DataFailed:
      return UserText{"No map was made.\n" + result.reason, MessageIcon::Exclamation};
    case StationMapsOutcome::NotWritten:
      return UserText{"The map file " + path + " could not be written (" + result.reason + ").",
                      MessageIcon::Exclamation};
  }
  return std::nullopt;
}

}  // namespace animark
