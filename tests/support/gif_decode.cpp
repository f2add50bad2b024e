#include "support/gif_decode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace animark::testing {

namespace {

constexpr std::string_view kLoopingIdentifier = "NETSCAPE2.0";

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

struct MemoryReader {
  const std::vector<std::uint8_t>* bytes;
  std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int size) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t count =
      std::min(static_cast<std::size_t>(size), reader->bytes->size() - reader->position);
  std::memcpy(buffer, reader->bytes->data() + reader->position, count);
  reader->position += count;
  return static_cast<int>(count);
}

void SetError(std::string* error, int code) {
  if (!error) return;
  const char* text = GifErrorString(code);
  *error = text ? text : "giflib failed with code " + std::to_string(code);
}

// Giflib keeps the extensions that stand before an image with that image and the rest with the
// file; a comment or application extension continues in blocks of CONTINUE_EXT_FUNC_CODE.
void ReadExtensions(int count, const ExtensionBlock* blocks, DecodedGif& gif, DecodedFrame* frame) {
  for (int i = 0; i < count; ++i) {
    const ExtensionBlock& block = blocks[i];
    const auto* bytes = reinterpret_cast<const char*>(block.Bytes);
    if (block.Function == COMMENT_EXT_FUNC_CODE) {
      std::string text(bytes, static_cast<std::size_t>(block.ByteCount));
      while (i + 1 < count && blocks[i + 1].Function == CONTINUE_EXT_FUNC_CODE) {
        ++i;
        text.append(reinterpret_cast<const char*>(blocks[i].Bytes),
                    static_cast<std::size_t>(blocks[i].ByteCount));
      }
      gif.comments.push_back(std::move(text));
    } else if (block.Function == APPLICATION_EXT_FUNC_CODE &&
               std::string_view(bytes, static_cast<std::size_t>(block.ByteCount)) ==
                   kLoopingIdentifier &&
               i + 1 < count && blocks[i + 1].Function == CONTINUE_EXT_FUNC_CODE &&
               blocks[i + 1].ByteCount == 3 && blocks[i + 1].Bytes[0] == 1) {
      ++i;
      gif.loopCount = blocks[i].Bytes[1] | blocks[i].Bytes[2] << 8;
    } else if (block.Function == GRAPHICS_EXT_FUNC_CODE && frame) {
      GraphicsControlBlock control;
      if (DGifExtensionToGCB(static_cast<std::size_t>(block.ByteCount), block.Bytes, &control) ==
          GIF_OK) {
        frame->delay = control.DelayTime;
        frame->disposal = control.DisposalMode;
        if (control.TransparentColor != NO_TRANSPARENT_COLOR) {
          frame->transparent = static_cast<std::uint8_t>(control.TransparentColor);
        }
      }
    }
  }
}

std::optional<DecodedGif> Slurp(GifHandle handle, int openError, std::string* error) {
  if (!handle) {
    SetError(error, openError);
    return std::nullopt;
  }
  GifFileType* file = handle.get();
  if (DGifSlurp(file) != GIF_OK) {
    // Giflib reads a stream without images to its trailer and only then calls it an error; such a
    // stream is complete and well-formed, so it decodes to no frames.
    const bool completeWithoutImages =
        file->ImageCount == 0 && file->Error == D_GIF_ERR_NO_IMAG_DSCR;
    if (!completeWithoutImages) {
      SetError(error, file->Error);
      return std::nullopt;
    }
  }
  DecodedGif gif;
  gif.width = file->SWidth;
  gif.height = file->SHeight;
  if (file->SColorMap) {
    for (int i = 0; i < file->SColorMap->ColorCount; ++i) {
      const GifColorType& colour = file->SColorMap->Colors[i];
      gif.colours.push_back({colour.Red, colour.Green, colour.Blue});
    }
  }
  for (int i = 0; i < file->ImageCount; ++i) {
    const SavedImage& image = file->SavedImages[i];
    DecodedFrame frame;
    frame.left = image.ImageDesc.Left;
    frame.top = image.ImageDesc.Top;
    frame.width = image.ImageDesc.Width;
    frame.height = image.ImageDesc.Height;
    ReadExtensions(image.ExtensionBlockCount, image.ExtensionBlocks, gif, &frame);
    frame.indices.assign(image.RasterBits,
                         image.RasterBits + static_cast<std::size_t>(frame.width) * frame.height);
    gif.frames.push_back(std::move(frame));
  }
  ReadExtensions(file->ExtensionBlockCount, file->ExtensionBlocks, gif, nullptr);
  return gif;
}

}  // namespace

ViewerScreen::ViewerScreen(const DecodedGif& gif)
    : gif_(gif), colours_(static_cast<std::size_t>(gif.width) * gif.height) {}

bool ViewerScreen::Show(const DecodedFrame& frame) {
  if (frame.disposal > 1) return false;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const std::uint8_t index = frame.At(x, y);
      if (index == frame.transparent) continue;
      if (index >= gif_.colours.size() || frame.left + x >= gif_.width ||
          frame.top + y >= gif_.height) {
        return false;
      }
      colours_[static_cast<std::size_t>(frame.top + y) * gif_.width + frame.left + x] =
          gif_.colours[index];
    }
  }
  return true;
}

std::optional<DecodedGif> DecodeGifFile(const std::filesystem::path& path, std::string* error) {
  int openError = 0;
  GifHandle handle(DGifOpenFileName(path.c_str(), &openError));
  return Slurp(std::move(handle), openError, error);
}

std::optional<DecodedGif> DecodeGifBytes(const std::vector<std::uint8_t>& bytes,
                                         std::string* error) {
  MemoryReader reader{&bytes};
  int openError = 0;
  GifHandle handle(DGifOpen(&reader, ReadFromMemory, &openError));
  return Slurp(std::move(handle), openError, error);
}

}  // namespace animark::testing
