#include "player/captions/CaptionLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "player/captions/SamiMarkup.h"

namespace orves {
namespace {

// Block height = (movie height + movie width) x size / 130 / 10.
constexpr int64_t kSizeBase = 130;

// Settings are written by the options dialog without range checks; the
// arithmetic runs in 64 bits and its results are held to the int range.
int ToInt(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }

std::string_view Trimmed(std::string_view line) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  return line;
}

// Cuts the first line off `rest` (up to its first line feed).
std::string_view TakeLine(std::string_view& rest) {
  const size_t feed = rest.find('\n');
  const std::string_view line = rest.substr(0, feed);
  rest = feed == std::string_view::npos ? std::string_view() : rest.substr(feed + 1);
  return line;
}

TColour SlotColour(const TCaptionEntry& entry, const TCaptionSettings& settings, int sourceLine) {
  const bool own = settings.parseColorTag && sourceLine >= 0 && sourceLine < 3 && entry.hasColour[sourceLine];
  return own ? entry.colour[sourceLine] : static_cast<TColour>(settings.fontColor);
}

}  // namespace

CaptionMetrics CaptionMetricsFor(int movieWidth, int movieHeight, int lines,
                                 const TCaptionSettings& settings) {
  CaptionMetrics m;
  m.lines = std::max(lines, 2);
  const int64_t slots = m.lines;
  const int64_t block = (int64_t{movieHeight} + movieWidth) * settings.heightRate / kSizeBase / 10;
  const int64_t gap = block * settings.lineHeightRate / (slots * 100);
  m.block = ToInt(block);
  m.gap = ToInt(gap);
  m.lineHeight = std::max(ToInt((block - gap * slots) / slots), 1);
  m.glyphWidth = std::max(ToInt(int64_t{m.lineHeight} * settings.fontWidthRate / 200), 1);
  return m;
}

int CaptionOutline(int outLineRate, int lineHeight) {
  return std::max(ToInt((int64_t{outLineRate} * lineHeight + 50) / 100), 1);
}

int CaptionShadow(int shadowRate, int lineHeight) {
  return std::max(ToInt((int64_t{shadowRate} * lineHeight + 50) / 100), 0);
}

void BreakLongLine(std::string& text) {
  const size_t space = text.find(' ', (text.size() + 1) / 2);
  if (space != std::string::npos) text[space] = '\n';
}

CaptionPlan PlanCaption(const TCaptionEntry& entry, const TCaptionSettings& settings, const CaptionArea& area,
                        ITextCodec& codec) {
  // A text with a character CP949 lacks is measured in its UTF-8 bytes.
  std::optional<std::string> cp949 = codec.Utf8ToCp949(entry.text);
  const bool converted = cp949.has_value();
  std::string bytes = converted ? std::move(*cp949) : entry.text;

  CaptionPlan plan;
  plan.metrics = CaptionMetricsFor(area.movieWidth, area.movieHeight, CountLines(bytes), settings);
  const CaptionMetrics& m = plan.metrics;
  const int64_t width = area.panelWidth;

  bool broken = false;
  bool lowered = false;
  if (bytes.find('\n') == std::string::npos) {
    if (static_cast<int64_t>(bytes.size()) * m.glyphWidth * 5 > width * 4) {
      BreakLongLine(bytes);
      broken = bytes.find('\n') != std::string::npos;
    }
    if (!broken && settings.upHeightRate >= 100) {
      bytes.insert(bytes.begin(), '\n');
      lowered = true;
    }
  }

  std::string_view rest = bytes;
  const int slots = std::min(m.lines, kMaxCaptionLines);
  plan.lines.resize(slots);
  for (int k = 0; k < slots; ++k) {
    CaptionLine& line = plan.lines[k];
    const std::string_view text = Trimmed(TakeLine(rest));
    line.bytes = static_cast<int>(text.size());
    line.text = converted ? codec.Cp949ToUtf8(text) : std::string(text);
    line.glyphWidth =
        text.empty() ? m.glyphWidth : std::max(ToInt(std::min<int64_t>(m.glyphWidth, width / line.bytes)), 1);
    line.y = ToInt(m.gap / 2 + int64_t{m.block} * k / m.lines + 1);
    const int source = lowered ? k - 1 : broken ? 0 : k;
    line.colour = SlotColour(entry, settings, source);
  }
  plan.outline = CaptionOutline(settings.outLineRate, m.lineHeight);
  plan.shadow = CaptionShadow(settings.shadowRate, m.lineHeight);
  return plan;
}

bool CaptionRedrawCache::Changed(const std::string& text, int width) {
  if (text_ && width_ && *width_ == width && *text_ == text) return false;
  text_ = text;
  width_ = width;
  return true;
}

}  // namespace orves
