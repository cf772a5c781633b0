#pragma once
// One table per settings section: each key with the field it fills, its
// type (by the field), its default and its range. The same table reads the
// section when its owner is made, writes it back, key by key in the table's
// order, when the owner goes, and gives the options dialog its values.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <variant>

#include "player/core/Setup.h"

namespace orves {

template <class Owner>
struct SettingKey {
  using Field = std::variant<int Owner::*, bool Owner::*, std::string Owner::*>;
  using Default = std::variant<int, bool, const char*>;

  const char* key;
  Field field;
  Default def;  // of the field's type
  // Integers read outside [min, max] are clamped into it; a value `valid`
  // refuses reads as the default.
  int min = std::numeric_limits<int>::min();
  int max = std::numeric_limits<int>::max();
  bool (*valid)(int) = nullptr;
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
