#include "player/dialogs/ConfigModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace orves {

namespace {

enum class ApplyStep { None, RedrawCaption, Sync, FullScreenMode, Associations, Resize };

struct BindingRow {
  ControlBinding binding;
  ApplyStep step = ApplyStep::None;  // rows without a setting run a step
};

constexpr BindingRow Bind(const char* control, const char* section, const char* key,
                          ApplyBy by = ApplyBy::Set, int min = 0, int max = 1, int step = 1) {
  return BindingRow{ControlBinding{control, section, key, by, min, max, step}};
}

constexpr BindingRow Step(ApplyStep step) { return BindingRow{ControlBinding{"", nullptr, nullptr}, step}; }

// The rows are in the order the apply steps write them; the steps without a
// single setting sit where they run.
constexpr BindingRow kRows[] = {
    // The tab switch and the view.
    Bind("chkShowTab", "Config", "ShowTab"),
    Bind("chkAlwaysTop", "Layout", "AlwaysTop"),
    Bind("chkShowStatus", "StateText", "Enabled"),
    Bind("chkShowTime", "StateText", "ShowTime"),
    Bind("rdgStartMode", "Layout", "StartMode", ApplyBy::Set, 0, 5),
    // Playing.
    Bind("spinFFTime", "Media", "FFSpaceTime", ApplyBy::Set, 1, 300),
    Bind("spinFFTime2", "Media", "FFSpaceTime2", ApplyBy::Set, 1, 300),
    Bind("spinDivxBrightness", "Movie", "DivxBrightness", ApplyBy::Picture, -100, 100, 10),
    Bind("spinDivxProcess", "Movie", "DivxProcess", ApplyBy::Picture, 0, 60, 10),
    Bind("chkBookmark", "Media", "DoBookMark"),
    Bind("chkAutoRewind", "PlayList", "AutoRewind"),
    Bind("chkAddToRecent", "Media", "AddToRecent"),
    Bind("chkPlayListEnabled", "PlayList", "Enabled", ApplyBy::Toggle),
    Bind("chkAutoSort", "PlayList", "AutoSort", ApplyBy::Toggle),
    // Captions.
    Bind("spinUpHeightRate", "OrveCaption", "UpHeightRate", ApplyBy::Command, 0, 200, 5),
    Bind(cfg::kPresetButton[0], "OrveCaption", "UpHeightRateShortCut1", ApplyBy::Set, 0, 200),
    Bind(cfg::kPresetButton[1], "OrveCaption", "UpHeightRateShortCut2", ApplyBy::Set, 0, 200),
    Bind(cfg::kPresetButton[2], "OrveCaption", "UpHeightRateShortCut3", ApplyBy::Set, 0, 200),
    Bind("spinHeightRate", "OrveCaption", "HeightRate", ApplyBy::Command, 0, 200, 10),
    Bind("spinShadowRate", "OrveCaption", "ShadowRate", ApplyBy::Set, 0, 100),
    Bind("spinOutLineRate", "OrveCaption", "OutLineRate", ApplyBy::Command, 0, 100),
    Bind("spinFontWidthRate", "OrveCaption", "FontWidthRate", ApplyBy::Set, 1, 200),
    Bind("pnlFontColor", "OrveCaption", "FontColor"),
    Bind("chkFontBold", "OrveCaption", "FontBold"),
    Bind("lstFontName", "OrveCaption", "FontName2"),
    Bind("spinLineHeightRate", "OrveCaption", "LineHeightRate", ApplyBy::Set, 0, 100),
    Bind("chkAntiAliase", "OrveCaption", "AntiAliase"),
    Step(ApplyStep::RedrawCaption),
    Step(ApplyStep::Sync),
    // Full screen.
    Bind("chkAlwaysShowFullScreenBar", "Layout", "AlwaysShowFullScreenBar", ApplyBy::Toggle),
    Bind(cfg::kFixRate, "Movie", "DoFixRate"),
    Step(ApplyStep::FullScreenMode),
    Step(ApplyStep::Associations),
    // The rest.
    Bind("chkCheckNewVersion", "Main", "CheckNewVersion"),
    Bind("chkStateTextKorean", "StateText", "Korean"),
    Bind("chkPauseAtMinimize", "Layout", "PauseAtMinimize"),
    Bind("chkParseColorTag", "OrveCaption", "ParseColorTag"),
    Bind("chkShowMovieWhenHide", "Layout", "ShowMovieWhenHide"),
    Bind("chkCheckCaptionCodec", "Main", "CheckCaptionCodec"),
    Bind("chkCutWhenWindow", "Movie", "CutWhenWindow"),
    Bind("chkForce43", "Movie", "Force43"),
    Bind("chkSmartCaptionFinding", "OrveCaption", "SmartCaptionFinding"),
    Bind("chkUseCaptionFolder", "PlayList", "UseCaptionFolder"),
    Bind("edtCaptionFolder", "PlayList", "CaptionFolder"),
    Step(ApplyStep::Resize),
};

struct BindingList {
  ControlBinding items[std::size(kRows)];
  size_t count = 0;
};

constexpr BindingList MakeBindings() {
  BindingList list{};
  for (const BindingRow& row : kRows) {
    if (row.binding.section != nullptr) list.items[list.count++] = row.binding;
  }
  return list;
}

constexpr BindingList kBindings = MakeBindings();

int IntOf(const ConfigValue& value) {
  const int* number = std::get_if<int>(&value);
  return number != nullptr ? *number : 0;
}

int IndexIn(std::span<const int> list, int value) {
  const auto it = std::find(list.begin(), list.end(), value);
  return it == list.end() ? 0 : static_cast<int>(it - list.begin());
}

int ValueAt(std::span<const int> list, int index) {
  return list[static_cast<size_t>(std::clamp(index, 0, static_cast<int>(list.size()) - 1))];
}

void ApplySync(const ConfigValues& values, IConfigTarget& target) {
  if (!values.Has(cfg::kSyncChoice)) return;
  const int choice = values.Int(cfg::kSyncChoice);
  if (choice == cfg::kSyncAsIs) {
    target.SetSyncOffset(0);
    return;
  }
  if (choice != cfg::kSyncEarlier && choice != cfg::kSyncLater) return;
  // Text that is not a number leaves the offset as it is.
  const std::optional<double> seconds = ParseSeconds(values.Text(cfg::kSyncSeconds));
  if (!seconds) return;
  target.SetSyncOffset(choice == cfg::kSyncLater ? *seconds : -*seconds);
}

void ApplyFullScreenMode(const ConfigValues& values, IConfigTarget& target) {
  if (!values.Has(cfg::kFullScreenMode)) return;
  if (!values.Flag(cfg::kFullScreenMode)) {
    target.Set("Layout", "FullScreenDpi", 0);
    return;
  }
  target.Set("Layout", "FullScreenDpi", values.Int(cfg::kFullScreenDpi));
  target.Set("Layout", "FullScreenColor", ValueAt(kFullScreenColors, values.Int(cfg::kFullScreenColor)));
}

void ApplyAssociations(const ConfigValues& values, IConfigTarget& target) {
  for (int i = 0; i < kLinkGroupCount; ++i) {
    if (!values.Has(cfg::kLinkBoxes[i])) continue;
    const auto group = static_cast<LinkGroup>(i);
    const bool wanted = values.Flag(cfg::kLinkBoxes[i]);
    const bool now = target.IsAssociated(group);
    if (!wanted && now) target.Unassociate(group);
    if (wanted && !now) target.Associate(group);
  }
}

void RunStep(ApplyStep step, const ConfigValues& values, IConfigTarget& target) {
  switch (step) {
    case ApplyStep::RedrawCaption:
      target.RedrawCaption();
      break;
    case ApplyStep::Sync:
      ApplySync(values, target);
      break;
    case ApplyStep::FullScreenMode:
      ApplyFullScreenMode(values, target);
      break;
    case ApplyStep::Associations:
      ApplyAssociations(values, target);
      break;
    case ApplyStep::Resize:
      target.ResizeKeepingAspect();
      break;
    case ApplyStep::None:
      break;
  }
}

// Brightness and quality go together, and only when one of them changed
// (applying them reloads the movie).
void ApplyPicture(const ConfigValues& values, IConfigTarget& target) {
  if (!values.Has("spinDivxBrightness") || !values.Has("spinDivxProcess")) return;
  const int brightness = values.Int("spinDivxBrightness");
  const int processing = values.Int("spinDivxProcess");
  if (brightness != IntOf(target.Get("Movie", "DivxBrightness")) ||
      processing != IntOf(target.Get("Movie", "DivxProcess"))) {
    target.SetPicture(brightness, processing);
  }
}

void ApplyBinding(const ControlBinding& b, const ConfigValues& values, IConfigTarget& target,
                  bool& pictureDone) {
  switch (b.by) {
    case ApplyBy::Set:
      if (const ConfigValue* value = values.Find(b.control)) target.Set(b.section, b.key, *value);
      break;
    case ApplyBy::Command:
      if (values.Has(b.control)) target.Command(b.section, b.key, values.Int(b.control));
      break;
    case ApplyBy::Toggle:
      if (values.Has(b.control) && values.Flag(b.control) != (IntOf(target.Get(b.section, b.key)) != 0)) {
        target.Toggle(b.section, b.key);
      }
      break;
    case ApplyBy::Picture:
      if (!pictureDone) ApplyPicture(values, target);
      pictureDone = true;
      break;
  }
}

void BasePreset(ConfigValues& v) {
  v.Set(cfg::kPositionChoice, cfg::kPositionUser);
  v.Set("spinUpHeightRate", 120);
  v.Set("chkAntiAliase", 1);
  v.Set(cfg::kFixRate, 0);
  v.Set(cfg::kFullScreenMode, 0);
}

}  // namespace

