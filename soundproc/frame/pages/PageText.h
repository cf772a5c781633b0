// The texts of the status page: format lines, stage states and meter row
// labels. The same texts serve both page languages; only the dialogs' own
// labels are translated.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "soundproc/frame/pages/PageStatus.h"

namespace zmsp::pages {

// "2Ch / 44100Hz / 16bit", for an extensible format followed by a soft line
// break and its speakers ("FL FR ..."); "AC3 S/PDIF" for tag 0x92, "???" for
// any other tag. Nothing when no format was read: the field keeps its text.
[[nodiscard]] std::optional<std::string> FormatText(const PcmFormat& format);

// The speaker part of an extensible format's line, without the line break.
[[nodiscard]] std::string SpeakerText(std::uint32_t channelMask);

// "Pro Logic II Music*", "InterVideo ICE", ... or "OFF" while the stage is
// off or its object refused the types.
[[nodiscard]] std::string ExpansionText(const ExpanderFacts& expander);

// "1.500X" of the speed last handed over, or "OFF".
[[nodiscard]] std::string SpeedText(const StretcherFacts& stretcher);

// Two lines: volume adjust, then balance / LFE mix / boost; "OFF" when the
// stage does nothing to this format.
[[nodiscard]] std::string ChannelControlText(const ChannelControlFacts& control);

// "CH3 (FC)": the row number (1..8) and the speaker of the mask's n-th set
// bit; the name is empty when the mask has no such bit or is not a plain
// speaker mask.
[[nodiscard]] std::string MeterRowLabel(int row, std::uint32_t channelMask);

}  // namespace zmsp::pages
