#pragma once
// PausedFrame: the picture of a paused graph, kept by the control while it is
// paused. A paused video renderer draws its frame again only when a frame is
// delivered, not when its window is uncovered or resized (a caption or a
// thumb moved away from over it, a zoom), so the control takes the frame from
// the renderer (IBasicVideo::GetCurrentImage, which needs the paused state),
// hides the renderer's window and paints the frame itself, at its window's
// size, whenever its window is painted.
#include <windows.h>
#include <dshow.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orves {

class PausedFrame {
 public:
  // Takes the renderer's current image of a `width` x `height` picture;
  // false (and nothing held) when the renderer has none to give.
  bool Take(IBasicVideo* video, int width, int height);
  void Drop() { dib_.clear(); }
  bool Held() const { return !dib_.empty(); }
  // Draws the frame stretched over `target`, as the renderer draws it over
  // its whole window.
  void Paint(HDC dc, const RECT& target) const;

 private:
  std::vector<uint8_t> dib_;  // a packed DIB: header, masks or palette, pixels
  size_t bitsOffset_ = 0;
};

}  // namespace orves
