#pragma once
// The Windows side of the skin: GDI copies of the skin's bitmaps, the frame
// and full-screen bar painting, the time texts, the four shaped thumb panels
// (children of the main window) and the colours the skin gives the window.
// TSkin drives it through ISkinWindow and hands it everything it draws; the
// main window calls Paint from its paint handler.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "player/core/Window_win32.h"
#include "player/window/Skin.h"

namespace orves {

// A GDI bitmap made from a skin bitmap, freed with the object.
class SkinGdiBitmap {
 public:
  SkinGdiBitmap() = default;
  explicit SkinGdiBitmap(const SkinBitmap& source);
  ~SkinGdiBitmap();
  SkinGdiBitmap(const SkinGdiBitmap&) = delete;
  SkinGdiBitmap& operator=(const SkinGdiBitmap&) = delete;
  HBITMAP Handle() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A child panel of the skin that paints itself through `paint` (off screen
// where it matters, so no background erase) and passes its mouse messages on.
class SkinPanel : public TWindow {
 public:
  using MouseHandler = std::function<void(UINT message, WPARAM keys, POINT screen)>;
  bool Create(HWND parent, const wchar_t* className, int id, std::function<void(HDC)> paint,
              MouseHandler onMouse);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::function<void(HDC)> paint_;
  MouseHandler onMouse_;
};

// A bar thumb: a panel cut to its bitmap's shape that draws the bitmap.
class SkinThumbPanel final : public SkinPanel {
 public:
  bool Create(HWND parent, int id, MouseHandler onMouse);
  // Sizes the panel to the bitmap and cuts out its blue pixels; null hides it.
  void SetBitmap(const SkinGdiBitmap* bitmap);
  bool HasBitmap() const { return bitmap_ != nullptr && bitmap_->Handle() != nullptr; }

 private:
  const SkinGdiBitmap* bitmap_ = nullptr;
};

// What the painter reports to the main window.
struct SkinPainterEvents {
  // Mouse messages on a thumb (its bar number) and on the full-screen bar.
  std::function<void(int bar, UINT message, WPARAM keys, POINT screen)> thumbMouse;
  SkinPanel::MouseHandler barMouse;
  // The skin's colours took effect.
  std::function<void(const SkinValues&)> colours;
};

class SkinPainter final : public ISkinWindow {
 public:
  // The four thumb panels, bound to bars by name.
  static constexpr int kThumbPanels = 4;

  // Paints `window`, a frameless main window.
  SkinPainter(HWND window, SkinPainterEvents events);
  ~SkinPainter() override;
  SkinPainter(const SkinPainter&) = delete;
  SkinPainter& operator=(const SkinPainter&) = delete;

  // Creates the thumb panels and the full-screen bar (hidden).
  void CreateControls();

  // The window's paint: frame, texts, thumbs and area lines, drawn off
  // screen and copied in one step so nothing flickers.
  void Paint(HDC dc);
  HBRUSH FormBrush() const { return formBrush_; }
  HWND FullScreenBar() const { return bar_.Handle(); }
  // Cuts every thumb panel to its bitmap again.
  void ShapeThumbs();
  // The thumb panel a bar area uses, by the bar's name.
  static int ThumbPanelOf(const std::string& barName);

  // ISkinWindow
  void WindowSize(int& width, int& height) const override;
  int Dpi() const override;
  void ApplySkin(const SkinData& skin, bool resizeWindow) override;
  void DrawTexts(const std::vector<PlacedText>& texts) override;
  void MoveThumbPanel(int bar, int left, int top) override;
  void ShowFrameThumbs(bool shown) override;
  void ShowSkinError(const std::string& text) override;

 private:
  void PaintFrame(HDC dc, HDC source, int width, int height) const;
  void PaintBar(HDC dc);
  void DrawTextsOn(HDC windowDc, HDC barDc, const std::vector<PlacedText>& texts);
  void PaintAreaLines(HDC windowDc, HDC barDc) const;
  void ApplyFrameThumbs();
  // The bar area a thumb panel shows: the first of the panel's name, or -1.
  int BarOfPanel(int panel) const;
  const SkinGdiBitmap& Piece(FramePiece piece) const { return *frame_[static_cast<int>(piece)]; }
  HFONT FontOf(size_t text);
  void FreeFonts();

  HWND window_;
  SkinPainterEvents events_;
  // What the skin in use gave: its texts, areas and values, and the texts as
  // last placed.
  std::vector<TSkinText> texts_;
  std::vector<TClickArea> clickAreas_;
  std::vector<TBarArea> barAreas_;
  SkinValues values_;
  std::vector<PlacedText> placed_;
  bool frameThumbsShown_ = true;
  std::array<std::unique_ptr<SkinGdiBitmap>, kFramePieces> frame_;
  std::vector<std::unique_ptr<SkinGdiBitmap>> thumbs_;  // one per bar area
  std::vector<HFONT> fonts_;                            // one per text, made on first use
  std::array<SkinThumbPanel, kThumbPanels> panels_;
  SkinPanel bar_;  // the full-screen control bar, along the top of the window
  HBRUSH formBrush_ = nullptr;
};

}  // namespace orves
