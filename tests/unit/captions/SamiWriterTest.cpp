#include "player/captions/SamiWriter.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/unit/captions/CaptionTestSupport.h"

namespace orves {
namespace {

using test::CaptionData;
using test::ReadBytes;

constexpr std::string_view kHeader =
    "<SAMI><HEAD><STYLE TYPE=\"text/css\"><!--\r\n"
    "P {text-align:center; font-size:25pt; font-family:\xB1\xBC\xB8\xB2; color:white;}\r\n"
    ".KRCC {Name:Korean; lang:Korean; SAMIType:CC;}\r\n"
    ".EGCC {Name:English; lang:English; SAMIType:CC;}\r\n"
    "--></Style></HEAD><BODY>\r\n\r\n";
constexpr std::string_view kFooter = "\r\n\r\n</BODY></SAMI>";

class SamiWriterTest : public ::testing::Test {
 protected:
  // The body of the written file, between header and footer.
  std::string Body(double offset) {
    const std::string file = BuildSamiFile(document, offset, *codec);
    EXPECT_EQ(file.substr(0, kHeader.size()), kHeader);
    EXPECT_EQ(file.substr(file.size() - kFooter.size()), kFooter);
    return file.substr(kHeader.size(), file.size() - kHeader.size() - kFooter.size());
  }

  // Saves with `offset`, reads the result back into `reread`.
  void RoundTrip(double offset) {
    const auto result = SaveCaptionFile(document, offset, *codec, folder / "saved.smi");
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_TRUE(reread.LoadCaptionFile(folder / "saved.smi").loaded);
    EXPECT_EQ(reread.Encoding(), TSamiEncoding::Cp949);
  }

  void ExpectSameEntries(TCaptionLanguage language, double shift) {
    ASSERT_EQ(reread.Count(language), document.Count(language));
    for (int i = 0; i < document.Count(language); ++i) {
      const TCaptionEntry& before = document.Entry(language, i);
      const TCaptionEntry& after = reread.Entry(language, i);
      EXPECT_EQ(after.text, before.text) << i;
      EXPECT_NEAR(after.start, before.start + shift, 1e-9) << i;
      EXPECT_EQ(after.hasColour[0], before.hasColour[0]) << i;
      if (before.hasColour[0]) {
        EXPECT_EQ(after.colour[0], before.colour[0]) << i;
      }
    }
  }

