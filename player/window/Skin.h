#pragma once
// TSkin: the skin in use. A skin is a folder below the program's "Skin"
// folder holding three area files (texts, click areas, bar tracks), Skin.ini
// (sizes and colours), eleven frame bitmaps and one thumb bitmap per bar.
// Loading is all-or-nothing: every file is read and checked first, and only
// a skin read whole replaces the one in use. The arithmetic (negative
// coordinates, thumb places, time texts) is portable; the drawing goes
// through ISkinWindow, which the Windows painter implements.
#include <array>
#include <climits>
#include <string>
#include <vector>

#include "player/core/LateServices.h"
#include "player/core/MouseAction.h"
#include "player/core/Services.h"
#include "player/window/FileSystem.h"
#include "player/window/SkinAreas.h"
#include "player/window/SkinBitmap.h"

namespace orves {

class TSetup;
template <class Owner>
class SettingsTable;

// Frame thickness and size limits of the loaded skin.
struct SkinSizes {
  int width = 0;  // the window size a load applies outside full screen
  int height = 0;
  int marginUp = 0;
  int marginDown = 0;
  int marginLeft = 0;
  int marginRight = 0;
  int minWidth = 0;
  int minHeight = 0;
  int fullScreenBarHeight = 0;
};

// Colours are 0x00BBGGRR.
struct SkinValues {
  bool showAreaLine = false;
  unsigned formColor = 0xEBEBEB;
  unsigned stateTextColor = 0;
  unsigned playListColor = 0;
  unsigned playListFontColor = 0xFFFFFF;
};

// The eleven frame bitmaps, in their order of loading.
enum class FramePiece {
  UpLeft,
  UpRight,
  Up,
  DownLeft,
  DownRight,
  Down,
  Left,
  Right,
  FullScreenUpLeft,
  FullScreenUpRight,
  FullScreenUp,
};
inline constexpr int kFramePieces = 11;
const char* FramePieceFile(FramePiece piece);

// Everything one skin folder holds, read and checked.
struct SkinData {
  std::vector<TSkinText> texts;
  std::vector<TClickArea> clickAreas;
  std::vector<TBarArea> barAreas;
  std::vector<SkinBitmap> thumbs;  // one per bar area, same order
  std::array<SkinBitmap, kFramePieces> frame;
  SkinSizes sizes;
  SkinValues values;

  const SkinBitmap& Piece(FramePiece piece) const { return frame[static_cast<int>(piece)]; }
};

// Table capacities: sections past them are not read.
inline constexpr size_t kMaxSkinTexts = 10;
inline constexpr size_t kMaxClickAreas = 100;
inline constexpr size_t kMaxBarAreas = 10;
// A skin file larger than this is refused unread.
inline constexpr uintmax_t kMaxSkinFileBytes = 64u * 1024 * 1024;

// Reads the skin folder `folder` whole. False, with `error` naming the file
// that failed, when a bitmap is missing, unreadable or corrupt. A missing
// INI file reads as empty.
bool ReadSkinFolder(const IFileSystem& files, const std::string& folder, SkinData& out, std::string& error);

// Integer values of skin files: decimal, or hexadecimal after "$" or "0x".
int ParseSkinInteger(const std::string& text, int def);

// A text to draw, resolved against the window size: the skin's text number
// `index` (its font and colours) at (x, y).
struct PlacedText {
  size_t index = 0;
  int x = 0;
  int y = 0;
  std::string content;
  bool onFullScreenBar = false;
};

// An area resolved against the window size.
struct AreaRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const AreaRect&) const = default;
};

// What the skin shows of playback: position and duration in seconds and
// the volume (-3200 .. 0); a window with no movie open reports no movie.
class ISkinPlayback {
 public:
  virtual ~ISkinPlayback() = default;
  virtual bool FullScreen() const = 0;
  virtual bool MovieOpen() const = 0;
  virtual double Position() const = 0;
  virtual double Duration() const = 0;
  virtual int Volume() const = 0;
};

// The stand-in the main window gives the skin, which is made first of all.
class LateSkinPlayback final : public ISkinPlayback, public LateBound<const ISkinPlayback> {
 public:
  bool FullScreen() const override { return Target().FullScreen(); }
  bool MovieOpen() const override { return Target().MovieOpen(); }
  double Position() const override { return Target().Position(); }
  double Duration() const override { return Target().Duration(); }
  int Volume() const override { return Target().Volume(); }
};

