#pragma once
// TSamiDocument: the caption file as two tables of entries (Korean and
// English), filled by reading a SAMI file byte by byte. The document is
// reloaded in place; language choice, the Japanese notice and the redraw
// after a load belong to TCaptionView.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "player/captions/SamiMarkup.h"
#include "player/core/TextCodec.h"

namespace orves {

struct TCaptionEntry {
  std::array<bool, 3> hasColour{};  // lines 0, 1, 2 carry a colour of their own
  std::array<TColour, 3> colour{};  // 0x00BBGGRR
  double start = 0;                 // seconds: file milliseconds x 0.001
  std::string text;                 // UTF-8, lines separated by one line feed
};

enum class TCaptionLanguage { Korean, English };
const char* LanguageName(TCaptionLanguage language);  // "Korean" / "English"

enum class TSamiEncoding { Cp949, Utf8, Utf16Le, Utf16Be };
const char* EncodingName(TSamiEncoding encoding);  // "cp949", "utf-8", "utf-16le", "utf-16be"

// The language shown after a load: Korean with more than 10 Korean entries,
// English with more than 10 English ones, and English too when there is no
// Korean entry but some English ones (a short English-only file would
// otherwise open on an empty table and never show a caption).
TCaptionLanguage ChooseLoadLanguage(int koreanCount, int englishCount);

class TSamiDocument {
 public:
  // Each table holds at most this many entries; further entries of that
  // language are dropped (and counted, see Dropped).
  static constexpr int MaxEntries = 10000;

  explicit TSamiDocument(ITextCodec& codec);

  struct TLoadResult {
    bool loaded = false;    // the file existed and was read
    bool japanese = false;  // it contains the hiragana "の"
  };

  // Empties both tables, then reads `path` when it can be read. A missing or
  // unreadable file leaves the tables empty and no file name.
  TLoadResult LoadCaptionFile(const std::filesystem::path& path);
  // Parses the whole content of a caption file (any of the four encodings).
  // Returns whether it contains "の".
  bool LoadBytes(std::string_view fileBytes);
  // Empties both tables and forgets the file name.
  void Clear();

  int Count(TCaptionLanguage language) const { return static_cast<int>(Table(language).size()); }
  const std::vector<TCaptionEntry>& Table(TCaptionLanguage language) const {
    return language == TCaptionLanguage::Korean ? korean_ : english_;
  }
  const TCaptionEntry& Entry(TCaptionLanguage language, int i) const { return Table(language)[i]; }
  int Dropped(TCaptionLanguage language) const {
    return language == TCaptionLanguage::Korean ? droppedKorean_ : droppedEnglish_;
  }
  const std::filesystem::path& FileName() const { return fileName_; }
  // The text the blocks were cut from: the file's bytes after any byte-order
  // mark, up to the first zero, UTF-16 converted to UTF-8.
  const std::string& FileText() const { return fileText_; }
  TSamiEncoding Encoding() const { return encoding_; }

 private:
  void DecodeFileText(std::string_view fileBytes);
  void AddSyncBlock(std::string_view block);
  std::string DisplayText(std::string_view cleaned);

  ITextCodec& codec_;
  std::filesystem::path fileName_;
  std::string fileText_;
  TSamiEncoding encoding_ = TSamiEncoding::Cp949;
  std::vector<TCaptionEntry> korean_;
  std::vector<TCaptionEntry> english_;
  int droppedKorean_ = 0;
  int droppedEnglish_ = 0;
};

}  // namespace orves
