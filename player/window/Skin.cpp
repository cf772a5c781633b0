#include "player/window/Skin.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

#include "player/core/ProfileFile.h"
#include "player/core/SettingsTable.h"
#include "player/core/TimeText.h"
#include "player/window/SkinScale.h"

namespace orves {
namespace {

constexpr const char* kFrameFiles[kFramePieces] = {
    "UpLeft.bmp",       "UpRight.bmp", "Up.bmp",    "DownLeft.bmp",         "DownRight.bmp",
    "Down.bmp",         "Left.bmp",    "Right.bmp", "FullScreenUpLeft.bmp", "FullScreenUpRight.bmp",
    "FullScreenUp.bmp",
};

constexpr int kVolumeRange = 3200;  // the volume runs from -3200 (silent) to 0

// One INI file of a skin: sections in file order, values read with the
// skin's integer rules. A missing file has no sections and every default.
class SkinIni {
 public:
  SkinIni(const IFileSystem& files, const std::string& path) : file_(files.ToFsPath(path)) {}
  std::vector<std::string> Sections(size_t capacity) const {
    std::vector<std::string> names = file_.SectionNames();
    if (names.size() > capacity) names.resize(capacity);
    return names;
  }
  int Int(const std::string& section, const char* key, int def) const {
    return ParseSkinInteger(file_.ReadString(section, key, ""), def);
  }
  std::string Text(const std::string& section, const char* key, const char* def) const {
    return file_.ReadString(section, key, def);
  }

