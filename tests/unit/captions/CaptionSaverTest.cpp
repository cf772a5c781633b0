// Saving with the sync offset: read -> shift -> save -> read again, in the
// format read and converted.
#include "player/captions/CaptionSaver.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/captions/CaptionTableText.h"
#include "tests/unit/captions/CaptionTestSupport.h"

namespace orves {
namespace {

using test::CaptionData;
using test::ReadBytes;

class CaptionSaverTest : public ::testing::Test {
 protected:
  // Loads `name`, saves it shifted by `offset` as `saved` and reads that back.
  TSamiDocument& RoundTrip(const std::string& name, double offset, const std::string& saved) {
    EXPECT_TRUE(document.LoadCaptionFile(CaptionData(name)).loaded);
    language = ChooseLoadLanguage(document.Count(TCaptionLanguage::Korean),
                                  document.Count(TCaptionLanguage::English));
    const TSaveResult result = SaveShiftedCaptions(document, language, offset, *codec, folder / saved);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(reread.LoadCaptionFile(folder / saved).loaded);
    return reread;
  }
  // The table a file of one language filled (by its text, once shifted).
  static std::string Shown(const TSamiDocument& d) {
    const bool korean = d.Count(TCaptionLanguage::Korean) > 0;
    return test::DescribeTable(d.Table(korean ? TCaptionLanguage::Korean : TCaptionLanguage::English));
  }

  std::unique_ptr<ITextCodec> codec = MakeSystemTextCodec();
  TSamiDocument document{*codec};
  TSamiDocument reread{*codec};
  TCaptionLanguage language = TCaptionLanguage::Korean;
  test::TempFolder folder;
};

TEST_F(CaptionSaverTest, EachFormatSavedAsReadShiftsOnlyItsTimes) {
  for (const char* name : {"sample.srt", "sample.vtt", "sample.ass"}) {
    SCOPED_TRACE(name);
    const std::string saved = std::string("shifted") + std::filesystem::path(name).extension().string();
    RoundTrip(name, 1.5, saved);
    ASSERT_EQ(reread.Format(), document.Format());
    const auto& before = document.Sources().front().timed.cues;
    const auto& after = reread.Sources().front().timed.cues;
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(after[i].start, before[i].start + 1500);
      EXPECT_EQ(after[i].end, before[i].end + 1500);
      EXPECT_EQ(after[i].shown.text, before[i].shown.text);
    }
  }
  // Exact milliseconds, and everything but the times as it was: numbers,
  // settings, the broken cue, the ASS header, styles and comment fields.
  const std::string srt = ReadBytes(folder / "shifted.srt");
  EXPECT_NE(srt.find("2\r\n00:00:05,507 --> 00:00:07,500\r\n"), std::string::npos) << srt;
  EXPECT_NE(srt.find("00:00:09,500 --> 00:00:11,500 X1:100"), std::string::npos);
  EXPECT_NE(srt.find("00:00:1x,000 --> 00:00:12,000\r\nbroken time line"), std::string::npos);
  const std::string ass = ReadBytes(folder / "shifted.ass");
  const std::string original = ReadBytes(CaptionData("sample.ass"));
  EXPECT_EQ(ass.substr(0, ass.find("[Events]")), original.substr(0, original.find("[Events]")));
  EXPECT_NE(ass.find("Comment: 0,0:00:03.50,0:00:04.50,Default,,0,0,0,,not shown"), std::string::npos);
}

TEST_F(CaptionSaverTest, CuesShiftedBeforeTheStartAreLeftOutOrStartAtZero) {
  RoundTrip("sample.srt", -4.0, "early.srt");
  // 1-3.5 s is gone, 4.007-6 s starts at 0.007, the open cue at 100 h stays.
  EXPECT_EQ(Shown(reread).find("0.007: First line / after a blank line | 2: "), 0u) << Shown(reread);
  const std::string srt = ReadBytes(folder / "early.srt");
  EXPECT_EQ(srt.find("안녕하세요"), std::string::npos);
  EXPECT_NE(srt.find("99:59:56,000 --> 98:59:56,000"), std::string::npos);
  RoundTrip("sample.srt", -7.5, "straddling.srt");
  EXPECT_EQ(Shown(reread).find("0: ^unnumbered, at the top | 0.5: "), 0u) << Shown(reread);
}

TEST_F(CaptionSaverTest, AFileKeepsItsEncoding) {
  const std::string cp949 = *codec->Utf8ToCp949("1\r\n00:00:01,000 --> 00:00:02,000\r\n가나다\r\n");
  test::WriteBytes(folder / "in.srt", cp949);
  ASSERT_TRUE(document.LoadCaptionFile(folder / "in.srt").loaded);
  ASSERT_TRUE(SaveShiftedCaptions(document, TCaptionLanguage::Korean, 1, *codec, folder / "out.srt").ok);
  EXPECT_EQ(ReadBytes(folder / "out.srt"),
            *codec->Utf8ToCp949("1\r\n00:00:02,000 --> 00:00:03,000\r\n가나다\r\n"));
}

TEST_F(CaptionSaverTest, ConvertedTablesReadBackTheSame) {
  // A two-language SAMI file into one clean file per table, and a SubRip
  // file into WebVTT and SAMI: same entries, looks and all.
  ASSERT_TRUE(document.LoadCaptionFile(CaptionData("sample-cp949.smi")).loaded);
  for (const auto table : {TCaptionLanguage::Korean, TCaptionLanguage::English}) {
    TCaptionWrite write{TCaptionFormat::SubRip, table, false, 0, false};
    test::WriteBytes(folder / "table.srt", BuildCaptionFile(document, write, *codec));
    ASSERT_TRUE(reread.LoadCaptionFile(folder / "table.srt").loaded);
    const auto other =
        table == TCaptionLanguage::Korean ? TCaptionLanguage::English : TCaptionLanguage::Korean;
    EXPECT_EQ(reread.Count(other), 0);
    EXPECT_EQ(test::DescribeTable(reread.Table(table)), test::DescribeTable(document.Table(table)));
  }
  ASSERT_TRUE(document.LoadCaptionFile(CaptionData("sample.srt")).loaded);
  const auto& table = document.Table(TCaptionLanguage::Korean);
  for (const auto format : {TCaptionFormat::SubRip, TCaptionFormat::WebVtt}) {
    TCaptionWrite write{format, TCaptionLanguage::Korean, false, 0, false};
    reread.LoadBytes(BuildCaptionFile(document, write, *codec), format, TCaptionLanguage::Korean);
    const auto& again = reread.Table(TCaptionLanguage::Korean);
    if (format == TCaptionFormat::SubRip) {
      EXPECT_EQ(test::DescribeTable(again), test::DescribeTable(table));
      continue;
    }
    // WebVTT knows only the colours of its palette.
    ASSERT_EQ(again.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
      EXPECT_EQ(again[i].text, table[i].text);
      EXPECT_EQ(again[i].start, table[i].start);
      EXPECT_EQ(again[i].italic, table[i].italic);
      EXPECT_EQ(again[i].top, table[i].top);
    }
  }
  TCaptionWrite sami{TCaptionFormat::Sami, TCaptionLanguage::Korean, true, 0, false};
  reread.LoadBytes(BuildCaptionFile(document, sami, *codec));
  EXPECT_EQ(reread.Table(TCaptionLanguage::Korean).size(), document.Table(TCaptionLanguage::Korean).size());
  EXPECT_EQ(reread.Entry(TCaptionLanguage::Korean, 0).text, "안녕하세요\n반갑습니다");
}

}  // namespace
}  // namespace orves
