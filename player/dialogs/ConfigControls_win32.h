#pragma once
// The options dialog's controls as data: one row per control with its page
// (tab), kind, name, caption and place in pixels at 96 dots per inch. Bound
// rows are named after their binding in ConfigModel, so the dialog moves
// values between the controls and ConfigValues in one loop.
#include <span>

namespace orves {

inline constexpr int kConfigPageCount = 8;
inline constexpr int kConfigFormPage = -1;  // rows on the form itself, below the tabs

// The tab captions, in the pages' order.
extern const wchar_t* const kConfigTabCaptions[kConfigPageCount];

// A Choice is a drop-down list of numbers (the display's resolutions).
enum class ConfigKind { Check, Radio, Group, Label, Link, Spin, Edit, List, Choice, Button, Swatch, Preview };

enum class ConfigAction {
  None,
  PresetNormal,
  PresetSeparate,
  PresetWide,
  PresetVideo43,
  PresetLowEnd,
  ClearBookmarks,
  ClearRecent,
  PreviewOn,
  PreviewOff,
  LinkAll,
  LinkNone,
  RemoveCaptionCodec,
  AskPreset1,
  AskPreset2,
  AskPreset3,
  ChooseColour,
  BrowseFolder,
  OpenHomePage,
};

// One control of the dialog. Bound rows carry the control name of their
// binding (ConfigModel); radio rows carry their group's name and the value
// the group takes when that radio is checked.
struct ConfigControlSpec {
  int page;
  ConfigKind kind;
  const char* name;
  const wchar_t* text;
  short x, y, w, h;
  int item = -1;
  ConfigAction action = ConfigAction::None;
};

std::span<const ConfigControlSpec> ConfigControls();

}  // namespace orves