 private:
  ProfileFile file_;
};

bool ReadBitmapFile(const IFileSystem& files, const std::string& path, SkinBitmap& out, std::string& error) {
  const std::filesystem::path fsPath = files.ToFsPath(path);
  std::error_code ec;
  const uintmax_t size = std::filesystem::file_size(fsPath, ec);
  std::string why;
  if (ec) {
    why = "file not found";
  } else if (size > kMaxSkinFileBytes) {
    why = "file too large";
  } else {
    std::ifstream in(fsPath, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (!in && !in.eof()) {
      why = "file cannot be read";
    } else if (DecodeBmp(bytes, out, why)) {
      return true;
    }
  }
  error = "Cannot load skin bitmap " + path + ": " + why;
  return false;
}

void ReadTexts(const SkinIni& ini, SkinData& skin) {
  for (const std::string& section : ini.Sections(kMaxSkinTexts)) {
    TSkinText text;
    text.name = section;
    text.x = ini.Int(section, "X", 0);
    text.y = ini.Int(section, "Y", 0);
    text.fontName = ini.Text(section, "FontName", "굴림");
    text.fontSize = ini.Int(section, "FontSize", 0);
    text.color = static_cast<unsigned>(ini.Int(section, "Color", 0));
    text.backgroundColor = static_cast<unsigned>(ini.Int(section, "BackgroundColor", 0));
    skin.texts.push_back(std::move(text));
  }
}

void ReadClickAreas(const SkinIni& ini, SkinData& skin) {
  for (const std::string& section : ini.Sections(kMaxClickAreas)) {
    TClickArea area;
    area.name = section;
    area.left = ini.Int(section, "Left", 0);
    area.top = ini.Int(section, "Top", 0);
    area.width = ini.Int(section, "Width", 0);
    area.height = ini.Int(section, "Height", 0);
    skin.clickAreas.push_back(std::move(area));
  }
}

bool ReadBarAreas(const IFileSystem& files, const std::string& folder, SkinData& skin, std::string& error) {
  const SkinIni ini(files, folder + "\\BarAreas.ini");
  for (const std::string& section : ini.Sections(kMaxBarAreas)) {
    TBarArea bar;
    bar.name = section;
    bar.left = ini.Int(section, "Left", 0);
    bar.top = ini.Int(section, "Top", 0);
    bar.right = ini.Int(section, "Right", 0);
    bar.bottom = ini.Int(section, "Bottom", 0);
    SkinBitmap thumb;
    if (!ReadBitmapFile(files, folder + "\\Bar" + section + ".bmp", thumb, error)) return false;
    bar.halfThumbWidth = thumb.width / 2;
    skin.barAreas.push_back(std::move(bar));
    skin.thumbs.push_back(std::move(thumb));
  }
  return true;
}

void ReadSkinIni(const SkinIni& ini, SkinData& skin) {
  SkinSizes& s = skin.sizes;
  s.width = ini.Int("Sizes", "Width", 0);
  s.height = ini.Int("Sizes", "Height", 0);
  s.marginUp = ini.Int("Sizes", "MarginUp", 0);
  s.marginDown = ini.Int("Sizes", "MarginDown", 0);
  s.marginLeft = ini.Int("Sizes", "MarginLeft", 0);
  s.marginRight = ini.Int("Sizes", "MarginRight", 0);
  s.minWidth = ini.Int("Sizes", "MinWidth", 0);
  s.minHeight = ini.Int("Sizes", "MinHeight", 0);
  s.fullScreenBarHeight = ini.Int("Sizes", "FullScreenBarHeight", 0);
  SkinValues& v = skin.values;
  const SkinValues defaults;
  v.showAreaLine = ini.Int("Values", "ShowAreaLine", 0) != 0;
  v.formColor = static_cast<unsigned>(ini.Int("Values", "FormColor", static_cast<int>(defaults.formColor)));
  v.stateTextColor = static_cast<unsigned>(ini.Int("Values", "StateTextColor", 0));
  v.playListColor = static_cast<unsigned>(ini.Int("Values", "PlayListColor", 0));
  v.playListFontColor = static_cast<unsigned>(
      ini.Int("Values", "PlayListFontColor", static_cast<int>(defaults.playListFontColor)));
}

bool IsPositionBar(const std::string& name) { return name == "Position" || name == "FullScreenPosition"; }
bool IsVolumeBar(const std::string& name) { return name == "Volume" || name == "FullScreenVolume"; }

}  // namespace

const char* FramePieceFile(FramePiece piece) { return kFrameFiles[static_cast<int>(piece)]; }

int ParseSkinInteger(const std::string& text, int def) {
  std::string_view s(text);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    s.remove_prefix(1);
    base = 16;
  } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    base = 16;
  }
  if (s.empty()) return def;
  if (base == 16) {
    // Up to eight hex digits: colours such as $FFFFFFFF keep their bits.
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
    if (ec != std::errc() || end != s.data() + s.size()) return def;
    return static_cast<int>(value);
  }
  const auto value = ParseProfileInteger(s);
  return value ? *value : def;
}

bool ReadSkinFolder(const IFileSystem& files, const std::string& folder, SkinData& out, std::string& error) {
  std::error_code ec;
  if (!std::filesystem::is_directory(files.ToFsPath(folder), ec)) {
    error = "Cannot load skin: folder " + folder + " not found";
    return false;
  }
  SkinData skin;
  ReadTexts(SkinIni(files, folder + "\\Texts.ini"), skin);
  ReadClickAreas(SkinIni(files, folder + "\\ClickAreas.ini"), skin);
  if (!ReadBarAreas(files, folder, skin, error)) return false;
  for (int i = 0; i < kFramePieces; ++i) {
    if (!ReadBitmapFile(files, folder + "\\" + kFrameFiles[i], skin.frame[i], error)) return false;
  }
  ReadSkinIni(SkinIni(files, folder + "\\Skin.ini"), skin);
  out = std::move(skin);
  return true;
}

// ---- TSkin ---------------------------------------------------------------

const SettingsTable<TSkin>& TSkin::SettingsKeys() {
  static constexpr SettingKey<TSkin> keys[] = {
      TextKey("Name", &TSkin::storedName_, kDefaultName),
  };
  static constexpr SettingsTable<TSkin> table("Skin", keys);
  return table;
}