  std::unique_ptr<ITextCodec> codec = MakeSystemTextCodec();
  TSamiDocument document{*codec};
  TSamiDocument reread{*codec};
  test::TempFolder folder;
};

TEST_F(SamiWriterTest, EntriesAreWrittenShiftedKoreanFirst) {
  document.LoadBytes(
      "x<SYNC Start=10000><P Class=KRCC>A<br>B"
      "<SYNC Start=1000><P Class=ENCC>one"
      "<SYNC Start=12000><P Class=KRCC>&nbsp;"
      "<SYNC Start=2000><P Class=ENCC><font color=red>two</font>"
      "<SYNC Start=13000><P Class=KRCC>three");
  EXPECT_EQ(Body(1.5),
            "<SYNC START=11500><P CLASS=KRCC>A<br>B\r\n"
            "<SYNC START=13500><P CLASS=KRCC>&nbsp;\r\n"
            "<SYNC START=14500><P CLASS=KRCC>three\r\n"
            "<SYNC START=2500><P CLASS=EGCC>one\r\n"
            "<SYNC START=3500><P CLASS=EGCC><Font Color=#FF0000>two\r\n");
}

TEST_F(SamiWriterTest, EntriesShiftedBeforeTheStartAreDropped) {
  document.LoadBytes("x<SYNC Start=1999><P>gone<SYNC Start=2000><P>zero<SYNC Start=2001><P>one");
  EXPECT_EQ(Body(-2.0),
            "<SYNC START=0><P CLASS=KRCC>zero\r\n"
            "<SYNC START=1><P CLASS=KRCC>one\r\n");
  document.Clear();
  EXPECT_EQ(Body(0), "");
}

TEST_F(SamiWriterTest, UnshiftedStartsComeBackExactly) {
  // ms x 0.001 x 1000 is not always ms again (4007 gives 4006.9999999999995).
  for (int64_t ms = 0; ms <= 400000; ++ms) {
    ASSERT_EQ(WrittenStartMilliseconds(ms * 0.001, 0), ms);
  }
  for (int64_t ms : {int64_t{999999999999}, int64_t{123456789012}, int64_t{10002000}}) {
    EXPECT_EQ(WrittenStartMilliseconds(ms * 0.001, 0), ms);
  }
  // Shifted times still truncate toward zero.
  EXPECT_EQ(WrittenStartMilliseconds(4.007, 0.0004), 4007);
  EXPECT_EQ(WrittenStartMilliseconds(4.007, 0.0009), 4007);
  EXPECT_EQ(WrittenStartMilliseconds(1.0, -1.0011), std::nullopt);
  EXPECT_EQ(WrittenStartMilliseconds(1.0, -1.0009), 0);  // -0.9 ms truncates to 0;
}

TEST_F(SamiWriterTest, TextEncodingRules) {
  EXPECT_EQ(EncodeCaptionText("", *codec), "&nbsp;");
  EXPECT_EQ(EncodeCaptionText(" \t ", *codec), "&nbsp;");
  EXPECT_EQ(EncodeCaptionText("a  b   c", *codec), "a &nbsp;b &nbsp; c");
  EXPECT_EQ(EncodeCaptionText("한국어\n둘째", *codec), "\xC7\xD1\xB1\xB9\xBE\xEE<br>\xB5\xD1\xC2\xB0");
  EXPECT_EQ(EncodeCaptionText("a<b>c", *codec), "a&#60;b&#62;c");
  EXPECT_EQ(EncodeCaptionText("ก😀", *codec), "&#3585;&#128512;");  // not in CP949
  EXPECT_EQ(EncodeCaptionText("R&D &amp; &nbsp; &#65;", *codec), "R&D &amp; &#38;nbsp; &#38;#65;");
  EXPECT_EQ(ColourToHtml(0x0080FF), "#FF8000");
  EXPECT_EQ(ColourToHtml(0), "#000000");
}

TEST_F(SamiWriterTest, TextsThatLookLikeMarkupReadBackUnchanged) {
  document.LoadBytes(
      "x<SYNC Start=1000><P Class=KRCC>a &#62; b &#60;i&#62;"
      "<SYNC Start=2000><P Class=KRCC>&#69;GCC and &#69;NCC in a Korean line"
      "<SYNC Start=3000><P Class=KRCC>color&#61;red &amp;nbsp; &#38;quot; &#38;#65;"
      "<SYNC Start=4000><P Class=KRCC>&#32;edges&#9;"
      "<SYNC Start=4500><P Class=KRCC>&#10; line feeds at the ends &#10;&#10;"
      "<SYNC Start=5000><P Class=KRCC>ก 😀 ♥ 日本"
      "<SYNC Start=6000><P Class=KRCC>last &#62;");
  ASSERT_EQ(document.Count(TCaptionLanguage::Korean), 7);
  ASSERT_EQ(document.Entry(TCaptionLanguage::Korean, 3).text, " edges\t");
  RoundTrip(0);
  ExpectSameEntries(TCaptionLanguage::Korean, 0);
  EXPECT_EQ(reread.Count(TCaptionLanguage::English), 0);
  EXPECT_EQ(reread.Entry(TCaptionLanguage::Korean, 4).text, "\n line feeds at the ends \n\n");
  EXPECT_EQ(reread.Entry(TCaptionLanguage::Korean, 2).text, "color=red &amp;nbsp; &quot; &#65;");
  EXPECT_FALSE(reread.Entry(TCaptionLanguage::Korean, 2).hasColour[0]);
}

TEST_F(SamiWriterTest, SampleFilesRoundTripShifted) {
  for (const char* name : {"sample-cp949.smi", "sample-utf16le.smi"}) {
    ASSERT_TRUE(document.LoadCaptionFile(CaptionData(name)).loaded);
    RoundTrip(2.25);
    ExpectSameEntries(TCaptionLanguage::Korean, 2.25);
    ExpectSameEntries(TCaptionLanguage::English, 2.25);
  }
}

TEST_F(SamiWriterTest, RealFilesRoundTripUnshifted) {
  const auto folder_ = test::RealSamiFolder();
  if (!std::filesystem::exists(folder_)) GTEST_SKIP() << "no real caption files here";
  for (const auto& file : std::filesystem::directory_iterator(folder_)) {
    if (file.path().extension() == ".md") continue;
    ASSERT_TRUE(document.LoadCaptionFile(file.path()).loaded);
    RoundTrip(0);
    SCOPED_TRACE(file.path().string());
    ExpectSameEntries(TCaptionLanguage::Korean, 0);
    ExpectSameEntries(TCaptionLanguage::English, 0);
  }
}

TEST_F(SamiWriterTest, SavingReplacesAnExistingFile) {
  test::WriteBytes(folder / "saved.smi", std::string(100000, 'x'));
  document.LoadBytes("x<SYNC Start=1><P>one");
  ASSERT_TRUE(SaveCaptionFile(document, 0, *codec, folder / "saved.smi").ok);
  EXPECT_EQ(ReadBytes(folder / "saved.smi"), BuildSamiFile(document, 0, *codec));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST_F(SamiWriterTest, AFileThatCannotBeWrittenIsNamedAndLeavesNothing) {
  document.LoadBytes("x<SYNC Start=1><P>one");
  const auto missingFolder = SaveCaptionFile(document, 0, *codec, folder / "no/such/folder/out.smi");
  EXPECT_FALSE(missingFolder.ok);
  EXPECT_NE(missingFolder.error.find("out.smi"), std::string::npos) << missingFolder.error;

  std::filesystem::create_directory(folder / "taken.smi");  // a folder where the file should go
  const auto taken = SaveCaptionFile(document, 0, *codec, folder / "taken.smi");
  EXPECT_FALSE(taken.ok);
  EXPECT_NE(taken.error.find("taken.smi"), std::string::npos) << taken.error;
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.smi"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);  // no temporary left
}

}  // namespace
}  // namespace orves
