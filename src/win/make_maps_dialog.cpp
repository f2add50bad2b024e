#include "win/make_maps_dialog.h"

#include <commctrl.h>
#include <shobjidl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "export/user_texts.h"
#include "maps/station_maps.h"
#include "win/resource.h"
#include "win/win_text.h"

namespace animark::win {

namespace {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename Interface>
using ComPointer = std::unique_ptr<Interface, ComRelease>;

struct TaskMemoryFree {
  void operator()(void* memory) const { ::CoTaskMemFree(memory); }
};

// COM for the folder picker, for as long as it is open; uninitialised only when this call
// initialised it.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (initialised_) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialised_;
};

// The folder picker, opened at `start` when that is a folder. Empty when nothing was chosen.
std::wstring PickFolder(HWND owner, const std::wstring& start) {
  const ComApartment apartment;
  IFileOpenDialog* created = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileOpenDialog, reinterpret_cast<void**>(&created)))) {
    return {};
  }
  const ComPointer<IFileOpenDialog> picker(created);
  FILEOPENDIALOGOPTIONS options = 0;
  picker->GetOptions(&options);
  picker->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  picker->SetTitle(L"Folder for the maps");
  IShellItem* startItem = nullptr;
  if (!start.empty() &&
      SUCCEEDED(::SHCreateItemFromParsingName(start.c_str(), nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&startItem)))) {
    const ComPointer<IShellItem> folder(startItem);
    picker->SetFolder(folder.get());
  }
  if (FAILED(picker->Show(owner))) return {};  // cancelled, too
  IShellItem* chosenItem = nullptr;
  if (FAILED(picker->GetResult(&chosenItem))) return {};
  const ComPointer<IShellItem> chosen(chosenItem);
  wchar_t* name = nullptr;
  if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &name))) return {};
  const std::unique_ptr<wchar_t, TaskMemoryFree> owned(name);
  return owned.get();
}

// As Windows shows a number: up to ten significant digits, a point for the decimal mark.
std::wstring Degrees(double value) {
  wchar_t text[32] = {};
  std::swprintf(text, std::size(text), L"%.10g", value);
  return text;
}

bool IsBlank(const std::wstring& text) {
  return text.find_first_not_of(L" \t") == std::wstring::npos;
}

class MakeMapsBox {
 public:
  MakeMapsBox(UserMessages& messages, const MapRequest& shown, bool placeKnown)
      : messages_(messages), shown_(shown), placeKnown_(placeKnown) {}

  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      ::SetWindowLongPtrW(window, DWLP_USER, lParam);
      auto* self = reinterpret_cast<MakeMapsBox*>(lParam);
      self->window_ = window;
      self->OnInitDialog();
      return TRUE;  // the latitude, first in tab order, takes the focus
    }
    auto* self = reinterpret_cast<MakeMapsBox*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (!self || message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
      case IDOK:
        self->OnMakeMaps();
        return TRUE;
      case IDCANCEL:
        ::EndDialog(window, IDCANCEL);
        return TRUE;
      case IDC_BROWSE:
        if (HIWORD(wParam) == BN_CLICKED) self->OnBrowse();
        return TRUE;
      default:
        return FALSE;
    }
  }

  const std::optional<MapRequest>& Taken() const { return taken_; }

 private:
  void OnInitDialog() {
    if (HWND owner = ::GetWindow(window_, GW_OWNER)) {
      RECT box;
      RECT over;
      if (::GetWindowRect(window_, &box) && ::GetWindowRect(owner, &over)) {
        ::SetWindowPos(window_, nullptr,
                       over.left + ((over.right - over.left) - (box.right - box.left)) / 2,
                       over.top + ((over.bottom - over.top) - (box.bottom - box.top)) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
    ::SendDlgItemMessageW(window_, IDC_LATITUDE, EM_SETCUEBANNER, FALSE,
                          reinterpret_cast<LPARAM>(L"e.g. 52.52 (north positive)"));
    ::SendDlgItemMessageW(window_, IDC_LONGITUDE, EM_SETCUEBANNER, FALSE,
                          reinterpret_cast<LPARAM>(L"e.g. 13.40 (east positive)"));
    if (placeKnown_) {
      ::SetDlgItemTextW(window_, IDC_LATITUDE, Degrees(shown_.place.latitude).c_str());
      ::SetDlgItemTextW(window_, IDC_LONGITUDE, Degrees(shown_.place.longitude).c_str());
    }
    ::SetDlgItemTextW(window_, IDC_MAP_FOLDER, shown_.folder.wstring().c_str());
    ::CheckRadioButton(window_, IDC_DARK, IDC_LIGHT,
                       shown_.style == MapStyle::Light ? IDC_LIGHT : IDC_DARK);
  }

  void OnMakeMaps() {
    const std::optional<double> latitude = ParseDegrees(Text(IDC_LATITUDE), 90);
    if (!latitude) return Refuse(IDC_LATITUDE, kLatitudeRefusalText);
    const std::optional<double> longitude = ParseDegrees(Text(IDC_LONGITUDE), 180);
    if (!longitude) return Refuse(IDC_LONGITUDE, kLongitudeRefusalText);
    const std::wstring folder = WindowText(::GetDlgItem(window_, IDC_MAP_FOLDER));
    if (IsBlank(folder)) return Refuse(IDC_MAP_FOLDER, kMapFolderRefusalText);
    taken_ = MapRequest{
        {*latitude, *longitude},
        std::filesystem::path(folder),
        ::IsDlgButtonChecked(window_, IDC_LIGHT) == BST_CHECKED ? MapStyle::Light : MapStyle::Dark};
    ::EndDialog(window_, IDOK);
  }

  void Refuse(int field, const char* message) {
    messages_.Show(message, MessageIcon::Exclamation);
    HWND control = ::GetDlgItem(window_, field);
    ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    ::SendMessageW(control, EM_SETSEL, 0, -1);
  }

  void OnBrowse() {
    const std::wstring chosen =
        PickFolder(window_, WindowText(::GetDlgItem(window_, IDC_MAP_FOLDER)));
    if (!chosen.empty()) ::SetDlgItemTextW(window_, IDC_MAP_FOLDER, chosen.c_str());
  }

  std::string Text(int control) const { return Narrow(WindowText(::GetDlgItem(window_, control))); }

  UserMessages& messages_;
  const MapRequest& shown_;
  const bool placeKnown_;
  HWND window_ = nullptr;
  std::optional<MapRequest> taken_;
};

}  // namespace

std::optional<MapRequest> AskForMaps(HINSTANCE instance, HWND owner, UserMessages& messages,
                                     const MapRequest& shown, bool placeKnown) {
  MakeMapsBox box(messages, shown, placeKnown);
  ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MAKE_MAPS), owner, &MakeMapsBox::Procedure,
                    reinterpret_cast<LPARAM>(&box));
  return box.Taken();
}

}  // namespace animark::win