TSkin::TSkin(TSetup& setup, const IFileSystem& files, std::string skinFolder, const TSkinServices& services)
    : setup_(setup),
      files_(files),
      skinFolder_(std::move(skinFolder)),
      window_(services.window),
      playback_(services.playback),
      mouseAction_(services.mouseAction) {
  SettingsKeys().Read(setup_, *this);
}

// The name written back is the one in use; with no skin loaded (a start that
// ended before the skin was loaded) the stored name is kept as it was.
TSkin::~TSkin() {
  if (!name_.empty()) storedName_ = name_;
  SettingsKeys().Write(setup_, *this);
}

// A stored skin that cannot be loaded gives way to the default one quietly;
// only when that fails too is the error shown.
void TSkin::LoadSkinFromSettings() {
  if (TryLoad(storedName_, storedName_ == kDefaultName)) return;
  if (storedName_ != kDefaultName) TryLoad(kDefaultName, true);
}

void TSkin::LoadSkin(const std::string& name) { TryLoad(name, true); }

bool TSkin::TryLoad(const std::string& name, bool reportError) {
  SkinData loaded;
  std::string error;
  // A name is one folder below the skin folder, never a path out of it.
  if (name.empty() || name.find_first_of("\\/:") != std::string::npos || name == "." || name == "..") {
    error = "Cannot load skin: " + name + " is not a skin name";
  } else if (ReadSkinFolder(files_, skinFolder_ + "\\" + name, loaded, error)) {
    loaded_ = std::move(loaded);
    dpi_ = window_.Dpi();
    skin_ = ScaleSkin(loaded_, DpiScale(dpi_));
    name_ = name;
    thumbs_.assign(skin_.barAreas.size(), ThumbSpot{});
    window_.ApplySkin(skin_, !playback_.FullScreen());
    return true;
  }
  if (reportError) window_.ShowSkinError(error);
  return false;
}

void TSkin::Rescale() {
  const int dpi = window_.Dpi();
  if (name_.empty() || dpi == dpi_) return;
  dpi_ = dpi;
  skin_ = ScaleSkin(loaded_, DpiScale(dpi_));
  thumbs_.assign(skin_.barAreas.size(), ThumbSpot{});
  window_.ApplySkin(skin_, false);
}

// Only folders are skins; plain files beside them are left out.
std::vector<std::string> TSkin::SkinNames() const {
  std::vector<std::string> names = files_.ListFolder(skinFolder_);
  std::erase_if(names, [this](const std::string& n) {
    std::error_code ec;
    return n == "." || n == ".." ||
           !std::filesystem::is_directory(files_.ToFsPath(skinFolder_ + "\\" + n), ec);
  });
  std::sort(names.begin(), names.end(),
            [this](const std::string& a, const std::string& b) { return files_.CompareNoCase(a, b) < 0; });
  return names;
}

const TBarArea* TSkin::FindBarArea(const std::string& name) const {
  for (const TBarArea& bar : skin_.barAreas) {
    if (bar.name == name) return &bar;
  }
  return nullptr;
}

AreaRect TSkin::Resolve(const TClickArea& a, int windowWidth, int windowHeight) {
  const int left = SkinCoordinate(a.left, windowWidth);
  const int top = SkinCoordinate(a.top, windowHeight);
  return {left, top, left + a.width, top + a.height};
}

AreaRect TSkin::Resolve(const TBarArea& a, int windowWidth, int windowHeight) {
  return {SkinCoordinate(a.left, windowWidth), SkinCoordinate(a.top, windowHeight),
          SkinCoordinate(a.right, windowWidth), SkinCoordinate(a.bottom, windowHeight)};
}

