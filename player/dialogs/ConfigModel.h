#pragma once
// The options dialog without its window: the values its controls hold, the
// table that binds each control to the setting it shows and sets, filling the
// controls from the live objects, the five presets and the reset, and
// applying the controls back in the fixed order of the apply steps.
//
// The dialog owns no settings. Everything it reads and drives goes through
// IConfigTarget, which the main window implements over its long-lived objects.
#include <map>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "player/core/SettingsTable.h"

namespace orves {

// A setting's value as a control holds it: integers and flags as int, texts
// as UTF-8.
using ConfigValue = std::variant<int, std::string>;

// The seven extension groups of the association boxes, in the boxes' order.
enum class LinkGroup { Avi, Asx, Mpeg, Dat, Divx, Vob, Ogm };
inline constexpr int kLinkGroupCount = 7;

// What the options dialog reads and drives.
class IConfigTarget {
 public:
  virtual ~IConfigTarget() = default;
  // A setting of the live object owning `section`, and setting it quietly.
  virtual ConfigValue Get(const std::string& section, const std::string& key) const = 0;
  virtual void Set(const std::string& section, const std::string& key, const ConfigValue& value) = 0;
  // The owner's own command for the setting, with its message (caption
  // position, size and outline).
  virtual void Command(const std::string& section, const std::string& key, int value) = 0;
  // The owner's toggle of a flag, with its message (playlist panel, auto
  // sort, the full-screen bar).
  virtual void Toggle(const std::string& section, const std::string& key) = 0;
  // The movie takes both picture values and applies them.
  virtual void SetPicture(int brightness, int processing) = 0;
  virtual void RedrawCaption() = 0;
  virtual double SyncOffset() const = 0;
  virtual void SetSyncOffset(double seconds) = 0;
  virtual bool IsAssociated(LinkGroup group) const = 0;
  virtual void Associate(LinkGroup group) = 0;
  virtual void Unassociate(LinkGroup group) = 0;
  // The window takes the picture's aspect within its current size.
  virtual void ResizeKeepingAspect() = 0;
};

// How a bound control's value goes back to its owner.
enum class ApplyBy {
  Set,      // written quietly
  Command,  // through the owner's command
  Toggle,   // the owner's toggle runs when the box differs from the owner
  Picture,  // brightness and quality, set together when either differs
};

struct ControlBinding {
  const char* control;
  const char* section;
  const char* key;
  ApplyBy by = ApplyBy::Set;
  // Spin edits: the range and the step of the arrows.
  int min = 0;
  int max = 1;
  int step = 1;
};

// Every control bound to one setting, in the order the apply steps write them.
std::span<const ControlBinding> ConfigBindings();
const ControlBinding* FindBinding(const std::string& control);

// Controls that are not one setting each.
namespace cfg {
inline constexpr const char* kPositionChoice = "rdUpHeightRate";  // 0..2 preset 1..3, 3 user
inline constexpr int kPositionUser = 3;
inline constexpr const char* kSyncChoice = "rdgSyncPlus";  // -1 none, 0 earlier, 1 later, 2 as is
inline constexpr int kSyncEarlier = 0;
inline constexpr int kSyncLater = 1;
inline constexpr int kSyncAsIs = 2;
inline constexpr const char* kSyncSeconds = "edtSyncPlus";
inline constexpr const char* kFullScreenMode = "chkFullScreenDpi";
inline constexpr const char* kFullScreenDpi = "rdgFullScreenDpi";      // width, one of the display's
inline constexpr const char* kFullScreenColor = "rdgFullScreenColor";  // index
inline constexpr const char* kFixRate = "rdoDoFixRate";                // 0, 169 or 43
inline constexpr const char* kPresetButton[3] = {"btnUpHeightRateShortCut1", "btnUpHeightRateShortCut2",
                                                 "btnUpHeightRateShortCut3"};
inline constexpr const char* kLinkBoxes[kLinkGroupCount] = {
    "chkLinkAvi", "chkLinkAsx", "chkLinkMpeg", "chkLinkDat", "chkLinkDivx", "chkLinkVob", "chkLinkOgm"};
}  // namespace cfg

inline constexpr int kFullScreenColors[] = {8, 16, 24, 32};
inline constexpr const char* kDefaultCaptionFont = "MD개성체";
inline constexpr const char* kFallbackCaptionFont = "굴림";

// The values of the dialog's controls, by control name.
class ConfigValues {
 public:
  int Int(const std::string& control) const;
  std::string Text(const std::string& control) const;
  bool Flag(const std::string& control) const { return Int(control) != 0; }
  void Set(const std::string& control, ConfigValue value) { values_[control] = std::move(value); }
  bool Has(const std::string& control) const { return values_.count(control) != 0; }
  const ConfigValue* Find(const std::string& control) const;

