#pragma once
// The screen as the layout changes it for full screen: the primary display's
// modes, a mode change for this run only, its undo, and the cursor's display
// counter.
#include "player/window/Layout.h"

namespace orves {

class FullScreenDisplay final : public IDisplay {
 public:
  std::vector<DisplayMode> Modes() const override;
  void SetMode(const DisplayMode& mode) override;
  void RestoreMode() override;
  int ShowCursor(bool show) override;
};

}  // namespace orves
