#pragma once
// The spine of an export: one settings record and an open output file become one complete
// animated GIF. The exporter owns the frame buffer and the compressor for the program's life, so
// a frame allocates nothing; an export allocates only for the strikes of its window.

#include <system_error>

#include "gif/lzw_encoder.h"
#include "image/frame_buffer.h"
#include "maps/background_map.h"
#include "platform/output_file.h"
#include "platform/progress_window.h"
#include "platform/user_messages.h"
#include "settings/export_settings.h"

namespace animark {

enum class ExportOutcome {
  Written,     // every frame, the trailer and the close succeeded
  NotWritten,  // a write or the close failed
  Cancelled,   // stopped on the user's request after a frame; the stream is incomplete
};

// The machine's cores: how many frames are compressed at once unless told otherwise.
int DefaultWorkers();

class AnimationExporter {
 public:
  // `workers` frames are compressed at once, on threads of their own; 1 compresses each frame on
  // the calling thread. The stream is the same byte for byte either way.
  explicit AnimationExporter(int workers = DefaultWorkers());

  // Writes the stream head, the map's or the default colour table, the static overlays, the
  // comment and looping extensions, one frame per step of the period and the trailer into `out`,
  // reporting progress as it goes, then closes `out`. The map is `map` when given (loaded
  // already), else the one of the settings' range; a refused map is told through `messages` and
  // the export goes on in the default colours. A failed write stops it (the disk is full, say),
  // and so does the progress window's cancel request, after the frame in hand.
  ExportOutcome ExportAnimation(const ExportSettings& settings, OutputFile out,
                                UserMessages& messages, ProgressWindow& progress,
                                const LoadedMap* map = nullptr);

  // The system's reason the last export was not written, when it gave one.
  std::error_code WriteError() const { return writeError_; }

  // The picture of the last frame written, without its strike marks.
  const FrameBuffer& LastPicture() const { return frameBuffer_; }

 private:
  int workers_;
  FrameBuffer frameBuffer_;
  LzwEncoder encoder_;
  std::error_code writeError_;
};

}  // namespace animark
