#include "tools/orvesmp-sami/SamiTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "player/core/TextCodec.h"
#include "tests/unit/captions/CaptionTestSupport.h"

namespace orves {
namespace {

using test::CaptionData;

class SamiToolTest : public ::testing::Test {
 protected:
  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return RunSamiTool(args, *codec, out, err);
  }
  static std::string Data(const char* name) { return CaptionData(name).string(); }
  static long LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

  std::unique_ptr<ITextCodec> codec = MakeSystemTextCodec();
  std::ostringstream out, err;
  test::TempFolder folder;
};

TEST_F(SamiToolTest, DumpPrintsEveryEntryAsJson) {
  ASSERT_EQ(Run({"dump", Data("sample-cp949.smi")}), kToolOk) << err.str();
  const std::string json = out.str();
  EXPECT_NE(json.find("\"encoding\": \"cp949\""), std::string::npos);
  EXPECT_NE(json.find("\"language\": \"Korean\""), std::string::npos);
  EXPECT_NE(json.find("\"dropped\": {\"korean\": 0, \"english\": 0}"), std::string::npos);
  EXPECT_NE(
      json.find(
          "{\"start\": 1, \"text\": \"안녕하세요\\n반갑습니다\", \"colors\": [\"#FF8000\", null, null]}"),
      std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"start\": 4.007, \"text\": \"\\\"Quotes\\\" and spaces\""), std::string::npos)
      << json;
  EXPECT_TRUE(err.str().empty());
}

TEST_F(SamiToolTest, DumpIsTheSameForEveryEncoding) {
  const auto body = [&](const char* name) {
    EXPECT_EQ(Run({"dump", Data(name)}), kToolOk);
    const std::string json = out.str();
    return json.substr(json.find("\"language\""));
  };
  const std::string reference = body("sample-cp949.smi");
  for (const char* name :
       {"sample-utf8.smi", "sample-utf8-bom.smi", "sample-utf16le.smi", "sample-utf16be.smi"}) {
    EXPECT_EQ(body(name), reference) << name;
  }
  Run({"dump", Data("sample-utf16le.smi")});
  EXPECT_NE(out.str().find("\"encoding\": \"utf-16le\""), std::string::npos);
}

TEST_F(SamiToolTest, AtReportsTheShownEntry) {
  const std::string file = Data("sample-utf8.smi");
  ASSERT_EQ(Run({"at", file, "0.7"}), kToolOk);
  EXPECT_EQ(out.str(), "{\"language\": \"Korean\", \"index\": 0, \"text\": \"안녕하세요\\n반갑습니다\"}\n");
  Run({"at", file, "0.69"});
  EXPECT_EQ(out.str(), "{\"language\": \"Korean\", \"index\": null, \"text\": null}\n");
  Run({"at", file, "3.3"});  // the blank entry ends the caption
  EXPECT_EQ(out.str(), "{\"language\": \"Korean\", \"index\": null, \"text\": null}\n");
  // Negative numbers are values, in either place.
  ASSERT_EQ(Run({"at", file, "--language", "English", "-0.3", "--offset", "-1"}), kToolOk) << err.str();
  EXPECT_EQ(out.str(), "{\"language\": \"English\", \"index\": 0, \"text\": \"Hello\\nNice to meet you\"}\n");
  ASSERT_EQ(Run({"at", file, "5", "--offset=+1.0"}), kToolOk) << err.str();
  EXPECT_EQ(out.str(),
            "{\"language\": \"Korean\", \"index\": 2, \"text\": \"\\\"따옴표\\\"와 \\\"인용\\\"\"}\n");
}

TEST_F(SamiToolTest, ShiftSavesAShiftedCopy) {
  const std::string saved = (folder / "fixed.smi").string();
  ASSERT_EQ(Run({"shift", Data("sample-utf16le.smi"), "-2.0", "-o", saved}), kToolOk) << err.str();
  ASSERT_EQ(Run({"dump", saved}), kToolOk);
  const std::string json = out.str();
  EXPECT_NE(json.find("\"encoding\": \"cp949\""), std::string::npos);
  EXPECT_EQ(json.find("안녕하세요"), std::string::npos);  // moved before the start
  EXPECT_NE(json.find("{\"start\": 2.007, \"text\": \"\\\"따옴표\\\"와 \\\"인용\\\"\""), std::string::npos)
      << json;
}

