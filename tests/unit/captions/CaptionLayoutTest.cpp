#include "player/captions/CaptionLayout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orves {
namespace {

constexpr TColour kRed = 0x0000FF;
constexpr TColour kGrey = 0xE0E0E0;

// 640 x 480 movie, caption panel as wide as the movie, default settings.
struct CaptionLayoutTest : ::testing::Test {
  CaptionPlan Plan(const std::string& text, int position = 120) {
    TCaptionEntry entry;
    entry.text = text;
    entry.hasColour[0] = true;
    entry.colour[0] = kRed;
    settings.upHeightRate = position;
    return PlanCaption(entry, settings, CaptionArea{640, 480, 640}, *codec);
  }
  std::unique_ptr<ITextCodec> codec = MakeSystemTextCodec();
  TCaptionSettings settings;
};

TEST_F(CaptionLayoutTest, MetricsClampTheLineHeightBeforeTheGlyphWidth) {
  struct Case {
    int lines, lineHeightRate, fontWidthRate;
    int block, gap, lineHeight, glyphWidth;
  };
  const Case cases[] = {
      {2, 20, 90, 86, 8, 35, 15},
      {1, 20, 90, 86, 8, 35, 15},   // one line still takes two slots
      {2, 300, 90, 86, 129, 1, 1},  // gaps wider than the block: LH 1, GW not below 1
      {2, 20, -50, 86, 8, 35, 1},
  };
  for (const Case& c : cases) {
    settings.lineHeightRate = c.lineHeightRate;
    settings.fontWidthRate = c.fontWidthRate;
    const CaptionMetrics m = CaptionMetricsFor(640, 480, c.lines, settings);
    EXPECT_EQ(m.lines, 2);
    EXPECT_EQ(m.block, c.block) << c.lineHeightRate;
    EXPECT_EQ(m.gap, c.gap) << c.lineHeightRate;
    EXPECT_EQ(m.lineHeight, c.lineHeight) << c.lineHeightRate;
    EXPECT_EQ(m.glyphWidth, c.glyphWidth) << c.lineHeightRate;
  }
}

TEST_F(CaptionLayoutTest, OutlineIsAtLeastOnePixelAndShadowMayBeNone) {
  EXPECT_EQ(CaptionOutline(0, 35), 1);
  EXPECT_EQ(CaptionOutline(4, 35), 1);
  EXPECT_EQ(CaptionOutline(10, 35), 4);
  EXPECT_EQ(CaptionShadow(0, 35), 0);
  EXPECT_EQ(CaptionShadow(2, 35), 1);
}

TEST_F(CaptionLayoutTest, LinesTakeTheirSlotsByBreakAndPosition) {
  const std::string first(25, 'a'), second(29, 'b');
  // 60 bytes with spaces at bytes 26 and 31 (1-based): broken at byte 31.
  const std::string longLine = first + " " + std::string(4, 'c') + " " + second;
  struct Case {
    std::string text;
    int position;
    std::string slot0, slot1;
  };
  const Case cases[] = {
      {"one\ntwo", 120, "one", "two"},
      {"  short  ", 120, "", "short"},  // position 100 and above: the lower slot
      {"short", 100, "", "short"},
      {"short", 25, "short", ""},
      {longLine, 25, first + " cccc", second},
      {std::string(60, 'x'), 25, std::string(30, 'x'), std::string(30, 'x')},  // no space: between letters
  };
  for (const Case& c : cases) {
    const CaptionPlan plan = Plan(c.text, c.position);
    ASSERT_EQ(plan.lines.size(), 2u) << c.text;
    EXPECT_EQ(plan.lines[0].text, c.slot0) << c.text;
    EXPECT_EQ(plan.lines[1].text, c.slot1) << c.text;
    EXPECT_EQ(plan.lines[0].y, 5);
    EXPECT_EQ(plan.lines[1].y, 48);
  }
  // The 60-byte run is wrapped rather than narrowed to 640 / 60.
  EXPECT_EQ(Plan(std::string(60, 'x'), 25).lines[0].glyphWidth, 15);
  EXPECT_EQ(Plan("short", 25).lines[0].glyphWidth, 15);
}

// 11 syllables and 2 spaces: 24 bytes of CP949 (24 x 15 x 5 <= 640 x 4, one
// line) but 35 bytes of UTF-8, which would have broken it.
TEST_F(CaptionLayoutTest, KoreanLinesAreMeasuredInCp949Bytes) {
  const std::string korean = "가나다라 마바사아 자차카";
  const CaptionPlan plan = Plan(korean, 25);
  EXPECT_EQ(plan.lines[0].text, korean);
  EXPECT_EQ(plan.lines[0].bytes, 24);
  EXPECT_EQ(plan.lines[1].text, "");
}

TEST_F(CaptionLayoutTest, MovedLinesKeepTheirSourceColour) {
  const std::string longLine = std::string(30, 'a') + " " + std::string(29, 'b');
  EXPECT_EQ(Plan("short", 120).lines[1].colour, kRed);
  EXPECT_EQ(Plan(longLine, 25).lines[1].colour, kRed);
  EXPECT_EQ(Plan("one\ntwo", 25).lines[1].colour, kGrey);
  settings.parseColorTag = false;
  EXPECT_EQ(Plan("one\ntwo", 25).lines[0].colour, kGrey);
}

TEST(WrapLine, BreaksAtSpacesElseBetweenCharactersIntoEvenPieces) {
  struct Case {
    std::string line;
    int capacity;
    bool utf8;
    std::vector<std::string> pieces;
  };
  const std::string ga = "\xB0\xA1";  // 가 in CP949
  const Case cases[] = {
      {"short", 10, false, {"short"}},
      {"aa bb cc dd ee", 11, false, {"aa bb cc", "dd ee"}},  // evened out, not "aa bb cc dd / ee"
      {"aaaa bbbb cccc", 8, false, {"aaaa", "bbbb", "cccc"}},
      {"  spaced   out  ", 6, false, {"spaced", "out"}},
      {"abcdefghij", 4, false, {"abcd", "efgh", "ij"}},                         // a run without spaces
      {ga + ga + ga + ga + ga, 4, false, {ga + ga, ga + ga, ga}},               // never inside a character
      {ga + ga + ga, 1, false, {ga, ga, ga}},                                   // one character at least
      {"\xEA\xB0\x80\xEA\xB0\x80", 3, true, {"\xEA\xB0\x80", "\xEA\xB0\x80"}},  // UTF-8
  };
  for (const Case& c : cases) EXPECT_EQ(WrapLine(c.line, c.capacity, c.utf8), c.pieces) << c.line;
}

// 640 x 480, default settings: a line slot is 43 pixels and the glyph width
// 15, so a line of more than 42 bytes is wider than the panel.
TEST_F(CaptionLayoutTest, LongLinesWrapAtTheSameSizeGrowingAwayFromTheLowestLine) {
  std::string words;  // 120 characters
  while (words.size() < 120) words += words.empty() ? "word" : " word";
  words.resize(120);
  struct Case {
    std::string text;
    int blockTop;
    bool top;
    size_t lines;
    int glyphWidth;  // font kept at 15 while the lines fit
    int lowestY;     // the lowest line stays in the design's lower slot
  };
  const std::string korean = "가나다라마바사아자차카타파하가나다라마바사아자차";  // 24 syllables, 48 bytes
  const Case cases[] = {
      {words, 400, false, 4, 15, 48},   // room above: grows upward
      {korean, 400, false, 2, 15, 48},  // a run of syllables breaks between two of them
      {words, 0, false, 2, 10, 60},     // no room: smaller slots until it fits
  };
  for (const Case& c : cases) {
    TCaptionEntry entry;
    entry.text = c.text;
    entry.top = c.top;
    const CaptionPlan plan = PlanCaption(entry, settings, CaptionArea{640, 480, 640, c.blockTop}, *codec);
    ASSERT_EQ(plan.lines.size(), c.lines) << c.text;
    for (const CaptionLine& line : plan.lines) {
      EXPECT_LE(line.bytes * line.glyphWidth, 640) << line.text;
      EXPECT_EQ(line.glyphWidth, c.glyphWidth) << line.text;
      EXPECT_GE(line.y, 0);
    }
    EXPECT_EQ(plan.lines.back().y, c.blockTop + c.lowestY);
  }
}

TEST_F(CaptionLayoutTest, ATopPlacedCaptionStartsAtThePanelTop) {
  TCaptionEntry entry;
  entry.text = "up";
  entry.top = true;
  const CaptionPlan plan = PlanCaption(entry, settings, CaptionArea{640, 480, 640, 300}, *codec);
  EXPECT_EQ(plan.lines[0].text, "up");  // the upper slot, whatever the position
  EXPECT_EQ(plan.lines[0].y, 5);
  EXPECT_TRUE(plan.beyondBlock);
}

TEST(CaptionRedrawCache, RedrawsOnlyWhenTextWidthOrLookChanged) {
  CaptionRedrawCache cache;
  EXPECT_TRUE(cache.Changed("a", 640));
  EXPECT_FALSE(cache.Changed("a", 640));
  EXPECT_TRUE(cache.Changed("a", 600));  // resized
  cache.Hidden();                        // an empty entry in between
  EXPECT_TRUE(cache.Changed("a", 600));
  cache.Forget();  // outline, shadow, bold or smoothing changed
  EXPECT_TRUE(cache.Changed("a", 600));
  EXPECT_FALSE(cache.Changed("a", 600));
}

}  // namespace
}  // namespace orves
