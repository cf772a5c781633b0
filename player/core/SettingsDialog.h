#pragma once
// How the options dialog shows a setting: the part of a settings table row
// (SettingsTable.h) that names the setting's control, places it on its page,
// gives its caption, arrow step or choices, says how its value goes back to
// the owner and where in the dialog's apply sequence. The dialog builds its
// bound controls, ranges, reset values and apply order from these rows alone.
// Captions are UTF-8.
#include <span>

namespace orves {

// The dialog's pages, in the order of their tabs.
enum DialogPage : int {
  kPagePresets,
  kPageView,
  kPagePlay,
  kPagePlayList,
  kPageCaption,
  kPageFullScreen,
  kPageFileLink,
  kPageAdvanced,
};

enum class ControlKind {
  None,          // not shown by the dialog
  Check,         // a check box with its caption
  Spin,          // a number edit with arrow buttons, the caption to its left
  Radios,        // a group box with the caption, one radio per choice inside
  Choice,        // a group box with the caption, a drop-down list of the display's resolutions inside
  Edit,          // a text edit
  FontList,      // the installed font faces, the caption above
  Swatch,        // a colour swatch; it and its caption, to its left, open the colour dialog
  NumberButton,  // a button showing the number; a click asks for another, the caption titles the prompt
};

// How a control's value goes back to its owner when the dialog is applied.
enum class ApplyBy {
  Set,      // written quietly
  Command,  // through the owner's command, with its message
  Toggle,   // the owner's toggle runs when the box differs from the owner
  Picture,  // brightness and quality, set together when either differs
};

// The dialog applies its controls in one sequence, ordered by these numbers;
// the hundreds are its steps: 1 the view, 2 seeking and the picture, 3 playing
// and the playlist, 4 the captions, 6 full screen, 8 the rest. The steps of
// the dialog's own controls run at these places.
namespace apply {
inline constexpr int kCaptionRedraw = 490;
inline constexpr int kSync = 500;
inline constexpr int kFullScreenMode = 650;
inline constexpr int kAssociations = 700;
inline constexpr int kResize = 900;
}  // namespace apply

// A control's box on its page, in pixels at 96 dots per inch.
struct DialogPlace {
  int page = kPagePresets;
  int x = 0, y = 0, width = 0, height = 0;
};

// One radio of a group: its caption and the value the setting takes.
struct DialogChoice {
  const char* caption;
  int value;
};

struct DialogControl {
  const char* name = nullptr;
  ControlKind kind = ControlKind::None;
  const char* caption = "";
  DialogPlace place;
  int applyOrder = 0;
  ApplyBy by = ApplyBy::Set;
  int step = 1;                             // Spin: the arrows' step
  int captionWidth = 0;                     // Spin, Swatch: the caption's width left of the control
  std::span<const DialogChoice> choices{};  // Radios, laid out in `columns` columns
  int columns = 1;
  bool keptByReset = false;  // the dialog's reset leaves it as it is

  constexpr bool Shown() const { return kind != ControlKind::None; }
  constexpr DialogControl KeptByReset() const {
    DialogControl c = *this;
    c.keptByReset = true;
    return c;
  }
  constexpr DialogControl AppliedBy(ApplyBy how) const {
    DialogControl c = *this;
    c.by = how;
    return c;
  }
};

constexpr DialogControl Check(const char* name, const char* caption, DialogPlace place, int applyOrder) {
  return {name, ControlKind::Check, caption, place, applyOrder};
}

constexpr DialogControl Spin(const char* name, const char* caption, int captionWidth, DialogPlace place,
                             int applyOrder, int step = 1) {
  DialogControl c{name, ControlKind::Spin, caption, place, applyOrder};
  c.captionWidth = captionWidth;
  c.step = step;
  return c;
}

constexpr DialogControl Radios(const char* name, const char* caption, DialogPlace place, int applyOrder,
                               std::span<const DialogChoice> choices, int columns = 1) {
  DialogControl c{name, ControlKind::Radios, caption, place, applyOrder};
  c.choices = choices;
  c.columns = columns;
  return c;
}

// The resolution a setting holds as a width: the list offers the display's
// own modes, so it has no fixed choices.
constexpr DialogControl Choice(const char* name, const char* caption, DialogPlace place, int applyOrder) {
  return {name, ControlKind::Choice, caption, place, applyOrder};
}

constexpr DialogControl TextEdit(const char* name, DialogPlace place, int applyOrder) {
  return {name, ControlKind::Edit, "", place, applyOrder};
}

constexpr DialogControl FontList(const char* name, const char* caption, DialogPlace place, int applyOrder) {
  return {name, ControlKind::FontList, caption, place, applyOrder};
}

constexpr DialogControl Swatch(const char* name, const char* caption, int captionWidth, DialogPlace place,
                               int applyOrder) {
  DialogControl c{name, ControlKind::Swatch, caption, place, applyOrder};
  c.captionWidth = captionWidth;
  return c;
}

constexpr DialogControl NumberButton(const char* name, const char* promptTitle, DialogPlace place,
                                     int applyOrder) {
  return {name, ControlKind::NumberButton, promptTitle, place, applyOrder};
}

}  // namespace orves
