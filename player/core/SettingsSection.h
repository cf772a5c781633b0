#pragma once
// A settings section with its owner, whatever the owner's type: what the
// options dialog reads and applies, by key, and the settings it shows with
// their controls. The shell keeps one of these per section the dialog shows
// and looks the section up by name.
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "player/core/SettingsTable.h"

namespace orves {

// A setting the options dialog shows, with its section, its default (flags
// as 0 or 1, texts as UTF-8) and its range.
struct DialogSetting {
  const char* section;
  const char* key;
  const DialogControl* control;
  SettingValue def;
  int min;
  int max;
};

// Every key of `table` that the dialog shows, appended to `out`.
template <class Owner>
void AppendDialogSettings(const SettingsTable<Owner>& table, std::vector<DialogSetting>& out) {
  for (const SettingKey<Owner>& k : table.Keys()) {
    if (!k.control.Shown()) continue;
    SettingValue def = 0;
    if (const int* number = std::get_if<int>(&k.def)) def = *number;
    if (const bool* flag = std::get_if<bool>(&k.def)) def = *flag ? 1 : 0;
    if (const char* const* text = std::get_if<const char*>(&k.def)) def = std::string(*text);
    out.push_back({table.Section(), k.key, &k.control, std::move(def), k.min, k.max});
  }
}

class ISettingsSection {
 public:
  virtual ~ISettingsSection() = default;
  virtual const char* Name() const = 0;
  virtual std::optional<SettingValue> Get(std::string_view key) const = 0;
  // Quietly, clamped into the key's range; false when refused.
  virtual bool Set(std::string_view key, const SettingValue& value) = 0;
  // The owner's command for the key, with its message.
  virtual void Command(std::string_view key, int value) = 0;
  // The owner's toggle for the flag, with its message; a toggle that left the
  // flag as it was is followed by turning it all the same.
  virtual void Toggle(std::string_view key) = 0;
};

template <class Owner>
class SettingsSection final : public ISettingsSection {
 public:
  using Commands = typename SettingKey<Owner>::Commands;

  SettingsSection(const SettingsTable<Owner>& table, Owner& owner, Commands& commands)
      : table_(table), owner_(owner), commands_(commands) {}

  const char* Name() const override { return table_.Section(); }
  std::optional<SettingValue> Get(std::string_view key) const override { return table_.Get(owner_, key); }
  bool Set(std::string_view key, const SettingValue& value) override {
    return table_.Set(owner_, key, value);
  }

  void Command(std::string_view key, int value) override {
    const SettingKey<Owner>* k = table_.Find(key);
    if (k != nullptr && k->command != nullptr) (commands_.*(k->command))(value);
  }

  void Toggle(std::string_view key) override {
    const SettingKey<Owner>* k = table_.Find(key);
    if (k == nullptr || k->toggle == nullptr) return;
    const std::optional<SettingValue> before = Get(key);
    (commands_.*(k->toggle))();
    const int* was = before ? std::get_if<int>(&*before) : nullptr;
    if (was != nullptr && Get(key) == before) Set(key, *was != 0 ? 0 : 1);
  }

 private:
  const SettingsTable<Owner>& table_;
  Owner& owner_;
  Commands& commands_;
};

// A section whose owner also carries its commands.
template <class Owner>
std::unique_ptr<ISettingsSection> MakeSettingsSection(const SettingsTable<Owner>& table, Owner& owner) {
  return std::make_unique<SettingsSection<Owner>>(table, owner, owner);
}

template <class Owner, class Commands>
std::unique_ptr<ISettingsSection> MakeSettingsSection(const SettingsTable<Owner>& table, Owner& owner,
                                                      Commands& commands) {
  return std::make_unique<SettingsSection<Owner>>(table, owner, commands);
}

}  // namespace orves
