#pragma once
// The options dialog without its window: the values its controls hold,
// filling them from the live objects, the five presets and the reset, and
// applying the controls back in the dialog's apply order. The controls bound
// to one setting each, with their ranges, reset values and places in that
// order, are the rows of the settings tables (DialogSetting); the controls
// that are not one setting each are the dialog's own (cfg below).
//
// The dialog owns no settings. Everything it reads and drives goes through
// IConfigTarget, which the main window implements over its long-lived objects.
#include <map>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "player/core/Services.h"
#include "player/core/SettingsSection.h"

namespace orves {

// A control's value: integers and flags as int, texts as UTF-8.
using ConfigValue = SettingValue;

// The extension groups of the association boxes, in the boxes' order (the
// groups of MediaFileGroups that have a box).
enum class LinkGroup { Avi, Asx, Mpeg, Dat, Divx, Vob, Ogm, Mp4, Mkv, Ts, Flv, Ogv };
inline constexpr int kLinkGroupCount = 12;

// What the options dialog reads and drives.
class IConfigTarget {
 public:
  virtual ~IConfigTarget() = default;
  // The settings the dialog shows.
  virtual std::span<const DialogSetting> Settings() const = 0;
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

// The dialog's own controls, and the bound ones its rules name.
namespace cfg {
inline constexpr const char* kPositionChoice = "rdUpHeightRate";  // 0..2 preset 1..3, 3 user
inline constexpr int kPositionUser = 3;
inline constexpr const char* kSyncChoice = "rdgSyncPlus";  // -1 none, 0 earlier, 1 later, 2 as is
inline constexpr int kSyncEarlier = 0;
inline constexpr int kSyncLater = 1;
inline constexpr int kSyncAsIs = 2;
inline constexpr const char* kSyncSeconds = "edtSyncPlus";
inline constexpr const char* kFullScreenMode = "chkFullScreenDpi";
inline constexpr const char* kFullScreenColor = "rdgFullScreenColor";  // index
inline constexpr const char* kLinkBoxes[kLinkGroupCount] = {
    "chkLinkAvi", "chkLinkAsx", "chkLinkMpeg", "chkLinkDat", "chkLinkDivx", "chkLinkVob",
    "chkLinkOgm", "chkLinkMp4", "chkLinkMkv",  "chkLinkTs",  "chkLinkFlv",  "chkLinkOgv"};
// Bound controls the presets, the position radios and the picture rule set.
inline constexpr const char* kPosition = "spinUpHeightRate";
inline constexpr const char* kPresetButton[3] = {"btnUpHeightRateShortCut1", "btnUpHeightRateShortCut2",
                                                 "btnUpHeightRateShortCut3"};
inline constexpr const char* kAntiAliase = "chkAntiAliase";
inline constexpr const char* kFixRate = "rdoDoFixRate";  // 0, 169 or 43
inline constexpr const char* kBrightness = "spinDivxBrightness";
inline constexpr const char* kProcessing = "spinDivxProcess";
inline constexpr const char* kFullScreenDpi = "rdgFullScreenDpi";  // a width; 0 keeps the display mode
}  // namespace cfg

inline constexpr int kFullScreenColors[] = {8, 16, 24, 32};
// The face the dialog selects when the caption font is not installed.
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
// The base preset, then every setting's default except those its row keeps
// (the Alt seek step, the recent-documents box, the tab switch, the
// full-screen resolution); the associations, the sync controls and the
// full-screen colour keep theirs too.
void ResetConfig(ConfigValues& values, std::span<const DialogSetting> settings);

// Every control back to its owner, in the apply steps' order.
void ApplyConfig(const ConfigValues& values, IConfigTarget& target);
// The end of an options dialog closed with OK: ApplyConfig, then the
// completion message.
void FinishConfig(const ConfigValues& values, IConfigTarget& target, IStateText& stateText);

// The main window's five preset commands (1 to 5) are the dialog's five
// preset buttons in their order; nothing for another number.
std::optional<ConfigPreset> PresetNumbered(int number);
// A preset applied to the live objects as its button applies it in a dialog
// just opened on them, completion message included.
void ApplyPresetNow(ConfigPreset preset, IConfigTarget& target, IStateText& stateText);

// A whole decimal integer with optional sign and surrounding blanks.
std::optional<int> ParseInteger(const std::string& text);

// A decimal number of seconds ("1.5"); nothing for other text.
std::optional<double> ParseSeconds(const std::string& text);
// Seconds as the sync edit shows them: "1.5", "2", "0.25".
std::string FormatSeconds(double seconds);

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

}  // namespace orves
