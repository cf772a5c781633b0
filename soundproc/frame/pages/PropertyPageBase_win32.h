// A property page over a dialog resource of this module: the IPropertyPage
// contract (site, objects, activation as a child dialog of the frame's
// window, size from the dialog, dirty state) with hooks for the pages.
#pragma once

#include "directshow/com/DirectShowApi.h"

#include <olectl.h>

#include <string>

#include "soundproc/contract/DirectShowNames.h"

namespace zmsp::pages {

class PropertyPageBase : public ComObject<IPropertyPage> {
 public:
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Show(UINT command) override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return E_NOTIMPL; }

  // The module whose resources hold the dialogs (the one this code is in).
  static HINSTANCE Module();

 protected:
  // `title` is UTF-8. The new page has one reference.
  PropertyPageBase(int dialogId, const char* title);
  ~PropertyPageBase() override;
  IUnknown* FindInterface(REFIID riid) override;

  // The creation functions' end: hands out the new page's `riid` (or the
  // failure to allocate it) and drops the reference the page was born with.
  static HRESULT HandOut(PropertyPageBase* page, REFIID riid, void** object);

  HWND Window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  bool Connected() const { return connected_; }
  // Marks the page changed and tells the frame, which enables its Apply button.
  void SetDirty();

  virtual HRESULT OnConnect(IUnknown* object) = 0;
  virtual void OnDisconnect() = 0;
  virtual HRESULT OnActivate() { return S_OK; }
  virtual void OnDeactivate() {}
  virtual HRESULT OnApplyChanges() { return S_OK; }
  // A message for the dialog; true when handled (`result` is then returned).
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Disconnect();

  int dialogId_;
  std::wstring title_;
  IPropertyPageSite* site_ = nullptr;
  HWND window_ = nullptr;
  bool connected_ = false;
  bool dirty_ = false;
};

// UTF-8 to UTF-16.
std::wstring Widen(const std::string& text);

}  // namespace zmsp::pages
