#include "gif/changes_only_stream.h"

#include <utility>
#include <vector>

namespace animark {

namespace {

// The head of the small stream: `head` in `table`'s colours.
GifStreamHead SmallHead(const GifStreamHead& head, const SmallColourTable& table) {
  return {table.colours, head.comments, head.loopCount, table.index[head.background]};
}

}  // namespace

class ChangesOnlyStream::Job final : public FrameJob {
 public:
  explicit Job(ChangesOnlyStream& stream) : stream_(stream) { compressed_.leaveInPlace = true; }

  void Take(std::uint16_t delay, const FrameBuffer& picture) override {
    compressed_.delay = delay;
    stream_.TakeChanges(picture, changed_);
  }

  void Compress(LzwEncoder& encoder) override;

 private:
  ChangesOnlyStream& stream_;
  ChangedRectangle changed_;
  FramePatch formed_;
  std::vector<std::uint8_t> trial_;
};

void ChangesOnlyStream::Job::Compress(LzwEncoder& encoder) {
  CompleteRectangle(changed_);
  FramePlace& place = compressed_.place;
  std::vector<std::uint8_t>& data = compressed_.data;
  if (!changed_.transparent.transparent) {
    // Without a transparent index (the first frame, for one) every form is the same.
    place = changed_.transparent;
    encoder.EncodeIndices(changed_.transparent.indices, place.minimumCodeSize, data);
    return;
  }
  // Which form of the rectangle compresses best depends on the frame, so the likely ones are each
  // tried and the shortest kept; a small rectangle costs little to try in every form.
  constexpr std::size_t kSmallPatch = 8 * 1024;
  const bool small = changed_.colours.size() <= kSmallPatch;
  bool first = true;
  for (const PatchForm form : {PatchForm::ShortGapsFilled, PatchForm::GapsFilled,
                               PatchForm::Transparent, PatchForm::Opaque}) {
    if (!small && (form == PatchForm::Transparent || form == PatchForm::Opaque)) continue;
    FormPatch(changed_, form, formed_);
    encoder.EncodeIndices(formed_.indices, formed_.minimumCodeSize, trial_);
    if (first || trial_.size() < data.size()) {
      std::swap(data, trial_);
      place = formed_;
      first = false;
    }
  }
}

ChangesOnlyStream::ChangesOnlyStream(ByteSink& out, const GifStreamHead& head,
                                     const std::array<std::uint32_t, kColourTableEntries>& use)
    : ChangesOnlyStream(out, head, SmallColourTable(head.colours, use)) {}

ChangesOnlyStream::ChangesOnlyStream(ByteSink& out, const GifStreamHead& head,
                                     const SmallColourTable& table)
    : FrameStream(out, SmallHead(head, table)), changes_(table) {}

std::unique_ptr<FrameJob> ChangesOnlyStream::NewJob() {
  return std::make_unique<Job>(*this);
}

void ChangesOnlyStream::TakeChanges(const FrameBuffer& picture, ChangedRectangle& into) {
  if (firstFrame_) {
    changes_.Whole(picture, into);
    firstFrame_ = false;
  } else {
    changes_.Changes(picture, into);
  }
}

}  // namespace animark
