#include "player/window/LayoutAreas.h"

#include <cstdint>
#include <string_view>

namespace orves {

namespace {

constexpr std::string_view kFullScreenPrefix = "FullScreen";

struct NamedCommand {
  std::string_view name;
  AreaCommand command;
};

constexpr AreaCommand Act(const char* action) { return {AreaEffect::Action, action}; }

// The windowed names; the full-screen ones are these behind "FullScreen".
constexpr NamedCommand kCommands[] = {
    {"PlayPause", Act("actPlayPause")},
    {"Pause", Act("actPlayPause")},
    {"Play", Act("actPlay")},
    {"Stop", Act("actStop")},
    {"Rewind", Act("actRewind")},
    {"FastFind", Act("actFastFind")},
    {"PlayPre", Act("actPlayPre")},
    {"PlayNext", Act("actPlayNext")},
    {"Open", Act("actOpen")},
    {"Close", Act("actClose")},
    {"Exit", Act("actExit")},
    {"CaptionToggle", Act("actShowCaptionToggle")},
    {"CaptionMoveUp", Act("actCaptionMoveUp")},
    {"CaptionMoveDown", Act("actCaptionMoveDown")},
    {"CaptionSizeUp", Act("actCaptionSizeUp")},
    {"CaptionSizeDown", Act("actCaptionSizeDown")},
    {"EditConfig", Act("actEditConfig")},
    {"ToggleShowTime", Act("actToggleShowTime")},
    {"TogglePlayList", Act("actTogglePlayList")},
    {"ToggleFullScreen", Act("actToggleFullScreen")},
    {"PopUp", {AreaEffect::PopUp, nullptr}},
    {"Minimize", {AreaEffect::Minimize, nullptr}},
    {"Position", {AreaEffect::Seek, nullptr}},
    {"Volume", {AreaEffect::Volume, nullptr}},
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

AreaCommand CommandOfArea(const std::string& name) {
  std::string_view key = name;
  if (key.starts_with(kFullScreenPrefix)) {
    key.remove_prefix(kFullScreenPrefix.size());
  }
  for (const NamedCommand& entry : kCommands) {
    if (entry.name == key) {
      return entry.command;
    }
  }
  return {};
}

}  // namespace orves
