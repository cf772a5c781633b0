#pragma once
// What the main window remembers between runs: section `Main` (window place,
// the open dialogs' first folders, the two start-up checks) and the version
// text of the last run under `Orve's MP`/`Version`.
#include <string>

namespace orves {

class TSetup;

struct MainSettings {
  int top = 200;
  int left = 200;
  int width = 320;
  int height = 200;
  std::string defaultFolderOfMovie = "C:\\";
  std::string defaultFolderOfCaption = "C:\\";
  bool checkNewVersion = true;
  bool checkCaptionCodec = true;

  static MainSettings Read(const TSetup& setup);
  // Writes the eight keys in their fixed order.
  void Write(TSetup& setup) const;
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
