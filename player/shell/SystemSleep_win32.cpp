#include "player/shell/SystemSleep_win32.h"

#include <windows.h>

namespace orves {

void SystemSleep::KeepAwake(bool on) {
  SetThreadExecutionState(on ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED : ES_CONTINUOUS);
}

}  // namespace orves
