#pragma once
// A profile (INI) file with the semantics of the Windows profile functions:
// sections and keys matched without regard to case, the first of duplicate
// sections or keys wins, a value is read trimmed and with one pair of
// enclosing quotes removed, a missing file, section or key gives the default.
// Every write goes to the file at once (no cache); lines the writer does not
// touch keep their bytes.
//
// Texts are UTF-8. The file keeps them in the system's ANSI code page (the
// byte format profile files have always had) while every line has a form
// there, and is written as UTF-16LE with a byte-order mark, which the
// system's profile functions read as well, once one does not: a name in any
// script is never narrowed to '?'. Files with a byte-order mark (UTF-16LE,
// UTF-16BE, UTF-8) are read as Unicode, any other as ANSI.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orves {

class ProfileFile {
 public:
  // The writable decision is taken here, once: a file that exists and is
  // read-only (no write permission bit) is never written during this object's life.
  explicit ProfileFile(std::filesystem::path path);

  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
  // The section names in file order, each name once (its first spelling);
  // none for a missing file.
  std::vector<std::string> SectionNames() const;
  // Skipped silently while not writable; a file that cannot be written loses the write.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  bool Writable() const { return writable_; }
  const std::filesystem::path& Path() const { return path_; }

  static bool IsReadOnly(const std::filesystem::path& path);

 private:
  std::filesystem::path path_;
  bool writable_;
};

// Decimal integer with an optional sign and surrounding blanks; nothing else.
// Values outside the 32-bit range are rejected, not wrapped.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

}  // namespace orves
