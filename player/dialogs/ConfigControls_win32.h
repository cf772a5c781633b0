#pragma once
// The options dialog's controls as data: one row per control with its page
// (tab), kind, name, caption and place in pixels at 96 dots per inch. The
// controls bound to a setting come from the settings tables' rows; the
// dialog's own (labels, groups, buttons, the controls that are not one
// setting each) from the table here. Rows share their names with the values
// in ConfigValues, so the dialog moves values between both in one loop.
#include <span>
#include <string>
#include <vector>

#include "player/core/SettingsSection.h"

namespace orves {

inline constexpr int kConfigPageCount = 8;
inline constexpr int kConfigFormPage = -1;  // rows on the form itself, below the tabs

// The tab captions, in the pages' order (DialogPage).
extern const wchar_t* const kConfigTabCaptions[kConfigPageCount];

// A Choice is a drop-down list of numbers (the display's resolutions).
enum class ConfigKind { Check, Radio, Group, Label, Link, Spin, Edit, List, Choice, Button, Swatch, Preview };

enum class ConfigAction {
  None,
  Preset,  // the preset of the control's item (1 to 5)
  ClearBookmarks,
  ClearRecent,
  PreviewOn,
  PreviewOff,
  LinkAll,
  LinkNone,
  RemoveCaptionCodec,
  AskNumber,
  ChooseColour,
  BrowseFolder,
  OpenHomePage,
};

// One control of the dialog. Radio rows carry their group's name and, as
// their item, the value the group takes when that radio is checked; rows of a
// setting carry the setting (its range and arrow step).
struct ConfigControlSpec {
  int page;
  ConfigKind kind;
  const char* name;
  std::wstring text;
  int x, y, w, h;
  int item = -1;
  ConfigAction action = ConfigAction::None;
  const DialogSetting* setting = nullptr;
};

// Every control, in the order the dialog makes them, which is their tab
// order: page by page, line by line from the top, each line from the left; a
// radio group, and a control with the caption beside it, is one piece.
std::vector<ConfigControlSpec> ConfigControls(std::span<const DialogSetting> settings);

}  // namespace orves
