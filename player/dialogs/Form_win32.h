#pragma once
// Form: a fixed-size top-level window created hidden with the process and
// shown on demand, modally when asked. The three auxiliary dialogs build on it;
// what each shows arrives with its own code.
#include <windows.h>

#include <string>

namespace orves {

enum class ModalResult { None, Ok, Cancel };

class Form {
 public:
  Form(std::wstring caption, int clientWidth, int clientHeight, bool stayOnTop);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the hidden window, centred on the desktop.
  bool Create(HWND owner);
  HWND Handle() const { return hwnd_; }

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

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  std::wstring caption_;
  int clientWidth_;
  int clientHeight_;
  bool stayOnTop_;
  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  ModalResult result_ = ModalResult::None;
  bool modal_ = false;
};

}  // namespace orves
