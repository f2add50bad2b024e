#include "win/main_dialog.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "export/create_gif.h"
#include "export/user_texts.h"
#include "settings/settings_store.h"
#include "win/about_dialog.h"
#include "win/map_progress_dialog.h"
#include "win/progress_dialog.h"
#include "win/resource.h"
#include "win/win_text.h"

namespace animark::win {

namespace {

// The dialog's column of the field table: each field's control, a radio group's first button.
constexpr std::array<int, kFormFieldCount> kControls = {
    IDC_COMMENTS,     IDC_DATA_DIRECTORY, IDC_EXPORT_FILE,   IDC_ITERATIONS,  IDC_MAP_100,
    IDC_MAP_200,      IDC_MAP_300,        IDC_PERSISTENCE,   IDC_RATE,        IDC_ZOOM_100,
    IDC_PERIOD_START, IDC_PERIOD_END,     IDC_PAUSE_BETWEEN, IDC_PAUSE_LAST,  IDC_RINGS_100,
    IDC_RINGS_200,    IDC_RINGS_300,      IDC_CROSSHAIRS,    IDC_LABEL_RINGS, IDC_MILES,
};
constexpr int kZoomButtonCount = kRangeCount;
constexpr int kUnitButtonCount = 2;

constexpr std::array<const wchar_t*, kRangeCount> kMileCaptions = {L"100 mi", L"200 mi", L"300 mi"};
constexpr std::array<const wchar_t*, kRangeCount> kKilometreCaptions = {L"160 km", L"320 km",
                                                                        L"480 km"};

constexpr wchar_t kOptimizeForWebEntry[] = L"&Optimize for the web";
constexpr wchar_t kAgeColoursEntry[] = L"Colour strikes &by age";
// P, since M is the system menu's Move.
constexpr wchar_t kMakeMapsEntry[] = L"Make ma&ps\u2026";

}  // namespace

MainDialog::MainDialog(HINSTANCE instance, UserMessages& messages, SettingsKey& key,
                       const Clock& clock, const DateTimeText& dates)
    : instance_(instance),
      messages_(messages),
      key_(key),
      dates_(dates),
      settings_(DefaultExportSettings(DateTime::FromLocalTime(clock.Now()))),
      exporter_(std::make_unique<AnimationExporter>()) {
  appIcon_ = ::LoadIconW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME));
  appIconSmall_ = static_cast<HICON>(::LoadImageW(
      instance_, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
      ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  LoadSettings(settings_, key_, messages_);
}

MainDialog::~MainDialog() {
  if (appIconSmall_) ::DestroyIcon(appIconSmall_);
}

void MainDialog::Run() {
  ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_ANIMARK_DIALOG), nullptr, &Procedure,
                    reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK MainDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<MainDialog*>(lParam);
    self->window_ = window;
    self->OnInitDialog();
    return TRUE;  // the first control in tab order takes the focus
  }
  auto* self = reinterpret_cast<MainDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR MainDialog::Handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          OnCreateGif();
          return TRUE;
        case IDCANCEL:  // Exit, Escape, the close button, the system menu's Close
          OnExit();
          return TRUE;
        case IDC_MILES:
          if (HIWORD(wParam) == BN_CLICKED) ShowMileCaptions();
          return TRUE;
        case IDC_KILOMETERS:
          if (HIWORD(wParam) == BN_CLICKED) ShowKilometreCaptions();
          return TRUE;
        default:
          return FALSE;
      }
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case IDM_ABOUTBOX:
          ShowAboutBox(instance_, window_);
          return TRUE;
        case IDM_OPTIMIZE_FOR_WEB:
          ToggleFlag(settings_.optimizeForWeb, IDM_OPTIMIZE_FOR_WEB);
          return TRUE;
        case IDM_AGE_COLOURS:
          ToggleFlag(settings_.ageColours, IDM_AGE_COLOURS);
          return TRUE;
        case IDM_MAKE_MAPS:
          OnMakeMaps();
          return TRUE;
        default:
          return FALSE;
      }
    case WM_SETCURSOR:
      if (!makingMaps_) return FALSE;
      ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
      ::SetWindowLongPtrW(window_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_HELP:  // F1
      ShowAboutBox(instance_, window_);
      return TRUE;
    case WM_PAINT:
      if (!::IsIconic(window_)) return FALSE;
      PaintMinimised();
      return TRUE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(appIcon_);
    default:
      return FALSE;
  }
}

