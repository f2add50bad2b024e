#include "export/animation_exporter.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "export/file_sink.h"
#include "export/frame_plan.h"
#include "export/strike_pass.h"
#include "export/strike_window.h"
#include "export/user_texts.h"
#include "gif/changes_only_stream.h"
#include "gif/frame_pipeline.h"
#include "maps/background_map.h"
#include "render/range_rings.h"
#include "render/text_overlay.h"

namespace animark {

namespace {

template <typename... Args>
std::string Printf(const char* format, Args... args) {
  char text[96];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

// How much the frames use each entry, for the colour table of a small stream: the static
// picture's cells, and first of all what every frame changes (strike marks, and the frame time in
// its colour on its box), since frames whose changes need only the first few entries are smaller.
std::array<std::uint32_t, kColourTableEntries> EntryUse(const FrameBuffer& picture,
                                                        bool ageColours) {
  std::array<std::uint32_t, kColourTableEntries> use{};
  for (const std::int16_t cell : picture.Cells()) ++use[ShownEntry(cell)];
  constexpr std::uint32_t kEveryFrame = 1u << 30;
  for (const std::int16_t entry : {kStrikeColour, kValueColour, kFrameTimeBoxColour}) {
    use[static_cast<std::size_t>(entry)] += kEveryFrame;
  }
  if (ageColours) {
    for (const std::int16_t entry : {kOrangeEntry, kRedEntry}) {
      use[static_cast<std::size_t>(entry)] += kEveryFrame;
    }
  }
  return use;
}

// The ranges are 100, 200 and 300 miles.
std::int32_t RangeMiles(RangeIndex range) {
  return 100 * (range + 1);
}

// A GIF delay is a 16-bit field.
std::uint16_t Low16(std::int32_t value) {
  return static_cast<std::uint16_t>(value & 0xFFFF);
}

}  // namespace

int DefaultWorkers() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

AnimationExporter::AnimationExporter(int workers) : workers_(std::max(1, workers)) {}

ExportOutcome AnimationExporter::ExportAnimation(const ExportSettings& settings, OutputFile out,
                                                 UserMessages& messages, ProgressWindow& progress,
                                                 const LoadedMap* map) {
  writeError_.clear();
  const RangeIndex range = settings.zoomRange;
  std::optional<ColourTable> mapColours;
  if (map) {
    frameBuffer_ = map->picture;
    mapColours = map->colours;
  } else if (IsRangeIndex(range) && !settings.mapFiles[range].empty()) {
    const MapLoad load = LoadBackgroundMap(settings.mapFiles[range], frameBuffer_);
    if (load.Usable()) {
      mapColours = load.colours;
    } else {
      messages.Show(MapRefusalText(range, load.refusal->kind), MessageIcon::Stop);
    }
  }
  if (mapColours) progress.SetText(ProgressText::Status, "Adding bitmap...");
  // Without a map every export starts from a blank picture, not the last export's.
  if (!mapColours) frameBuffer_.Fill(0);

  if (IsRangeIndex(range)) {
    DrawRangeRings(frameBuffer_, {RangeMiles(range), settings.ringCounts[range],
                                  settings.labelRings == 1, settings.units == 1});
  }
  if (settings.crosshairs == 1) DrawCrosshairs(frameBuffer_);
  DrawTextBlock(frameBuffer_, {settings.periodStart, settings.periodEnd,
                               settings.rateMinutesPerSecond, settings.persistenceMinutes});
  if (settings.ageColours != 0) DrawAgeLegend(frameBuffer_, settings.persistenceMinutes);

  progress.SetText(ProgressText::Status, "Creating GIF file...");
  const std::string_view comments[] = {settings.comments, GifWriter::kCreditComment};
  ColourTable colours = mapColours.value_or(kDefaultPalette);
  if (settings.ageColours != 0) {
    colours[kOrangeEntry] = kOrange;
    colours[kRedEntry] = kRed;
  }
  const GifStreamHead head{colours, comments, settings.iterations};
  FileSink sink(out);
  std::unique_ptr<FrameStream> gif;
  if (settings.optimizeForWeb != 0) {
    gif = std::make_unique<ChangesOnlyStream>(sink, head,
                                              EntryUse(frameBuffer_, settings.ageColours != 0));
  } else {
    gif = std::make_unique<WholeFrameStream>(sink, head);
  }

  progress.SetText(ProgressText::Status, "Compressing image...");
  const FramePlan plan = PlanFrames(settings);
  const std::int32_t frameCount = plan.frameCount;
  progress.SetText(ProgressText::Length,
                   Printf("Length of animation: %.2f sec.", plan.lengthSeconds));
  progress.SetText(ProgressText::FrameCount, Printf("Number of frames: %i", frameCount));
  progress.SetRange(1, frameCount);

  StrikeWindow strikes(settings, DayFilesOf(settings));
  // With more than one worker, each finished picture is handed over and compressed while the next
  // is drawn.
  std::optional<FramePipeline> pipeline;
  if (workers_ > 1) pipeline.emplace(*gif, workers_);

  for (std::int32_t i = 1; i <= frameCount; ++i) {
    const DateTime moment = FrameMoment(settings, i);
    progress.SetText(ProgressText::Progress,
                     Printf("Progress: adding frame %i of %i", i, frameCount));
    progress.SetPosition(i);
    strikes.MoveTo(frameBuffer_, moment);
    DrawFrameTime(frameBuffer_, moment);
    if (settings.ageColours != 0) DrawStrikeCount(frameBuffer_, strikes.StrikeCount());
    const std::int32_t delay =
        i == frameCount ? settings.pauseAfterLastFrame : settings.pauseBetweenFrames;
    if (pipeline) {
      pipeline->Add(Low16(delay), frameBuffer_);
    } else {
      encoder_.Reset();
      gif->WriteFrame(Low16(delay), encoder_, frameBuffer_);
    }
    progress.BringToTopAndRepaint();
    if (progress.CancelRequested()) {
      strikes.Clear(frameBuffer_);
      out.Close();
      return ExportOutcome::Cancelled;
    }
    // Nothing more can be written once a write failed (a full disk): stop instead of
    // compressing the rest for nothing.
    if (sink.Failed()) {
      strikes.Clear(frameBuffer_);
      out.Close();
      writeError_ = out.Error();
      return ExportOutcome::NotWritten;
    }
  }

  if (pipeline) pipeline->Finish();
  strikes.Clear(frameBuffer_);
  gif->WriteTrailer();
  if (out.Close()) return ExportOutcome::Written;
  writeError_ = out.Error();
  return ExportOutcome::NotWritten;
}

}  // namespace animark
