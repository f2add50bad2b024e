#include "platform/output_target.h"

#include <aclapi.h>
#include <winioctl.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/windows_support.h"

namespace animark {

namespace {

namespace fs = std::filesystem;

// The system gives up on a name after this many links as well.
constexpr int kMaxLinks = 63;
constexpr DWORD kSymlinkRelative = 1;

// The head of what FSCTL_GET_REPARSE_POINT returns for a symbolic link or a junction; the names
// follow it (after a flags word for a symbolic link). User-mode headers do not declare it.
struct LinkReparseHead {
  ULONG tag;
  USHORT dataLength;
  USHORT reserved;
  USHORT substituteOffset;
  USHORT substituteLength;
  USHORT printOffset;
  USHORT printLength;
};

// Where the symbolic link or junction open in `link` leads; nothing for any other reparse point.
std::optional<fs::path> LinkTarget(HANDLE link) {
  std::vector<std::byte> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD size = 0;
  if (!::DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                         static_cast<DWORD>(buffer.size()), &size, nullptr) ||
      size < sizeof(LinkReparseHead)) {
    return std::nullopt;
  }
  LinkReparseHead head{};
  std::memcpy(&head, buffer.data(), sizeof head);
  std::size_t names = sizeof head;
  DWORD flags = 0;
  if (head.tag == IO_REPARSE_TAG_SYMLINK) {
    std::memcpy(&flags, buffer.data() + names, sizeof flags);
    names += sizeof flags;
  } else if (head.tag != IO_REPARSE_TAG_MOUNT_POINT) {
    return std::nullopt;
  }
  const auto name = [&](USHORT offset, USHORT length) {
    std::wstring text(length / sizeof(wchar_t), L'\0');
    if (names + offset + length <= size) {
      std::memcpy(text.data(), buffer.data() + names + offset, length);
    }
    return text;
  };
  std::wstring target = name(head.printOffset, head.printLength);
  if (target.empty()) {
    // The substitute name is in the object manager's spelling: "\??\C:\maps", "\??\UNC\server".
    target = name(head.substituteOffset, head.substituteLength);
    if (target.starts_with(L"\\??\\UNC\\")) {
      target = L"\\\\" + target.substr(8);
    } else if (target.starts_with(L"\\??\\")) {
      target = target.substr(4);
    }
  }
  if (target.empty()) return std::nullopt;
  fs::path path(target);
  if ((flags & kSymlinkRelative) == 0 && !path.is_absolute()) return std::nullopt;
  return path;
}

struct LocalFreer {
  void operator()(void* memory) const { ::LocalFree(memory); }
};
using SecurityDescriptor = std::unique_ptr<void, LocalFreer>;

// The owner of the file or folder, kept alive by `descriptor`.
PSID OwnerOf(HANDLE file, SecurityDescriptor& descriptor) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR raw = nullptr;
  if (::GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &raw) != ERROR_SUCCESS) {
    return nullptr;
  }
  descriptor.reset(raw);
  return owner;
}

// Whether `owner` is the user running the export, or the owner this user's new files get (the
// Administrators group, for an elevated run).
bool IsOwnUser(PSID owner) {
  HANDLE rawToken = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return false;
  const windows::Handle token(rawToken);
  for (const TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenOwner}) {
    DWORD size = 0;
    ::GetTokenInformation(token.Get(), kind, nullptr, 0, &size);
    std::vector<std::byte> info(size);
    if (size == 0 || !::GetTokenInformation(token.Get(), kind, info.data(), size, &size)) continue;
    // Both structures start with the SID's address.
    PSID sid = nullptr;
    std::memcpy(&sid, info.data(), sizeof sid);
    if (::EqualSid(owner, sid)) return true;
  }
  return false;
}

bool OwnedByUserOrFolderOwner(HANDLE link, const fs::path& folder) {
  SecurityDescriptor linkDescriptor;
  const PSID owner = OwnerOf(link, linkDescriptor);
  if (!owner) return false;
  if (IsOwnUser(owner)) return true;
  const windows::Handle folderHandle(::CreateFileW(
      folder.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folderHandle.IsValid()) return false;
  SecurityDescriptor folderDescriptor;
  const PSID folderOwner = OwnerOf(folderHandle.Get(), folderDescriptor);
  return folderOwner && ::EqualSid(owner, folderOwner);
}

}  // namespace

bool NamesDeviceOrPipe(const fs::path& path) {
  // Opening a pipe would take one of its connections: its name alone tells.
  if (windows::NamesDevice(path.native())) return true;
  const windows::Handle file(
      ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.IsValid() && ::GetFileType(file.Get()) != FILE_TYPE_DISK;
}

OutputPlace FollowOwnLinks(const fs::path& path) {
  fs::path current = path;
  for (int links = 0; links < kMaxLinks; ++links) {
    const DWORD attributes = ::GetFileAttributesW(current.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      return {current, {}};
    }
    const windows::Handle link(::CreateFileW(
        current.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!link.IsValid()) return {current, {}};
    const std::optional<fs::path> target = LinkTarget(link.Get());
    if (!target) return {current, {}};
    const fs::path folder = current.has_parent_path() ? current.parent_path() : fs::path(".");
    if (!OwnedByUserOrFolderOwner(link.Get(), folder)) return {{}, current};
    current = target->is_absolute() ? *target : folder / *target;
  }
  // Moving a file over a link replaces the link itself, never what it points to.
  return {current, {}};
}

}  // namespace animark
