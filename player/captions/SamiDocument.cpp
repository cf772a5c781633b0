#include "player/captions/SamiDocument.h"

#include <fstream>
#include <iterator>

#include "player/captions/AssMarkup.h"
#include "player/captions/TagMarkup.h"
#include "player/core/Paths.h"
#include "player/core/UnicodeText.h"

namespace orves {
namespace {

// "の" as the file spells it.
constexpr std::string_view kHiraganaNoCp949 = "\xAA\xCE";
constexpr std::string_view kHiraganaNoUtf8 = "\xE3\x81\xAE";

// Hangul syllables, jamo and compatibility jamo, by their UTF-8 lead bytes:
// U+1100-U+11FF (E1 84-87), U+3130-U+318F (E3 84 B0 - E3 86 8F) and
// U+AC00-U+D7A3 (EA B0 - ED 9E).
bool HoldsHangul(std::string_view utf8) {
  for (size_t i = 0; i + 2 < utf8.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(utf8[i]);
    const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
    const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
    if (b0 == 0xE1 && b1 >= 0x84 && b1 <= 0x87) return true;
    if (b0 == 0xE3 && ((b1 == 0x84 && b2 >= 0xB0) || b1 == 0x85 || (b1 == 0x86 && b2 <= 0x8F))) return true;
    if ((b0 == 0xEA && b1 >= 0xB0) || b0 == 0xEB || b0 == 0xEC || (b0 == 0xED && b1 <= 0x9E)) return true;
  }
  return false;
}

bool CuesHoldHangul(const std::vector<TCaptionCue>& cues) {
  for (const TCaptionCue& cue : cues) {
    if (HoldsHangul(cue.shown.text)) return true;
  }
  return false;
}

}  // namespace

const char* LanguageName(TCaptionLanguage language) {
  return language == TCaptionLanguage::Korean ? "Korean" : "English";
}

TCaptionLanguage ChooseLoadLanguage(int koreanCount, int englishCount) {
  if (koreanCount > 10) return TCaptionLanguage::Korean;
  if (englishCount > 10) return TCaptionLanguage::English;
  if (koreanCount == 0 && englishCount > 0) return TCaptionLanguage::English;
  return TCaptionLanguage::Korean;
}

TSamiDocument::TSamiDocument(ITextCodec& codec) : codec_(codec) {}

void TSamiDocument::Clear() {
  korean_.clear();
  english_.clear();
  droppedKorean_ = droppedEnglish_ = 0;
  sources_.clear();
}

std::filesystem::path TSamiDocument::FileName() const {
  return sources_.empty() ? std::filesystem::path() : sources_.front().fileName;
}

const std::string& TSamiDocument::FileText() const {
  static const std::string kNone;
  if (sources_.empty()) return kNone;
  const TCaptionSource& first = sources_.front();
  return first.format == TCaptionFormat::Sami ? first.samiText : first.timed.text;
}

TCaptionEncoding TSamiDocument::Encoding() const {
  return sources_.empty() ? TCaptionEncoding::Cp949 : sources_.front().encoding;
}

TCaptionFormat TSamiDocument::Format() const {
  return sources_.empty() ? TCaptionFormat::Sami : sources_.front().format;
}

const TCaptionSource* TSamiDocument::Source(TCaptionLanguage language) const {
  if (Table(language).empty()) return nullptr;
  for (const TCaptionSource& source : sources_) {
    if (source.Fills(language)) return &source;
  }
  return nullptr;
}

std::vector<TCaptionCue> TSamiDocument::Cues(TCaptionLanguage language, double lastSeconds) const {
  const TCaptionSource* source = Source(language);
  if (source && source->format != TCaptionFormat::Sami) return source->timed.cues;
  return CuesOfTable(Table(language), lastSeconds);
}

bool TSamiDocument::Taken(TCaptionLanguage language) const { return !Table(language).empty(); }

TSamiDocument::TLoadResult TSamiDocument::LoadCaptionFile(const std::filesystem::path& path) {
  return LoadCaptionFiles({path});
}

TSamiDocument::TLoadResult TSamiDocument::LoadCaptionFiles(const std::vector<std::filesystem::path>& paths) {
  Clear();
  TLoadResult result;
  for (const std::filesystem::path& path : paths) {
    const TLoadResult one = AddCaptionFile(path);
    result.loaded = result.loaded || one.loaded;
    result.japanese = result.japanese || one.japanese;
  }
  return result;
}

TSamiDocument::TLoadResult TSamiDocument::AddCaptionFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  if (!in || std::filesystem::is_directory(path, ec)) return {};
  std::string bytes;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) bytes.reserve(static_cast<size_t>(size));
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
  if (in.bad()) return {};
  const std::string extension = PathToUtf8(path.extension());
  const auto format = FormatOfExtension(extension.empty() ? extension : extension.substr(1));
  const bool japanese = AddBytes(std::move(bytes), format, LanguageOfSuffix(PathToUtf8(path.stem())), path);
  return {true, japanese};
}

