#pragma once
// What the main window remembers between runs: section `Main` (window place,
// the open dialogs' first folders, the two start-up checks, the web host) and the version
// text of the last run under `Orve's MP`/`Version`.
#include <string>

#include "player/core/SettingsTable.h"

namespace orves {

struct MainSettings {
  // Every field at its default.
  MainSettings() { SettingsKeys().SetDefaults(*this); }

  static const SettingsTable<MainSettings>& SettingsKeys();
  static MainSettings Read(const TSetup& setup);
  void Write(TSetup& setup) const;

  int top;
  int left;
  int width;
  int height;
  std::string defaultFolderOfMovie;
  std::string defaultFolderOfCaption;
  bool checkNewVersion;
  bool checkCaptionCodec;
  // The host (optionally ":port") of the help, skin download and version
  // pages; empty: no web host is set and nothing is fetched.
  std::string webHost;
};

// The window place to use on a screen of the given size. Stored values are
// kept when sane: a size below 1 falls back to the default size, a size beyond
// twice the screen is cut to that, and the window is moved so that at least
// kMinVisible pixels of it (all of it when smaller) stay on the screen. So a
// damaged settings file can neither lose the window nor make it need an
// enormous surface.
struct WindowPlace {
  int left, top, width, height;
  bool operator==(const WindowPlace&) const = default;
};
inline constexpr int kMinVisible = 32;
WindowPlace ClampWindowPlace(const MainSettings& settings, int screenWidth, int screenHeight);

// The version text of the last run ("" on a first run).
std::string ReadLastVersion(const TSetup& setup);
void WriteLastVersion(TSetup& setup, const std::string& version);

// A first start of this version: nothing stored yet, or another version's text.
bool IsFirstStartOfVersion(const std::string& lastVersion, const std::string& currentVersion);

}  // namespace orves
