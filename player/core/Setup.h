#pragma once
// TSetup: the settings file "OrvesMP20.ini" beside the program and the four
// accessors every long-lived object reads and writes its section through.
// Values go to and come from the file at once (no cache). Whether the file may
// be written is decided once, at construction: a file that exists and is
// read-only freezes every setting for the whole run.
#include <cstdint>
#include <filesystem>
#include <string>

#include "player/core/ProfileFile.h"

namespace orves {

template <class Owner>
class SettingsTable;

class TSetup {
 public:
  // `settingsFile` is program folder + "\\OrvesMP20.ini" (see SettingsFileName).
  explicit TSetup(std::filesystem::path settingsFile);
  ~TSetup();  // writes Config/ShowTab
  TSetup(const TSetup&) = delete;
  TSetup& operator=(const TSetup&) = delete;

  static constexpr const char* SettingsFileName = "OrvesMP20.ini";

  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);

  // Flags are integers: any value other than 0 is on; written as 1 or 0.
  bool ReadFlag(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
  }
  void WriteFlag(const std::string& section, const std::string& key, bool on) {
    WriteInteger(section, key, on ? 1 : 0);
  }

  bool Writable() const { return file_.Writable(); }
  const std::filesystem::path& Path() const { return file_.Path(); }

  // Section Config: ShowTab, shown and changed by the options dialog.
  static const SettingsTable<TSetup>& SettingsKeys();
  bool showTab{};

 private:
  ProfileFile file_;
};

}  // namespace orves
