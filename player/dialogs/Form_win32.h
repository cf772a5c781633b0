#pragma once
// Form: a fixed-size top-level window created hidden with the process and
// shown on demand, modally when asked. The three auxiliary dialogs build on
// it; the window plumbing is TWindow's.
#include <windows.h>

#include <string>

#include "player/core/Window_win32.h"

namespace orves {

enum class ModalResult { None, Ok, Cancel };

class Form : public TWindow {
 public:
  Form(std::wstring caption, int clientWidth, int clientHeight, bool stayOnTop);
  ~Form() override;

  // Creates the hidden window, centred on the desktop.
  bool Create(HWND owner);

  // Shows the form, disables its owner and runs the messages until the form
  // is closed; closing it by its frame counts as Cancel.
  ModalResult ShowModal();
  void CloseWith(ModalResult result);

 protected:
  // The form's own controls, created with the window.
  virtual void CreateControls() {}
  virtual bool OnCommand(WORD id);
  // A push button at client coordinates.
  HWND AddButton(const wchar_t* caption, WORD id, int left, int top, int width, int height, bool isDefault);
  // A child control of any class at client coordinates, in the form's font.
  HWND AddControl(const wchar_t* className, const wchar_t* text, DWORD style, WORD id, int left, int top,
                  int width, int height);
  // The font the form's controls show.
  HFONT Font() const { return font_; }
  // Forms that colour or draw their controls handle those messages first.
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::wstring caption_;
  int clientWidth_;
  int clientHeight_;
  bool stayOnTop_;
  HFONT font_ = nullptr;
  ModalResult result_ = ModalResult::None;
  bool modal_ = false;
};

}  // namespace orves
