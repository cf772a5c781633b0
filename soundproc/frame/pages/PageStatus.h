// What the sound processor's status page shows: a snapshot of plain values
// the filter hands the page (ISoundProcessorStatus). No COM or media types:
// the texts built from it are portable and tested natively.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "soundproc/contract/PcmFormat.h"

namespace zmsp::pages {

inline constexpr int kMeterRows = 8;

struct ExpanderFacts {
  bool enabled = false;
  bool typesAccepted = false;
  std::uint32_t algorithm = 0;      // last handed to the upmixer: 0 ICE, 1 Pro Logic, 2 Pro Logic II
  std::uint32_t proLogic2Mode = 0;  // 0..5
  std::uint32_t autoMode = 0;       // "PL2AutoMode": 1 or 2 marks the mode as chosen by file type
  bool dmoExists = false;
};

struct StretcherFacts {
  bool enabled = false;
  bool typesAccepted = false;
  std::uint32_t speed = 1000;  // thousandths, last handed to the stretcher
  bool dmoExists = false;
};

// Each operation's flag is "switched on and applicable to the format".
struct ChannelControlFacts {
  bool enabled = false;
  bool volAdjust = false;
  int centerLevel = 0, lfeLevel = 0, frontLevel = 0, rearLevel = 0;
  bool balance = false;
  int balanceLevel = 0;
  bool lfeMixer = false;
  int lfeMixLevel = 0;
  bool boost = false;
  int boostLevel = 0;
};

struct PageStatus {
  std::string source;    // the source class's name
  std::string fileName;  // the played file, in the ANSI code page; empty when none was found
  PcmFormat input;       // the filter's input
  PcmFormat output;      // the sound meter's, which is the filter's output
  ExpanderFacts expander;
  StretcherFacts stretcher;
  ChannelControlFacts channelControl;
  std::array<std::int32_t, kMeterRows> levels{};  // the meter's raw levels per frame position
};

}  // namespace zmsp::pages
