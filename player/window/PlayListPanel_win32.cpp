#include "player/window/PlayListPanel_win32.h"

#include <commctrl.h>

#include "player/core/TextConvert_win32.h"

namespace orves {

namespace {

constexpr wchar_t kPanelClass[] = L"OrvesPlayListPanel";
constexpr int kListId = 1;
constexpr int kFirstLabelId = 10;
constexpr UINT_PTR kListSubclassId = 1;
// The main window's font: 9 points of "굴림" at the usual 96 dots per inch.
constexpr int kFontHeight = 12;
constexpr int kLabelSize = 16;
constexpr int kLabelTop = 7;
constexpr int kLabelLeft = 7;
constexpr int kLabelStep = 20;

struct LabelSpec {
  const wchar_t* caption;
  const char* action;
};
// Save, add and delete from the left; close at the right edge.
constexpr LabelSpec kLabels[4] = {
    {L"<", "actSavePlayList"},
    {L"\u254B", "actPlayListAdd"},
    {L"\u2501", "actPlayListDelete"},
    {L"X", "actTogglePlayList"},
};
constexpr int kCloseLabel = 3;

}  // namespace

// The list view goes with the panel, its subclass with it.
PlayListPanel::~PlayListPanel() {
  Destroy();
  if (font_ != nullptr) DeleteObject(font_);
  if (background_ != nullptr) DeleteObject(background_);
}

bool PlayListPanel::Create(HWND media, int id, HWND stateText) {
  if (Handle() != nullptr || media == nullptr) return false;
  media_ = media;
  stateText_ = stateText;
  font_ = CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"굴림");
  background_ = CreateSolidBrush(backgroundColour_);
  const WindowClassSpec panelClass{kPanelClass, 0, nullptr};
  if (!CreateWindowOf(panelClass, 0, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, L"", RECT{}, media, id)) {
    return false;
  }
  CreateChildren();
  return true;
}

