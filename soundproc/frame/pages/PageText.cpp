#include "soundproc/frame/pages/PageText.h"

#include <cstdio>

namespace zmsp::pages {

namespace {

// Speakers of the extensible channel mask, bits 0 to 17.
constexpr const char* kSpeakerNames[] = {"FL", "FR", "FC", "LF",  "BL",  "BR",  "FLC", "FRC", "BC",
                                         "SL", "SR", "TC", "TFL", "TFC", "TFR", "TBL", "TBC", "TBR"};
constexpr int kSpeakerCount = 18;
constexpr std::uint32_t kBeyondSpeakers = ~((1u << kSpeakerCount) - 1);  // 0xFFFC0000
constexpr std::uint32_t kAnyConfiguration = 0x80000000u;

template <typename... Args>
std::string Printf(const char* format, Args... args) {
  char text[64];
  const int length = std::snprintf(text, sizeof(text), format, args...);
  return length < 0 ? std::string() : std::string(text);
}

const char* ProLogic2ModeName(std::uint32_t mode) {
  static const char* const kModes[] = {
      " Pro Logic Emulation", " Virtual Compatible", " Music", " Movie", " Matrix", " Custom"};
  return mode < 6 ? kModes[mode] : "";
}

}  // namespace

std::string SpeakerText(std::uint32_t channelMask) {
  if (channelMask == 0) return "All Mono";
  if ((channelMask & kAnyConfiguration) != 0) return "Any Configuration";
  if ((channelMask & kBeyondSpeakers) != 0)
    return Printf("Unknown(%08x)", static_cast<unsigned>(channelMask));
  std::string names;
  for (int bit = 0; bit < kSpeakerCount; ++bit) {
    if ((channelMask & (1u << bit)) != 0) (names += kSpeakerNames[bit]) += ' ';
  }
  return names;
}

std::optional<std::string> FormatText(const PcmFormat& format) {
  if (!format.parsed) return std::nullopt;
  if (format.formatTag == PcmFormat::kTagAc3Spdif) return std::string("AC3 S/PDIF");
  if (format.formatTag != PcmFormat::kTagPcm && format.formatTag != PcmFormat::kTagExtensible)
    return std::string("???");
  const unsigned bits = format.extensible ? format.validBitsPerSample : format.bitsPerSample;
  std::string text = Printf("%uCh / %uHz / %ubit", static_cast<unsigned>(format.channels),
                            static_cast<unsigned>(format.samplesPerSec), bits);
  // "\r\r\n" is the edit control's soft line break.
  if (format.extensible) text += "\r\r\n" + SpeakerText(format.channelMask);
  return text;
}

std::string ExpansionText(const ExpanderFacts& expander) {
  if (!expander.enabled || !expander.typesAccepted) return "OFF";
  switch (expander.algorithm) {
    case 0:
      return "InterVideo ICE";
    case 1:
      return "Pro Logic";
    case 2: {
      std::string text = std::string("Pro Logic II") + ProLogic2ModeName(expander.proLogic2Mode);
      if (expander.autoMode == 1 || expander.autoMode == 2) text += '*';
      return text;
    }
    default:
      return "???";
  }
}

std::string SpeedText(const StretcherFacts& stretcher) {
  if (!stretcher.enabled || !stretcher.typesAccepted) return "OFF";
  return Printf("%.3fX", stretcher.speed / 1000.0);
}

std::string ChannelControlText(const ChannelControlFacts& control) {
  if (!control.enabled || !(control.volAdjust || control.balance || control.lfeMixer || control.boost))
    return "OFF";
  std::string text = control.volAdjust ? Printf("C%+d L%+d F%+d R%+d\n", control.centerLevel,
                                                control.lfeLevel, control.frontLevel, control.rearLevel)
                                       : std::string("OFF\n");
  text += control.balance ? Printf("%+d / ", control.balanceLevel) : std::string("OFF / ");
  text += control.lfeMixer ? Printf("%d%% / ", control.lfeMixLevel) : std::string("OFF / ");
  text += control.boost ? Printf("%+ddB", control.boostLevel) : std::string("OFF");
  return text;
}

std::string MeterRowLabel(int row, std::uint32_t channelMask) {
  const char* name = "";
  if (channelMask != 0 && (channelMask & kBeyondSpeakers) == 0) {
    int seen = 0;
    for (int bit = 0; bit < kSpeakerCount && *name == '\0'; ++bit) {
      if ((channelMask & (1u << bit)) != 0 && ++seen == row) name = kSpeakerNames[bit];
    }
  }
  return *name == '\0' ? Printf("CH%d ", row) : Printf("CH%d (%s)", row, name);
}

}  // namespace zmsp::pages