std::span<const ControlBinding> ConfigBindings() { return {kBindings.items, kBindings.count}; }

const ControlBinding* FindBinding(const std::string& control) {
  for (const ControlBinding& b : ConfigBindings()) {
    if (control == b.control) return &b;
  }
  return nullptr;
}

int ConfigValues::Int(const std::string& control) const {
  const auto it = values_.find(control);
  return it == values_.end() ? 0 : IntOf(it->second);
}

const ConfigValue* ConfigValues::Find(const std::string& control) const {
  const auto it = values_.find(control);
  return it == values_.end() ? nullptr : &it->second;
}

std::string ConfigValues::Text(const std::string& control) const {
  const auto it = values_.find(control);
  if (it == values_.end()) return {};
  const std::string* text = std::get_if<std::string>(&it->second);
  return text != nullptr ? *text : std::string();
}

ConfigValues FillConfig(const IConfigTarget& target) {
  ConfigValues v;
  for (const ControlBinding& b : ConfigBindings()) {
    v.Set(b.control, target.Get(b.section, b.key));
  }
  const int presets[3] = {v.Int(cfg::kPresetButton[0]), v.Int(cfg::kPresetButton[1]),
                          v.Int(cfg::kPresetButton[2])};
  v.Set(cfg::kPositionChoice, PositionChoiceFor(v.Int("spinUpHeightRate"), presets));

  const double offset = target.SyncOffset();
  v.Set(cfg::kSyncChoice, offset == 0 ? cfg::kSyncAsIs : offset < 0 ? cfg::kSyncEarlier : cfg::kSyncLater);
  v.Set(cfg::kSyncSeconds, FormatSeconds(std::fabs(offset)));

  const int dpi = IntOf(target.Get("Layout", "FullScreenDpi"));
  v.Set(cfg::kFullScreenMode, dpi != 0 ? 1 : 0);
  v.Set(cfg::kFullScreenDpi, dpi);
  v.Set(cfg::kFullScreenColor, IndexIn(kFullScreenColors, IntOf(target.Get("Layout", "FullScreenColor"))));

  for (int i = 0; i < kLinkGroupCount; ++i) {
    v.Set(cfg::kLinkBoxes[i], target.IsAssociated(static_cast<LinkGroup>(i)) ? 1 : 0);
  }
  return v;
}

