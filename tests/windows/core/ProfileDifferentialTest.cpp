// The profile file class and the system's profile functions, run side by
// side: each scenario starts two identical files, reads the same keys from
// both, applies the same writes to both and compares the values read and the
// bytes that result. The system also reads every file we write: in the ANSI
// code page or, for a name the code page has no form for, as UTF-16.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "player/core/ProfileFile.h"
#include "player/core/TextCodec.h"
#include "player/core/TextConvert_win32.h"
#include "player/core/UnicodeText.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

struct Key {
  std::string section;
  std::string key;
};

struct Write {
  std::string section;
  std::string key;
  std::string value;
};

struct Scenario {
  const char* name;
  std::string content;  // "" and `exists` false: no file at all
  bool exists;
  std::vector<Key> reads;
  std::vector<Write> writes;
  // The system re-writes the whole file in its own layout (no blanks around
  // "=", CRLF line ends, no blank lines), while our writer keeps every line it
  // does not change byte for byte. Where the original layout differs from
  // the system's, only the values are compared after a write.
  bool sameBytes = true;
  // The system narrows a name its ANSI file cannot hold to '?' where we turn
  // the file UTF-16: then only the system's reading of our file counts.
  bool systemNarrows = false;
};

constexpr const char* kDefault = "<default>";

// Texts are UTF-8 here as in the profile file class, wide in the system's calls.
std::string SystemRead(const fs::path& file, const Key& k) {
  wchar_t buffer[4096] = {};
  GetPrivateProfileStringW(Utf8ToWide(k.section).c_str(), Utf8ToWide(k.key).c_str(),
                           Utf8ToWide(kDefault).c_str(), buffer, 4096, file.wstring().c_str());
  return WideToUtf8(buffer);
}

void SystemWrite(const fs::path& file, const Write& w) {
  WritePrivateProfileStringW(Utf8ToWide(w.section).c_str(), Utf8ToWide(w.key).c_str(),
                             Utf8ToWide(w.value).c_str(), file.wstring().c_str());
  // Flush the system's profile cache so the bytes on disk are final.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.wstring().c_str());
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Line ends shown, so a difference in them is visible in a failure.
std::string Visible(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n\n";
    } else {
      out += c;
    }
  }
  return out;
}

