#pragma once
// TSamiDocument: the captions as two tables of entries (Korean and English),
// filled from one caption file, or from two (a Korean and an English one), of
// any format the player reads. A SAMI file is read byte by byte and its
// blocks sorted into the tables by class. A file of another format fills one
// table: the one a language suffix of its name names ("movie.en.srt"), else
// the Korean one when its texts hold Hangul, else the English one. A table
// an earlier file filled keeps its entries. The document is reloaded in
// place; language choice, the Japanese notice and the redraw after a load
// belong to TCaptionView.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "player/captions/CaptionCue.h"
#include "player/captions/CaptionEncoding.h"
#include "player/captions/CaptionEntry.h"
#include "player/captions/CaptionFormat.h"
#include "player/captions/SamiMarkup.h"
#include "player/captions/TimedCaptionFile.h"
#include "player/core/CaptionNames.h"
#include "player/core/TextCodec.h"

namespace orves {

const char* LanguageName(TCaptionLanguage language);  // "Korean" / "English"

// The language shown after a load: Korean with more than 10 Korean entries,
// English with more than 10 English ones, and English too when there is no
// Korean entry but some English ones (a short English-only file would
// otherwise open on an empty table and never show a caption).
TCaptionLanguage ChooseLoadLanguage(int koreanCount, int englishCount);

// One file (or text track) the document was filled from.
struct TCaptionSource {
  std::filesystem::path fileName;  // empty for bytes and cues handed over directly
  TCaptionFormat format = TCaptionFormat::Sami;
  TCaptionEncoding encoding = TCaptionEncoding::Cp949;
  bool byteOrderMark = false;
  // The tables it fills: Korean, English (a SAMI file may fill both).
  std::array<bool, 2> fills{};
  bool Fills(TCaptionLanguage language) const { return fills[language == TCaptionLanguage::Korean ? 0 : 1]; }
  // A SAMI file's text as its blocks were cut from it.
  std::string samiText;
  // Formats with end times: the file as read (for saving it shifted) and its cues.
  TTimedCaptionFile timed;
  std::string title;  // of a movie's text track
};

class TSamiDocument {
 public:
  // Each table holds at most this many SAMI blocks or cues; further ones of
  // that language are dropped (and counted, see Dropped).
  static constexpr int MaxEntries = 10000;

  explicit TSamiDocument(ITextCodec& codec);

  struct TLoadResult {
    bool loaded = false;    // a file existed and was read
    bool japanese = false;  // it contains the hiragana "の"
  };

  // Empties both tables, then reads `path` when it can be read. A missing or
  // unreadable file leaves the tables empty and no file name.
  TLoadResult LoadCaptionFile(const std::filesystem::path& path);
  // Empties both tables, then adds each file in turn (AddCaptionFile).
  TLoadResult LoadCaptionFiles(const std::vector<std::filesystem::path>& paths);
  // Reads `path` (its format by its extension, by its content when that names
  // none) into the tables it belongs in that are still empty.
  TLoadResult AddCaptionFile(const std::filesystem::path& path);
  // Empties both tables and parses the whole content of a SAMI file (any of
  // the four encodings). Returns whether it contains "の".
  bool LoadBytes(std::string_view fileBytes);
  // The same for a file of any format; `language` stands for a suffix of the
  // file's name.
  bool LoadBytes(std::string_view fileBytes, TCaptionFormat format,
                 std::optional<TCaptionLanguage> language = std::nullopt);
  // A cue of a movie's text track as the movie holds it: times and UTF-8
  // text with the markup of its format in place (SubRip and WebVTT tags, the
  // ASS event's Text field with its override tags).
  struct TTrackCue {
    int64_t start = 0;  // milliseconds
    int64_t end = 0;
    std::string text;
  };
  // Adds a movie's text track to a table that is still empty: the one of
  // `language`, else by the Hangul rule. Read as the file readers read cues.
  // The table it filled, if any.
  std::optional<TCaptionLanguage> AddTrack(TCaptionFormat markup, const std::vector<TTrackCue>& cues,
                                           std::optional<TCaptionLanguage> language, std::string title);
  // Empties both tables and forgets the files.
  void Clear();

  int Count(TCaptionLanguage language) const { return static_cast<int>(Table(language).size()); }
  const std::vector<TCaptionEntry>& Table(TCaptionLanguage language) const {
    return language == TCaptionLanguage::Korean ? korean_ : english_;
  }
  const TCaptionEntry& Entry(TCaptionLanguage language, int i) const { return Table(language)[i]; }
  int Dropped(TCaptionLanguage language) const {
    return language == TCaptionLanguage::Korean ? droppedKorean_ : droppedEnglish_;
  }
  // The first file read: the file name, its text (a SAMI file's as the
  // blocks were cut from it: the bytes after any byte-order mark up to the
  // first zero, UTF-16 converted to UTF-8), encoding and format.
  std::filesystem::path FileName() const;
  const std::string& FileText() const;
  TCaptionEncoding Encoding() const;
  TCaptionFormat Format() const;
  // The file a table came from, or none for an empty table.
  const TCaptionSource* Source(TCaptionLanguage language) const;
  const std::vector<TCaptionSource>& Sources() const { return sources_; }
  // The cues a table shows: those of its source as read, or, from a SAMI
  // file, one per entry lasting until the next (the last for `lastSeconds`).
  std::vector<TCaptionCue> Cues(TCaptionLanguage language, double lastSeconds) const;

 private:
  using Table_ = std::vector<TCaptionEntry>;
  bool AddBytes(std::string fileBytes, std::optional<TCaptionFormat> format,
                std::optional<TCaptionLanguage> language, const std::filesystem::path& fileName);
  bool AddSami(TCaptionSource source, TDecodedCaptionFile file, std::optional<TCaptionLanguage> language);
  bool AddTimed(TCaptionSource source, TTimedCaptionFile timed, std::optional<TCaptionLanguage> language);
  void AddSyncBlock(std::string_view block, TCaptionEncoding encoding, Table_& korean, Table_& english,
                    int& droppedKorean, int& droppedEnglish);
  std::string DisplayText(std::string_view cleaned, TCaptionEncoding encoding);
  Table_& MutableTable(TCaptionLanguage language) {
    return language == TCaptionLanguage::Korean ? korean_ : english_;
  }
  int& MutableDropped(TCaptionLanguage language) {
    return language == TCaptionLanguage::Korean ? droppedKorean_ : droppedEnglish_;
  }
  bool Taken(TCaptionLanguage language) const;

  ITextCodec& codec_;
  std::vector<TCaptionSource> sources_;
  Table_ korean_;
  Table_ english_;
  int droppedKorean_ = 0;
  int droppedEnglish_ = 0;
};

}  // namespace orves
