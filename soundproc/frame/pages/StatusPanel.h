// One refresh of the status page, decided without touching a window: which
// texts the fields get, what each meter row does and how many rows remain
// shown. The Windows page applies the result to its controls.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "soundproc/frame/pages/PageStatus.h"

namespace zmsp::pages {

struct MeterRowView {
  // Fill: label, value and bar set and shown. Clear: label emptied, value and
  // bar hidden. Keep: the row is left as it is.
  enum class Action { Keep, Fill, Clear };
  Action action = Action::Keep;
  std::string label;
  std::string value;
  int bar = 0;  // 0..1000
};

struct StatusView {
  bool expansionButtonEnabled = false;  // the upmixer object exists
  bool stretchButtonEnabled = false;    // the time-stretch object exists
  std::optional<std::string> input;     // nothing: the field keeps its text
  std::optional<std::string> output;
  std::string expansion;
  std::string speed;
  std::string channelControl;
  std::array<MeterRowView, kMeterRows> rows;
  int rowsShown = 0;  // rows visible after this refresh
};

// `rowsShown` is the count the last refresh left visible (8 on activation,
// so that every row beyond the output's channels is cleared once).
[[nodiscard]] StatusView BuildStatusView(const PageStatus& status, int rowsShown);

}  // namespace zmsp::pages
