#include "player/core/Window_win32.h"

namespace orves {

namespace {

bool RegisterOnce(const WindowClassSpec& spec, WNDPROC procedure) {
  if (spec.name == nullptr) {
    return false;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, spec.name, &wc)) {
    return true;
  }
  wc = {};
  wc.cbSize = sizeof wc;
  wc.style = spec.style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = spec.icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = spec.background;
  wc.lpszClassName = spec.name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

TWindow::~TWindow() {
  if (hwnd_ != nullptr) {
    HWND window = hwnd_;
    Detach();
    DestroyWindow(window);
  }
}

void TWindow::Destroy() {
  if (hwnd_ != nullptr) {
    DestroyWindow(hwnd_);
  }
}

bool TWindow::CreateWindowOf(const WindowClassSpec& windowClass, DWORD exStyle, DWORD style,
                             const wchar_t* title, const RECT& bounds, HWND parent, int id) {
  if (hwnd_ != nullptr || !RegisterOnce(windowClass, &TWindow::WindowProc)) {
    return false;
  }
  HWND created =
      CreateWindowExW(exStyle, windowClass.name, title != nullptr ? title : L"", style, bounds.left,
                      bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
  return created != nullptr;
}

LRESULT TWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void TWindow::Detach() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  hwnd_ = nullptr;
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (created != nullptr) {
      created->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
  }
  auto* window = reinterpret_cast<TWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  const LRESULT result = window->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    window->Detach();
  }
  return result;
}

}  // namespace orves
