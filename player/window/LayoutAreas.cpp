#include "player/window/LayoutAreas.h"

#include <cstdint>
#include <string_view>

namespace orves {

namespace {

constexpr std::string_view kFullScreenPrefix = "FullScreen";

using Effect = AreaPress::Effect;

struct NamedCommand {
  std::string_view name;
  Effect effect;
  const char* action = nullptr;
};

constexpr NamedCommand Act(std::string_view name, const char* action) {
  return {name, Effect::Action, action};
}

// The windowed names; the full-screen ones are these behind "FullScreen".
constexpr NamedCommand kCommands[] = {
    Act("PlayPause", "actPlayPause"),
    Act("Pause", "actPlayPause"),
    Act("Play", "actPlay"),
    Act("Stop", "actStop"),
    Act("Rewind", "actRewind"),
    Act("FastFind", "actFastFind"),
    Act("PlayPre", "actPlayPre"),
    Act("PlayNext", "actPlayNext"),
    Act("Open", "actOpen"),
    Act("Close", "actClose"),
    Act("Exit", "actExit"),
    Act("CaptionToggle", "actShowCaptionToggle"),
    Act("CaptionMoveUp", "actCaptionMoveUp"),
    Act("CaptionMoveDown", "actCaptionMoveDown"),
    Act("CaptionSizeUp", "actCaptionSizeUp"),
    Act("CaptionSizeDown", "actCaptionSizeDown"),
    Act("EditConfig", "actEditConfig"),
    Act("ToggleShowTime", "actToggleShowTime"),
    Act("TogglePlayList", "actTogglePlayList"),
    Act("ToggleFullScreen", "actToggleFullScreen"),
    {"PopUp", Effect::PopUp},
    {"Minimize", Effect::Minimize},
    {"Position", Effect::Seek},
    {"Volume", Effect::Volume},
};

bool CountsNow(const std::string& name, bool fullScreen) { return OnFullScreenBar(name) == fullScreen; }

// Inclusive on both edges; 64-bit so no skin value can overflow the sum.
bool Within(int value, int64_t low, int64_t high) { return low <= value && value <= high; }

}  // namespace

AreaHit FindArea(const std::vector<TClickArea>& areas, const std::vector<TBarArea>& bars, int x, int y,
                 int windowWidth, int windowHeight, bool fullScreen) {
  AreaHit hit;
  for (const TClickArea& area : areas) {
    const int left = SkinCoordinate(area.left, windowWidth);
    const int top = SkinCoordinate(area.top, windowHeight);
    if (CountsNow(area.name, fullScreen) && Within(x, left, int64_t{left} + area.width) &&
        Within(y, top, int64_t{top} + area.height)) {
      hit.name = area.name;
      break;
    }
  }
  for (const TBarArea& bar : bars) {
    const BarTrack track{SkinCoordinate(bar.left, windowWidth), SkinCoordinate(bar.right, windowWidth),
                         bar.halfThumbWidth};
    if (CountsNow(bar.name, fullScreen) && Within(x, track.left, track.right) &&
        Within(y, SkinCoordinate(bar.top, windowHeight), SkinCoordinate(bar.bottom, windowHeight))) {
      return AreaHit{bar.name, true, track};
    }
  }
  return hit;
}

AreaPress CommandOfArea(const std::string& name) {
  std::string_view key = name;
  if (key.starts_with(kFullScreenPrefix)) {
    key.remove_prefix(kFullScreenPrefix.size());
  }
  AreaPress press;
  press.effect = Effect::Taken;
  for (const NamedCommand& entry : kCommands) {
    if (entry.name == key) {
      press.effect = entry.effect;
      press.action = entry.action;
      break;
    }
  }
  return press;
}

}  // namespace orves
