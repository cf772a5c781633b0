#include "player/shell/StayAwake.h"

namespace orves {

TStayAwake::~TStayAwake() { Update(false, false); }

void TStayAwake::Update(bool playing, bool minimised) {
  const bool awake = playing && !minimised;
  if (awake == awake_) return;
  awake_ = awake;
  system_.KeepAwake(awake);
}

}  // namespace orves
