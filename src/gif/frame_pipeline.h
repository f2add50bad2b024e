#pragma once
// Compression of a stream's frames on worker threads while the caller draws the next ones. The
// caller hands over each finished picture in order; workers compress the frames concurrently;
// the frames are written in order, so the stream is byte for byte the one FrameStream::WriteFrame
// writes frame after frame. At most twice as many frames as workers are under way, so memory stays
// bounded however long the animation.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "gif/frame_stream.h"

namespace animark {

class FramePipeline {
 public:
  // Starts `workers` threads (at least 1) that compress the frames of `stream`, which must
  // outlive the pipeline.
  FramePipeline(FrameStream& stream, int workers);
  // Stops the workers. Frames not written yet are dropped: the caller stopped the export.
  ~FramePipeline();
  FramePipeline(const FramePipeline&) = delete;
  FramePipeline& operator=(const FramePipeline&) = delete;

  // Takes the next frame from `frame`, which may change as soon as this returns. Writes the
  // frames compressed so far that are next in order; waits for one when every slot is under way.
  void Add(std::uint16_t delay, const FrameBuffer& frame);

  // Writes every frame still under way, in order.
  void Finish();

 private:
  struct Slot {
    std::unique_ptr<FrameJob> job;
    bool compressed = false;
  };

  // Writes the compressed frames that are next in order; with `waitForOne`, first waits until the
  // oldest frame under way is compressed. Called with `lock` held.
  void WriteReady(std::unique_lock<std::mutex>& lock, bool waitForOne);
  void Work();

  FrameStream& stream_;
  std::vector<std::unique_ptr<Slot>> slots_;  // a ring: frame n uses slot n mod size
  std::uint64_t added_ = 0;                   // frames taken so far
  std::uint64_t written_ = 0;                 // frames written so far

  std::mutex mutex_;
  std::condition_variable queued_;      // a frame waits for a worker, or the pipeline stops
  std::condition_variable compressed_;  // a worker finished a frame
  std::deque<Slot*> queue_;             // frames taken but not yet picked up by a worker
  bool stopping_ = false;
  std::vector<std::jthread> workers_;  // last, so that they stop before the rest goes
};

}  // namespace animark
