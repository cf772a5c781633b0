#pragma once
// TSkin: the skin in use. For now it keeps the skin's name (section `Skin`,
// key `Name`) and the frame sizes the layout works with; loading the skin
// directory's bitmaps and tables and painting them build on this class.
#include <string>

namespace orves {

class TSetup;

// Frame thickness and size limits of the loaded skin (all 0 until a skin
// directory has been read).
struct SkinSizes {
  int marginUp = 0;
  int marginDown = 0;
  int marginLeft = 0;
  int marginRight = 0;
  int minWidth = 0;
  int minHeight = 0;
  int fullScreenBarHeight = 0;
};

class TSkin {
 public:
  static constexpr const char* kDefaultName = "Default";

  explicit TSkin(TSetup& setup);
  ~TSkin();  // writes Skin/Name
  TSkin(const TSkin&) = delete;
  TSkin& operator=(const TSkin&) = delete;

  // Loads the skin named in the settings (default "Default").
  void LoadSkinFromSettings();
  void LoadSkin(const std::string& name);

  // The current skin name: empty until the first load succeeds.
  const std::string& Name() const { return name_; }
  const SkinSizes& Sizes() const { return sizes_; }

 private:
  TSetup& setup_;
  std::string name_;
  SkinSizes sizes_;
};

}  // namespace orves
