#pragma once
// An animation's pictures into a GIF stream, in three steps so that compression may run on other
// threads: a FrameJob takes what a frame needs of the picture (in frame order, on the thread that
// draws) and compresses it (on any thread); the stream writes it (in frame order). What a frame
// sends is each stream's own: WholeFrameStream sends every cell of every picture; the small stream
// (see changes_only_stream.h) sends what each picture changes.

#include <cstdint>
#include <memory>

#include "gif/byte_sink.h"
#include "gif/gif_writer.h"
#include "gif/lzw_encoder.h"
#include "image/frame_buffer.h"

namespace animark {

// One frame on its way into the stream. Its buffers are kept from one frame to the next.
class FrameJob {
 public:
  virtual ~FrameJob() = default;

  // Keeps what the frame needs of `picture`, which may change as soon as this returns. Jobs take
  // their pictures in frame order, on one thread.
  virtual void Take(std::uint16_t delay, const FrameBuffer& picture) = 0;

  // Makes Compressed() from what Take kept, on any thread; the same frame always gives the same
  // bytes.
  virtual void Compress(LzwEncoder& encoder) = 0;

  const PendingFrame& Compressed() const { return compressed_; }

 protected:
  PendingFrame compressed_;
};

class FrameStream {
 public:
  virtual ~FrameStream() = default;
  FrameStream(const FrameStream&) = delete;
  FrameStream& operator=(const FrameStream&) = delete;

  // A job for one frame at a time; it refers to this stream, which must outlive it.
  virtual std::unique_ptr<FrameJob> NewJob() = 0;

  // Writes a compressed frame. Frames are written in the order their jobs took them.
  void Write(const FrameJob& job);

  // One frame's three steps on this thread.
  void WriteFrame(std::uint16_t delay, LzwEncoder& encoder, const FrameBuffer& picture);

  // The trailer that ends the stream; nothing more is written after it.
  void WriteTrailer();

 protected:
  // Writes the stream's head (see GifWriter) to `out`, which must outlive the stream.
  FrameStream(ByteSink& out, const GifStreamHead& head);

 private:
  GifWriter gif_;
  std::unique_ptr<FrameJob> job_;  // WriteFrame's
};

// Every frame the whole screen, every cell in its colour, minimum code size 4, in the head's
// colour table of 16 entries (frame buffer entries as they are).
class WholeFrameStream final : public FrameStream {
 public:
  WholeFrameStream(ByteSink& out, const GifStreamHead& head);

  std::unique_ptr<FrameJob> NewJob() override;
};

}  // namespace animark
