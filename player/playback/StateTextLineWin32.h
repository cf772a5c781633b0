#pragma once
// StateTextLine: a plain one-line child window that shows TStateText's
// current text (light grey on black, 11-pixel "굴림"). It stands in for the
// shaped state-text panel and implements the same view interface.
#include <windows.h>

#include <string>

#include "player/playback/StateText.h"

namespace orves {

class StateTextLine final : public IStateTextView {
 public:
  StateTextLine() = default;
  ~StateTextLine() override;
  StateTextLine(const StateTextLine&) = delete;
  StateTextLine& operator=(const StateTextLine&) = delete;

  // A hidden child of `parent`; place it with SetBounds.
  bool Create(HWND parent, int id);
  HWND Handle() const { return hwnd_; }
  void SetBounds(int left, int top, int width, int height);
  const std::wstring& Text() const { return text_; }

  // IStateTextView
  void Render(const std::string& text) override;
  void Show() override;
  void Hide() override;
  bool IsVisible() const override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  std::wstring text_;
};

}  // namespace orves