void PlayListPanel::CreateChildren() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  list_ = CreateWindowExW(
      0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS, 0, 0,
      0, 0, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
  if (list_ != nullptr) {
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 0;
    SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SetWindowSubclass(list_, ListProc, kListSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  for (int i = 0; i < 4; ++i) {
    labels_[i] =
        CreateWindowExW(0, L"STATIC", kLabels[i].caption, WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTER, 0, 0,
                        kLabelSize, kLabelSize, Handle(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstLabelId + i)), instance, nullptr);
    if (labels_[i] != nullptr) {
      SendMessageW(labels_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
  }
  SetColors(backgroundColour_, fontColour_);
}

void PlayListPanel::SetColors(COLORREF background, COLORREF font) {
  backgroundColour_ = background & 0xFFFFFF;
  fontColour_ = font & 0xFFFFFF;
  if (HBRUSH brush = CreateSolidBrush(backgroundColour_)) {
    if (background_ != nullptr) DeleteObject(background_);
    background_ = brush;
  }
  if (list_ != nullptr) {
    ListView_SetBkColor(list_, backgroundColour_);
    ListView_SetTextBkColor(list_, backgroundColour_);
    ListView_SetTextColor(list_, fontColour_);
  }
  if (Handle() != nullptr) InvalidateRect(Handle(), nullptr, TRUE);
}

bool PlayListPanel::ListHasFocus() const { return list_ != nullptr && GetFocus() == list_; }

bool PlayListPanel::IsShown() const { return Handle() != nullptr && IsWindowVisible(Handle()); }

std::vector<int> PlayListPanel::SelectedRows() const {
  std::vector<int> rows;
  if (list_ == nullptr) return rows;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED)) {
    rows.push_back(row);
  }
  return rows;
}

int PlayListPanel::FirstSelectedRow() const {
  return list_ == nullptr ? -1 : ListView_GetNextItem(list_, -1, LVNI_SELECTED);
}

// The rows are rebuilt with drawing held, each caption measured in the
// panel's font as it goes in.
int PlayListPanel::SetRows(const std::vector<std::string>& captions) {
  if (list_ == nullptr) return 0;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list_);
  ListView_SetItemCountEx(list_, static_cast<int>(captions.size()), LVSICF_NOSCROLL);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = dc != nullptr ? SelectObject(dc, font_) : nullptr;
  int widest = 0;
  for (size_t i = 0; i < captions.size(); ++i) {
    std::wstring text = Utf8ToWide(captions[i]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = text.data();
    SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SIZE size{};
    if (dc != nullptr && GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size) &&
        size.cx > widest) {
      widest = size.cx;
    }
  }
  if (dc != nullptr) {
    SelectObject(dc, oldFont);
    DeleteDC(dc);
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  return widest;
}

PlayListFrame PlayListPanel::Frame() const {
  PlayListFrame frame;
  RECT media{};
  if (media_ == nullptr || !GetClientRect(media_, &media)) return frame;
  frame.mediaWidth = media.right;
  frame.mediaHeight = media.bottom;
  POINT origin{0, 0};
  ClientToScreen(media_, &origin);
  frame.mediaScreenLeft = origin.x;
  frame.mediaScreenTop = origin.y;
  RECT state{};
  if (stateText_ != nullptr && GetWindowRect(stateText_, &state)) {
    MapWindowPoints(HWND_DESKTOP, media_, reinterpret_cast<POINT*>(&state), 2);
    frame.stateTop = state.top;
    frame.stateHeight = state.bottom - state.top;
  }
  return frame;
}

void PlayListPanel::Place(const PlayListPlace& place) {
  if (Handle() == nullptr) return;
  SetWindowPos(Handle(), HWND_TOP, place.panel.left, place.panel.top, place.panel.width, place.panel.height,
               SWP_NOACTIVATE);
  if (list_ != nullptr) {
    SetWindowPos(list_, nullptr, place.list.left, place.list.top, place.list.width, place.list.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ListView_SetColumnWidth(list_, 0, place.columnWidth);
  }
  PlaceLabels(place.panel.width);
}

void PlayListPanel::PlaceLabels(int width) {
  for (int i = 0; i < 4; ++i) {
    if (labels_[i] == nullptr) continue;
    const int left = i == kCloseLabel ? width - kLabelLeft - kLabelSize : kLabelLeft + i * kLabelStep;
    SetWindowPos(labels_[i], nullptr, left, kLabelTop, kLabelSize, kLabelSize, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// A hidden panel gives the keyboard back to the main window: keys typed into
// a list nobody sees would be lost.
void PlayListPanel::SetVisible(bool visible) {
  if (Handle() == nullptr || IsShown() == visible) return;
  if (!visible && ListHasFocus()) {
    SetFocus(GetAncestor(Handle(), GA_ROOT));
  }
  ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

// A rounded rectangle over the whole panel, corner ellipses 10 x 10.
void PlayListPanel::ShapeToSize(int width, int height) {
  if (width == size_.cx && height == size_.cy) return;
  size_ = {width, height};
  HRGN region =
      CreateRoundRectRgn(0, 0, width + 1, height + 1, kPlayListCornerEllipse, kPlayListCornerEllipse);
  if (region != nullptr && !SetWindowRgn(Handle(), region, TRUE)) {
    DeleteObject(region);
  }
}

LRESULT PlayListPanel::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != list_) return 0;
  if (header.code == NM_DBLCLK && events_.doubleClick) {
    events_.doubleClick(FirstSelectedRow());
  } else if (header.code == NM_RCLICK && events_.rightClick) {
    POINT screen{};
    GetCursorPos(&screen);
    events_.rightClick(screen);
    return 1;
  }
  return 0;
}

LRESULT PlayListPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      // Between the list and the labels the panel is the window: presses
      // there reach the main window's gestures and popMain.
      return HTTRANSPARENT;
    case WM_SIZE:
      ShapeToSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_ERASEBKGND: {
      RECT all{};
      GetClientRect(Handle(), &all);
      FillRect(reinterpret_cast<HDC>(wParam), &all, background_);
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, fontColour_);
      SetBkColor(dc, backgroundColour_);
      return reinterpret_cast<LRESULT>(background_);
    }
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND: {
      const int label = LOWORD(wParam) - kFirstLabelId;
      if (HIWORD(wParam) == STN_CLICKED && label >= 0 && label < 4 && events_.label) {
        events_.label(kLabels[label].action);
      }
      return 0;
    }
    default:
      return TWindow::HandleMessage(message, wParam, lParam);
  }
}

// Keys typed into the list reach the main window's shortcuts first, as they
// do anywhere else in the window.
LRESULT CALLBACK PlayListPanel::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) {
  auto* panel = reinterpret_cast<PlayListPanel*>(self);
  const bool keyMessage = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_SYSCHAR;
  if (keyMessage && panel->events_.key && panel->events_.key(message, wParam, lParam)) {
    return 0;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace orves