class ProfileDifferential : public ::testing::TestWithParam<Scenario> {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    dir_ = fs::path(temp) / ("orves-profile-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(dir_);
    ours_ = dir_ / "ours.ini";
    theirs_ = dir_ / "theirs.ini";
    fs::remove(ours_);
    fs::remove(theirs_);
    if (GetParam().exists) {
      std::ofstream(ours_, std::ios::binary) << GetParam().content;
      std::ofstream(theirs_, std::ios::binary) << GetParam().content;
    }
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  void CompareReads(const char* when) {
    for (const Key& k : GetParam().reads) {
      const std::string value = ProfileFile(ours_).ReadString(k.section, k.key, kDefault);
      EXPECT_EQ(value, SystemRead(ours_, k)) << when << ": [" << k.section << "] " << k.key;
      if (!GetParam().systemNarrows) {
        EXPECT_EQ(value, SystemRead(theirs_, k)) << when << ": [" << k.section << "] " << k.key;
      }
    }
  }

  fs::path dir_;
  fs::path ours_;
  fs::path theirs_;
};

TEST_P(ProfileDifferential, ReadsAndWritesAgreeWithTheSystem) {
  CompareReads("before writing");
  for (const Write& w : GetParam().writes) {
    ProfileFile ours(ours_);
    ours.WriteString(w.section, w.key, w.value);
    SystemWrite(theirs_, w);
    if (GetParam().sameBytes && !GetParam().systemNarrows) {
      EXPECT_EQ(Visible(Bytes(ours_)), Visible(Bytes(theirs_)))
          << "after writing [" << w.section << "] " << w.key;
    }
    EXPECT_EQ(ProfileFile(ours_).ReadString(w.section, w.key, kDefault), w.value);
    EXPECT_EQ(SystemRead(ours_, {w.section, w.key}), w.value);
  }
  CompareReads("after writing");
}

const Scenario kScenarios[] = {
    {"NoFile",
     "",
     false,
     {{"Main", "Top"}},
     {{"Main", "Top", "200"}, {"Main", "Left", "17"}, {"Skin", "Name", "Default"}}},
    {"CaseInsensitiveNames",
     "[MAIN]\r\nTOP=5\r\nleft=6\r\n",
     true,
     {{"main", "top"}, {"Main", "LEFT"}, {"mAiN", "Width"}},
     {{"main", "Top", "7"}, {"Main", "WIDTH", "320"}}},
    {"MissingSectionsAndKeys",
     "[A]\r\nx=1\r\n",
     true,
     {{"A", "y"}, {"B", "x"}, {"A", "x"}},
     {{"B", "x", "2"}, {"A", "y", "3"}}},
    {"DuplicateSectionsAndKeys",
     "[A]\r\nk=first\r\nk=second\r\n[B]\r\nz=0\r\n[a]\r\nk=third\r\nm=only\r\n",
     true,
     {{"A", "k"}, {"a", "m"}, {"B", "z"}},
     {{"A", "k", "new"}}},
    {"SpacesAroundEquals",
     "[S]\r\n  key one  =  spaced value  \r\nkey2\t=\ttabbed\r\n",
     true,
     {{"S", "key one"}, {"S", "key2"}},
     {{"S", "key one", "v"}},
     false},
    {"QuotedValues",
     "[Q]\r\na=\"quoted\"\r\nb='single'\r\nc=\"open\r\nd=\"\"\r\n",
     true,
     {{"Q", "a"}, {"Q", "b"}, {"Q", "c"}, {"Q", "d"}},
     {}},
    {"Comments",
     "; leading comment\r\n[C]\r\n;k=commented\r\nk=real\r\n# hash=line\r\n",
     true,
     {{"C", "k"}, {"C", ";k"}, {"C", "# hash"}},
     {{"C", "k", "changed"}}},
    {"NoTrailingNewline",
     "[T]\r\na=1\r\nb=2",
     true,
     {{"T", "a"}, {"T", "b"}},
     {{"T", "c", "3"}, {"U", "d", "4"}}},
    {"UnixLineEnds", "[L]\na=1\nb=2\n", true, {{"L", "a"}, {"L", "b"}}, {{"L", "b", "5"}}, false},
    {"KeyBeforeAnySection",
     "orphan=1\r\n[R]\r\nk=v\r\n",
     true,
     {{"R", "k"}, {"R", "orphan"}},
     {{"R", "k", "w"}}},
    {"EmptyValueAndNoEquals", "[E]\r\nempty=\r\nbare\r\n", true, {{"E", "empty"}, {"E", "bare"}}, {}},
    // Korean bytes in an ANSI file read the same either way, whatever the code page.
    {"KoreanBytes",
     "[\xC7\xD1\xB1\xDB]\r\n\xC5\xB0=\xB0\xAA\r\n",
     true,
     {{"한글", "키"}, {"ÇÑ±Û", "Å°"}},
     {}},
    // A name outside every ANSI code page turns our file UTF-16, which the
    // system reads back; the other entries survive.
    {"NameOutsideTheCodePage",
     "[NUM]\r\nNUM=1\r\n[0]\r\nFileName=C:\\a.avi\r\n",
     true,
     {{"NUM", "NUM"}, {"0", "FileName"}, {"1", "FileName"}},
     {{"1", "FileName", "C:\\영화\\ก 😀.avi"}, {"NUM", "NUM", "2"}},
     true,
     true},
    // A UTF-16 file stays UTF-16 for the system and for us alike.
    {"Utf16File",
     "\xFF\xFE" + Utf8ToUtf16Le("[Bookmark]\r\nC:\\ก.avi=12.5\r\n"),
     true,
     {{"Bookmark", "C:\\ก.avi"}, {"bookmark", "c:\\ก.avi"}},
     {{"Bookmark", "C:\\ก.avi", "30"}, {"Bookmark", "C:\\b.avi", "1"}}},
    {"BlankLinesBetweenSections",
     "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n",
     true,
     {{"A", "a"}},
     {{"A", "n", "new"}},
     false},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, ProfileDifferential, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.name; });

// The code page's exact forms only: no best-fit look-alikes, no '?'.
TEST(AnsiCodePageTest, NamesHaveAnAnsiFormOnlyWhenTheCodePageHoldsThem) {
  EXPECT_EQ(Utf8ToAnsi("c:\\movies\\a.avi"), "c:\\movies\\a.avi");
  const UINT acp = GetACP();
  const auto form = [](bool held, const char* bytes) {
    return held ? std::optional<std::string>(bytes) : std::nullopt;
  };
  EXPECT_EQ(Utf8ToAnsi("가.avi"), form(acp == 949, "\xB0\xA1.avi"));
  EXPECT_EQ(Utf8ToAnsi("é.avi"), form(acp == 1252, "\xE9.avi"));
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82"), std::nullopt);  // a cut UTF-8 sequence
  if (acp == 1252) {
    EXPECT_EQ(AnsiToUtf8("\xE9.avi"), "é.avi");
  }
}

}  // namespace
}  // namespace orves
