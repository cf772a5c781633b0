#pragma once
// One table per settings section: each key with the field it fills, its
// type (by the field), its default and its range. The same table reads the
// section when its owner is made, writes it back, key by key in the table's
// order, when the owner goes, and gives the options dialog its values.
#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <variant>

#include "player/core/Setup.h"
#include "player/core/TextCodec.h"
#include "player/core/UnicodeText.h"

namespace orves {

// How a text setting is kept: as the file's bytes, or as UTF-8 in the
// program and CP949 in the file (the byte format the settings file has
// always had for texts).
enum class TextForm { Bytes, Cp949 };

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
  TextForm form = TextForm::Bytes;
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

template <class Owner>
constexpr SettingKey<Owner> TextKey(const char* key, std::string Owner::*field, const char* def,
                                    TextForm form = TextForm::Bytes) {
  SettingKey<Owner> k{key, field, def};
  k.form = form;
  return k;
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
  void SetDefaults(Owner& owner, ITextCodec* codec = nullptr) const {
    for (const SettingKey<Owner>& k : keys_) {
      if (const auto* f = std::get_if<int Owner::*>(&k.field)) owner.*(*f) = std::get<int>(k.def);
      if (const auto* f = std::get_if<bool Owner::*>(&k.field)) owner.*(*f) = std::get<bool>(k.def);
      if (const auto* f = std::get_if<std::string Owner::*>(&k.field))
        owner.*(*f) = std::get<const char*>(k.def);
    }
  }

  // Reads every key; a missing key takes its default. `codec` is needed by
  // CP949 texts only.
  void Read(const TSetup& setup, Owner& owner, ITextCodec* codec = nullptr) const {
    for (const SettingKey<Owner>& k : keys_) {
      if (const auto* f = std::get_if<int Owner::*>(&k.field)) {
        const int def = std::get<int>(k.def);
        const int value = setup.ReadInteger(section_, k.key, def);
        owner.*(*f) = k.valid && !k.valid(value) ? def : std::clamp(value, k.min, k.max);
      } else if (const auto* f = std::get_if<bool Owner::*>(&k.field)) {
        owner.*(*f) = setup.ReadFlag(section_, k.key, std::get<bool>(k.def));
      } else if (const auto* f = std::get_if<std::string Owner::*>(&k.field)) {
        const std::string def = std::get<const char*>(k.def);
        if (k.form == TextForm::Cp949) {
          assert(codec != nullptr);
          owner.*(*f) = FromFileText(setup.ReadString(section_, k.key, ToFileText(def, *codec)), *codec);
        } else {
          owner.*(*f) = setup.ReadString(section_, k.key, def);
        }
      }
    }
  }

  void Write(TSetup& setup, const Owner& owner, ITextCodec* codec = nullptr) const {
    for (const SettingKey<Owner>& k : keys_) {
      if (const auto* f = std::get_if<int Owner::*>(&k.field)) {
        setup.WriteInteger(section_, k.key, owner.*(*f));
      } else if (const auto* f = std::get_if<bool Owner::*>(&k.field)) {
        setup.WriteFlag(section_, k.key, owner.*(*f));
      } else if (const auto* f = std::get_if<std::string Owner::*>(&k.field)) {
        if (k.form == TextForm::Cp949) {
          assert(codec != nullptr);
          setup.WriteString(section_, k.key, ToFileText(owner.*(*f), *codec));
        } else {
          setup.WriteString(section_, k.key, owner.*(*f));
        }
      }
    }
  }

 private:
  // A text of the settings file: CP949 as the file was always written, or
  // UTF-8 where it already is (CP949 Hangul is never valid UTF-8).
  static std::string FromFileText(const std::string& bytes, ITextCodec& codec) {
    return IsValidUtf8(bytes) ? bytes : codec.Cp949ToUtf8(bytes);
  }
  // CP949 when it holds the text; UTF-8 rather than losing characters.
  static std::string ToFileText(const std::string& utf8, ITextCodec& codec) {
    return codec.Utf8ToCp949(utf8).value_or(utf8);
  }

  const char* section_;
  std::span<const SettingKey<Owner>> keys_;
};

}  // namespace orves
