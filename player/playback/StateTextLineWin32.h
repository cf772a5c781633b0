#pragma once
// The state text panel under the name the main window has used for it.
#include "player/playback/StateTextPanelWin32.h"

namespace orves {

using StateTextLine = StateTextPanel;

}  // namespace orves