void MainDialog::OnInitDialog() {
  ExchangeFields(false);
  if (HMENU systemMenu = ::GetSystemMenu(window_, FALSE)) {
    wchar_t about[64] = {};
    if (::LoadStringW(instance_, IDS_ABOUTBOX, about, static_cast<int>(std::size(about))) > 0) {
      ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
      ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
    }
    // Ours, beside About: kept in the settings store like the fields, saved on Exit.
    ::AppendMenuW(systemMenu,
                  MF_STRING | (settings_.optimizeForWeb != 0 ? MF_CHECKED : MF_UNCHECKED),
                  IDM_OPTIMIZE_FOR_WEB, kOptimizeForWebEntry);
    ::AppendMenuW(systemMenu, MF_STRING | (settings_.ageColours != 0 ? MF_CHECKED : MF_UNCHECKED),
                  IDM_AGE_COLOURS, kAgeColoursEntry);
    ::AppendMenuW(systemMenu, MF_STRING, IDM_MAKE_MAPS, kMakeMapsEntry);
  }
  ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
  ::SendMessageW(window_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(appIconSmall_ ? appIconSmall_ : appIcon_));
  if (settings_.units == 1) {
    ShowKilometreCaptions();
  } else {
    ShowMileCaptions();
  }
}

HWND MainDialog::Control(FormField field) const {
  return ::GetDlgItem(window_, kControls[static_cast<std::size_t>(field)]);
}

