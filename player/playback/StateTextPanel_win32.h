#pragma once
// StateTextPanel: the shaped panel `pnlStateText` with its paint box. Each new
// text is drawn once into a bitmap (11-pixel "굴림", anti-aliased, on the
// panel's colour), and the panel is cut to the letters, thickened by 2 pixels
// all around, so the picture stays visible between and around them. The
// bitmap is painted at (6, 6).
#include <windows.h>

#include <string>

#include "player/core/Window_win32.h"
#include "player/playback/StateText.h"

namespace orves {

class StateTextPanel final : public TWindow, public IStateTextView {
 public:
  static constexpr int kTextInset = 6;  // where the text bitmap sits in the panel
  static constexpr int kRound = 2;      // growth of the letters' outline

  StateTextPanel() = default;
  ~StateTextPanel() override;

  // A hidden child of `parent`; place it with SetBounds.
  bool Create(HWND parent, int id);
  void SetBounds(int left, int top, int width, int height);

  // The panel's colour (left out of the region) and the skin's text colour,
  // both 0x00BBGGRR; light grey letters on the default black panel. Applies
  // from the next new text on.
  void SetColours(COLORREF panelColour, COLORREF skinTextColour);

  const std::wstring& Text() const { return text_; }
  // The rendered text bitmap (null for an empty text) and its size.
  HBITMAP TextBitmap() const { return bitmap_; }
  SIZE TextSize() const { return textSize_; }

  // IStateTextView
  void Render(const std::string& text) override;
  void Show() override;
  void Hide() override;
  bool IsVisible() const override;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  void RenderBitmap();
  void Shape();
  void FreeBitmap();

  HFONT font_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  SIZE textSize_{0, 0};
  COLORREF panelColour_ = kStateTextPanelColour;
  COLORREF skinTextColour_ = kStateTextGrey;
  std::wstring text_;
};

}  // namespace orves
