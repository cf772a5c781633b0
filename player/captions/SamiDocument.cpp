#include "player/captions/SamiDocument.h"

#include <fstream>
#include <iterator>

#include "player/core/UnicodeText.h"

namespace orves {
namespace {

// "の" as the file spells it.
constexpr std::string_view kHiraganaNoCp949 = "\xAA\xCE";
constexpr std::string_view kHiraganaNoUtf8 = "\xE3\x81\xAE";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view UpToFirstZero(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

const char* LanguageName(TCaptionLanguage language) {
  return language == TCaptionLanguage::Korean ? "Korean" : "English";
}

const char* EncodingName(TSamiEncoding encoding) {
  switch (encoding) {
    case TSamiEncoding::Cp949:
      return "cp949";
    case TSamiEncoding::Utf8:
      return "utf-8";
    case TSamiEncoding::Utf16Le:
      return "utf-16le";
    case TSamiEncoding::Utf16Be:
      return "utf-16be";
  }
  return "cp949";
}

TCaptionLanguage ChooseLoadLanguage(int koreanCount, int englishCount) {
  if (koreanCount > 10) return TCaptionLanguage::Korean;
  if (englishCount > 10) return TCaptionLanguage::English;
  if (koreanCount == 0 && englishCount > 0) return TCaptionLanguage::English;
  return TCaptionLanguage::Korean;
}

TSamiDocument::TSamiDocument(ITextCodec& codec) : codec_(codec) {
  korean_.reserve(MaxEntries);
  english_.reserve(MaxEntries);
}

void TSamiDocument::Clear() {
  korean_.clear();
  english_.clear();
  droppedKorean_ = droppedEnglish_ = 0;
  fileName_.clear();
}

TSamiDocument::TLoadResult TSamiDocument::LoadCaptionFile(const std::filesystem::path& path) {
  Clear();
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  if (!in || std::filesystem::is_directory(path, ec)) return {};
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return {};
  const bool japanese = LoadBytes(bytes);
  fileName_ = path;
  return {true, japanese};
}

bool TSamiDocument::LoadBytes(std::string_view fileBytes) {
  Clear();
  DecodeFileText(fileBytes);
  const std::string_view text = fileText_;
  // A sync start at byte 0 is not a block start: the head of a SAMI file
  // comes first, and the search for blocks begins at byte 1.
  size_t at = FindNextSync(text, 1);
  while (at != std::string_view::npos) {
    const size_t next = FindNextSync(text, at + 1);
    AddSyncBlock(text.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
    at = next;
  }
  const std::string_view no = encoding_ == TSamiEncoding::Cp949 ? kHiraganaNoCp949 : kHiraganaNoUtf8;
  return text.find(no) != std::string_view::npos;
}

void TSamiDocument::DecodeFileText(std::string_view bytes) {
  if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF")) {
    const bool bigEndian = bytes[0] == '\xFE';
    encoding_ = bigEndian ? TSamiEncoding::Utf16Be : TSamiEncoding::Utf16Le;
    const std::string utf8 = Utf16ToUtf8(bytes.substr(2), bigEndian);
    fileText_ = std::string(UpToFirstZero(utf8));
    return;
  }
  const bool utf8Mark = StartsWith(bytes, "\xEF\xBB\xBF");
  if (utf8Mark) bytes.remove_prefix(3);
  bytes = UpToFirstZero(bytes);
  encoding_ =
      utf8Mark || (HasNonAscii(bytes) && IsValidUtf8(bytes)) ? TSamiEncoding::Utf8 : TSamiEncoding::Cp949;
  fileText_ = std::string(bytes);
}

void TSamiDocument::AddSyncBlock(std::string_view block) {
  const bool english = IsEnglishBlock(block);
  std::vector<TCaptionEntry>& table = english ? english_ : korean_;
  if (table.size() >= static_cast<size_t>(MaxEntries)) {
    ++(english ? droppedEnglish_ : droppedKorean_);
    return;
  }
  TCaptionEntry& entry = table.emplace_back();
  entry.start = ParseSyncStart(block);
  entry.text = DisplayText(CleanCaptionText(block));
  const TLineColours lines = ParseLineColours(block);
  entry.hasColour = lines.hasColour;
  entry.colour = lines.colour;
}

std::string TSamiDocument::DisplayText(std::string_view cleaned) {
  std::string utf8;
  if (encoding_ == TSamiEncoding::Cp949) {
    utf8 = HasNonAscii(cleaned) ? codec_.Cp949ToUtf8(cleaned) : std::string(cleaned);
  } else {
    // A byte-order mark vouches for UTF-8 but not for every byte after it.
    utf8 = IsValidUtf8(cleaned) ? std::string(cleaned) : SanitizeUtf8(cleaned);
  }
  return utf8.find("&#") == std::string::npos ? utf8 : DecodeNumericReferences(utf8);
}

}  // namespace orves
