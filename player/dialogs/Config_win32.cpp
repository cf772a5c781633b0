#include "player/dialogs/Config_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "player/core/AppInfo.h"
#include "player/core/TextConvert_win32.h"
#include "player/dialogs/ConfigControls_win32.h"

namespace orves {

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 420;
constexpr int kTabLeft = 8;
constexpr int kTabTop = 8;
constexpr int kTabWidth = 444;
constexpr int kTabHeight = 360;
constexpr WORD kFirstId = 1000;
constexpr WORD kIdTabs = 900;
constexpr WORD kIdReset = 901;
// Posted to the body when the dialog opens: the keys start on the tabs.
constexpr UINT kFocusTabs = WM_APP + 1;

using Kind = ConfigKind;
using Action = ConfigAction;
constexpr int kPageCount = kConfigPageCount;
constexpr int kFormPage = kConfigFormPage;

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

HWND MakeWindow(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, const RECT& r,
                HWND parent, WORD id) {
  return CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, r.left, r.top,
                         r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

bool AskYesNo(HWND owner, const wchar_t* text, const wchar_t* title) {
  return MessageBoxW(owner, text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* faces = reinterpret_cast<std::vector<std::wstring>*>(data);
  const std::wstring face = font->lfFaceName;
  if (!face.empty() && face[0] != L'@' && std::find(faces->begin(), faces->end(), face) == faces->end()) {
    faces->push_back(face);
  }
  return 1;
}

}  // namespace

// One tab's page: a plain child window over the tab control's display area
// that hands its controls' notifications and drawing to the dialog.
class ConfigPage final : public TWindow {
 public:
  explicit ConfigPage(TfrmConfig& form) : form_(form) {}
  bool Create(HWND parent, const RECT& bounds) {
    const WindowClassSpec spec{L"OrvesMPConfigPage", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    return CreateWindowOf(spec, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, L"", bounds, parent);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if ((message == WM_COMMAND || message == WM_DRAWITEM || message == WM_NOTIFY || message == kFocusTabs) &&
        form_.OnControl(message, wParam, lParam)) {
      return TRUE;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
  }
  TfrmConfig& form_;
};

namespace {

// The layout is given in pixels at 96 dots per inch and grows with the
// screen's setting, as does the dialog's font.
int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return std::max(dpi, 96);
}

}  // namespace

TfrmConfig::TfrmConfig(std::span<const DialogSetting> settings)
    : Form(L"환경 설정", MulDiv(kClientWidth, ScreenDpi(), 96), MulDiv(kClientHeight, ScreenDpi(), 96),
           /*stayOnTop=*/true),
      settings_(settings),
      specs_(ConfigControls(settings)),
      dpi_(ScreenDpi()) {}

TfrmConfig::~TfrmConfig() {
  Destroy();
  if (font_ != nullptr) DeleteObject(font_);
}

int TfrmConfig::Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

RECT TfrmConfig::ScaledRect(int left, int top, int width, int height) const {
  return RECT{Scaled(left), Scaled(top), Scaled(left + width), Scaled(top + height)};
}

void TfrmConfig::CreateControls() {
  font_ = CreateFontW(-Scaled(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"굴림");
  const int top = kClientHeight - 34;
  const std::pair<const wchar_t*, WORD> buttons[] = {
      {L"확인", IDOK}, {L"취소", IDCANCEL}, {L"초기화", kIdReset}};
  for (int i = 0; i < 3; ++i) {
    const RECT r = ScaledRect(kClientWidth - (3 - i) * 86, top, 80, 26);
    HWND button = AddButton(buttons[i].first, buttons[i].second, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, buttons[i].second == IDOK);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  // The tab control and its pages sit on one body window, which hands the
  // tab control's notifications to the dialog as the pages do theirs.
  body_ = std::make_unique<ConfigPage>(*this);
  body_->Create(Handle(), ScaledRect(0, 0, kClientWidth, kTabTop + kTabHeight + 4));
  ShowWindow(body_->Handle(), SW_SHOW);
  const DWORD tabStyle = WS_TABSTOP | WS_CLIPSIBLINGS;
  const RECT tabRect = ScaledRect(kTabLeft, kTabTop, kTabWidth, kTabHeight);
  tabs_ = MakeWindow(WC_TABCONTROLW, L"", tabStyle, 0, tabRect, body_->Handle(), kIdTabs);
  SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  CreatePages();
  controls_.assign(specs_.size(), nullptr);
  upDowns_.assign(specs_.size(), nullptr);
  for (size_t i = 0; i < specs_.size(); ++i) controls_[i] = CreateControl(i);
  SetWindowTextW(Control("lblVersion"), Utf8ToWide(std::string("Orve's MP v") + kVersionText).c_str());
  ShowDetailTabs(true);
}

void TfrmConfig::CreatePages() {
  for (int i = 0; i < kPageCount; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(kConfigTabCaptions[i]);
    item.lParam = i;
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  RECT display = ScaledRect(0, 0, kTabWidth, kTabHeight);
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  OffsetRect(&display, Scaled(kTabLeft), Scaled(kTabTop));
  for (int i = 0; i < kPageCount; ++i) {
    auto page = std::make_unique<ConfigPage>(*this);
    page->Create(body_->Handle(), display);
    SetWindowPos(page->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    pages_.push_back(std::move(page));
  }
}

HWND TfrmConfig::CreateControl(size_t index) {
  const ConfigControlSpec& s = specs_[index];
  HWND parent = s.page == kFormPage ? Handle() : pages_[static_cast<size_t>(s.page)]->Handle();
  // The preview keeps the size of its bitmap.
  const RECT r = s.kind == Kind::Preview
                     ? RECT{Scaled(s.x), Scaled(s.y), Scaled(s.x) + s.w, Scaled(s.y) + s.h}
                     : ScaledRect(s.x, s.y, s.w, s.h);
  const WORD id = static_cast<WORD>(kFirstId + index);
  const bool firstOfGroup = s.kind != Kind::Radio || index == 0 || specs_[index - 1].kind != Kind::Radio ||
                            std::strcmp(specs_[index - 1].name, s.name) != 0;
  const DWORD group = firstOfGroup ? WS_GROUP | WS_TABSTOP : 0;
  HWND control = nullptr;
  switch (s.kind) {
    case Kind::Check:
      control =
          MakeWindow(L"BUTTON", s.text.c_str(), BS_AUTOCHECKBOX | BS_MULTILINE | group, 0, r, parent, id);
      break;
    case Kind::Radio:
      control = MakeWindow(L"BUTTON", s.text.c_str(), BS_AUTORADIOBUTTON | group, 0, r, parent, id);
      break;
    case Kind::Group:
      control = MakeWindow(L"BUTTON", s.text.c_str(), BS_GROUPBOX, 0, r, parent, id);
      break;
    case Kind::Label:
      control = MakeWindow(L"STATIC", s.text.c_str(), SS_LEFT, 0, r, parent, id);
      break;
    case Kind::Link:
      control = MakeWindow(L"STATIC", s.text.c_str(), SS_LEFT | SS_NOTIFY, 0, r, parent, id);
      break;
    case Kind::Edit:
      control = MakeWindow(L"EDIT", s.text.c_str(), ES_AUTOHSCROLL | group, WS_EX_CLIENTEDGE, r, parent, id);
      break;
    case Kind::Spin: {
      control = MakeWindow(L"EDIT", L"", ES_AUTOHSCROLL | group, WS_EX_CLIENTEDGE, r, parent, id);
      HWND upDown =
          MakeWindow(UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                     0, RECT{0, 0, 0, 0}, parent, 0);
      SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control), 0);
      if (s.setting != nullptr) {
        SendMessageW(upDown, UDM_SETRANGE32, static_cast<WPARAM>(s.setting->min), s.setting->max);
        UDACCEL accel{0, static_cast<UINT>(s.setting->control->step)};
        SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
      }
      upDowns_[index] = upDown;
      break;
    }
    case Kind::List:
      control = MakeWindow(L"LISTBOX", L"", LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | group,
                           WS_EX_CLIENTEDGE, r, parent, id);
      break;
    case Kind::Choice:
      control = MakeWindow(WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | group, 0, r, parent, id);
      break;
    case Kind::Button:
      control = MakeWindow(L"BUTTON", s.text.c_str(), BS_PUSHBUTTON | group, 0, r, parent, id);
      break;
    case Kind::Swatch:
      control = MakeWindow(L"BUTTON", L"", BS_OWNERDRAW | group, 0, r, parent, id);
      break;
    case Kind::Preview:
      control = MakeWindow(L"STATIC", L"", SS_OWNERDRAW, 0, r, parent, id);
      break;
  }
  if (control != nullptr) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    FitCaption(control, s);
  }
  return control;
}

// A caption gets the room it needs at the dialog's font, whatever the font
// measures on this system: a one-line check box, radio button or label grows
// to its whole text, a two-line check box to its longest word and the lines
// that makes.
void TfrmConfig::FitCaption(HWND control, const ConfigControlSpec& s) const {
  const bool boxed = s.kind == Kind::Check || s.kind == Kind::Radio;
  if ((!boxed && s.kind != Kind::Label && s.kind != Kind::Link) || s.text.empty()) return;
  HDC dc = GetDC(control);
  if (dc == nullptr) return;
  const HGDIOBJ oldFont = SelectObject(dc, font_);
  const auto widthOf = [dc](const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  const int box = boxed ? GetSystemMetrics(SM_CXMENUCHECK) + Scaled(6) : 0;
  const std::wstring& text = s.text;
  const bool twoLines = s.kind == Kind::Check && r.bottom - r.top >= 2 * metrics.tmHeight;
  int width = box + widthOf(text);
  int height = r.bottom - r.top;
  if (twoLines) {
    width = box;
    for (size_t start = 0; start < text.size();) {
      const size_t end = std::min(text.find(L' ', start), text.size());
      width = std::max(width, box + widthOf(text.substr(start, end - start)));
      start = end + 1;
    }
    RECT lines{0, 0, width - box, 0};
    DrawTextW(dc, text.c_str(), -1, &lines, DT_CALCRECT | DT_WORDBREAK);
    height = std::max(height, static_cast<int>(lines.bottom) + Scaled(4));
  }
  SelectObject(dc, oldFont);
  ReleaseDC(control, dc);
  if (width > r.right - r.left || height > r.bottom - r.top) {
    SetWindowPos(control, nullptr, 0, 0, std::max<int>(width, r.right - r.left), height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// ---- values ----------------------------------------------------------------

HWND TfrmConfig::Control(const char* name, int item) const {
  for (size_t i = 0; i < specs_.size(); ++i) {
    if (std::strcmp(specs_[i].name, name) == 0 && (item < 0 || specs_[i].item == item)) return controls_[i];
  }
  return nullptr;
}

bool TfrmConfig::Checked(const char* name, int item) const {
  HWND control = Control(name, item);
  return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TfrmConfig::SetChecked(HWND control, bool on) const {
  SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmConfig::ShowValues(const ConfigValues& values) {
  updating_ = true;
  for (size_t i = 0; i < specs_.size(); ++i) {
    const ConfigControlSpec& s = specs_[i];
    if (s.name[0] == '\0' || !values.Has(s.name)) continue;
    HWND c = controls_[i];
    switch (s.kind) {
      case Kind::Check:
        SetChecked(c, values.Flag(s.name));
        break;
      case Kind::Radio:
        SetChecked(c, values.Int(s.name) == s.item);
        break;
      case Kind::Spin:
        SendMessageW(upDowns_[i], UDM_SETPOS32, 0, values.Int(s.name));
        break;
      case Kind::Edit:
        SetWindowTextW(c, Utf8ToWide(values.Text(s.name)).c_str());
        break;
      case Kind::Button:
        SetWindowTextW(c, std::to_wstring(values.Int(s.name)).c_str());
        break;
      case Kind::Swatch:
        fontColour_ = static_cast<COLORREF>(values.Int(s.name)) & 0xFFFFFF;
        InvalidateRect(c, nullptr, TRUE);
        break;
      case Kind::List:
        SelectFontFace(Utf8ToWide(values.Text(s.name)));
        break;
      case Kind::Choice:
        ShowResolutions(c, values.Int(s.name));
        break;
      default:
        break;
    }
  }
  updating_ = false;
}

void TfrmConfig::CollectValues(ConfigValues& values) const {
  values.Set(cfg::kSyncChoice, -1);
  for (size_t i = 0; i < specs_.size(); ++i) {
    const ConfigControlSpec& s = specs_[i];
    if (s.name[0] == '\0') continue;
    HWND c = controls_[i];
    switch (s.kind) {
      case Kind::Check:
        values.Set(s.name, SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        break;
      case Kind::Radio:
        if (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) values.Set(s.name, s.item);
        break;
      case Kind::Spin: {
        BOOL failed = FALSE;
        const int value =
            static_cast<int>(SendMessageW(upDowns_[i], UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
        values.Set(s.name, s.setting != nullptr ? std::clamp(value, s.setting->min, s.setting->max) : value);
        break;
      }
      case Kind::Edit:
        values.Set(s.name, WideToUtf8(WindowText(c)));
        break;
      case Kind::Button:
        if (const std::optional<int> number = ParseInteger(WideToUtf8(WindowText(c))))
          values.Set(s.name, *number);
        break;
      case Kind::Swatch:
        values.Set(s.name, static_cast<int>(fontColour_));
        break;
      case Kind::List: {
        const LRESULT selected = SendMessageW(c, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR) break;
        std::wstring face(static_cast<size_t>(SendMessageW(c, LB_GETTEXTLEN, selected, 0)) + 1, L'\0');
        SendMessageW(c, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(face.data()));
        face.resize(wcslen(face.c_str()));
        values.Set(s.name, WideToUtf8(face));
        break;
      }
      case Kind::Choice: {
        const LRESULT selected = SendMessageW(c, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR)
          values.Set(s.name, static_cast<int>(SendMessageW(c, CB_GETITEMDATA, selected, 0)));
        break;
      }
      default:
        break;
    }
  }
}

void TfrmConfig::FillFontList() {
  HWND list = Control("lstFontName");
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  std::vector<std::wstring> faces;
  LOGFONTW filter{};
  filter.lfCharSet = DEFAULT_CHARSET;
  HDC dc = GetDC(Handle());
  EnumFontFamiliesExW(dc, &filter, &CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(Handle(), dc);
  for (const std::wstring& face : faces)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
}

// The display's resolutions, the one `width` names selected (the first when
// it names none).
void TfrmConfig::ShowResolutions(HWND list, int width) const {
  std::vector<ScreenMode> modes;
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  for (DWORD index = 0; EnumDisplaySettingsW(nullptr, index, &mode); ++index) {
    modes.push_back({static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight)});
  }
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  int selected = 0;
  for (const ResolutionChoice& choice : ResolutionChoices(modes, width)) {
    const LRESULT at =
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(choice.label).c_str()));
    SendMessageW(list, CB_SETITEMDATA, at, choice.width);
    if (choice.width == width) selected = static_cast<int>(at);
  }
  SendMessageW(list, CB_SETCURSEL, selected, 0);
}

// The face when listed, else the fallback face, else nothing.
void TfrmConfig::SelectFontFace(const std::wstring& face) {
  HWND list = Control("lstFontName");
  LRESULT index =
      SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face.c_str()));
  if (index == LB_ERR) {
    const std::wstring fallback = Utf8ToWide(kFallbackCaptionFont);
    index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(fallback.c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, index == LB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}

// ---- showing ---------------------------------------------------------------

ModalResult TfrmConfig::Edit(ConfigValues& values, const std::string& webHost,
                             IConfigMaintenance& maintenance) {
  if (Handle() == nullptr) return ModalResult::Cancel;
  webHost_ = webHost;
  maintenance_ = &maintenance;
  // Fonts installed since the last opening are offered too.
  FillFontList();
  ShowValues(values);
  SelectPage(0);
  UpdateControls();
  PostMessageW(body_->Handle(), kFocusTabs, 0, 0);
  const ModalResult result = ShowModal();
  maintenance_ = nullptr;
  if (result == ModalResult::Ok) CollectValues(values);
  return result;
}

void TfrmConfig::ShowDetailTabs(bool show) {
  if (show == detailTabsShown_) return;
  detailTabsShown_ = show;
  if (!show) {
    while (SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0) > 1) SendMessageW(tabs_, TCM_DELETEITEM, 1, 0);
    SelectPage(0);
    return;
  }
  for (int i = 1; i < kPageCount; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(kConfigTabCaptions[i]);
    item.lParam = i;
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void TfrmConfig::SelectPage(int page) {
  if (SendMessageW(tabs_, TCM_GETCURSEL, 0, 0) != page)
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (int i = 0; i < kPageCount; ++i)
    ShowWindow(pages_[static_cast<size_t>(i)]->Handle(), i == page ? SW_SHOW : SW_HIDE);
}

void TfrmConfig::UpdateControls() {
  if (updating_) return;
  updating_ = true;
  ShowDetailTabs(Checked("chkShowTab"));
  for (int preset = 0; preset < 3; ++preset) {
    if (!Checked(cfg::kPositionChoice, preset)) continue;
    const std::optional<int> number =
        ParseInteger(WideToUtf8(WindowText(Control(cfg::kPresetButton[preset]))));
    if (number) SetWindowTextW(Control(cfg::kPosition), std::to_wstring(*number).c_str());
  }
  const bool user = Checked(cfg::kPositionChoice, cfg::kPositionUser);
  EnableWindow(Control(cfg::kPosition), user);
  const bool modeChange = Checked(cfg::kFullScreenMode);
  EnableWindow(Control(cfg::kFullScreenDpi), modeChange);
  for (int i = 0; i < 4; ++i) EnableWindow(Control(cfg::kFullScreenColor, i), modeChange);
  const bool shift = !Checked(cfg::kSyncChoice, cfg::kSyncAsIs);
  ShowWindow(Control(cfg::kSyncSeconds), shift ? SW_SHOW : SW_HIDE);
  ShowWindow(Control("lblSyncPlus"), shift ? SW_SHOW : SW_HIDE);
  const bool folder = Checked("chkUseCaptionFolder");
  EnableWindow(Control("edtCaptionFolder"), folder);
  EnableWindow(Control("btnSearchCaptionFolder"), folder);
  InvalidateRect(Control("pntFont"), nullptr, FALSE);
  updating_ = false;
}

// ---- events ----------------------------------------------------------------

bool TfrmConfig::OnCommand(WORD id) {
  if (id == kIdReset) {
    if (AskYesNo(Handle(), L"모든 설정을 초기값으로 바꾸시겠습니까?", L"확인")) {
      ConfigValues values;
      CollectValues(values);
      ResetConfig(values, settings_);
      ShowValues(values);
      CloseWith(ModalResult::Ok);
    }
    return true;
  }
  if (id >= kFirstId && id < kFirstId + specs_.size() && specs_[id - kFirstId].action != Action::None) {
    return RunAction(id - kFirstId);
  }
  return Form::OnCommand(id);
}

bool TfrmConfig::OnControl(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->hwndItem == Control("pntFont")) DrawPreview(*item);
    if (item->hwndItem == Control("pnlFontColor")) DrawSwatch(*item);
    return true;
  }
  if (message == kFocusTabs) {
    SetFocus(tabs_);
    return true;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != tabs_ || header->code != TCN_SELCHANGE) return false;
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    const LRESULT selected = SendMessageW(tabs_, TCM_GETCURSEL, 0, 0);
    if (SendMessageW(tabs_, TCM_GETITEMW, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item))) {
      SelectPage(static_cast<int>(item.lParam));
    }
    return true;
  }
  const WORD id = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  if (id < kFirstId || id >= kFirstId + specs_.size()) return false;
  const size_t index = id - kFirstId;
  const ConfigControlSpec& s = specs_[index];
  if (s.action != Action::None && (code == BN_CLICKED || code == STN_CLICKED)) return RunAction(index);
  const bool changed = (code == BN_CLICKED && (s.kind == Kind::Check || s.kind == Kind::Radio)) ||
                       (code == EN_CHANGE && s.kind == Kind::Spin) || (code == LBN_SELCHANGE);
  if (changed) UpdateControls();
  return changed;
}

bool TfrmConfig::RunAction(size_t index) {
  switch (specs_[index].action) {
    case Action::Preset:
      if (const std::optional<ConfigPreset> preset = PresetNumbered(specs_[index].item)) {
        ApplyPresetAndClose(*preset);
      }
      break;
    case Action::ClearBookmarks:
      if (maintenance_ != nullptr) maintenance_->ClearBookmarks();
      MessageBoxW(Handle(), L"초기화 하였습니다.", kApplicationTitleW, MB_OK);
      break;
    case Action::ClearRecent:
      if (maintenance_ != nullptr && AskYesNo(Handle(), L"문서목록을 초기화 하시겠습니까?", L"확인")) {
        maintenance_->ClearRecentDocuments();
      }
      break;
    case Action::PreviewOn:
    case Action::PreviewOff:
      if (maintenance_ != nullptr) maintenance_->SetShellPreview(specs_[index].action == Action::PreviewOn);
      MessageBoxW(Handle(),
                  specs_[index].action == Action::PreviewOn ? L"미리보기가 ON 되었습니다."
                                                            : L"미리보기가 OFF 되었습니다.",
                  kApplicationTitleW, MB_OK);
      break;
    case Action::LinkAll:
    case Action::LinkNone:
      for (const char* box : cfg::kLinkBoxes)
        SetChecked(Control(box), specs_[index].action == Action::LinkAll);
      break;
    case Action::RemoveCaptionCodec:
      if (maintenance_ != nullptr && AskYesNo(Handle(), L"자막코덱을 삭제하시겠습니까?", L"자막코덱 삭제")) {
        maintenance_->RemoveCaptionCodecs();
      }
      break;
    case Action::AskNumber:
      AskNumber(index);
      break;
    case Action::ChooseColour:
      ChooseFontColour();
      break;
    case Action::BrowseFolder:
      BrowseCaptionFolder();
      break;
    case Action::OpenHomePage:
      if (!webHost_.empty()) {
        ShellExecuteW(nullptr, L"open", Utf8ToWide(WebAddress(webHost_, "/")).c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
      }
      break;
    case Action::None:
      return false;
  }
  return true;
}

void TfrmConfig::ApplyPresetAndClose(ConfigPreset preset) {
  ConfigValues values;
  CollectValues(values);
  ApplyPreset(values, preset);
  ShowValues(values);
  CloseWith(ModalResult::Ok);
}

// The button's setting titles the prompt and gives its range.
void TfrmConfig::AskNumber(size_t index) {
  const DialogSetting* setting = specs_[index].setting;
  if (!prompt_ || setting == nullptr) return;
  const std::wstring range =
      L"(" + std::to_wstring(setting->min) + L"~" + std::to_wstring(setting->max) + L")";
  const std::optional<std::wstring> text = prompt_(Utf8ToWide(setting->control->caption), range);
  if (!text) return;
  const std::optional<int> number = ParseInteger(WideToUtf8(*text));
  if (!number) {
    MessageBoxW(Handle(), (L"'" + *text + L"' is not a valid integer value").c_str(), kApplicationTitleW,
                MB_OK | MB_ICONERROR);
    return;
  }
  SetWindowTextW(controls_[index], std::to_wstring(*number).c_str());
  UpdateControls();
}

void TfrmConfig::ChooseFontColour() {
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = Handle();
  choose.rgbResult = fontColour_;
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&choose)) return;
  fontColour_ = choose.rgbResult & 0xFFFFFF;
  InvalidateRect(Control("pnlFontColor"), nullptr, TRUE);
  UpdateControls();
}

void TfrmConfig::BrowseCaptionFolder() {
  HWND edit = Control("edtCaptionFolder");
  const std::wstring folder = WindowText(edit);
  std::vector<wchar_t> name(MAX_PATH * 4, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = L"모든파일\0*.*\0\0";
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return;
  std::wstring path = name.data();
  const size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) path.resize(slash);
  SetWindowTextW(edit, path.c_str());
}

void TfrmConfig::DrawSwatch(const DRAWITEMSTRUCT& item) const {
  HBRUSH brush = CreateSolidBrush(fontColour_);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void TfrmConfig::DrawPreview(const DRAWITEMSTRUCT& item) const {
  ConfigValues values;
  CollectValues(values);
  if (values.Text("lstFontName").empty()) return;
  CaptionPreviewStyle style;
  style.face = Utf8ToWide(values.Text("lstFontName"));
  style.bold = values.Flag("chkFontBold");
  style.colour = fontColour_;
  style.fontWidthRate = values.Int("spinFontWidthRate");
  style.outLineRate = values.Int("spinOutLineRate");
  style.shadowRate = values.Int("spinShadowRate");
  style.antiAliase = values.Flag("chkAntiAliase");
  HBITMAP bitmap = RenderCaptionPreview(item.hDC, style);
  if (bitmap == nullptr) return;
  HDC memory = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, kPreviewWidth, kPreviewHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

}  // namespace orves
