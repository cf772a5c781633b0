#pragma once
// TSkin: the skin in use: its name (section `Skin`, key `Name`), the skin
// folder below the program, and the frame sizes the layout works with.
#include <string>
#include <vector>

#include "player/core/Services.h"
#include "player/window/FileSystem.h"
#include "player/window/SkinAreas.h"

namespace orves {

class TSetup;
template <class Owner>
class SettingsTable;

// Frame thickness and size limits of the loaded skin.
struct SkinSizes {
  int marginUp = 0;
  int marginDown = 0;
  int marginLeft = 0;
  int marginRight = 0;
  int minWidth = 0;
  int minHeight = 0;
  int fullScreenBarHeight = 0;
};

class TSkin final : public ISkin {
 public:
  static constexpr const char* kDefaultName = "Default";

  // `skinFolder` is program folder + "\\Skin" (ANSI).
  TSkin(TSetup& setup, const IFileSystem& files, std::string skinFolder);
  ~TSkin() override;  // writes Skin/Name
  TSkin(const TSkin&) = delete;
  TSkin& operator=(const TSkin&) = delete;

  static const SettingsTable<TSkin>& SettingsKeys();

  // Loads the skin named in the settings (default "Default").
  void LoadSkinFromSettings();
  // The current skin name: empty until the first load succeeds.
  const std::string& Name() const { return name_; }
  const SkinSizes& Sizes() const { return sizes_; }
  const std::vector<TClickArea>& ClickAreas() const { return clickAreas_; }
  const std::vector<TBarArea>& BarAreas() const { return barAreas_; }
  // The first bar area of exactly this name, or null.
  const TBarArea* FindBarArea(const std::string& name) const;

  // ISkin
  std::vector<std::string> SkinNames() const override;
  std::string CurrentSkin() const override { return name_; }
  void LoadSkin(const std::string& name) override;
  int FullScreenBarHeight() const override { return sizes_.fullScreenBarHeight; }
  // A skin of no bitmaps has no painted texts and no bar thumbs: these
  // leave the window as it is.
  void PaintTexts() override {}
  void PlaceThumbs() override {}
  int ThumbLeft(int) const override { return 0; }
  void ThumbLimits(int, int& minLeft, int& maxLeft) const override { minLeft = maxLeft = 0; }
  void MoveThumb(int, int) override {}
  void ThumbReleasePoint(int, int& x, int& y) const override { x = y = 0; }

 private:
  TSetup& setup_;
  const IFileSystem& files_;
  std::string skinFolder_;
  std::string storedName_;  // the Name key as read
  std::string name_;
  SkinSizes sizes_;
  std::vector<TClickArea> clickAreas_;
  std::vector<TBarArea> barAreas_;
};

}  // namespace orves
