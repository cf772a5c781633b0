#include "player/dialogs/Form_win32.h"

namespace orves {

namespace {

constexpr const wchar_t* kClassName = L"OrvesMPForm";

// The dialog face colour and the program's icon.
WindowClassSpec FormClass() {
  return WindowClassSpec{kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                         LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))};
}

}  // namespace

Form::Form(std::wstring caption, int clientWidth, int clientHeight, bool stayOnTop)
    : caption_(std::move(caption)),
      clientWidth_(clientWidth),
      clientHeight_(clientHeight),
      stayOnTop_(stayOnTop) {}

Form::~Form() {
  // The buttons go before the font they show.
  Destroy();
  if (font_ != nullptr) {
    DeleteObject(font_);
  }
}

bool Form::Create(HWND owner) {
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_POPUP | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | (stayOnTop_ ? WS_EX_TOPMOST : 0);
  RECT frame = {0, 0, clientWidth_, clientHeight_};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const RECT bounds{left, top, left + width, top + height};
  if (!CreateWindowOf(FormClass(), exStyle, style, caption_.c_str(), bounds, owner)) {
    return false;
  }
  font_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"굴림");
  CreateControls();
  return true;
}

HWND Form::AddButton(const wchar_t* caption, WORD id, int left, int top, int width, int height,
                     bool isDefault) {
  HWND button =
      CreateWindowExW(0, L"BUTTON", caption,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                      left, top, width, height, Handle(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                      GetModuleHandleW(nullptr), nullptr);
  if (button != nullptr && font_ != nullptr) {
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  return button;
}

HWND Form::AddControl(const wchar_t* className, const wchar_t* text, DWORD style, WORD id, int left, int top,
                      int width, int height) {
  HWND control =
      CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height, Handle(),
                      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr && font_ != nullptr) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  return control;
}

ModalResult Form::ShowModal() {
  if (Handle() == nullptr || modal_) {
    return ModalResult::Cancel;
  }
  HWND owner = GetWindow(Handle(), GW_OWNER);
  const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
  if (ownerWasEnabled) {
    EnableWindow(owner, FALSE);
  }
  modal_ = true;
  result_ = ModalResult::None;
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  MSG msg;
  // The form ends with its owner too, so a vanished window ends the loop.
  while (result_ == ModalResult::None && Handle() != nullptr) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // The application is ending: keep the quit for the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      result_ = ModalResult::Cancel;
      break;
    }
    if (got < 0) {
      result_ = ModalResult::Cancel;
      break;
    }
    if (!IsDialogMessageW(Handle(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (ownerWasEnabled && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
  }
  if (Handle() != nullptr) {
    ShowWindow(Handle(), SW_HIDE);
  }
  if (owner != nullptr && IsWindow(owner)) {
    SetForegroundWindow(owner);
  }
  modal_ = false;
  return result_ == ModalResult::None ? ModalResult::Cancel : result_;
}

void Form::CloseWith(ModalResult result) {
  if (modal_) {
    result_ = result;
  } else {
    ShowWindow(Handle(), SW_HIDE);
  }
}

bool Form::OnCommand(WORD id) {
  if (id == IDOK) {
    CloseWith(ModalResult::Ok);
    return true;
  }
  if (id == IDCANCEL) {
    CloseWith(ModalResult::Cancel);
    return true;
  }
  return false;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (OnCommand(LOWORD(wParam))) {
        return 0;
      }
      break;
    case WM_CLOSE:
      // The frame's close box hides the form; it lives as long as the process.
      CloseWith(ModalResult::Cancel);
      return 0;
    default:
      break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace orves
