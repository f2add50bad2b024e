#include "platform/file_replacement.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <utility>

namespace animark {

namespace {

namespace fs = std::filesystem;

mode_t ModeFor(const fs::path& target, fs::perms newFilePermissions) {
  struct stat info {};
  // Set-user-ID and set-group-ID bits are never carried over: a GIF or a settings file is no
  // program, and a copied bit could hand someone else's rights to whatever later takes its name.
  if (::stat(target.c_str(), &info) == 0) return info.st_mode & 07777 & ~mode_t{S_ISUID | S_ISGID};
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return static_cast<mode_t>(newFilePermissions) & ~mask;
}

// The temporary file of the replacement under way, for RemovePendingTemporaryFile. A signal
// handler may read it at any moment, so it is a fixed buffer behind an atomic flag; one at a time
// is enough for this program, which replaces one file at a time.
char pendingPath[PATH_MAX];
std::atomic<bool> pending{false};

void SetPending(const fs::path& temporary) {
  pending = false;
  const std::string& text = temporary.native();
  if (text.size() >= sizeof pendingPath) return;
  std::memcpy(pendingPath, text.c_str(), text.size() + 1);
  pending = true;
}

void ClearPending(const fs::path& temporary) {
  if (pending && temporary.native() == pendingPath) pending = false;
}

// The reason of the call that just failed, when `failed`.
std::error_code SystemError(bool failed) {
  return failed ? std::error_code(errno, std::generic_category()) : std::error_code();
}

bool SyncPath(const fs::path& path, int flags) {
  const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC);
  if (descriptor < 0) return false;
  const bool synced = ::fsync(descriptor) == 0;
  ::close(descriptor);
  return synced;
}

}  // namespace

FileReplacement FileReplacement::Begin(const fs::path& target, fs::perms newFilePermissions) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string temporary = (folder / ("." + target.filename().string() + "-XXXXXX")).string();
  // A signal between making the file and registering its name would leave the file behind, so
  // none is taken in between (the command line's handlers are process-wide, and its exports make
  // their threads only later).
  sigset_t all;
  sigset_t saved;
  ::sigfillset(&all);
  ::pthread_sigmask(SIG_BLOCK, &all, &saved);
  const int descriptor = ::mkstemp(temporary.data());
  const std::error_code made = SystemError(descriptor < 0);
  if (descriptor >= 0) SetPending(temporary);
  ::pthread_sigmask(SIG_SETMASK, &saved, nullptr);
  if (descriptor < 0) return Failed(target, made);
  FileHandle stream(::fchmod(descriptor, ModeFor(target, newFilePermissions)) == 0
                        ? ::fdopen(descriptor, "wb")
                        : nullptr);
  if (!stream) {
    const std::error_code error = SystemError(true);
    ::close(descriptor);
    ClearPending(temporary);
    ::unlink(temporary.c_str());
    return Failed(target, error);
  }
  return FileReplacement(target, temporary, std::move(stream));
}

FileReplacement::~FileReplacement() {
  stream_.reset();
  if (temporary_.empty()) return;
  ClearPending(temporary_);
  ::unlink(temporary_.c_str());
}

bool FileReplacement::Commit(bool written) {
  if (temporary_.empty()) return false;
  stream_.reset();
  const fs::path temporary = std::exchange(temporary_, {});
  ClearPending(temporary);
  if (!written || !SyncPath(temporary, O_RDONLY) ||
      std::rename(temporary.c_str(), target_.c_str()) != 0) {
    error_ = SystemError(written);
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself survive a crash; the new file is in place either way.
  SyncPath(target_.has_parent_path() ? target_.parent_path() : fs::path("."),
           O_RDONLY | O_DIRECTORY);
  return true;
}

void RemovePendingTemporaryFile() noexcept {
  if (pending.exchange(false)) ::unlink(pendingPath);
}

}  // namespace animark