bool MainDialog::ExchangeFields(bool taking) {
  if (!taking) {
    ShowFields(FillForm(settings_, dates_));
    return true;
  }
  const std::optional<FormRefusal> refusal = TakeForm(FieldsShown(), dates_, settings_);
  LimitTexts();
  if (!refusal) return true;
  messages_.Show(refusal->message, MessageIcon::Exclamation);
  HWND control = Control(refusal->field);
  ::SendMessageW(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  if (RowOf(refusal->field).kind != FieldKind::Choice &&
      RowOf(refusal->field).kind != FieldKind::Flag) {
    ::SendMessageW(control, EM_SETSEL, 0, -1);
  }
  return false;
}

void MainDialog::ShowFields(const FormFields& form) {
  const auto show = [this](FormField field, const std::string& text) {
    ::SetWindowTextW(Control(field), Wide(text).c_str());
  };
  // A text longer than its limit (from the store) is shown whole, for the check to refuse.
  const auto showText = [&](FormField field, const std::string& text) {
    const std::wstring shown = Wide(text);
    const std::size_t limit = std::max(RowOf(field).textLimit, shown.size());
    ::SendMessageW(Control(field), EM_SETLIMITTEXT, limit, 0);
    ::SetWindowTextW(Control(field), shown.c_str());
  };
  const auto check = [this](int firstButton, int buttonCount, std::int32_t position) {
    for (int button = 0; button < buttonCount; ++button) {
      ::CheckDlgButton(window_, firstButton + button,
                       button == position ? BST_CHECKED : BST_UNCHECKED);
    }
  };
  showText(FormField::Comments, form.comments);
  showText(FormField::DataDirectory, form.dataDirectory);
  showText(FormField::ExportFile, form.exportFile);
  show(FormField::Iterations, form.iterations);
  for (int range = 0; range < kRangeCount; ++range) {
    showText(MapFileField(range), form.mapFiles[range]);
  }
  show(FormField::PersistenceMinutes, form.persistenceMinutes);
  show(FormField::RateMinutesPerSecond, form.rateMinutesPerSecond);
  check(IDC_ZOOM_100, kZoomButtonCount, form.zoomRange);
  show(FormField::PeriodStart, form.periodStart);
  show(FormField::PeriodEnd, form.periodEnd);
  show(FormField::PauseBetweenFrames, form.pauseBetweenFrames);
  show(FormField::PauseAfterLastFrame, form.pauseAfterLastFrame);
  for (int range = 0; range < kRangeCount; ++range) {
    show(RingCountField(range), form.ringCounts[range]);
  }
  ::CheckDlgButton(window_, IDC_CROSSHAIRS, form.crosshairs ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(window_, IDC_LABEL_RINGS, form.labelRings ? BST_CHECKED : BST_UNCHECKED);
  check(IDC_MILES, kUnitButtonCount, form.units);
}

FormFields MainDialog::FieldsShown() const {
  const auto text = [this](FormField field) { return Narrow(WindowText(Control(field))); };
  const auto checked = [this](int id) { return ::IsDlgButtonChecked(window_, id) == BST_CHECKED; };
  const auto position = [&](int firstButton, int buttonCount) {
    for (int button = 0; button < buttonCount; ++button) {
      if (checked(firstButton + button)) return button;
    }
    return -1;
  };
  FormFields form;
  form.comments = text(FormField::Comments);
  form.dataDirectory = text(FormField::DataDirectory);
  form.exportFile = text(FormField::ExportFile);
  form.iterations = text(FormField::Iterations);
  for (int range = 0; range < kRangeCount; ++range) {
    form.mapFiles[range] = text(MapFileField(range));
    form.ringCounts[range] = text(RingCountField(range));
  }
  form.persistenceMinutes = text(FormField::PersistenceMinutes);
  form.rateMinutesPerSecond = text(FormField::RateMinutesPerSecond);
  form.zoomRange = position(IDC_ZOOM_100, kZoomButtonCount);
  form.periodStart = text(FormField::PeriodStart);
  form.periodEnd = text(FormField::PeriodEnd);
  form.pauseBetweenFrames = text(FormField::PauseBetweenFrames);
  form.pauseAfterLastFrame = text(FormField::PauseAfterLastFrame);
  form.crosshairs = checked(IDC_CROSSHAIRS);
  form.labelRings = checked(IDC_LABEL_RINGS);
  form.units = position(IDC_MILES, kUnitButtonCount);
  return form;
}

void MainDialog::LimitTexts() {
  for (const FieldRow& row : kFieldTable) {
    if (row.kind != FieldKind::Text) continue;
    HWND control = Control(row.field);
    if (static_cast<std::size_t>(::GetWindowTextLengthW(control)) <= row.textLimit) {
      ::SendMessageW(control, EM_SETLIMITTEXT, row.textLimit, 0);
    }
  }
}

void MainDialog::ShowMileCaptions() {
  for (int range = 0; range < kRangeCount; ++range) {
    ::SetDlgItemTextW(window_, IDC_ZOOM_100 + range, kMileCaptions[range]);
  }
}

void MainDialog::ShowKilometreCaptions() {
  for (int range = 0; range < kRangeCount; ++range) {
    ::SetDlgItemTextW(window_, IDC_ZOOM_100 + range, kKilometreCaptions[range]);
  }
}

void MainDialog::OnCreateGif() {
  if (exporting_ || !ExchangeFields(true)) return;
  // The command completes the name (".gif") for this export only: the field and the settings
  // keep the name as typed.
  ExportSettings settings = settings_;
  const CreateGifResult result =
      CreateGif(settings, *exporter_, messages_, *this, OutputMode::ReplaceWhenComplete);
  if (const std::optional<UserText> told = CreateGifText(result)) {
    messages_.Show(told->text, told->icon);
  }
}

void MainDialog::OnExit() {
  if (exporting_ || makingMaps_) return;
  ExchangeFields(true);
  SaveSettings(settings_, key_, messages_);
  ::EndDialog(window_, IDCANCEL);
}

std::filesystem::path MainDialog::FirstMapFolder() const {
  const std::filesystem::path mapFile(WindowText(::GetDlgItem(window_, IDC_MAP_100)));
  if (mapFile.has_parent_path()) {
    const DWORD attributes = ::GetFileAttributesW(mapFile.parent_path().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return mapFile.parent_path();
    }
  }
  std::filesystem::path documents;
  wchar_t* found = nullptr;
  if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &found))) {
    documents = found;
  }
  ::CoTaskMemFree(found);  // also when the call failed
  return documents;
}

