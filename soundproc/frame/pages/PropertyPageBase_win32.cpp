#include "soundproc/frame/pages/PropertyPageBase_win32.h"

#include <commctrl.h>

#include <cstring>

namespace zmsp::pages {

namespace {

// Measuring creates the dialog once without a page behind it.
INT_PTR CALLBACK MeasureProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)done;
}

}  // namespace

std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

HINSTANCE PropertyPageBase::Module() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&MeasureProc), &module);
  return module;
}

HRESULT PropertyPageBase::HandOut(PropertyPageBase* page, REFIID riid, void** object) {
  if (page == nullptr) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = page->QueryInterface(riid, object);
  page->Release();
  return hr;
}

PropertyPageBase::PropertyPageBase(int dialogId, const char* title)
    : dialogId_(dialogId), title_(Widen(title)) {}

PropertyPageBase::~PropertyPageBase() {
  if (window_ != nullptr) DestroyWindow(window_);
  if (site_ != nullptr) site_->Release();
}

IUnknown* PropertyPageBase::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<PropertyPageBase> kInterfaces[] = {
      Implements<PropertyPageBase, IPropertyPage>(IID_IPropertyPage)};
  return FindInTable(*this, kInterfaces, riid);
}

HRESULT PropertyPageBase::SetPageSite(IPropertyPageSite* site) {
  if (site != nullptr) {
    if (site_ != nullptr) return E_UNEXPECTED;
    site->AddRef();
  } else if (site_ != nullptr) {
    site_->Release();
  }
  site_ = site;
  return S_OK;
}

HRESULT PropertyPageBase::GetPageInfo(PROPPAGEINFO* info) {
  if (info == nullptr) return E_POINTER;
  EnsureCommonControls();
  HWND measured =
      CreateDialogParamW(Module(), MAKEINTRESOURCEW(dialogId_), GetDesktopWindow(), MeasureProc, 0);
  if (measured == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  RECT rect{};
  GetWindowRect(measured, &rect);
  DestroyWindow(measured);

  const std::size_t bytes = (title_.size() + 1) * sizeof(wchar_t);
  auto* title = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (title == nullptr) return E_OUTOFMEMORY;
  std::memcpy(title, title_.c_str(), bytes);
  info->cb = sizeof(PROPPAGEINFO);
  info->pszTitle = title;
  info->size.cx = rect.right - rect.left;
  info->size.cy = rect.bottom - rect.top;
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

HRESULT PropertyPageBase::SetObjects(ULONG count, IUnknown** objects) {
  if (count == 0) {
    Disconnect();
    return S_OK;
  }
  if (objects == nullptr || objects[0] == nullptr) return E_POINTER;
  // One object is what the pages edit; the frame passes the others along.
  Disconnect();
  const HRESULT hr = OnConnect(objects[0]);
  connected_ = SUCCEEDED(hr);
  return hr;
}

void PropertyPageBase::Disconnect() {
  if (!connected_) return;
  OnDisconnect();
  connected_ = false;
}

HRESULT PropertyPageBase::Activate(HWND parent, LPCRECT rect, BOOL) {
  if (rect == nullptr) return E_POINTER;
  if (window_ != nullptr) return E_UNEXPECTED;
  EnsureCommonControls();
  window_ = CreateDialogParamW(Module(), MAKEINTRESOURCEW(dialogId_), parent, DialogProc,
                               reinterpret_cast<LPARAM>(this));
  if (window_ == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  HRESULT hr = OnActivate();
  if (FAILED(hr)) {
    DestroyWindow(window_);
    window_ = nullptr;
    return hr;
  }
  return Move(rect);
}

HRESULT PropertyPageBase::Deactivate() {
  if (window_ == nullptr) return E_UNEXPECTED;
  OnDeactivate();
  DestroyWindow(window_);
  window_ = nullptr;
  return S_OK;
}

HRESULT PropertyPageBase::Show(UINT command) {
  if (window_ == nullptr) return E_UNEXPECTED;
  if (command != SW_SHOW && command != SW_SHOWNORMAL && command != SW_HIDE) return E_INVALIDARG;
  ShowWindow(window_, static_cast<int>(command));
  InvalidateRect(window_, nullptr, TRUE);
  return S_OK;
}

HRESULT PropertyPageBase::Move(LPCRECT rect) {
  if (rect == nullptr) return E_POINTER;
  if (window_ == nullptr) return E_UNEXPECTED;
  MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

HRESULT PropertyPageBase::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT PropertyPageBase::Apply() {
  if (!dirty_) return S_OK;
  const HRESULT hr = OnApplyChanges();
  if (SUCCEEDED(hr)) dirty_ = false;
  return hr;
}

void PropertyPageBase::SetDirty() {
  dirty_ = true;
  if (site_ != nullptr) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
}

INT_PTR CALLBACK PropertyPageBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    // Before CreateDialogParamW returns, so that the pages' hooks see their window.
    reinterpret_cast<PropertyPageBase*>(lParam)->window_ = window;
    return FALSE;
  }
  auto* page = reinterpret_cast<PropertyPageBase*>(GetWindowLongPtrW(window, DWLP_USER));
  if (page == nullptr) return FALSE;
  INT_PTR result = FALSE;
  if (page->OnMessage(message, wParam, lParam, result)) return result;
  return FALSE;
}

}  // namespace zmsp::pages