 private:
  std::map<std::string, ConfigValue> values_;
};

// Every control from the live objects.
ConfigValues FillConfig(const IConfigTarget& target);

// The position radio for a position: the first preset equal to it, else user.
int PositionChoiceFor(int position, const int (&presets)[3]);
// While a preset radio is checked the position spin shows its number.
void FollowPositionChoice(ConfigValues& values);

enum class ConfigPreset { Normal, Separate, Wide, Video43, LowEnd };
void ApplyPreset(ConfigValues& values, ConfigPreset preset);
// The base preset, then every setting's reset value; the Alt seek step, the
// recent-documents box, the associations, the sync controls, the tab switch
// and the full-screen radio indices keep theirs.
void ResetConfig(ConfigValues& values);

// Every control back to its owner, in the apply steps' order.
void ApplyConfig(const ConfigValues& values, IConfigTarget& target);

// A whole decimal integer with optional sign and surrounding blanks.
std::optional<int> ParseInteger(const std::string& text);

// The full-screen resolutions offered: one per width among the display's
// modes (full screen chooses a mode by its width and colour depth), in
// ascending order, labelled "W X H" with the height of the width's last mode,
// and the width `shown` (the setting or a preset) even when the display has
// no mode that wide, so it is kept as it is rather than replaced.
struct ScreenMode {
  int width = 0;
  int height = 0;
};
struct ResolutionChoice {
  int width = 0;
  std::string label;  // UTF-8
  bool operator==(const ResolutionChoice&) const = default;
};
std::vector<ResolutionChoice> ResolutionChoices(std::span<const ScreenMode> modes, int shown);
// A decimal number of seconds ("1.5"); nothing for other text.
std::optional<double> ParseSeconds(const std::string& text);
// Seconds as the sync edit shows them: "1.5", "2", "0.25".
std::string FormatSeconds(double seconds);

// A setting of `owner` through its section's table, by key.
template <class Owner>
std::optional<ConfigValue> GetSetting(const SettingsTable<Owner>& table, const Owner& owner,
                                      const std::string& key) {
  for (const SettingKey<Owner>& k : table.Keys()) {
    if (key != k.key) continue;
    if (const auto* f = std::get_if<int Owner::*>(&k.field)) return ConfigValue(owner.*(*f));
    if (const auto* f = std::get_if<bool Owner::*>(&k.field)) return ConfigValue((owner.*(*f)) ? 1 : 0);
    if (const auto* f = std::get_if<std::string Owner::*>(&k.field)) return ConfigValue(owner.*(*f));
  }
  return std::nullopt;
}

// Sets a setting of `owner` by key, clamped into the key's range; false when
// the table has no such key or the value's kind does not fit.
template <class Owner>
bool SetSetting(const SettingsTable<Owner>& table, Owner& owner, const std::string& key,
                const ConfigValue& value) {
  for (const SettingKey<Owner>& k : table.Keys()) {
    if (key != k.key) continue;
    const int* number = std::get_if<int>(&value);
    const std::string* text = std::get_if<std::string>(&value);
    if (const auto* f = std::get_if<int Owner::*>(&k.field); f != nullptr && number != nullptr) {
      if (k.valid != nullptr && !k.valid(*number)) return false;
      owner.*(*f) = std::clamp(*number, k.min, k.max);
      return true;
    }
    if (const auto* f = std::get_if<bool Owner::*>(&k.field); f != nullptr && number != nullptr) {
      owner.*(*f) = *number != 0;
      return true;
    }
    if (const auto* f = std::get_if<std::string Owner::*>(&k.field); f != nullptr && text != nullptr) {
      owner.*(*f) = *text;
      return true;
    }
    return false;
  }
  return false;
}

}  // namespace orves