// The expected files are what the tool printed and wrote when they were made;
// the Windows build is held to the same bytes.
TEST_F(SamiToolTest, OutputMatchesTheRecordedFiles) {
  const auto fromLanguage = [](const std::string& json) { return json.substr(json.find("\"encoding\"")); };
  ASSERT_EQ(Run({"dump", Data("sample-cp949.smi")}), kToolOk);
  EXPECT_EQ(fromLanguage(out.str()), fromLanguage(test::ReadBytes(CaptionData("expected-dump-cp949.json"))));
  ASSERT_EQ(Run({"dump", Data("sample-utf16le.smi")}), kToolOk);
  EXPECT_EQ(fromLanguage(out.str()),
            fromLanguage(test::ReadBytes(CaptionData("expected-dump-utf16le.json"))));
  ASSERT_EQ(Run({"at", Data("sample-cp949.smi"), "4.5", "--offset", "-0.5"}), kToolOk);
  EXPECT_EQ(out.str(), test::ReadBytes(CaptionData("expected-at-cp949.json")));
  ASSERT_EQ(Run({"shift", Data("sample-cp949.smi"), "-2.0", "-o", (folder / "s.smi").string()}), kToolOk);
  EXPECT_EQ(test::ReadBytes(folder / "s.smi"), test::ReadBytes(CaptionData("expected-shift-cp949.smi")));
}

TEST_F(SamiToolTest, EveryFormatIsReadAndConverted) {
  ASSERT_EQ(Run({"dump", Data("sample.srt")}), kToolOk) << err.str();
  EXPECT_NE(
      out.str().find(
          "{\"start\": 1, \"text\": \"안녕하세요\\n반갑습니다\", \"colors\": [null, \"#FF8000\", null], "
          "\"italic\": [true, false, false]}"),
      std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("\"top\": true"), std::string::npos);
  ASSERT_EQ(Run({"at", Data("sample.ass"), "1.0"}), kToolOk);
  EXPECT_EQ(out.str(),
            "{\"language\": \"English\", \"index\": 0, \"text\": \"Hello, world\\nsecond line\"}\n");

  // A two-language SAMI file into one SubRip file per table, moved 1 s later.
  const std::string english = (folder / "english.srt").string();
  ASSERT_EQ(Run({"convert", Data("sample-cp949.smi"), english, "--lang", "en", "--offset", "1"}), kToolOk)
      << err.str();
  const std::string srt = test::ReadBytes(english);
  EXPECT_EQ(srt.rfind("1\r\n00:00:02,000 --> 00:00:04,500\r\nHello\r\nNice to meet you\r\n", 0), 0u) << srt;
  EXPECT_EQ(srt.find("안녕"), std::string::npos);
  ASSERT_EQ(Run({"convert", Data("sample.vtt"), (folder / "out.smi").string()}), kToolOk);
  ASSERT_EQ(Run({"dump", (folder / "out.smi").string()}), kToolOk);
  EXPECT_NE(out.str().find("\"text\": \"Hello world\""), std::string::npos) << out.str();

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"convert", Data("sample.srt"), "out.ass"},
        {"convert", Data("sample.srt"), "out.txt"},
        {"convert", Data("sample.srt"), "out.srt", "--lang", "ja"},
        {"convert", Data("sample.srt")},
        {"dump", Data("sample.srt"), "--lang", "ko"}}) {
    EXPECT_EQ(Run(bad), kToolUsageError) << bad.back();
  }
}

TEST_F(SamiToolTest, FilesThatCannotBeReadOrWrittenExitWithOne) {
  EXPECT_EQ(Run({"dump", (folder / "missing.smi").string()}), kToolFileError);
  EXPECT_NE(err.str().find("missing.smi"), std::string::npos);
  EXPECT_EQ(LineCount(err.str()), 1);
  EXPECT_EQ(Run({"at", (folder / "missing.smi").string(), "1"}), kToolFileError);
  EXPECT_EQ(Run({"shift", Data("sample-cp949.smi"), "1", "-o", (folder / "no/dir/out.smi").string()}),
            kToolFileError);
  EXPECT_NE(err.str().find("out.smi"), std::string::npos);
  EXPECT_EQ(LineCount(err.str()), 1);
  EXPECT_TRUE(out.str().empty());
}

TEST_F(SamiToolTest, BadArgumentsExitWithTwoAndUsage) {
  const std::string file = Data("sample-cp949.smi");
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"play", file},
      {"dump"},
      {"dump", file, "extra"},
      {"at", file},
      {"at", file, "soon"},
      {"at", file, "1", "--offset"},
      {"at", file, "1", "--offset", "x"},
      {"at", file, "1", "--language", "Japanese"},
      {"at", file, "nan"},
      {"shift", file, "1"},
      {"shift", file, "1e999", "-o", "x.smi"},
      {"dump", file, "--bogus"},
      {"at", file, "-", "1"},
  };
  for (const auto& args : bad) {
    EXPECT_EQ(Run(args), kToolUsageError) << (args.empty() ? "" : args[0]) << " " << args.size();
    EXPECT_NE(err.str().find("usage: orvesmp-sami"), std::string::npos);
  }
  EXPECT_EQ(Run({"--help"}), kToolOk);
  EXPECT_NE(out.str().find("usage: orvesmp-sami"), std::string::npos);
  EXPECT_EQ(Run({"shift", "--help"}), kToolOk);
}

}  // namespace
}  // namespace orves