bool TSamiDocument::LoadBytes(std::string_view fileBytes) {
  return LoadBytes(fileBytes, TCaptionFormat::Sami);
}

bool TSamiDocument::LoadBytes(std::string_view fileBytes, TCaptionFormat format,
                              std::optional<TCaptionLanguage> language) {
  Clear();
  return AddBytes(std::string(fileBytes), format, language, {});
}

bool TSamiDocument::AddBytes(std::string fileBytes, std::optional<TCaptionFormat> format,
                             std::optional<TCaptionLanguage> language,
                             const std::filesystem::path& fileName) {
  TDecodedCaptionFile file = DecodeCaptionFile(std::move(fileBytes));
  TCaptionSource source;
  source.fileName = fileName;
  source.encoding = file.encoding;
  source.byteOrderMark = file.byteOrderMark;
  source.format = format ? *format : SniffCaptionFormat(file.text);
  if (source.format == TCaptionFormat::Sami) return AddSami(std::move(source), std::move(file), language);
  std::string utf8 = CaptionTextAsUtf8(std::move(file), codec_);
  const bool japanese = utf8.find(kHiraganaNoUtf8) != std::string::npos;
  AddTimed(std::move(source), ReadTimedCaptionFile(source.format, std::move(utf8)), language);
  return japanese;
}

// A SAMI file named for one language puts a table it fills alone into that
// language's table; a file with both classes keeps them.
bool TSamiDocument::AddSami(TCaptionSource source, TDecodedCaptionFile file,
                            std::optional<TCaptionLanguage> language) {
  const std::string_view text = file.text;
  Table_ tables[2];
  int dropped[2] = {0, 0};
  // A sync start at byte 0 is not a block start: the head of a SAMI file
  // comes first, and the search for blocks begins at byte 1.
  size_t at = FindNextSync(text, 1);
  while (at != std::string_view::npos) {
    const size_t next = FindNextSync(text, at + 1);
    AddSyncBlock(text.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at),
                 file.encoding, tables[0], tables[1], dropped[0], dropped[1]);
    at = next;
  }
  const std::string_view no = file.encoding == TCaptionEncoding::Cp949 ? kHiraganaNoCp949 : kHiraganaNoUtf8;
  const bool japanese = text.find(no) != std::string_view::npos;

  const bool alone = tables[0].empty() || tables[1].empty();
  if (language && alone && !tables[0].empty() != (*language == TCaptionLanguage::Korean)) {
    std::swap(tables[0], tables[1]);
    std::swap(dropped[0], dropped[1]);
  }
  const TCaptionLanguage order[2] = {TCaptionLanguage::Korean, TCaptionLanguage::English};
  bool filled = false;
  for (int k = 0; k < 2; ++k) {
    if (tables[k].empty() || Taken(order[k])) continue;
    MutableTable(order[k]) = std::move(tables[k]);
    MutableDropped(order[k]) = dropped[k];
    source.fills[k] = filled = true;
  }
  // The first file is remembered even when it holds no caption.
  if (filled || sources_.empty()) {
    source.samiText = std::move(file.text);
    sources_.push_back(std::move(source));
  }
  return japanese;
}

