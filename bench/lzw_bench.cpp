// Time and size of one map-like 640 x 480 frame compressed by our LzwEncoder, by giflib and by
// cgif. The other two get the pixels ready-made, row by row, one byte each; ours reads the frame
// buffer as the export holds it (column-major 16-bit cells with strike marks). Two frames that
// differ in their strike marks alternate, as in an animation, so no encoder can skip a repeated
// frame.

#include <benchmark/benchmark.h>
#include <cgif.h>
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "gif/lzw_encoder.h"
#include "image/frame_buffer.h"

#include "fastest_run_reporter.h"

namespace animark {
namespace {

constexpr int kWidth = FrameBuffer::kWidth;
constexpr int kHeight = FrameBuffer::kHeight;
constexpr int kCentreX = 246;
constexpr int kCentreY = 240;

constexpr std::int16_t kBlack = 0;
constexpr std::int16_t kWater = 4;
constexpr std::int16_t kLand = 2;
constexpr std::int16_t kHills = 3;
constexpr std::int16_t kBorder = 8;
constexpr std::int16_t kRoad = 7;
constexpr std::int16_t kLake = 12;
constexpr std::int16_t kOverlay = 13;
constexpr std::int16_t kStrike = 14;
constexpr std::int16_t kText = 15;

void Plot(FrameBuffer& frame, int x, int y, std::int16_t colour) {
  if (FrameBuffer::Contains(x, y)) frame.At(x, y) = colour;
}

void DrawCircle(FrameBuffer& frame, int radius, std::int16_t colour) {
  for (int step = 0; step < 8 * radius; ++step) {
    const double angle = step * 2 * M_PI / (8 * radius);
    Plot(frame, kCentreX + static_cast<int>(std::lround(radius * std::cos(angle))),
         kCentreY + static_cast<int>(std::lround(radius * std::sin(angle))), colour);
  }
}

// Stand-in glyphs: a few strokes per character, chosen by the character code.
void DrawText(FrameBuffer& frame, int left, int top, const std::string& text, std::int16_t colour) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned code = static_cast<unsigned char>(text[i]);
    if (code == ' ') continue;
    const int x0 = left + static_cast<int>(i) * 8;
    for (int row = 3; row < 13; ++row) {
      for (int column = 1; column < 7; ++column) {
        const bool stem = column == 1 + static_cast<int>(code % 3) * 2;
        const bool bar = row == 3 + static_cast<int>(code % 5) * 2 || row == 12;
        const bool hook = (code >> (row % 7)) & 1 && column == 5;
        if (stem || (bar && column > 1) || hook) Plot(frame, x0 + column, top + row, colour);
      }
    }
  }
}

FrameBuffer MapFrame() {
  FrameBuffer frame;
  for (int x = 0; x < kWidth; ++x) {
    const int coast = 330 + static_cast<int>(35 * std::sin(x / 53.0) + 14 * std::sin(x / 11.0));
    for (int y = 0; y < kHeight; ++y) {
      std::int16_t colour = y > coast ? kWater : kLand;
      if (colour == kLand && std::hypot(x - 120, (y - 150) * 1.6) < 45) colour = kLake;
      if (colour == kLand && std::hypot(x - 380, y - 90) < 70 + 10 * std::sin(y / 9.0)) {
        colour = kHills;
      }
      frame.At(x, y) = colour;
    }
    // Borders and a road: bent lines across the land.
    for (int line = 0; line < 4; ++line) {
      const int y = 40 + line * 75 + static_cast<int>(8 * std::sin(x / (20.0 + line * 7)));
      if (y < coast) Plot(frame, x, y, line == 2 ? kRoad : kBorder);
    }
  }
  for (int line = 0; line < 5; ++line) {
    for (int y = 0; y < kHeight; ++y) {
      const int x = 60 + line * 95 + static_cast<int>(6 * std::sin(y / 15.0 + line));
      if (frame.At(x, y) == kLand || frame.At(x, y) == kHills) Plot(frame, x, y, kBorder);
    }
  }
  for (int radius = 60; radius <= 240; radius += 60) DrawCircle(frame, radius, kOverlay);
  for (int x = 0; x <= 492; ++x) Plot(frame, x, kCentreY, kOverlay);
  for (int y = 0; y < kHeight; ++y) Plot(frame, kCentreX, y, kOverlay);
  for (int radius = 60; radius <= 240; radius += 60) {
    DrawText(frame, kCentreX + radius + 3, kCentreY + 2, std::to_string(radius / 60 * 50),
             kOverlay);
  }
  for (int x = 500; x < kWidth; ++x) {
    for (int y = 0; y < kHeight; ++y) frame.At(x, y) = kBlack;
  }
  const char* lines[] = {
      "STRIKE MAP", "",       "Period:",  "06/14/01", "15:00 to", "06/14/01", "21:00",
      "",           "Rate:",  "60 min/s", "",         "Persist:", "60 min",   "",
      "Range:",     "200 mi", "",         "",         "06/14/01", "17:42:00"};
  int top = 8;
  for (const char* line : lines) {
    DrawText(frame, 504, top, line, top > 280 ? kText : kOverlay);
    top += 18;
  }
  return frame;
}

