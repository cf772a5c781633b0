#include "player/captions/CaptionLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "player/captions/SamiMarkup.h"
#include "player/core/UnicodeText.h"

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

// The look of a line from source line `source` of the entry.
void ApplyLook(CaptionLine& line, const TCaptionEntry& entry, const TCaptionSettings& settings, int source) {
  const bool styled = source >= 0 && source < kStyledLines;
  const bool own = settings.parseColorTag && styled && entry.hasColour[source];
  line.colour = own ? entry.colour[source] : static_cast<TColour>(settings.fontColor);
  line.bold = styled && entry.bold[source];
  line.italic = styled && entry.italic[source];
}

// Bytes of the character at `i`: a CP949 lead byte (from 0x81) starts two,
// UTF-8 by its sequence (a byte that starts none counts alone).
size_t CharLength(std::string_view text, size_t i, bool utf8) {
  if (utf8) return std::max<size_t>(Utf8SequenceLength(text, i), 1);
  return static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size() ? 2 : 1;
}

// Pieces of at most `capacity` bytes, each as long as it can be: broken at
// the last space that lets it fit, else before the character that does not.
std::vector<std::string_view> GreedyPieces(std::string_view line, size_t capacity, bool utf8) {
  std::vector<std::string_view> pieces;
  size_t start = line.find_first_not_of(' ');
  while (start != std::string_view::npos && start < line.size()) {
    size_t i = start;
    size_t lastSpace = std::string_view::npos;
    while (i < line.size()) {
      if (line[i] == ' ') lastSpace = i;
      const size_t length = CharLength(line, i, utf8);
      if (i + length - start > capacity) break;
      i += length;
    }
    size_t end = i;
    if (i < line.size() && line[i] != ' ') {
      if (lastSpace != std::string_view::npos && lastSpace > start) {
        end = lastSpace;
      } else if (i == start) {
        end = start + CharLength(line, start, utf8);
      }
    }
    const std::string_view piece = line.substr(start, end - start);
    pieces.push_back(piece.substr(0, piece.find_last_not_of(' ') + 1));
    start = line.find_first_not_of(' ', end);
  }
  return pieces;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// A design line slot: its text and the entry line it came from.
struct Slot {
  std::string text;
  int source = 0;
};

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

std::vector<std::string> WrapLine(std::string_view line, int capacity, bool utf8) {
  const size_t most = static_cast<size_t>(std::max(capacity, 1));
  std::vector<std::string_view> pieces = GreedyPieces(line, most, utf8);
  if (pieces.size() > 1) {
    // The smallest capacity that still needs no more pieces evens them out.
    size_t low = 1, high = most;
    while (low < high) {
      const size_t mid = low + (high - low) / 2;
      if (GreedyPieces(line, mid, utf8).size() <= pieces.size()) {
        high = mid;
      } else {
        low = mid + 1;
      }
    }
    pieces = GreedyPieces(line, high, utf8);
  }
  return std::vector<std::string>(pieces.begin(), pieces.end());
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
    if (!broken && settings.upHeightRate >= 100 && !entry.top) {
      bytes.insert(bytes.begin(), '\n');
      lowered = true;
    }
  }

  std::string_view rest = bytes;
  std::vector<Slot> slots(std::min(m.lines, kMaxCaptionLines));
  bool tooWide = false;
  for (int k = 0; k < static_cast<int>(slots.size()); ++k) {
    slots[k].text = std::string(Trimmed(TakeLine(rest)));
    slots[k].source = lowered ? k - 1 : broken ? 0 : k;
    tooWide = tooWide || static_cast<int64_t>(slots[k].text.size()) * m.glyphWidth > width;
  }

  // The lines as drawn and the slot of the first one (negative: above the block).
  std::vector<Slot> lines = slots;
  int first = 0;
  if (tooWide) {
    // Empty slots around the text only placed a single line; wrapped lines
    // take their place.
    while (!slots.empty() && slots.back().text.empty()) slots.pop_back();
    while (!slots.empty() && slots.front().text.empty()) slots.erase(slots.begin());
    for (int s = m.lines;; ++s) {
      const CaptionMetrics ms =
          s == m.lines ? m : CaptionMetricsFor(area.movieWidth, area.movieHeight, s, settings);
      const int capacity = ToInt(std::max<int64_t>(width / ms.glyphWidth, 1));
      lines.clear();
      for (const Slot& slot : slots) {
        if (slot.text.empty()) {
          lines.push_back(slot);
          continue;
        }
        for (std::string& piece : WrapLine(slot.text, capacity, !converted)) {
          lines.push_back({std::move(piece), slot.source});
        }
      }
      const int count = static_cast<int>(lines.size());
      first = entry.top ? 0 : ms.lines - count;
      const int64_t topOfFirst = ms.gap / 2 + FloorDiv(int64_t{ms.block} * first, ms.lines) + 1;
      const int64_t bottomOfLast =
          ms.gap / 2 + FloorDiv(int64_t{ms.block} * (first + count - 1), ms.lines) + 1 + ms.lineHeight;
      const bool fits =
          entry.top ? bottomOfLast <= area.blockTop + int64_t{ms.block} : area.blockTop + topOfFirst >= 0;
      if (fits || s >= kMaxCaptionLines) {
        plan.metrics = ms;
        if (count > kMaxCaptionLines) {
          lines.resize(kMaxCaptionLines);
          first = entry.top ? 0 : ms.lines - kMaxCaptionLines;
        }
        break;
      }
    }
  }

  const CaptionMetrics& shown = plan.metrics;
  const int64_t base = entry.top ? 0 : area.blockTop;
  plan.lines.resize(lines.size());
  for (size_t k = 0; k < lines.size(); ++k) {
    CaptionLine& line = plan.lines[k];
    const std::string_view text = lines[k].text;
    line.bytes = static_cast<int>(text.size());
    line.text = converted ? codec.Cp949ToUtf8(text) : std::string(text);
    line.glyphWidth = text.empty()
                          ? shown.glyphWidth
                          : std::max(ToInt(std::min<int64_t>(shown.glyphWidth, width / line.bytes)), 1);
    const int64_t slot = first + static_cast<int64_t>(k);
    line.y = ToInt(base + shown.gap / 2 + FloorDiv(int64_t{shown.block} * slot, shown.lines) + 1);
    ApplyLook(line, entry, settings, lines[k].source);
  }
  plan.beyondBlock = entry.top || first < 0;
  plan.outline = CaptionOutline(settings.outLineRate, shown.lineHeight);
  plan.shadow = CaptionShadow(settings.shadowRate, shown.lineHeight);
  return plan;
}

bool CaptionRedrawCache::Changed(const std::string& text, int width) {
  if (text_ && width_ && *width_ == width && *text_ == text) return false;
  text_ = text;
  width_ = width;
  return true;
}

}  // namespace orves
