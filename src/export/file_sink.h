#pragma once
// The export's output file as the byte sink the GIF stream is written through. The adapter lives
// here, where both are known, so that the GIF code needs no file and the platform no GIF.

#include "gif/byte_sink.h"
#include "platform/output_file.h"

namespace animark {

class FileSink final : public ByteSink {
 public:
  // Writes into `file`, which must outlive the sink.
  explicit FileSink(OutputFile& file) : file_(file) {}

  void Write(std::span<const std::uint8_t> bytes) override {
    file_.Write(bytes.data(), bytes.size());
  }
  bool Failed() const override { return file_.Failed(); }

 private:
  OutputFile& file_;
};

}  // namespace animark
