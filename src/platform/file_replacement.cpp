#include "platform/file_replacement.h"

#include <cstdio>
#include <utility>

namespace animark {

FileReplacement::FileReplacement(std::filesystem::path target, std::filesystem::path temporary,
                                 FileHandle stream)
    : target_(std::move(target)), temporary_(std::move(temporary)), stream_(std::move(stream)) {}

FileReplacement FileReplacement::Failed(const std::filesystem::path& target,
                                        std::error_code error) {
  FileReplacement failed(target, {}, nullptr);
  failed.error_ = error;
  return failed;
}

FileReplacement::FileReplacement(FileReplacement&& other) noexcept
    : target_(std::move(other.target_)),
      temporary_(std::exchange(other.temporary_, {})),
      stream_(std::move(other.stream_)),
      error_(other.error_) {}

bool ReplaceFile(const std::filesystem::path& target, std::string_view bytes,
                 std::filesystem::perms newFilePermissions) {
  FileReplacement replacement = FileReplacement::Begin(target, newFilePermissions);
  if (!replacement.IsOpen()) return false;
  FileHandle stream = replacement.TakeStream();
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream.get()) == bytes.size();
  written = std::fclose(stream.release()) == 0 && written;
  return replacement.Commit(written);
}

}  // namespace animark
