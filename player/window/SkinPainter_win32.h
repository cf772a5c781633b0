#pragma once
// The Windows side of the skin: GDI copies of the skin's bitmaps, the frame
// and full-screen bar painting, the time texts, the four shaped thumb panels
// (children of the main window) and the colours the skin gives the window.
// TSkin drives it through ISkinWindow; the main window calls Paint from its
// paint handler.
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

// What the painter reads of the player, given by the main window.
struct SkinPainterParts {
  HWND window = nullptr;
  std::function<bool()> fullScreen;
  std::function<bool()> draggingBar;
  std::function<bool()> movieOpen;
  std::function<double()> position;
  std::function<double()> duration;
  std::function<int()> volume;
  // Mouse messages on a thumb (its bar number) and on the full-screen bar.
  std::function<void(int bar, UINT message, WPARAM keys, POINT screen)> onThumbMouse;
  SkinPanel::MouseHandler onBarMouse;
  // The skin's colours took effect: form colour and state-text colour.
  std::function<void(const SkinValues&)> onColours;
};

class SkinPainter final : public ISkinWindow {
 public:
  // The four thumb panels, bound to bars by name.
  static constexpr int kThumbPanels = 4;

  explicit SkinPainter(SkinPainterParts parts);
  ~SkinPainter() override;
  SkinPainter(const SkinPainter&) = delete;
  SkinPainter& operator=(const SkinPainter&) = delete;

  // Creates the thumb panels and the full-screen bar (hidden).
  void CreateControls();
  void SetSkin(TSkin& skin) { skin_ = &skin; }

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
  bool FullScreen() const override { return parts_.fullScreen(); }
  int Dpi() const override;
  bool DraggingBar() const override { return parts_.draggingBar(); }
  bool MovieOpen() const override { return parts_.movieOpen(); }
  double Position() const override { return parts_.position(); }
  double Duration() const override { return parts_.duration(); }
  int Volume() const override { return parts_.volume(); }
  void ApplySkin(const SkinData& skin, bool resizeWindow) override;
  void DrawTexts(const std::vector<PlacedText>& texts) override;
  void MoveThumbPanel(int bar, int left, int top) override;
  void ShowSkinError(const std::string& text) override;

 private:
  void PaintFrame(HDC dc, HDC source, int width, int height) const;
  void PaintBar(HDC dc);
  void DrawTextsOn(HDC windowDc, HDC barDc, const std::vector<PlacedText>& texts);
  void PaintAreaLines(HDC windowDc, HDC barDc) const;
  void ShowWindowThumbs();
  const SkinGdiBitmap& Piece(FramePiece piece) const { return *frame_[static_cast<int>(piece)]; }
  HFONT FontOf(size_t text);
  void FreeFonts();

  SkinPainterParts parts_;
  TSkin* skin_ = nullptr;
  std::array<std::unique_ptr<SkinGdiBitmap>, kFramePieces> frame_;
  std::vector<std::unique_ptr<SkinGdiBitmap>> thumbs_;  // one per bar area
  std::vector<HFONT> fonts_;                            // one per text, made on first use
  std::array<SkinThumbPanel, kThumbPanels> panels_;
  SkinPanel bar_;  // the full-screen control bar, along the top of the window
  HBRUSH formBrush_ = nullptr;
};

}  // namespace orves
