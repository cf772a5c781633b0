#include "player/captions/SamiMarkup.h"

#include <gtest/gtest.h>

#include <string>

namespace orves {
namespace {

TEST(SamiMarkup, StartTimeJoinsEveryDigitBeforeTheFirstTagEnd) {
  EXPECT_DOUBLE_EQ(ParseSyncStart("<SYNC Start=1000><P>"), 1.0);
  EXPECT_DOUBLE_EQ(ParseSyncStart("<Sync start=\"2500\"><p>"), 2.5);
  EXPECT_DOUBLE_EQ(ParseSyncStart("<SYNC Start=1000 End=2000><P>x"), 10002.0);
  EXPECT_DOUBLE_EQ(ParseSyncStart("<SyNc StArT=-750>"), 0.75);  // the minus sign is dropped
  EXPECT_DOUBLE_EQ(ParseSyncStart("<SYNC><P>start=5>"), 0.0);   // "start=" after the first '>'
  EXPECT_DOUBLE_EQ(ParseSyncStart("<SYNC 1234>"), 1.234);       // no "start=": the digits after "<SYNC"
  EXPECT_DOUBLE_EQ(ParseSyncStart("<SYNC Start=12"), 0.0);      // no '>' at all
}

TEST(SamiMarkup, StartTimeOfEndlessDigitsIsBounded) {
  const std::string block = "<SYNC Start=" + std::string(5000, '9') + ">";
  EXPECT_DOUBLE_EQ(ParseSyncStart(block), kMaxStartMilliseconds * 0.001);
}

TEST(SamiMarkup, SyncStartsAreFoundInAnyCase) {
  const std::string text = "x<SYNC a<sync b<SyNc";
  EXPECT_EQ(FindNextSync(text, 0), 1u);
  EXPECT_EQ(FindNextSync(text, 2), 8u);
  EXPECT_EQ(FindNextSync(text, 9), 15u);
  EXPECT_EQ(FindNextSync(text, 16), std::string::npos);
  EXPECT_EQ(FindNextSync("<syn", 0), std::string::npos);
}

TEST(SamiMarkup, EnglishClassMarkersAreCaseSensitive) {
  EXPECT_TRUE(IsEnglishBlock("<P Class=ENCC>"));
  EXPECT_TRUE(IsEnglishBlock("<P Class=EGCC>"));
  EXPECT_TRUE(IsEnglishBlock("<P Class=KRCC>the EGCC in text"));
  EXPECT_FALSE(IsEnglishBlock("<P Class=egcc>"));
  EXPECT_FALSE(IsEnglishBlock("<P Class=ENUSCC>"));
}

TEST(SamiMarkup, CleaningTurnsMarkupIntoLines) {
  EXPECT_EQ(CleanCaptionText("<SYNC Start=1000><P Class=KRCC>Hello<br>World"), "Hello\nWorld");
  EXPECT_EQ(CleanCaptionText("<SYNC><P>one<BR>two<Br>three\r\n"), "one\ntwo\nthree");
  // File line breaks are spaces, runs of spaces collapse.
  EXPECT_EQ(CleanCaptionText("<P>a\r\nb\nc    d"), "a b c d");
  // <br/> and <br /> are tags, not line breaks.
  EXPECT_EQ(CleanCaptionText("<P>a<br/>b<br />c"), "abc");
}

TEST(SamiMarkup, CleaningDecodesOnlyTheKnownEntities) {
  EXPECT_EQ(CleanCaptionText("<P>&nbsp;"), "");
  EXPECT_EQ(CleanCaptionText("<P>a&NBSP;b&Nbspc"), "a b c");
  // Spaces made from &nbsp; are not collapsed again.
  EXPECT_EQ(CleanCaptionText("<P>a&nbsp;&nbsp;b"), "a  b");
  EXPECT_EQ(CleanCaptionText("<P>&quot;hi&quot; &QUOT;x&QUOT; &amp;"), "\"hi\" &QUOT;x&QUOT; &amp;");
}

TEST(SamiMarkup, TagRemovalStopsAtAStrayClosingBracket) {
  EXPECT_EQ(CleanCaptionText("<P><i>a</i> > <b>b</b>"), "a > <b>b</b>");
  EXPECT_EQ(CleanCaptionText("<P>a < b"), "a < b");  // unterminated tag stays
  EXPECT_EQ(CleanCaptionText("<P>x<unterminated"), "x<unterminated");
  EXPECT_EQ(CleanCaptionText("\t \x01 <P> text \x1f"), "text");
}

TEST(SamiMarkup, ColourAttributeForms) {
  EXPECT_EQ(ParseColourAttribute("<font color=#FF0000>"), 255u);
  EXPECT_EQ(ParseColourAttribute("<font color=\"red\">"), 255u);
  EXPECT_EQ(ParseColourAttribute("<FONT COLOR=\"#00ff00\">"), 0x00FF00u);
  EXPECT_EQ(ParseColourAttribute("<font color=0000FF>"), 0xFF0000u);
  EXPECT_EQ(ParseColourAttribute("<font color=##Ff##8000>"), 0x0080FFu);  // '#' anywhere is skipped
  EXPECT_EQ(ParseColourAttribute("<font color=RED>"), 255u);
  EXPECT_EQ(ParseColourAttribute("<font color=honeydewtab>"), 0x2BDE00u);
  EXPECT_FALSE(ParseColourAttribute("<font color='red'>"));
  EXPECT_FALSE(ParseColourAttribute("<font color=#fff>"));
  EXPECT_FALSE(ParseColourAttribute("<font color=>"));
  EXPECT_FALSE(ParseColourAttribute("<font color="));
  EXPECT_FALSE(ParseColourAttribute("<font face=red>"));
  EXPECT_FALSE(ParseColourAttribute("<font color=grey>"));  // one of the greys left out
  EXPECT_FALSE(ParseColourAttribute("<font color=GG0000>"));
}

TEST(SamiMarkup, ColourNamesUseTheirStandardValues) {
  TColour c = 0;
  ASSERT_TRUE(LookupColourName("gray", c));
  EXPECT_EQ(c, 0x808080u);
  ASSERT_TRUE(LookupColourName("LightGrey", c));
  EXPECT_EQ(c, 0xD3D3D3u);
  ASSERT_TRUE(LookupColourName("lightgoldenrodyellow", c));
  EXPECT_EQ(c, HexToColour("FAFAD2"));
  ASSERT_TRUE(LookupColourName("navy", c));
  EXPECT_EQ(c, 0x800000u);
  for (const char* missing : {"darkgrey", "darkslategrey", "dimgrey", "grey", "lightgray", "lightslategrey",
                              "slategrey", "", "redd"}) {
    EXPECT_FALSE(LookupColourName(missing, c)) << missing;
  }
}

TEST(SamiMarkup, LineColoursCarryAnOpenFontAcrossBreaks) {
  TLineColours both = ParseLineColours("<P><font color=red>one<br>two</font>");
  EXPECT_TRUE(both.hasColour[0] && both.hasColour[1]);
  EXPECT_EQ(both.colour[1], 255u);
  EXPECT_FALSE(both.hasColour[2]);

  TLineColours first = ParseLineColours("<P><font color=red>one</font><br>two");
  EXPECT_TRUE(first.hasColour[0]);
  EXPECT_FALSE(first.hasColour[1]);

  TLineColours third = ParseLineColours("<P>one<br>two<br><font color=red>three</font>");
  EXPECT_FALSE(third.hasColour[0] || third.hasColour[1]);
  EXPECT_TRUE(third.hasColour[2]);

  TLineColours own = ParseLineColours("<font color=red>a<BR><font color=blue>b</font><br>c</font>");
  EXPECT_EQ(own.colour[0], 255u);
  EXPECT_EQ(own.colour[1], 0xFF0000u);
  EXPECT_EQ(own.colour[2], 0xFF0000u);  // carried from line 1
}

TEST(SamiMarkup, CountLinesCountsLineFeeds) {
  EXPECT_EQ(CountLines(""), 1);
  EXPECT_EQ(CountLines("a\nb\n"), 3);
}

TEST(SamiMarkup, HugeLinesCleanInLinearTime) {
  // 20 MB of spaces, breaks and tags: the repeated replacements must not
  // rescan from the start each time.
  std::string block = "<SYNC Start=1><P>";
  for (int i = 0; i < 1000000; ++i) block += "a  <br>&nbsp;<i>";
  const std::string text = CleanCaptionText(block);
  EXPECT_EQ(CountLines(text), 1000000);
  EXPECT_EQ(CleanCaptionText(std::string(20'000'000, ' ')), "");
}

}  // namespace
}  // namespace orves
