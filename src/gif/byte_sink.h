#pragma once
// Where a GIF stream's bytes go. The stream is written through this small interface, so that it
// goes alike into a file, into memory or wherever a front end wants it, and the GIF code needs no
// file of its own.

#include <cstdint>
#include <span>
#include <vector>

namespace animark {

class ByteSink {
 public:
  virtual ~ByteSink() = default;

  // Appends `bytes`. After a failure, later bytes may be dropped.
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;

  // Whether a write has failed so far; once failed, a sink stays failed.
  virtual bool Failed() const = 0;
};

// Keeps every byte in memory, in order; it never fails.
class MemorySink final : public ByteSink {
 public:
  void Write(std::span<const std::uint8_t> bytes) override {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  bool Failed() const override { return false; }

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace animark
