#include "player/shell/MainSettings.h"

#include <algorithm>

#include "player/core/Setup.h"

namespace orves {

namespace {
constexpr const char* kVersionSection = "Orve's MP";
constexpr const char* kVersionKey = "Version";
}  // namespace

const SettingsTable<MainSettings>& MainSettings::SettingsKeys() {
  using S = MainSettings;
  static constexpr SettingKey<S> keys[] = {
      IntegerKey("Top", &S::top, 200),
      IntegerKey("Left", &S::left, 200),
      IntegerKey("Width", &S::width, 320),
      IntegerKey("Height", &S::height, 200),
      TextKey("DefaultFolderOfMovie", &S::defaultFolderOfMovie, "C:\\"),
      TextKey("DefaultFolderOfCaption", &S::defaultFolderOfCaption, "C:\\"),
      FlagKey("CheckNewVersion", &S::checkNewVersion, true)
          .Shown(
              Check("chkCheckNewVersion", "시작할 때 새 버전 체크", {kPageAdvanced, 12, 30, 400, 20}, 801)),
      FlagKey("CheckCaptionCodec", &S::checkCaptionCodec, true)
          .Shown(Check("chkCheckCaptionCodec", "시작할 때 자막코덱 알림", {kPageAdvanced, 12, 118, 400, 20},
                       806)),
      TextKey("WebHost", &S::webHost, ""),
  };
  static constexpr SettingsTable<S> table("Main", keys);
  return table;
}

MainSettings MainSettings::Read(const TSetup& setup) {
  MainSettings s;
  SettingsKeys().Read(setup, s);
  return s;
}

void MainSettings::Write(TSetup& setup) const { SettingsKeys().Write(setup, *this); }

namespace {

// A size in 1 .. 2 x screen (the default when below 1), and a position that
// keeps at least kMinVisible pixels of that size on a screen of `screen`.
void FitSpan(int& position, int& size, int defaultSize, int screen) {
  screen = std::max(screen, 1);
  size = size < 1 ? defaultSize : std::min(size, 2 * screen);
  const int visible = std::min({size, kMinVisible, screen});
  position = std::clamp(position, visible - size, screen - visible);
}

}  // namespace

WindowPlace ClampWindowPlace(const MainSettings& settings, int screenWidth, int screenHeight) {
  const MainSettings defaults;
  WindowPlace place{settings.left, settings.top, settings.width, settings.height};
  FitSpan(place.left, place.width, defaults.width, screenWidth);
  FitSpan(place.top, place.height, defaults.height, screenHeight);
  return place;
}

std::string ReadLastVersion(const TSetup& setup) {
  return setup.ReadString(kVersionSection, kVersionKey, "");
}

void WriteLastVersion(TSetup& setup, const std::string& version) {
  setup.WriteString(kVersionSection, kVersionKey, version);
}

bool IsFirstStartOfVersion(const std::string& lastVersion, const std::string& currentVersion) {
  return lastVersion.empty() || lastVersion != currentVersion;
}

}  // namespace orves
