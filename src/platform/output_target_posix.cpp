#include "platform/output_target.h"

#include <sys/stat.h>
#include <unistd.h>

namespace animark {

namespace {

namespace fs = std::filesystem;

// The system gives up on a name after this many links as well.
constexpr int kMaxLinks = 40;

}  // namespace

bool NamesDeviceOrPipe(const fs::path& path) {
  std::error_code error;
  const fs::file_type type = fs::status(path, error).type();
  return type == fs::file_type::character || type == fs::file_type::block ||
         type == fs::file_type::fifo || type == fs::file_type::socket;
}

OutputPlace FollowOwnLinks(const fs::path& path) {
  fs::path current = path;
  for (int links = 0; links < kMaxLinks; ++links) {
    struct stat link {};
    if (::lstat(current.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return {current, {}};
    const fs::path folder = current.has_parent_path() ? current.parent_path() : fs::path(".");
    struct stat owner {};
    const bool own = link.st_uid == ::geteuid() ||
                     (::stat(folder.c_str(), &owner) == 0 && owner.st_uid == link.st_uid);
    if (!own) return {{}, current};
    std::error_code error;
    const fs::path next = fs::read_symlink(current, error);
    if (error) return {current, {}};
    current = next.is_absolute() ? next : folder / next;
  }
  // Renaming over a link replaces the link itself, never what it points to.
  return {current, {}};
}

}  // namespace animark
