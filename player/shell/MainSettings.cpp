#include "player/shell/MainSettings.h"

#include <algorithm>

#include "player/shell/Setup.h"

namespace orves {

namespace {
constexpr const char* kMain = "Main";
constexpr const char* kVersionSection = "Orve's MP";
constexpr const char* kVersionKey = "Version";
}  // namespace

MainSettings MainSettings::Read(const TSetup& setup) {
  const MainSettings defaults;
  MainSettings s;
  s.top = setup.ReadInteger(kMain, "Top", defaults.top);
  s.left = setup.ReadInteger(kMain, "Left", defaults.left);
  s.width = setup.ReadInteger(kMain, "Width", defaults.width);
  s.height = setup.ReadInteger(kMain, "Height", defaults.height);
  s.defaultFolderOfMovie = setup.ReadString(kMain, "DefaultFolderOfMovie", defaults.defaultFolderOfMovie);
  s.defaultFolderOfCaption = setup.ReadString(kMain, "DefaultFolderOfCaption", defaults.defaultFolderOfCaption);
  s.checkNewVersion = setup.ReadFlag(kMain, "CheckNewVersion", defaults.checkNewVersion);
  s.checkCaptionCodec = setup.ReadFlag(kMain, "CheckCaptionCodec", defaults.checkCaptionCodec);
  return s;
}

void MainSettings::Write(TSetup& setup) const {
  setup.WriteInteger(kMain, "Top", top);
  setup.WriteInteger(kMain, "Left", left);
  setup.WriteInteger(kMain, "Width", width);
  setup.WriteInteger(kMain, "Height", height);
  setup.WriteString(kMain, "DefaultFolderOfMovie", defaultFolderOfMovie);
  setup.WriteString(kMain, "DefaultFolderOfCaption", defaultFolderOfCaption);
  setup.WriteFlag(kMain, "CheckNewVersion", checkNewVersion);
  setup.WriteFlag(kMain, "CheckCaptionCodec", checkCaptionCodec);
}

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

std::string ReadLastVersion(const TSetup& setup) { return setup.ReadString(kVersionSection, kVersionKey, ""); }

void WriteLastVersion(TSetup& setup, const std::string& version) {
  setup.WriteString(kVersionSection, kVersionKey, version);
}

bool IsFirstStartOfVersion(const std::string& lastVersion, const std::string& currentVersion) {
  return lastVersion.empty() || lastVersion != currentVersion;
}

}  // namespace orves