// A few hundred strikes in three storm cells.
void MarkStrikes(FrameBuffer& frame, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::normal_distribution<double> spread(0, 25);
  const std::array<std::array<int, 2>, 3> storms = {{{150, 120}, {330, 300}, {420, 200}}};
  for (int strike = 0; strike < 450; ++strike) {
    const auto& storm = storms[strike % storms.size()];
    const int x = storm[0] + static_cast<int>(spread(random));
    const int y = storm[1] + static_cast<int>(spread(random));
    if (x < 0 || x > 492 || y < 0 || y >= kHeight) continue;
    std::int16_t& cell = frame.At(x, y);
    if (cell < FrameBuffer::kStrikeMark) cell += FrameBuffer::kStrikeMark;
  }
}

struct Frames {
  std::array<FrameBuffer, 2> buffers;
  std::array<std::vector<std::uint8_t>, 2> rows;  // the same pixels row by row, marks as 14
  std::array<std::uint8_t, 48> colours;
};

const Frames& TestFrames() {
  static const Frames kFrames = [] {
    Frames made;
    const FrameBuffer map = MapFrame();
    for (std::size_t i = 0; i < made.buffers.size(); ++i) {
      made.buffers[i] = map;
      MarkStrikes(made.buffers[i], static_cast<std::uint32_t>(i + 1));
      made.rows[i].resize(FrameBuffer::kCellCount);
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
          const std::int16_t cell = made.buffers[i].At(x, y);
          made.rows[i][static_cast<std::size_t>(y) * kWidth + x] =
              static_cast<std::uint8_t>(cell > 15 ? std::int16_t{kStrike} : cell);
        }
      }
    }
    for (std::size_t i = 0; i < made.colours.size(); ++i) {
      made.colours[i] = static_cast<std::uint8_t>(i * 5);
    }
    return made;
  }();
  return kFrames;
}

// Image data bytes of each encoder's frame, for the summary.
std::map<std::string, double>& FrameBytes() {
  static std::map<std::string, double> bytes;
  return bytes;
}

double ImageDataBytes(LzwEncoder& encoder, const FrameBuffer& frame) {
  std::vector<std::uint8_t> data;
  encoder.EncodeImage(frame, data);
  return static_cast<double>(data.size());
}

void EncodeAnimark(benchmark::State& state) {
  const Frames& frames = TestFrames();
  LzwEncoder encoder;
  FrameBytes()["animark"] = ImageDataBytes(encoder, frames.buffers[0]);
  // Fully buffered, so writing costs one system call per frame or so, as with a real file.
  static char buffer[1 << 16];
  std::FILE* sink = std::fopen("/dev/null", "wb");
  std::setvbuf(sink, buffer, _IOFBF, sizeof buffer);
  std::vector<std::uint8_t> data;
  std::size_t frame = 0;
  for (auto _ : state) {
    encoder.Reset();
    encoder.EncodeImage(frames.buffers[frame++ % 2], data);
    std::fwrite(data.data(), 1, data.size(), sink);
  }
  std::fclose(sink);
  state.counters["bytes"] = FrameBytes()["animark"];
}

struct Collected {
  std::vector<std::uint8_t> bytes;
};

int CollectGiflib(GifFileType* gif, const GifByteType* data, int size) {
  auto* collected = static_cast<Collected*>(gif->UserData);
  collected->bytes.insert(collected->bytes.end(), data, data + size);
  return size;
}

