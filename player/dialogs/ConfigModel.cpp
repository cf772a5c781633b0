#include "player/dialogs/ConfigModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

namespace orves {

namespace {

enum class ApplyStep { RedrawCaption, Sync, FullScreenMode, Associations, Resize };

// The dialog's own steps and their places in the apply sequence.
constexpr std::pair<int, ApplyStep> kSteps[] = {
    {apply::kCaptionRedraw, ApplyStep::RedrawCaption},
    {apply::kSync, ApplyStep::Sync},
    {apply::kFullScreenMode, ApplyStep::FullScreenMode},
    {apply::kAssociations, ApplyStep::Associations},
    {apply::kResize, ApplyStep::Resize},
};

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

// The resolution's own row has set its width by now: an unchecked mode box
// clears it again (full screen then keeps the display mode).
void ApplyFullScreenMode(const ConfigValues& values, IConfigTarget& target) {
  if (!values.Has(cfg::kFullScreenMode)) return;
  if (!values.Flag(cfg::kFullScreenMode)) {
    target.Set("Layout", "FullScreenDpi", 0);
    return;
  }
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
  }
}

// Brightness and quality go together, and only when one of them changed
// (applying them reloads the movie).
void ApplyPicture(std::span<const DialogSetting> settings, const ConfigValues& values,
                  IConfigTarget& target) {
  if (!values.Has(cfg::kBrightness) || !values.Has(cfg::kProcessing)) return;
  bool changed = false;
  for (const DialogSetting& s : settings) {
    if (s.control->by == ApplyBy::Picture) {
      changed = changed || values.Int(s.control->name) != IntOf(target.Get(s.section, s.key));
    }
  }
  if (changed) target.SetPicture(values.Int(cfg::kBrightness), values.Int(cfg::kProcessing));
}

void ApplySetting(const DialogSetting& s, const ConfigValues& values, IConfigTarget& target) {
  const char* control = s.control->name;
  switch (s.control->by) {
    case ApplyBy::Set:
      if (const ConfigValue* value = values.Find(control)) target.Set(s.section, s.key, *value);
      break;
    case ApplyBy::Command:
      if (values.Has(control)) target.Command(s.section, s.key, values.Int(control));
      break;
    case ApplyBy::Toggle:
      if (values.Has(control) && values.Flag(control) != (IntOf(target.Get(s.section, s.key)) != 0)) {
        target.Toggle(s.section, s.key);
      }
      break;
    case ApplyBy::Picture:
      break;  // both together, at the first of them
  }
}

void BasePreset(ConfigValues& v) {
  v.Set(cfg::kPositionChoice, cfg::kPositionUser);
  v.Set(cfg::kPosition, 120);
  v.Set(cfg::kAntiAliase, 1);
  v.Set(cfg::kFixRate, 0);
  v.Set(cfg::kFullScreenMode, 0);
}

}  // namespace

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
  for (const DialogSetting& s : target.Settings()) {
    v.Set(s.control->name, target.Get(s.section, s.key));
  }
  const int presets[3] = {v.Int(cfg::kPresetButton[0]), v.Int(cfg::kPresetButton[1]),
                          v.Int(cfg::kPresetButton[2])};
  v.Set(cfg::kPositionChoice, PositionChoiceFor(v.Int(cfg::kPosition), presets));

  const double offset = target.SyncOffset();
  v.Set(cfg::kSyncChoice, offset == 0 ? cfg::kSyncAsIs : offset < 0 ? cfg::kSyncEarlier : cfg::kSyncLater);
  v.Set(cfg::kSyncSeconds, FormatSeconds(std::fabs(offset)));

  v.Set(cfg::kFullScreenMode, v.Int(cfg::kFullScreenDpi) != 0 ? 1 : 0);
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
  if (choice >= 0 && choice < 3) values.Set(cfg::kPosition, values.Int(cfg::kPresetButton[choice]));
}

void ApplyPreset(ConfigValues& v, ConfigPreset preset) {
  // What each preset sets after the base preset.
  static const struct {
    ConfigPreset preset;
    const char* control;
    int value;
  } kChanges[] = {
      {ConfigPreset::Separate, cfg::kPosition, 0},
      {ConfigPreset::Wide, cfg::kFixRate, 169},
      {ConfigPreset::Video43, cfg::kFixRate, 43},
      {ConfigPreset::LowEnd, cfg::kFullScreenMode, 1},
      {ConfigPreset::LowEnd, cfg::kFullScreenDpi, 800},
      {ConfigPreset::LowEnd, cfg::kFullScreenColor, IndexIn(kFullScreenColors, 16)},
      {ConfigPreset::LowEnd, cfg::kProcessing, 0},
      {ConfigPreset::LowEnd, cfg::kPosition, 0},
      {ConfigPreset::LowEnd, cfg::kAntiAliase, 0},
  };
  BasePreset(v);
  for (const auto& change : kChanges) {
    if (change.preset == preset) v.Set(change.control, change.value);
  }
}

void ResetConfig(ConfigValues& v, std::span<const DialogSetting> settings) {
  BasePreset(v);
  for (const DialogSetting& s : settings) {
    if (!s.control->keptByReset) v.Set(s.control->name, s.def);
  }
  const int presets[3] = {v.Int(cfg::kPresetButton[0]), v.Int(cfg::kPresetButton[1]),
                          v.Int(cfg::kPresetButton[2])};
  v.Set(cfg::kPositionChoice, PositionChoiceFor(v.Int(cfg::kPosition), presets));
  FollowPositionChoice(v);
}

// The settings in their apply order, with the dialog's own steps between
// them at their places; brightness and quality go together at the first.
void ApplyConfig(const ConfigValues& values, IConfigTarget& target) {
  std::vector<DialogSetting> settings(target.Settings().begin(), target.Settings().end());
  std::stable_sort(settings.begin(), settings.end(), [](const DialogSetting& a, const DialogSetting& b) {
    return a.control->applyOrder < b.control->applyOrder;
  });
  size_t step = 0;
  bool pictureDone = false;
  for (const DialogSetting& s : settings) {
    for (; step < std::size(kSteps) && kSteps[step].first < s.control->applyOrder; ++step) {
      RunStep(kSteps[step].second, values, target);
    }
    if (s.control->by == ApplyBy::Picture && !pictureDone) {
      ApplyPicture(settings, values, target);
      pictureDone = true;
    }
    ApplySetting(s, values, target);
  }
  for (; step < std::size(kSteps); ++step) RunStep(kSteps[step].second, values, target);
}

void FinishConfig(const ConfigValues& values, IConfigTarget& target, IStateText& stateText) {
  ApplyConfig(values, target);
  stateText.ShowState("환경설정 적용 완료", "CONFIGURATION FINISHED");
}

std::optional<ConfigPreset> PresetNumbered(int number) {
  constexpr ConfigPreset kInButtonOrder[] = {ConfigPreset::Normal, ConfigPreset::Separate, ConfigPreset::Wide,
                                             ConfigPreset::Video43, ConfigPreset::LowEnd};
  if (number < 1 || number > static_cast<int>(std::size(kInButtonOrder))) return std::nullopt;
  return kInButtonOrder[number - 1];
}

void ApplyPresetNow(ConfigPreset preset, IConfigTarget& target, IStateText& stateText) {
  ConfigValues values = FillConfig(target);
  ApplyPreset(values, preset);
  FinishConfig(values, target, stateText);
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
