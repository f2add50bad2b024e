#include "gif/frame_stream.h"

namespace animark {

namespace {

class WholeFrameJob final : public FrameJob {
 public:
  WholeFrameJob() {
    compressed_.place = {0, 0, FrameBuffer::kWidth, FrameBuffer::kHeight, std::nullopt, 4};
  }

  void Take(std::uint16_t delay, const FrameBuffer& picture) override {
    compressed_.delay = delay;
    picture_ = picture;
  }

  void Compress(LzwEncoder& encoder) override { encoder.EncodeImage(picture_, compressed_.data); }

 private:
  FrameBuffer picture_;
};

}  // namespace

FrameStream::FrameStream(ByteSink& out, const GifStreamHead& head) : gif_(out, head) {}

void FrameStream::Write(const FrameJob& job) {
  gif_.Write(job.Compressed());
}

void FrameStream::WriteFrame(std::uint16_t delay, LzwEncoder& encoder, const FrameBuffer& picture) {
  if (!job_) job_ = NewJob();
  job_->Take(delay, picture);
  job_->Compress(encoder);
  Write(*job_);
}

void FrameStream::WriteTrailer() {
  gif_.WriteTrailer();
}

WholeFrameStream::WholeFrameStream(ByteSink& out, const GifStreamHead& head)
    : FrameStream(out, head) {}

std::unique_ptr<FrameJob> WholeFrameStream::NewJob() {
  return std::make_unique<WholeFrameJob>();
}

}  // namespace animark