std::vector<ResolutionChoice> ResolutionChoices(std::span<const ScreenMode> modes, int shown) {
  std::map<int, int> heights;  // width -> height of its last mode
  for (const ScreenMode& mode : modes) {
    if (mode.width > 0) heights[mode.width] = mode.height;
  }
  std::vector<ResolutionChoice> choices;
  for (const auto& [width, height] : heights) {
    choices.push_back({width, std::to_string(width) + " X " + std::to_string(height)});
  }
  if (shown > 0 && heights.count(shown) == 0) {
    const ResolutionChoice missing{shown, std::to_string(shown) + " (이 화면에는 없음)"};
    choices.insert(std::upper_bound(choices.begin(), choices.end(), missing,
                                    [](const auto& a, const auto& b) { return a.width < b.width; }),
                   missing);
  }
  return choices;
}

int PositionChoiceFor(int position, const int (&presets)[3]) {
  for (int i = 0; i < 3; ++i) {
    if (presets[i] == position) return i;
  }
  return cfg::kPositionUser;
}

void FollowPositionChoice(ConfigValues& values) {
  const int choice = values.Int(cfg::kPositionChoice);
  if (choice >= 0 && choice < 3) values.Set("spinUpHeightRate", values.Int(cfg::kPresetButton[choice]));
}