// The skin's drawing on the main window. It is handed everything it draws:
// the skin's data when a skin takes effect, then the placed texts and the
// thumbs' places.
class ISkinWindow {
 public:
  virtual ~ISkinWindow() = default;
  virtual void WindowSize(int& width, int& height) const = 0;
  // The DPI of the monitor the window is on (96 at 100 %).
  virtual int Dpi() const = 0;
  // A new skin, or the skin at a new scale, took effect: rebuild bitmaps,
  // shape and size the thumbs, take the colours, and take the skin's size
  // when `resizeWindow`.
  virtual void ApplySkin(const SkinData& skin, bool resizeWindow) = 0;
  // Draws the texts now and keeps them for the window's painting.
  virtual void DrawTexts(const std::vector<PlacedText>& texts) = 0;
  virtual void MoveThumbPanel(int bar, int left, int top) = 0;
  // The frame's own thumbs show outside full screen, where the frame does.
  virtual void ShowFrameThumbs(bool shown) = 0;
  virtual void ShowSkinError(const std::string& text) = 0;
};

// The services of the skin.
struct TSkinServices {
  ISkinWindow& window;
  const ISkinPlayback& playback;
  const TMouseAction& mouseAction;  // playback moves no thumb while one is dragged
};

class TSkin final : public ISkin {
 public:
  static constexpr const char* kDefaultName = "Default";

  // `skinFolder` is program folder + "\\Skin" (ANSI).
  TSkin(TSetup& setup, const IFileSystem& files, std::string skinFolder, const TSkinServices& services);
  ~TSkin() override;  // writes Skin/Name
  TSkin(const TSkin&) = delete;
  TSkin& operator=(const TSkin&) = delete;

  static const SettingsTable<TSkin>& SettingsKeys();

  // Loads the skin named in the settings (default "Default"); when it cannot
  // be loaded, "Default" is tried.
  void LoadSkinFromSettings();
  // The window moved to a monitor of another scale: the skin in use is made
  // again for it (from the bitmaps as loaded), keeping the window's size.
  void Rescale();
  // The current skin name: empty until the first load succeeds.
  const std::string& Name() const { return name_; }
  // Everything below is at the window's scale.
  const SkinSizes& Sizes() const { return skin_.sizes; }
  const SkinValues& Values() const { return skin_.values; }
  const SkinData& Data() const { return skin_; }

  const std::vector<TClickArea>& ClickAreas() const { return skin_.clickAreas; }
  const std::vector<TBarArea>& BarAreas() const { return skin_.barAreas; }
  const std::vector<TSkinText>& Texts() const { return skin_.texts; }
  // The first bar area of exactly this name, or null.
  const TBarArea* FindBarArea(const std::string& name) const;
  // Areas resolved against a window of this size.
  static AreaRect Resolve(const TClickArea& area, int windowWidth, int windowHeight);
  static AreaRect Resolve(const TBarArea& area, int windowWidth, int windowHeight);

  // The texts with their content, resolved against the current window size.
  std::vector<PlacedText> PlacedTexts() const;
  // The thumb's left for a bar at the current window size and playback.
  int ThumbPlace(int bar) const;

  // ISkin
  std::vector<std::string> SkinNames() const override;
  std::string CurrentSkin() const override { return name_; }
  void LoadSkin(const std::string& name) override;
  int FullScreenBarHeight() const override { return skin_.sizes.fullScreenBarHeight; }
  void PaintTexts() override;
  void PlaceThumbs() override;
  // Thumbs are numbered by their bar area's place in BarAreas().
  int ThumbLeft(int thumb) const override;
  void ThumbLimits(int thumb, int& minLeft, int& maxLeft) const override;
  void MoveThumb(int thumb, int left) override;
  void ThumbReleasePoint(int thumb, int& x, int& y) const override;

 private:
  bool TryLoad(const std::string& name, bool reportError);
  bool ValidBar(int thumb) const;
  AreaRect BarRect(int thumb) const;
  void SetThumb(int thumb, int left, int top);

  TSetup& setup_;
  const IFileSystem& files_;
  std::string skinFolder_;
  ISkinWindow& window_;
  const ISkinPlayback& playback_;
  const TMouseAction& mouseAction_;
  std::string storedName_;  // the Name key as read
  std::string name_;
  SkinData loaded_;  // as the folder holds it, drawn for 96 DPI
  SkinData skin_;    // the same at the window's scale
  int dpi_ = 0;
  struct ThumbSpot {
    int left = INT_MIN;
    int top = INT_MIN;
  };
  std::vector<ThumbSpot> thumbs_;  // where each thumb panel was last put
};

}  // namespace orves
