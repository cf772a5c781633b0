#include "player/captions/SamiDocument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "player/core/UnicodeText.h"
#include "tests/unit/captions/CaptionTestSupport.h"

namespace orves {
namespace {

using test::CaptionData;

class SamiDocumentTest : public ::testing::Test {
 protected:
  const TCaptionEntry& Korean(int i) const { return document.Entry(TCaptionLanguage::Korean, i); }
  const TCaptionEntry& English(int i) const { return document.Entry(TCaptionLanguage::English, i); }
  int KoreanCount() const { return document.Count(TCaptionLanguage::Korean); }
  int EnglishCount() const { return document.Count(TCaptionLanguage::English); }

  std::unique_ptr<ITextCodec> codec = MakeSystemTextCodec();
  TSamiDocument document{*codec};
};

TEST_F(SamiDocumentTest, BlocksAreCutAtEachSyncAndSortedByClass) {
  document.LoadBytes(
      "<SAMI><BODY>\r\n"
      "<SYNC Start=1000><P Class=KRCC>Hello<br>World\r\n"
      "<Sync start=\"2500\"><p class=ENCC>&nbsp;\r\n"
      "<SyNc StArT=3000><P Class=egcc>lower-case class\r\n"
      "</BODY></SAMI>");
  ASSERT_EQ(KoreanCount(), 2);
  ASSERT_EQ(EnglishCount(), 1);
  EXPECT_DOUBLE_EQ(Korean(0).start, 1.0);
  EXPECT_EQ(Korean(0).text, "Hello\nWorld");
  EXPECT_DOUBLE_EQ(English(0).start, 2.5);
  EXPECT_EQ(English(0).text, "");
  EXPECT_EQ(Korean(1).text, "lower-case class");  // the footer is removed as tags
}

TEST_F(SamiDocumentTest, SyncAtTheFirstByteIsNotABlock) {
  document.LoadBytes("<SYNC Start=1><P>first<SYNC Start=2><P>second");
  ASSERT_EQ(KoreanCount(), 1);
  EXPECT_EQ(Korean(0).text, "second");
  document.LoadBytes(" <SYNC Start=1><P>first");
  EXPECT_EQ(KoreanCount(), 1);
}

TEST_F(SamiDocumentTest, TextEndsAtTheFirstZeroByte) {
  document.LoadBytes(std::string("x<SYNC Start=1><P>one<SYNC Start=2><P>t\0<SYNC Start=3><P>gone", 48));
  ASSERT_EQ(KoreanCount(), 2);
  EXPECT_EQ(Korean(1).text, "t");
}

TEST_F(SamiDocumentTest, NumericReferencesAreDecodedAfterTheMarkup) {
  document.LoadBytes("x<SYNC Start=1><P>a &#60;b&#62; &#x266A; &#38;#60; &#0; &#xD800; &#12");
  ASSERT_EQ(KoreanCount(), 1);
  EXPECT_EQ(Korean(0).text, "a <b> \xE2\x99\xAA &#60; &#0; &#xD800; &#12");
}

TEST_F(SamiDocumentTest, EachTableStopsAtTenThousandEntries) {
  std::string file = "<SAMI>";
  for (int i = 0; i < TSamiDocument::MaxEntries + 5; ++i) {
    file += "<SYNC Start=" + std::to_string(i) + "><P Class=KRCC>k" + std::to_string(i) + "\r\n";
  }
  file += "<SYNC Start=1><P Class=ENCC>english still read\r\n";
  document.LoadBytes(file);
  EXPECT_EQ(KoreanCount(), TSamiDocument::MaxEntries);
  EXPECT_EQ(document.Dropped(TCaptionLanguage::Korean), 5);
  EXPECT_EQ(Korean(TSamiDocument::MaxEntries - 1).text, "k9999");
  ASSERT_EQ(EnglishCount(), 1);
  EXPECT_EQ(document.Dropped(TCaptionLanguage::English), 0);

  document.LoadBytes("x<SYNC Start=1><P>again");
  EXPECT_EQ(KoreanCount(), 1);
  EXPECT_EQ(document.Dropped(TCaptionLanguage::Korean), 0);
}

TEST_F(SamiDocumentTest, PathologicalFilesLoadWithoutHarm) {
  std::string onlySync;
  for (int i = 0; i < 200000; ++i) onlySync += "<sync";
  document.LoadBytes(onlySync);
  EXPECT_EQ(KoreanCount(), TSamiDocument::MaxEntries);
  EXPECT_EQ(document.Dropped(TCaptionLanguage::Korean), 199999 - TSamiDocument::MaxEntries);
  EXPECT_EQ(Korean(0).text, "<sync");  // a tag that never closes stays text

  document.LoadBytes("x<SYNC Start=1><P>" + std::string(5'000'000, '<') + "<font color=\"" +
                     std::string(1000, 'a'));
  ASSERT_EQ(KoreanCount(), 1);
  EXPECT_EQ(Korean(0).text.size(), 5'000'000u + 13u + 1000u);
  EXPECT_FALSE(Korean(0).hasColour[0]);

  std::string garbage(3'000'000, '\0');
  uint32_t seed = 12345;
  for (char& c : garbage) c = static_cast<char>((seed = seed * 1664525 + 1013904223) >> 24);
  for (size_t i = 1000; i < garbage.size(); i += 997) garbage.replace(i, 5, "<SYNC");
  garbage[0] = 'x';
  std::replace(garbage.begin(), garbage.end(), '\0', ' ');
  document.LoadBytes(garbage);
  EXPECT_GT(KoreanCount() + EnglishCount(), 1000);
  for (int i = 0; i < KoreanCount(); ++i) ASSERT_TRUE(IsValidUtf8(Korean(i).text));
}

TEST_F(SamiDocumentTest, LanguageAfterLoad) {
  EXPECT_EQ(ChooseLoadLanguage(5, 20), TCaptionLanguage::English);
  EXPECT_EQ(ChooseLoadLanguage(11, 20), TCaptionLanguage::Korean);
  EXPECT_EQ(ChooseLoadLanguage(10, 10), TCaptionLanguage::Korean);
  EXPECT_EQ(ChooseLoadLanguage(3, 8), TCaptionLanguage::Korean);   // both languages: the threshold holds
  EXPECT_EQ(ChooseLoadLanguage(0, 8), TCaptionLanguage::English);  // English only: shown, not an empty table
  EXPECT_EQ(ChooseLoadLanguage(0, 0), TCaptionLanguage::Korean);
}

// The same captions in five encodings read into the same entries.
class SamiEncodingTest : public SamiDocumentTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SamiEncodingTest, SameEntriesInEveryEncoding) {
  const auto loaded = document.LoadCaptionFile(CaptionData(GetParam()));
  ASSERT_TRUE(loaded.loaded);
  EXPECT_FALSE(loaded.japanese);
  ASSERT_EQ(KoreanCount(), 5);
  ASSERT_EQ(EnglishCount(), 5);
  EXPECT_EQ(Korean(0).text, "안녕하세요\n반갑습니다");
  EXPECT_TRUE(Korean(0).hasColour[0]);
  EXPECT_EQ(Korean(0).colour[0], 0x0080FFu);
  EXPECT_FALSE(Korean(0).hasColour[1]);
  EXPECT_EQ(Korean(2).text, "\"따옴표\"와 \"인용\"");
  EXPECT_DOUBLE_EQ(Korean(2).start, 4.007);
  EXPECT_EQ(Korean(3).text, "사랑 ♥ 음표 ♪");
  EXPECT_EQ(English(0).text, "Hello\nNice to meet you");
  EXPECT_EQ(English(2).text, "\"Quotes\" and spaces");
  EXPECT_EQ(English(2).colour[0], 0x00FFFFu);
  EXPECT_EQ(English(4).text, "");
  EXPECT_EQ(document.FileName(), CaptionData(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Files, SamiEncodingTest,
                         ::testing::Values("sample-cp949.smi", "sample-utf8.smi", "sample-utf8-bom.smi",
                                           "sample-utf16le.smi", "sample-utf16be.smi"));

TEST_F(SamiDocumentTest, EncodingIsDetectedFromMarksAndContent) {
  document.LoadCaptionFile(CaptionData("sample-cp949.smi"));
  EXPECT_EQ(document.Encoding(), TSamiEncoding::Cp949);
  document.LoadCaptionFile(CaptionData("sample-utf8.smi"));
  EXPECT_EQ(document.Encoding(), TSamiEncoding::Utf8);
  document.LoadCaptionFile(CaptionData("sample-utf16be.smi"));
  EXPECT_EQ(document.Encoding(), TSamiEncoding::Utf16Be);
  document.LoadBytes("x<SYNC Start=1><P>plain ascii");
  EXPECT_EQ(document.Encoding(), TSamiEncoding::Cp949);
  // A byte that starts no CP949 character becomes one character (U+FFFD
  // natively; Windows maps 0xFF into the private use area), the rest is kept.
  document.LoadBytes("x<SYNC Start=1><P>\xB0\xA1\xFF!");
  const std::string& text = Korean(0).text;
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(text.substr(0, 3), "가");
  EXPECT_EQ(text.size(), 3u + 3u + 1u) << text;
  EXPECT_EQ(text.back(), '!');
  // A pair the code page has no character for, at the very end.
  document.LoadBytes("x<SYNC Start=1><P>\xA2\xE8");
  EXPECT_TRUE(IsValidUtf8(Korean(0).text));
  EXPECT_FALSE(Korean(0).text.empty());
  // A UTF-8 mark with broken bytes after it still gives valid UTF-8.
  document.LoadBytes("\xEF\xBB\xBFx<SYNC Start=1><P>\xC3(");
  EXPECT_EQ(Korean(0).text, "\xEF\xBF\xBD(");
}

TEST_F(SamiDocumentTest, JapaneseIsFoundInTheFilesOwnEncoding) {
  EXPECT_TRUE(document.LoadBytes("x<SYNC Start=1><P>\xC7\xD1\xAA\xCE"));  // 한の in CP949
  EXPECT_TRUE(document.LoadBytes("x<SYNC Start=1><P>日本の"));
  EXPECT_FALSE(document.LoadBytes("x<SYNC Start=1><P>한국어"));
}

TEST_F(SamiDocumentTest, MissingFileEmptiesTablesAndForgetsTheName) {
  document.LoadCaptionFile(CaptionData("sample-utf8.smi"));
  ASSERT_GT(KoreanCount(), 0);
  const auto result = document.LoadCaptionFile(CaptionData("no-such-file.smi"));
  EXPECT_FALSE(result.loaded);
  EXPECT_EQ(KoreanCount(), 0);
  EXPECT_EQ(EnglishCount(), 0);
  EXPECT_TRUE(document.FileName().empty());
  EXPECT_FALSE(document.LoadCaptionFile(CaptionData("")).loaded);  // a folder
}

TEST_F(SamiDocumentTest, RealCaptionFilesLoad) {
  const auto folder = test::RealSamiFolder();
  if (!std::filesystem::exists(folder)) GTEST_SKIP() << "no real caption files here";
  int files = 0;
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    if (file.path().extension() == ".md") continue;
    ASSERT_TRUE(document.LoadCaptionFile(file.path()).loaded) << file.path();
    ++files;
  }
  EXPECT_GT(files, 10);
  document.LoadCaptionFile(folder / "cpm-utf16le-02.smi");
  EXPECT_EQ(document.Encoding(), TSamiEncoding::Utf16Le);
  EXPECT_GT(KoreanCount() + EnglishCount(), 10);
}

}  // namespace
}  // namespace orves
