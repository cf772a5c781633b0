#pragma once
// TWindow: the one window-procedure plumbing of the player's windows. A
// derived class describes its window class in a WindowClassSpec, creates its
// window with CreateWindowOf and handles messages in HandleMessage.
//
// Contract:
// - The class is registered once per name in this module, with TWindow's own
//   window procedure; a second window of the same class reuses it.
// - HandleMessage is called from WM_NCCREATE on, with Handle() already set.
//   The few messages a top-level window receives before WM_NCCREATE (such as
//   WM_GETMINMAXINFO) go to DefWindowProcW.
// - WM_NCDESTROY is the last message HandleMessage sees; after it returns,
//   Handle() is null and later messages to the old handle go to
//   DefWindowProcW. A child destroyed with its parent ends the same way.
// - Destroy() destroys the window while the object is whole: WM_DESTROY and
//   WM_NCDESTROY reach HandleMessage. The destructor, which runs after the
//   derived part is gone, detaches the object first and then destroys a
//   window that still exists, so none of its messages reach the object. A
//   class whose handlers must see its own destruction calls Destroy() in its
//   destructor.
// - The window's GWLP_USERDATA holds the object; derived classes leave it
//   alone.
#include <windows.h>

namespace orves {

// How a window class is registered. The cursor is always the arrow.
struct WindowClassSpec {
  const wchar_t* name = nullptr;
  UINT style = 0;               // CS_* flags, e.g. CS_DBLCLKS
  HBRUSH background = nullptr;  // null: the window paints its whole background
  HICON icon = nullptr;
};

// The black background the playback panels share.
inline HBRUSH BlackBrush() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }

class TWindow {
 public:
  TWindow() = default;
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  // The window, or null before creation and after WM_NCDESTROY.
  HWND Handle() const { return hwnd_; }
  // Destroys the window (if any) with its messages reaching HandleMessage.
  void Destroy();

 protected:
  // Registers the class when needed and creates the window with this object
  // behind it. `bounds` is left, top, right, bottom in the parent's client
  // coordinates (screen coordinates for a top-level window); `id` is a
  // child's control id (0 for a top-level window). False when a window
  // exists already, or when the class or the window cannot be created.
  bool CreateWindowOf(const WindowClassSpec& windowClass, DWORD exStyle, DWORD style, const wchar_t* title,
                      const RECT& bounds, HWND parent, int id = 0);

  // One message of the window. The default is DefWindowProcW; overrides pass
  // what they leave alone to TWindow::HandleMessage.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();

  HWND hwnd_ = nullptr;
};

}  // namespace orves
