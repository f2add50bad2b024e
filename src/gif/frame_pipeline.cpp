#include "gif/frame_pipeline.h"

#include <algorithm>

namespace animark {

FramePipeline::FramePipeline(FrameStream& stream, int workers) : stream_(stream) {
  const int count = std::max(1, workers);
  // Two frames per worker: one being compressed, one waiting, so no worker idles while the
  // caller draws.
  for (int i = 0; i < 2 * count; ++i) {
    slots_.push_back(std::make_unique<Slot>());
    slots_.back()->job = stream.NewJob();
  }
  for (int i = 0; i < count; ++i) workers_.emplace_back([this] { Work(); });
}

FramePipeline::~FramePipeline() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  workers_.clear();  // joins
}

void FramePipeline::Add(std::uint16_t delay, const FrameBuffer& frame) {
  std::unique_lock lock(mutex_);
  WriteReady(lock, added_ - written_ == slots_.size());
  Slot& slot = *slots_[added_ % slots_.size()];
  lock.unlock();
  // The slot is the caller's alone until it is queued: written, and no worker holds it.
  slot.job->Take(delay, frame);
  lock.lock();
  slot.compressed = false;
  queue_.push_back(&slot);
  ++added_;
  lock.unlock();
  queued_.notify_one();
}

void FramePipeline::Finish() {
  std::unique_lock lock(mutex_);
  while (written_ < added_) WriteReady(lock, true);
}

void FramePipeline::WriteReady(std::unique_lock<std::mutex>& lock, bool waitForOne) {
  const auto oldestCompressed = [this] {
    return written_ < added_ && slots_[written_ % slots_.size()]->compressed;
  };
  if (waitForOne) compressed_.wait(lock, oldestCompressed);
  while (oldestCompressed()) {
    // Only this thread writes, and no worker touches a compressed slot until it is queued anew,
    // so the workers need not wait for the output.
    const Slot& slot = *slots_[written_ % slots_.size()];
    lock.unlock();
    stream_.Write(*slot.job);
    lock.lock();
    ++written_;
  }
}

void FramePipeline::Work() {
  LzwEncoder encoder;
  std::unique_lock lock(mutex_);
  for (;;) {
    queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    Slot* slot = queue_.front();
    queue_.pop_front();
    lock.unlock();
    slot->job->Compress(encoder);
    lock.lock();
    slot->compressed = true;
    compressed_.notify_one();
  }
}

}  // namespace animark
