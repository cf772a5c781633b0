#include "codecs/common/TrackName.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>

#include "codecs/common/CodecTable.h"

namespace orves::codecs {

namespace {

struct Language {
  std::string_view codes;  // space-separated: 639-2/B, 639-2/T, 639-1
  std::string_view name;
};

constexpr std::array<Language, 40> kLanguages{{
    {"kor ko", "한국어"},
    {"eng en", "영어"},
    {"jpn ja", "일본어"},
    {"chi zho zh", "중국어"},
    {"yue", "광둥어"},
    {"fre fra fr", "프랑스어"},
    {"ger deu de", "독일어"},
    {"spa es", "스페인어"},
    {"ita it", "이탈리아어"},
    {"por pt", "포르투갈어"},
    {"rus ru", "러시아어"},
    {"ara ar", "아랍어"},
    {"hin hi", "힌디어"},
    {"tha th", "태국어"},
    {"vie vi", "베트남어"},
    {"ind id", "인도네시아어"},
    {"may msa ms", "말레이어"},
    {"fil tgl tl", "필리핀어"},
    {"dut nld nl", "네덜란드어"},
    {"swe sv", "스웨덴어"},
    {"nor no nob nb nno nn", "노르웨이어"},
    {"dan da", "덴마크어"},
    {"fin fi", "핀란드어"},
    {"ice isl is", "아이슬란드어"},
    {"pol pl", "폴란드어"},
    {"cze ces cs", "체코어"},
    {"slo slk sk", "슬로바키아어"},
    {"hun hu", "헝가리어"},
    {"rum ron ro", "루마니아어"},
    {"bul bg", "불가리아어"},
    {"gre ell el", "그리스어"},
    {"tur tr", "터키어"},
    {"heb he", "히브리어"},
    {"per fas fa", "페르시아어"},
    {"ukr uk", "우크라이나어"},
    {"hrv hr", "크로아티아어"},
    {"srp sr", "세르비아어"},
    {"cat ca", "카탈루냐어"},
    {"mon mn", "몽골어"},
    {"lat la", "라틴어"},
}};

constexpr std::string_view kSeparator = " — ";

bool ListsCode(std::string_view codes, std::string_view code) {
  while (!codes.empty()) {
    const std::size_t space = codes.find(' ');
    if (codes.substr(0, space) == code) return true;
    if (space == std::string_view::npos) break;
    codes.remove_prefix(space + 1);
  }
  return false;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string CodecSummary(const StreamInfo& stream) {
  const CodecEntry* entry = FindCodec(stream.format.codecId);
  std::string summary(entry != nullptr ? entry->name : "?");
  const StreamFormat& format = stream.format;
  if (format.kind == StreamKind::Audio && format.channels > 0) {
    summary += ' ';
    summary += ChannelsName(format.channels, format.channelMask);
  } else if (format.kind == StreamKind::Video && format.width > 0 && format.height > 0) {
    summary += ' ' + std::to_string(format.width) + 'x' + std::to_string(format.height);
  }
  return summary;
}

void Append(std::string& name, std::string_view part) {
  if (part.empty()) return;
  if (!name.empty()) name += kSeparator;
  name += part;
}

}  // namespace

std::string LanguageName(std::string_view code) {
  const std::string lower = Lower(code);
  if (lower.empty() || lower == "und" || lower == "zxx") return {};
  for (const Language& language : kLanguages) {
    if (ListsCode(language.codes, lower)) return std::string(language.name);
  }
  return std::string(code);
}

std::string ChannelsName(int channels, std::uint64_t channelMask) {
  constexpr std::uint64_t kLowFrequency = 0x8;  // SPEAKER_LOW_FREQUENCY
  constexpr std::uint64_t kLowFrequency2 = 0x800000000ull;
  int lfe = 0;
  if (channelMask != 0 && std::popcount(channelMask) == channels) {
    lfe = ((channelMask & kLowFrequency) != 0) + ((channelMask & kLowFrequency2) != 0);
  } else if (channels >= 6) {
    lfe = 1;
  }
  return std::to_string(channels - lfe) + '.' + std::to_string(lfe);
}

std::string TrackName(const StreamInfo& stream) {
  std::string name;
  const std::string language = LanguageName(stream.language);
  Append(name, language);
  if (stream.title != language && Lower(stream.title) != Lower(stream.language)) Append(name, stream.title);
  Append(name, CodecSummary(stream));
  return name;
}

}  // namespace orves::codecs