void EncodeGiflib(benchmark::State& state) {
  Frames frames = TestFrames();  // EGifPutLine wants writable rows
  Collected collected;
  int error = 0;
  GifFileType* gif = EGifOpen(&collected, CollectGiflib, &error);
  if (!gif) {
    state.SkipWithError("EGifOpen failed");
    return;
  }
  ColorMapObject* colourMap =
      GifMakeMapObject(16, reinterpret_cast<const GifColorType*>(frames.colours.data()));
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, kWidth, kHeight, 6, 0, colourMap);
  std::size_t frame = 0;
  std::size_t firstFrameBytes = 0;
  for (auto _ : state) {
    collected.bytes.clear();
    std::vector<std::uint8_t>& rows = frames.rows[frame++ % 2];
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    for (int y = 0; y < kHeight; ++y) {
      EGifPutLine(gif, rows.data() + static_cast<std::size_t>(y) * kWidth, kWidth);
    }
    if (frame == 1) firstFrameBytes = collected.bytes.size();
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(colourMap);
  // Less the image descriptor (10 bytes) and the minimum code size byte.
  FrameBytes()["giflib"] = static_cast<double>(firstFrameBytes) - 11;
  state.counters["bytes"] = FrameBytes()["giflib"];
}

int CollectCgif(void* context, const std::uint8_t* data, const std::size_t size) {
  auto* collected = static_cast<Collected*>(context);
  collected->bytes.insert(collected->bytes.end(), data, data + size);
  return 0;
}

CGIF* OpenCgif(Frames& frames, Collected& collected) {
  CGIF_Config config = {};
  config.pGlobalPalette = frames.colours.data();
  config.attrFlags = CGIF_ATTR_IS_ANIMATED;
  config.width = kWidth;
  config.height = kHeight;
  config.numGlobalPaletteEntries = 16;
  config.pWriteFn = CollectCgif;
  config.pContext = &collected;
  return cgif_newgif(&config);
}

void AddCgifFrame(CGIF* gif, std::vector<std::uint8_t>& rows) {
  CGIF_FrameConfig frameConfig = {};
  frameConfig.pImageData = rows.data();
  frameConfig.delay = 100;
  cgif_addframe(gif, &frameConfig);
}

void EncodeCgif(benchmark::State& state) {
  Frames frames = TestFrames();  // the frame configuration takes writable pointers
  Collected collected;
  CGIF* gif = OpenCgif(frames, collected);
  if (!gif) {
    state.SkipWithError("cgif_newgif failed");
    return;
  }
  // A frame goes out when the next one is added: the third call writes the second frame alone.
  AddCgifFrame(gif, frames.rows[1]);
  AddCgifFrame(gif, frames.rows[0]);
  collected.bytes.clear();
  AddCgifFrame(gif, frames.rows[1]);
  // Less the graphic control block (8), the image descriptor (10) and the minimum code size byte.
  FrameBytes()["cgif"] = static_cast<double>(collected.bytes.size()) - 19;
  std::size_t frame = 0;
  for (auto _ : state) {
    collected.bytes.clear();
    AddCgifFrame(gif, frames.rows[frame++ % 2]);
  }
  cgif_close(gif);
  state.counters["bytes"] = FrameBytes()["cgif"];
}

}  // namespace
}  // namespace animark

int main(int argc, char** argv) {
  using animark::FrameBytes;
  for (const auto& [name, function] :
       {std::pair{"animark", &animark::EncodeAnimark}, std::pair{"giflib", &animark::EncodeGiflib},
        std::pair{"cgif", &animark::EncodeCgif}}) {
    benchmark::RegisterBenchmark(name, function)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(7)
        ->ComputeStatistics("min", animark::Fastest);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  animark::FastestRunReporter reporter(animark::FastestRunReporter::Clock::Processor);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto& ms = reporter.milliseconds;
  std::printf("\nPer 640 x 480 frame:\n");
  for (const char* name : {"animark", "giflib", "cgif"}) {
    if (!ms.count(name)) continue;
    std::printf("  %-8s %7.3f ms  %7.0f bytes of image data\n", name, ms[name], FrameBytes()[name]);
  }
  for (const char* other : {"giflib", "cgif"}) {
    if (!ms.count("animark") || !ms.count(other) || FrameBytes()[other] <= 0) continue;
    std::printf("  animark vs %-6s: %.2fx as fast, %+.2f%% size\n", other,
                ms[other] / ms["animark"],
                100.0 * (FrameBytes()["animark"] / FrameBytes()[other] - 1));
  }
  return 0;
}