bool TSamiDocument::AddTimed(TCaptionSource source, TTimedCaptionFile timed,
                             std::optional<TCaptionLanguage> language) {
  std::vector<TCaptionCue>& cues = timed.cues;
  const int dropped = std::max(static_cast<int>(cues.size()) - MaxEntries, 0);
  if (dropped > 0) cues.resize(MaxEntries);
  const TCaptionLanguage table = language               ? *language
                                 : CuesHoldHangul(cues) ? TCaptionLanguage::Korean
                                                        : TCaptionLanguage::English;
  if (Taken(table)) return false;
  Table_ entries = BuildCaptionTable(cues);
  // The first file is remembered even when it holds no caption.
  if (entries.empty() && !sources_.empty()) return false;
  source.fills[table == TCaptionLanguage::Korean ? 0 : 1] = !entries.empty();
  MutableTable(table) = std::move(entries);
  MutableDropped(table) = dropped;
  source.timed = std::move(timed);
  sources_.push_back(std::move(source));
  return true;
}

std::optional<TCaptionLanguage> TSamiDocument::AddTrack(TCaptionFormat markup,
                                                        const std::vector<TTrackCue>& cues,
                                                        std::optional<TCaptionLanguage> language,
                                                        std::string title) {
  const bool takenBefore[2] = {Taken(TCaptionLanguage::Korean), Taken(TCaptionLanguage::English)};
  TCaptionSource source;
  source.format = markup;
  source.encoding = TCaptionEncoding::Utf8;
  source.title = std::move(title);
  TTimedCaptionFile timed;
  timed.format = markup;
  for (const TTrackCue& cue : cues) {
    const std::string text = IsValidUtf8(cue.text) ? cue.text : SanitizeUtf8(cue.text);
    TCaptionEntry shown = markup == TCaptionFormat::Ass      ? ParseAssText(text, TAssStyle{}, false)
                          : markup == TCaptionFormat::WebVtt ? ParseTagMarkup(text, TTagDialect::WebVtt)
                                                             : ParseTagMarkup(text, TTagDialect::SubRip);
    timed.cues.push_back({cue.start, cue.end, std::move(shown)});
  }
  AddTimed(std::move(source), std::move(timed), language);
  if (!takenBefore[0] && Taken(TCaptionLanguage::Korean)) return TCaptionLanguage::Korean;
  if (!takenBefore[1] && Taken(TCaptionLanguage::English)) return TCaptionLanguage::English;
  return std::nullopt;
}

void TSamiDocument::AddSyncBlock(std::string_view block, TCaptionEncoding encoding, Table_& korean,
                                 Table_& english, int& droppedKorean, int& droppedEnglish) {
  const bool isEnglish = IsEnglishBlock(block);
  Table_& table = isEnglish ? english : korean;
  if (table.size() >= static_cast<size_t>(MaxEntries)) {
    ++(isEnglish ? droppedEnglish : droppedKorean);
    return;
  }
  if (table.empty()) table.reserve(MaxEntries);
  TCaptionEntry& entry = table.emplace_back();
  entry.start = ParseSyncStart(block);
  entry.text = DisplayText(CleanCaptionText(block), encoding);
  const TLineColours lines = ParseLineColours(block);
  entry.hasColour = lines.hasColour;
  entry.colour = lines.colour;
}

std::string TSamiDocument::DisplayText(std::string_view cleaned, TCaptionEncoding encoding) {
  std::string utf8;
  if (encoding == TCaptionEncoding::Cp949) {
    utf8 = HasNonAscii(cleaned) ? codec_.Cp949ToUtf8(cleaned) : std::string(cleaned);
  } else {
    // A byte-order mark vouches for UTF-8 but not for every byte after it.
    utf8 = IsValidUtf8(cleaned) ? std::string(cleaned) : SanitizeUtf8(cleaned);
  }
  return utf8.find("&#") == std::string::npos ? utf8 : DecodeNumericReferences(utf8);
}

}  // namespace orves
