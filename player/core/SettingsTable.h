#pragma once
// One table per settings section: each key with the field it fills, its
// type (by the field), its default, its range and how the options dialog
// shows it (SettingsDialog.h). The same table reads the section when its owner
// is made, writes it back, key by key in the table's order, when the owner
// goes, and gives the options dialog its controls and values.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "player/core/SettingsDialog.h"
#include "player/core/Setup.h"

namespace orves {

// A setting's value as the options dialog moves it: integers and flags as
// int, texts as UTF-8.
using SettingValue = std::variant<int, std::string>;

// The object whose commands and toggles apply a setting from the dialog: the
// owner itself, or the type its `SettingCommands` names (an owner that is a
// plain record of values beside the object that acts on them).
template <class Owner>
struct SettingCommandsOf {
  using type = Owner;
};
template <class Owner>
requires requires { typename Owner::SettingCommands; }
struct SettingCommandsOf<Owner> {
  using type = typename Owner::SettingCommands;
};

template <class Owner>
struct SettingKey {
  using Field = std::variant<int Owner::*, bool Owner::*, std::string Owner::*>;
  using Default = std::variant<int, bool, const char*>;
  using Commands = typename SettingCommandsOf<Owner>::type;

  const char* key;
  Field field;
  Default def;  // of the field's type
  // Integers read outside [min, max] are clamped into it; a value `valid`
  // refuses reads as the default.
  int min = std::numeric_limits<int>::min();
  int max = std::numeric_limits<int>::max();
  bool (*valid)(int) = nullptr;
  DialogControl control{};
  void (Commands::*command)(int) = nullptr;  // ApplyBy::Command
  void (Commands::*toggle)() = nullptr;      // ApplyBy::Toggle

  // The options dialog shows the setting with `c`.
  constexpr SettingKey Shown(DialogControl c) const {
    SettingKey k = *this;
    if (control.by == ApplyBy::Command || control.by == ApplyBy::Toggle) c.by = control.by;
    k.control = c;
    return k;
  }
  // The dialog applies the setting through the owner's command `f`.
  constexpr SettingKey AppliedBy(void (Commands::*f)(int)) const {
    SettingKey k = *this;
    k.command = f;
    k.control.by = ApplyBy::Command;
    return k;
  }
  // The dialog applies the flag through the owner's toggle `f`.
  constexpr SettingKey AppliedBy(void (Commands::*f)()) const {
    SettingKey k = *this;
    k.toggle = f;
    k.control.by = ApplyBy::Toggle;
    return k;
  }
};

template <class Owner>
constexpr SettingKey<Owner> IntegerKey(const char* key, int Owner::*field, int def,
                                       int min = std::numeric_limits<int>::min(),
                                       int max = std::numeric_limits<int>::max()) {
  return {key, field, def, min, max};
}

template <class Owner>
constexpr SettingKey<Owner> ChoiceKey(const char* key, int Owner::*field, int def, bool (*valid)(int)) {
  return {key, field, def, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), valid};
}

template <class Owner>
constexpr SettingKey<Owner> FlagKey(const char* key, bool Owner::*field, bool def) {
  return {key, field, def};
}

// Texts are UTF-8 (the settings file decides how it keeps them).
template <class Owner>
constexpr SettingKey<Owner> TextKey(const char* key, std::string Owner::*field, const char* def) {
  return {key, field, def};
}

template <class Owner>
class SettingsTable {
 public:
  template <size_t N>
  constexpr SettingsTable(const char* section, const SettingKey<Owner> (&keys)[N])
      : section_(section), keys_(keys) {}

  const char* Section() const { return section_; }
  std::span<const SettingKey<Owner>> Keys() const { return keys_; }

  const SettingKey<Owner>* Find(std::string_view key) const {
    for (const SettingKey<Owner>& k : keys_) {
      if (key == k.key) return &k;
    }
    return nullptr;
  }

  // A setting of `owner` by key; nothing for a key the table lacks.
  std::optional<SettingValue> Get(const Owner& owner, std::string_view key) const {
    const SettingKey<Owner>* k = Find(key);
    if (k == nullptr) return std::nullopt;
    if (const auto* f = std::get_if<int Owner::*>(&k->field)) return SettingValue(owner.*(*f));
    if (const auto* f = std::get_if<bool Owner::*>(&k->field)) return SettingValue((owner.*(*f)) ? 1 : 0);
    return SettingValue(owner.*std::get<std::string Owner::*>(k->field));
  }

  // Sets a setting of `owner` by key, clamped into the key's range; false
  // when the table has no such key, the key refuses the value or its kind
  // does not fit.
  bool Set(Owner& owner, std::string_view key, const SettingValue& value) const {
    const SettingKey<Owner>* k = Find(key);
    if (k == nullptr) return false;
    const int* number = std::get_if<int>(&value);
    const std::string* text = std::get_if<std::string>(&value);
    if (const auto* f = std::get_if<int Owner::*>(&k->field); f != nullptr && number != nullptr) {
      if (k->valid != nullptr && !k->valid(*number)) return false;
      owner.*(*f) = std::clamp(*number, k->min, k->max);
      return true;
    }
    if (const auto* f = std::get_if<bool Owner::*>(&k->field); f != nullptr && number != nullptr) {
      owner.*(*f) = *number != 0;
      return true;
    }
    if (const auto* f = std::get_if<std::string Owner::*>(&k->field); f != nullptr && text != nullptr) {
      owner.*(*f) = *text;
      return true;
    }
    return false;
  }

  // Fills every field with its default.
  void SetDefaults(Owner& owner) const {
    for (const SettingKey<Owner>& k : keys_) {
      if (const auto* f = std::get_if<int Owner::*>(&k.field)) owner.*(*f) = std::get<int>(k.def);
      if (const auto* f = std::get_if<bool Owner::*>(&k.field)) owner.*(*f) = std::get<bool>(k.def);
      if (const auto* f = std::get_if<std::string Owner::*>(&k.field))
        owner.*(*f) = std::get<const char*>(k.def);
    }
  }

  // Reads every key; a missing key takes its default.
  void Read(const TSetup& setup, Owner& owner) const {
    for (const SettingKey<Owner>& k : keys_) {
      if (const auto* f = std::get_if<int Owner::*>(&k.field)) {
        const int def = std::get<int>(k.def);
        const int value = setup.ReadInteger(section_, k.key, def);
        owner.*(*f) = k.valid && !k.valid(value) ? def : std::clamp(value, k.min, k.max);
      } else if (const auto* f = std::get_if<bool Owner::*>(&k.field)) {
        owner.*(*f) = setup.ReadFlag(section_, k.key, std::get<bool>(k.def));
      } else if (const auto* f = std::get_if<std::string Owner::*>(&k.field)) {
        owner.*(*f) = setup.ReadString(section_, k.key, std::get<const char*>(k.def));
      }
    }
  }

  void Write(TSetup& setup, const Owner& owner) const {
    for (const SettingKey<Owner>& k : keys_) {
      if (const auto* f = std::get_if<int Owner::*>(&k.field)) {
        setup.WriteInteger(section_, k.key, owner.*(*f));
      } else if (const auto* f = std::get_if<bool Owner::*>(&k.field)) {
        setup.WriteFlag(section_, k.key, owner.*(*f));
      } else if (const auto* f = std::get_if<std::string Owner::*>(&k.field)) {
        setup.WriteString(section_, k.key, owner.*(*f));
      }
    }
  }

 private:
  const char* section_;
  std::span<const SettingKey<Owner>> keys_;
};

}  // namespace orves
