// The readers of SubRip, WebVTT and ASS/SSA: each case is a few lines of a
// file and the table it must give (see CaptionTableText.h).
#include <gtest/gtest.h>

#include <string>

#include "player/captions/SamiDocument.h"
#include "tests/unit/captions/CaptionTableText.h"

namespace orves {
namespace {

struct ReaderCase {
  const char* name;
  std::string file;
  std::string table;
};

class TimedReadersTest : public ::testing::Test {
 protected:
  // The table the file fills, whichever it is.
  std::string Read(const std::string& file, TCaptionFormat format) {
    document.LoadBytes(file, format);
    const bool korean = document.Count(TCaptionLanguage::Korean) > 0;
    return test::DescribeTable(document.Table(korean ? TCaptionLanguage::Korean : TCaptionLanguage::English));
  }
  void Expect(const std::vector<ReaderCase>& cases, TCaptionFormat format) {
    for (const ReaderCase& c : cases) EXPECT_EQ(Read(c.file, format), c.table) << c.name;
  }

  std::unique_ptr<ITextCodec> codec = MakeSystemTextCodec();
  TSamiDocument document{*codec};
};

TEST_F(TimedReadersTest, SubRip) {
  Expect(
      {
          {"numbered, CR LF", "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\nthere\r\n\r\n",
           "1: Hello / there | 2.5: "},
          {"unnumbered, point, LF, hours beyond 99", "100:00:00.5 --> 100:00:01.000\nx\n",
           "360000.5: x | 360001: "},
          {"CR alone", "1\r00:00:01,000 --> 00:00:02,000\rone\r\r2\r00:00:03,000 --> 00:00:04,000\rtwo\r",
           "1: one | 2:  | 3: two | 4: "},
          {"blank lines inside a cue",
           "1\n00:00:01,000 --> 00:00:02,000\na\n\nb\n\n2\n00:00:03,000 --> 00:00:04,000\nc",
           "1: a / b | 2:  | 3: c | 4: "},
          {"tags kept as looks, others removed",
           "1\n00:00:01,000 --> 00:00:02,000\n<b>bold</b>\n<i>it</i> <u>u</u>\n<font "
           "color=\"#00FF00\">g</font><x>y</x>",
           "1: *bold / _it u / #00FF00 gy | 2: "},
          {"a line takes the look of most of its letters",
           "1\n00:00:01,000 --> 00:00:02,000\none <i>word</i> stressed\n<font color=red>J:</font> hello",
           "1: one word stressed / J: hello | 2: "},
          {"overlapping cues shown together",
           "1\n00:00:01,000 --> 00:00:03,000\na\n\n2\n00:00:02,000 --> 00:00:04,000\nb",
           "1: a | 2: a / b | 3: b | 4: "},
          {"broken time line skipped",
           "1\n00:00:0x,000 --> 00:00:02,000\nlost\n\n2\n00:00:03,000 --> 00:00:04,000\nkept",
           "3: kept | 4: "},
          {"end before start lasts until the next cue",
           "1\n00:00:05,000 --> 00:00:01,000\nlate\n\n2\n00:00:08,000 --> 00:00:09,000\nnext",
           "5: late | 8: next | 9: "},
          {"top placement", "1\n00:00:01,000 --> 00:00:02,000\n{\\an8}up {\\b1}here", "1: ^up here | 2: "},
          {"cues out of order", "2\n00:00:03,000 --> 00:00:04,000\nb\n\n1\n00:00:01,000 --> 00:00:02,000\na",
           "1: a | 2:  | 3: b | 4: "},
      },
      TCaptionFormat::SubRip);
}

TEST_F(TimedReadersTest, WebVtt) {
  Expect(
      {
          {"header, NOTE and STYLE skipped, identifier",
           "WEBVTT - title\nKind: captions\n\nNOTE 00:00:09.000 --> 00:00:10.000 is no cue\n\nSTYLE\n::cue { "
           "color: red }\n\n"
           "id-1\n00:01.000 --> 00:02.000\nHello\n",
           "1: Hello | 2: "},
          {"colour classes, voices and references",
           "WEBVTT\n\n00:00:01.000 --> 00:00:02.000\n<v Bob>Hello "
           "<c.yellow.bg_blue>all</c></v>\n<c.yellow>&lt;b&gt; &amp;</c>",
           "1: Hello all / #FFFF00 <b> & | 2: "},
          {"line settings at the top and at the bottom",
           "WEBVTT\n\n00:01.000 --> 00:02.000 line:0\na\n\n00:03.000 --> 00:04.000 line:10%\nb\n\n"
           "00:05.000 --> 00:06.000 line:-1\nc\n\n00:07.000 --> 00:08.000 line:85%\nd\n",
           "1: ^a | 2:  | 3: ^b | 4:  | 5: c | 6:  | 7: d | 8: "},
          {"a blank line ends the payload", "WEBVTT\n\n00:01.000 --> 00:02.000\na\n\nstray text\n",
           "1: a | 2: "},
      },
      TCaptionFormat::WebVtt);
}

TEST_F(TimedReadersTest, Ass) {
  const std::string styles =
      "[V4+ Styles]\nFormat: Name, Italic, Alignment\nStyle: Default,0,2\nStyle: Song,-1,2\nStyle: "
      "Sign,0,8\n\n";
  Expect(
      {
          {"fields by the Format line, commas in the text, comments skipped",
           "[Events]\nFormat: Layer, Style, Start, End, Text\n"
           "Dialogue: 0,Default,0:00:01.00,0:00:02.50,Hello, world\n"
           "Comment: 0,Default,0:00:01.50,0:00:02.00,not shown\n",
           "1: Hello, world | 2.5: "},
          {"line breaks and hard spaces",
           "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,one\\Ntwo\\nthree\\hfour",
           "1: one / two three four | 2: "},
          {"WrapStyle 2 makes \\n a break",
           "[Script Info]\nWrapStyle: 2\n[Events]\nDialogue: "
           "0,0:00:01.00,0:00:02.00,Default,,0,0,0,,one\\ntwo",
           "1: one / two | 2: "},
          {"override tags as looks, others removed, drawings left out",
           "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,"
           "{\\b1\\fnArial\\fs20}bold{\\b0}\\N{\\i1}it{\\i0}\\N{\\1c&H00FF00&\\bord2}green{\\p1}m 0 0 l 1 "
           "1{\\p0}",
           "1: *bold / _it / #00FF00 green | 2: "},
          {"\\c colour is blue first",
           "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,,,0,0,0,,{\\c&HFF0000&}blue",
           "1: #0000FF blue | 2: "},
          {"top by \\an8 and by the older \\a6",
           "[Events]\nDialogue: 0,0:00:01.00,0:00:02.00,,,0,0,0,,{\\an8}a\nDialogue: "
           "0,0:00:03.00,0:00:04.00,,,0,0,0,,{\\a6}b",
           "1: ^a | 2:  | 3: ^b | 4: "},
          {"style looks and layers ignored",
           styles + "[Events]\nFormat: Layer, Start, End, Style, Text\nDialogue: "
                    "5,0:00:01.00,0:00:02.00,Song,la la\n"
                    "Dialogue: 0,0:00:03.00,0:00:04.00,*Sign,sign\nDialogue: "
                    "0,0:00:05.00,0:00:06.00,Default,{\\r}x",
           "1: _la la | 2:  | 3: ^sign | 4:  | 5: x | 6: "},
          {"SSA: V4 styles and Marked",
           "[V4 Styles]\nFormat: Name, Alignment\nStyle: Top,6\n[Events]\n"
           "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
           "Dialogue: Marked=0,0:00:01.00,0:00:02.00,Top,,0,0,0,,up",
           "1: ^up | 2: "},
          {"broken times skipped",
           "[Events]\nDialogue: 0,0:00:0x.00,0:00:02.00,,,0,0,0,,lost\nDialogue: 0,0:00:03.00", ""},
      },
      TCaptionFormat::Ass);
}

// A movie's text tracks go through the same markup readers and tables.
TEST_F(TimedReadersTest, TextTracksFillTheTablesLikeFiles) {
  document.Clear();
  document.AddTrack(TCaptionFormat::Ass, {{1000, 2000, "{\\an8}{\\i1}위{\\i0}\\N아래"}}, std::nullopt,
                    "Korean");
  document.AddTrack(TCaptionFormat::SubRip, {{1000, 2000, "<b>english</b>"}}, TCaptionLanguage::English, "");
  document.AddTrack(TCaptionFormat::SubRip, {{1000, 2000, "late"}}, TCaptionLanguage::English, "");
  EXPECT_EQ(test::DescribeTable(document.Table(TCaptionLanguage::Korean)), "1: ^_위 / 아래 | 2: ");
  EXPECT_EQ(test::DescribeTable(document.Table(TCaptionLanguage::English)), "1: *english | 2: ");
}

// The same rule as SAMI files: a byte-order mark, else valid UTF-8, else CP949.
TEST_F(TimedReadersTest, EncodingsAsForSami) {
  const std::string cue = "1\r\n00:00:01,000 --> 00:00:02,000\r\n";
  const auto cp949 = *codec->Utf8ToCp949("가나다");
  EXPECT_EQ(Read(cue + cp949, TCaptionFormat::SubRip), "1: 가나다 | 2: ");
  EXPECT_EQ(document.Encoding(), TCaptionEncoding::Cp949);
  EXPECT_EQ(Read("\xEF\xBB\xBF" + cue + "가나다", TCaptionFormat::SubRip), "1: 가나다 | 2: ");
  EXPECT_EQ(document.Encoding(), TCaptionEncoding::Utf8);
  std::string utf16 = "\xFF\xFE";
  for (const char c : "WEBVTT\n\n00:01.000 --> 00:02.000\nab") {
    if (c) utf16 += std::string{c, '\0'};
  }
  EXPECT_EQ(Read(utf16, TCaptionFormat::WebVtt), "1: ab | 2: ");
  EXPECT_EQ(document.Encoding(), TCaptionEncoding::Utf16Le);
}

}  // namespace
}  // namespace orves
