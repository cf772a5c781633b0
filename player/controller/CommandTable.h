#pragma once
// The main window's command table: every action of `actsMain` with its
// category, caption and keyboard shortcuts (the first is the action's own,
// the others secondary). The Windows layer builds menus and the accelerator
// lookup from it; what each action does lives with the controller.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orves {

enum KeyModifier : uint8_t { kModNone = 0, kModShift = 1, kModCtrl = 2, kModAlt = 4 };

// A key as the window sees it: a virtual-key code plus held modifiers.
struct KeyStroke {
  uint8_t modifiers = kModNone;
  uint16_t virtualKey = 0;
  bool operator==(const KeyStroke&) const = default;
};

struct CommandSpec {
  const char* name;      // "actOpen"
  const char* category;  // "파일", "재생", "레이아웃", "자막", "플레이리스트", "프리셋"
  const char* caption;   // UTF-8
  std::vector<const char*> shortcuts;  // shortcut texts, "F3", "ctrl+o", "l"
};

// The whole table, in the order of the action list.
const std::vector<CommandSpec>& Commands();

const CommandSpec* FindCommand(std::string_view name);

// "ctrl+o", "Alt+Enter", "Shift+PgUp", "`", "=": case does not matter.
// Nothing for a text that names no key.
std::optional<KeyStroke> ParseShortcut(std::string_view text);

// The action a key stroke runs, or nothing.
const CommandSpec* CommandForKey(KeyStroke key);

}  // namespace orves