void ApplyPreset(ConfigValues& v, ConfigPreset preset) {
  BasePreset(v);
  switch (preset) {
    case ConfigPreset::Normal:
      break;
    case ConfigPreset::Separate:
      v.Set("spinUpHeightRate", 0);
      break;
    case ConfigPreset::Wide:
      v.Set(cfg::kFixRate, 169);
      break;
    case ConfigPreset::Video43:
      v.Set(cfg::kFixRate, 43);
      break;
    case ConfigPreset::LowEnd:
      v.Set(cfg::kFullScreenMode, 1);
      v.Set(cfg::kFullScreenDpi, 800);
      v.Set(cfg::kFullScreenColor, IndexIn(kFullScreenColors, 16));
      v.Set("spinDivxProcess", 0);
      v.Set("spinUpHeightRate", 0);
      v.Set("chkAntiAliase", 0);
      break;
  }
}

void ResetConfig(ConfigValues& v) {
  BasePreset(v);
  static constexpr std::pair<const char*, int> kNumbers[] = {
      {"chkShowStatus", 1},
      {"chkAlwaysTop", 1},
      {"chkShowTime", 0},
      {"rdgStartMode", 2},
      {"spinFFTime", 10},
      {"spinDivxProcess", 0},
      {"spinDivxBrightness", 0},
      {"chkBookmark", 1},
      {"chkAutoRewind", 0},
      {"chkPlayListEnabled", 0},
      {"chkAutoSort", 1},
      {"btnUpHeightRateShortCut1", 120},
      {"btnUpHeightRateShortCut2", 25},
      {"btnUpHeightRateShortCut3", 0},
      {cfg::kPositionChoice, 0},
      {"spinHeightRate", 100},
      {"pnlFontColor", 14737632},
      {"chkFontBold", 0},
      {"spinOutLineRate", 4},
      {"spinShadowRate", 2},
      {"spinFontWidthRate", 90},
      {"spinLineHeightRate", 20},
      {"chkAlwaysShowFullScreenBar", 0},
      {"chkCheckNewVersion", 1},
      {"chkCheckCaptionCodec", 1},
      {"chkStateTextKorean", 0},
      {"chkPauseAtMinimize", 1},
      {"chkParseColorTag", 1},
      {"chkShowMovieWhenHide", 1},
      {"chkCutWhenWindow", 0},
      {"chkForce43", 1},
      {"chkSmartCaptionFinding", 1},
      {"chkUseCaptionFolder", 0},
  };
  for (const auto& [control, value] : kNumbers) v.Set(control, value);
  v.Set("lstFontName", std::string(kDefaultCaptionFont));
  v.Set("edtCaptionFolder", std::string("C:\\"));
  FollowPositionChoice(v);
}

void ApplyConfig(const ConfigValues& values, IConfigTarget& target) {
  bool pictureDone = false;
  for (const BindingRow& row : kRows) {
    if (row.binding.section == nullptr) {
      RunStep(row.step, values, target);
    } else {
      ApplyBinding(row.binding, values, target, pictureDone);
    }
  }
}

std::optional<int> ParseInteger(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  if (text[first] == '+') ++first;
  int value = 0;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

std::optional<double> ParseSeconds(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const std::string trimmed = text.substr(first, last - first + 1);
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end != trimmed.c_str() + trimmed.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatSeconds(double seconds) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", seconds);
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace orves
