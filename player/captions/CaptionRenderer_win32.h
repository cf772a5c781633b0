#pragma once
// CaptionPanel: `pnlCaption`, the child window of the media panel that shows
// the caption, and the renderer that draws into it. Each line of the caption
// is drawn into an off-screen bitmap of its own (at most kMaxCaptionLines).
// Over the picture the panel is cut to the letters, each glyph grown by the
// outline radius plus a shadow copy, so the movie shows between them and the
// panel's colour forms the outline and the shadow; when the caption block lies
// wholly below the picture the panel is a plain black band.
//
// The layout places the panel over the caption block. The panel keeps that
// place as its block and reaches up from it to the top of the picture, so
// that wrapped lines can grow above the block and a top-placed caption can be
// drawn at the top of the picture; only its region is ever seen.
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "player/captions/CaptionLayout.h"
#include "player/captions/CaptionPorts.h"
#include "player/core/LateServices.h"
#include "player/core/MediaPlayer.h"
#include "player/core/Window_win32.h"

namespace orves {

class TCaptionView;

class CaptionPanel final : public TWindow, public ICaptionRenderer {
 public:
  // The caption view it draws for is made after it; `player` says whether
  // the movie plays.
  CaptionPanel(const LateBound<const TCaptionView>& view, ITextCodec& codec, const IMediaPlayer& player)
      : view_(view), codec_(codec), player_(player) {}
  ~CaptionPanel() override;

  // A visible child of `parent` with an empty region (nothing shows);
  // `moviePanel` is pnlMovie, a sibling in the same parent.
  bool Create(HWND parent, int id, HWND moviePanel);
  // The media panel's colour: the outline and shadow colour, left out of the
  // region where letters are cut. Applies from the next drawing on.
  void SetPanelColour(COLORREF colour) { panelColour_ = colour & 0xFFFFFF; }
  bool Visible() const { return Handle() && IsWindowVisible(Handle()); }
  int LineCount() const { return lineCount_; }

  // ICaptionRenderer. A move or resize of the panel draws the next caption
  // anew, even an unchanged one.
  void RenderCaption(const TCaptionEntry& entry) override;
  void HideCaption() override;
  void ForgetLastWidth() override { cache_.Forget(); }

 private:
  struct LineSlot {
    HBITMAP bitmap = nullptr;
    int x = 0;
    int y = 0;
    SIZE size{0, 0};
    int textWidth = 0;
    int glyphWidth = 0;  // as drawn: narrowed when the line is wider than the panel
  };

  // The fonts last made, kept while face, size, width, weight and smoothing
  // stay the same: a font made afresh for every line of every change costs
  // more than drawing the line.
  class FontCache {
   public:
    FontCache() = default;
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    HFONT Get(const std::wstring& face, int cellHeight, int glyphWidth, bool bold, bool italic, bool smooth);

   private:
    struct Entry {
      std::wstring face;
      int cellHeight, glyphWidth;
      bool bold, italic, smooth;
      HFONT font;
    };
    static constexpr size_t kKept = 16;  // crisp and smoothed lines of both caption places
    std::vector<Entry> entries_;         // most recently used last
  };

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PaintCaption(HDC dc, const RECT& dirty);
  void DrawLine(LineSlot& slot, const CaptionLine& line, bool smooth, bool fitWidth);
  void PlaceOverBlock(WINDOWPOS& pos);
  void FreeSlot(LineSlot& slot);
  void ShapeOverLetters();
  void ShowBand();
  RECT MovieBounds() const;
  void SetRegion(HRGN region);

  const LateBound<const TCaptionView>& view_;
  ITextCodec& codec_;
  const IMediaPlayer& player_;
  HWND moviePanel_ = nullptr;
  COLORREF panelColour_ = 0;
  CaptionRedrawCache cache_;
  FontCache fonts_;
  std::array<LineSlot, kMaxCaptionLines> slots_{};
  CaptionPlan plan_;
  int lineCount_ = 0;
  RECT shownBox_{};   // bounding box of the region, panel coordinates
  int blockTop_ = 0;  // top of the caption block the layout placed, panel coordinates
  bool band_ = false;
  bool hidden_ = true;
};

}  // namespace orves