void MainDialog::OnMakeMaps() {
  if (exporting_ || makingMaps_) return;
  if (!mapPlaceKnown_) mapRequest_.folder = FirstMapFolder();
  const std::optional<MapRequest> asked =
      AskForMaps(instance_, window_, messages_, mapRequest_, mapPlaceKnown_);
  if (!asked) return;
  mapRequest_ = *asked;
  mapPlaceKnown_ = true;

  std::vector<StationMap> maps;
  for (const int range : kMapRanges) {
    maps.push_back({range, mapRequest_.folder / StationMapName(range)});
  }
  makingMaps_ = true;
  // No key or click reaches the form while its map fields may still change.
  ::EnableWindow(window_, FALSE);
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  StationMapsResult result;
  {
    MapProgressDialog progress(instance_, window_);
    result = MakeStationMaps(mapRequest_.place, maps, mapRequest_.style, progress);
    // Enabled before the progress window goes, so that the dialog is the window that becomes
    // active.
    ::EnableWindow(window_, TRUE);
  }
  ::SetForegroundWindow(window_);
  makingMaps_ = false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  if (result.outcome == StationMapsOutcome::Written) {
    for (std::size_t range = 0; range < maps.size(); ++range) {
      ::SetDlgItemTextW(window_, IDC_MAP_100 + static_cast<int>(range),
                        maps[range].path.wstring().c_str());
    }
  }
  if (const std::optional<UserText> told = StationMapsText(result)) {
    messages_.Show(told->text, told->icon);
  }
}

void MainDialog::ToggleFlag(std::int32_t& flag, UINT entry) {
  flag = flag != 0 ? 0 : 1;
  ::CheckMenuItem(::GetSystemMenu(window_, FALSE), entry,
                  MF_BYCOMMAND | (flag != 0 ? MF_CHECKED : MF_UNCHECKED));
}

void MainDialog::PaintMinimised() {
  PAINTSTRUCT paint;
  HDC context = ::BeginPaint(window_, &paint);
  ::SendMessageW(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
  RECT client;
  ::GetClientRect(window_, &client);
  const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(context, x, y, appIcon_);
  ::EndPaint(window_, &paint);
}

ProgressWindow* MainDialog::BeginExport() {
  exporting_ = true;
  ::EnableWindow(::GetDlgItem(window_, IDOK), FALSE);
  ::ShowWindow(window_, SW_MINIMIZE);
  // No key or click reaches the form while its settings are being exported.
  ::EnableWindow(window_, FALSE);
  progress_ = std::make_unique<ProgressDialog>(instance_);
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  return progress_->Created() ? progress_.get() : nullptr;
}

void MainDialog::EndExport() {
  // Enabled and restored before the progress window goes, so that the dialog is the window
  // that becomes active.
  ::EnableWindow(window_, TRUE);
  ::ShowWindow(window_, SW_RESTORE);
  progress_.reset();
  ::SetForegroundWindow(window_);
  ::EnableWindow(::GetDlgItem(window_, IDOK), TRUE);
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  exporting_ = false;
}

}  // namespace animark::win