// A name with "Duration" shows the duration, else one with "Position" the
// position; any other text shows nothing.
std::vector<PlacedText> TSkin::PlacedTexts() const {
  int width = 0;
  int height = 0;
  window_.WindowSize(width, height);
  const bool open = playback_.MovieOpen();
  std::vector<PlacedText> placed;
  placed.reserve(skin_.texts.size());
  for (size_t i = 0; i < skin_.texts.size(); ++i) {
    const TSkinText& text = skin_.texts[i];
    PlacedText p{
        i, SkinCoordinate(text.x, width), SkinCoordinate(text.y, height), {}, OnFullScreenBar(text.name)};
    if (text.name.find("Duration") != std::string::npos) {
      p.content = PositionText(open ? playback_.Duration() : 0.0);
    } else if (text.name.find("Position") != std::string::npos) {
      p.content = PositionText(open ? playback_.Position() : 0.0);
    }
    placed.push_back(std::move(p));
  }
  return placed;
}

void TSkin::PaintTexts() {
  if (!skin_.texts.empty()) window_.DrawTexts(PlacedTexts());
}

bool TSkin::ValidBar(int thumb) const {
  return thumb >= 0 && static_cast<size_t>(thumb) < skin_.barAreas.size();
}

AreaRect TSkin::BarRect(int thumb) const {
  int width = 0;
  int height = 0;
  window_.WindowSize(width, height);
  return Resolve(skin_.barAreas[static_cast<size_t>(thumb)], width, height);
}

int TSkin::ThumbPlace(int bar) const {
  if (!ValidBar(bar)) return 0;
  const TBarArea& area = skin_.barAreas[static_cast<size_t>(bar)];
  double value = 0;
  double maximum = 0;
  if (IsPositionBar(area.name)) {
    const bool open = playback_.MovieOpen();
    value = open ? playback_.Position() : 0;
    maximum = open ? playback_.Duration() : 0;
  } else if (IsVolumeBar(area.name)) {
    value = playback_.Volume() + kVolumeRange;
    maximum = kVolumeRange;
  }
  if (!(value > 0)) value = 0;  // NaN too
  if (!(maximum > 0)) maximum = 100;
  if (value > maximum) value = maximum;
  const AreaRect r = BarRect(bar);
  const int track = r.right - r.left - 2 * area.halfThumbWidth;
  return r.left + static_cast<int>(static_cast<double>(track) * value / maximum);
}

void TSkin::SetThumb(int thumb, int left, int top) {
  ThumbSpot& spot = thumbs_[static_cast<size_t>(thumb)];
  if (spot.left == left && spot.top == top) return;
  spot = {left, top};
  window_.MoveThumbPanel(thumb, left, top);
}

void TSkin::PlaceThumbs() {
  window_.ShowFrameThumbs(!playback_.FullScreen());
  if (mouseAction_.Is(kMouseBar)) return;
  for (int i = 0; ValidBar(i); ++i) SetThumb(i, ThumbPlace(i), BarRect(i).top);
}

int TSkin::ThumbLeft(int thumb) const {
  if (!ValidBar(thumb)) return 0;
  const ThumbSpot& spot = thumbs_[static_cast<size_t>(thumb)];
  return spot.left == INT_MIN ? ThumbPlace(thumb) : spot.left;
}

void TSkin::ThumbLimits(int thumb, int& minLeft, int& maxLeft) const {
  minLeft = maxLeft = 0;
  if (!ValidBar(thumb)) return;
  const AreaRect r = BarRect(thumb);
  minLeft = r.left;
  maxLeft = std::max(r.left, r.right - 2 * skin_.barAreas[static_cast<size_t>(thumb)].halfThumbWidth);
}

void TSkin::MoveThumb(int thumb, int left) {
  if (ValidBar(thumb)) SetThumb(thumb, left, BarRect(thumb).top);
}

// The thumb's centre on the track's top line: hit-testing it gives the seek
// or volume the thumb shows.
void TSkin::ThumbReleasePoint(int thumb, int& x, int& y) const {
  x = y = 0;
  if (!ValidBar(thumb)) return;
  x = ThumbLeft(thumb) + skin_.barAreas[static_cast<size_t>(thumb)].halfThumbWidth;
  y = BarRect(thumb).top;
}

}  // namespace orves
