// ASS and SSA scripts: sections in brackets; in [Events] the "Format:" line
// names the fields of each "Dialogue:" line (Text last, so commas inside the
// text stay text); "Comment:" lines are not shown; layers are ignored. From
// the styles ([V4+ Styles] or [V4 Styles], by their own "Format:" line) a
// caption takes italics and a top alignment; from [Script Info] the
// WrapStyle that makes \n a line break.
#include <charconv>
#include <map>

#include "player/captions/AssMarkup.h"
#include "player/captions/CaptionClock.h"
#include "player/captions/SamiMarkup.h"
#include "player/captions/TimedCaptionFile.h"
#include "player/core/Paths.h"

namespace orves {
namespace {

struct Field {
  size_t at = 0;  // in the line
  std::string_view text;
};

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// `line` after its "Key:" split into `count` fields at commas, the last
// taking the rest of the line; each field trimmed of blanks.
void SplitFields(std::string_view line, size_t from, size_t count, std::vector<Field>& fields) {
  fields.clear();
  size_t at = from;
  while (fields.size() + 1 < count) {
    const size_t comma = line.find(',', at);
    if (comma == std::string_view::npos) break;
    fields.push_back({at, line.substr(at, comma - at)});
    at = comma + 1;
  }
  fields.push_back({at, line.substr(at)});
  for (Field& field : fields) {
    const size_t lead = field.text.find_first_not_of(" \t");
    if (lead == std::string_view::npos) {
      field.text = {};
      continue;
    }
    field.at += lead;
    field.text = Trimmed(field.text);
  }
}

int IndexOf(const std::vector<std::string>& names, std::string_view name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::vector<std::string> FieldNames(std::string_view list) {
  std::vector<Field> fields;
  SplitFields(list, 0, SIZE_MAX, fields);
  std::vector<std::string> names;
  for (const Field& field : fields) names.push_back(LowerAscii(field.text));
  return names;
}

// Where an event line's fields stand, by the names of its Format line.
struct EventFields {
  explicit EventFields(std::vector<std::string> list)
      : names(std::move(list)),
        start(IndexOf(names, "start")),
        end(IndexOf(names, "end")),
        style(IndexOf(names, "style")),
        text(IndexOf(names, "text")) {}
  std::vector<std::string> names;
  int start, end, style, text;
};

long Number(std::string_view text) {
  long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

enum class Section { Other, ScriptInfo, Styles, LegacyStyles, Events };

class AssReader {
 public:
  explicit AssReader(std::string utf8)
      : file_(TTimedCaptionFile::Empty(TCaptionFormat::Ass, std::move(utf8))) {}

  TTimedCaptionFile Read() {
    const std::string_view text = file_.text;
    for (size_t at = 0; at < text.size();) {
      const TTextLine line = LineAt(text, at);
      at = line.next;
      const std::string_view content = text.substr(line.begin, line.end - line.begin);
      const size_t lead = content.find_first_not_of(" \t");
      if (lead == std::string_view::npos) continue;
      if (content[lead] == '[') {
        section_ = SectionOf(LowerAscii(Trimmed(content)));
        continue;
      }
      const size_t colon = content.find(':');
      if (colon == std::string_view::npos) continue;
      const std::string key = LowerAscii(Trimmed(content.substr(0, colon)));
      Entry(line, key, content, colon + 1);
    }
    return std::move(file_);
  }

 private:
  static Section SectionOf(const std::string& header) {
    if (header == "[script info]") return Section::ScriptInfo;
    if (header == "[v4+ styles]") return Section::Styles;
    if (header == "[v4 styles]" || header == "[v4 styles+]") return Section::LegacyStyles;
    if (header == "[events]") return Section::Events;
    return Section::Other;
  }

  void Entry(const TTextLine& line, const std::string& key, std::string_view content, size_t value) {
    switch (section_) {
      case Section::ScriptInfo:
        if (key == "wrapstyle") softBreaksBreak_ = Number(Trimmed(content.substr(value))) == 2;
        break;
      case Section::Styles:
      case Section::LegacyStyles:
        if (key == "format") styleFields_ = FieldNames(content.substr(value));
        if (key == "style") Style(content, value);
        break;
      case Section::Events:
        if (key == "format") eventFields_ = EventFields(FieldNames(content.substr(value)));
        if (key == "dialogue" || key == "comment") Event(line, content, value, key == "dialogue");
        break;
      case Section::Other:
        break;
    }
  }

  void Style(std::string_view content, size_t value) {
    std::vector<Field>& fields = fields_;
    SplitFields(content, value, styleFields_.size(), fields);
    const auto field = [&](std::string_view name) -> std::string_view {
      const int i = IndexOf(styleFields_, name);
      return i >= 0 && i < static_cast<int>(fields.size()) ? fields[i].text : std::string_view();
    };
    TAssStyle style;
    style.italic = Number(field("italic")) != 0;
    const int alignment = static_cast<int>(Number(field("alignment")));
    style.top =
        section_ == Section::Styles ? IsTopNumpadAlignment(alignment) : IsTopLegacyAlignment(alignment);
    styles_[LowerAscii(field("name"))] = style;
  }

  void Event(const TTextLine& line, std::string_view content, size_t value, bool shown) {
    const EventFields& names = eventFields_;
    std::vector<Field>& fields = fields_;
    SplitFields(content, value, names.names.size(), fields);
    if (names.start < 0 || names.end < 0 || names.text < 0 || fields.size() != names.names.size()) return;
    const Field& startText = fields[names.start];
    const Field& endText = fields[names.end];
    size_t startLength = 0, endLength = 0;
    const auto start = ReadClock(startText.text, startLength);
    const auto end = ReadClock(endText.text, endLength);
    if (!start || !end || startLength != startText.text.size() || endLength != endText.text.size()) return;
    TCueTiming timing;
    timing.blockBegin = line.begin;
    timing.blockEnd = line.next;
    timing.startAt = line.begin + startText.at;
    timing.startLength = startLength;
    timing.endAt = line.begin + endText.at;
    timing.endLength = endLength;
    timing.start = *start;
    timing.end = *end;
    file_.timings.push_back(timing);
    if (!shown) return;
    std::string_view styleName = names.style >= 0 ? fields[names.style].text : std::string_view();
    while (!styleName.empty() && styleName.front() == '*') styleName.remove_prefix(1);
    const auto style = styles_.find(LowerAscii(styleName));
    const TAssStyle look = style != styles_.end() ? style->second : TAssStyle{};
    file_.cues.push_back({*start, *end, ParseAssText(fields[names.text].text, look, softBreaksBreak_)});
  }

  TTimedCaptionFile file_;
  Section section_ = Section::Other;
  bool softBreaksBreak_ = false;
  // Without Format lines, the fields of a V4+ script.
  std::vector<std::string> styleFields_ = FieldNames(
      "Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, "
      "Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, "
      "MarginL, "
      "MarginR, MarginV, Encoding");
  EventFields eventFields_{
      FieldNames("Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text")};
  std::vector<Field> fields_;  // of the line being read
  std::map<std::string, TAssStyle> styles_;
};

}  // namespace

TTimedCaptionFile ReadAss(std::string utf8) { return AssReader(std::move(utf8)).Read(); }

}  // namespace orves
