#pragma once
// ISystemSleep through SetThreadExecutionState (for the GUI thread, which
// owns playback).
#include "player/shell/StayAwake.h"

namespace orves {

class SystemSleep final : public ISystemSleep {
 public:
  void KeepAwake(bool on) override;
};

}  // namespace orves
