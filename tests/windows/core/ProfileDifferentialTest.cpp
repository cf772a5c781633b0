// The profile file class and the system's profile functions, run side by
// side: each scenario starts two identical files, reads the same keys from
// both, applies the same writes to both and compares the values read and the
// bytes that result.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "player/core/ProfileFile.h"

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
};

constexpr const char* kDefault = "<default>";

std::string SystemRead(const fs::path& file, const Key& k) {
  char buffer[4096] = {};
  GetPrivateProfileStringA(k.section.c_str(), k.key.c_str(), kDefault, buffer, sizeof(buffer),
                           file.string().c_str());
  return buffer;
}

void SystemWrite(const fs::path& file, const Write& w) {
  WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(), file.string().c_str());
  // Flush the system's profile cache so the bytes on disk are final.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.string().c_str());
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
      const ProfileFile ours(ours_);
      EXPECT_EQ(ours.ReadString(k.section, k.key, kDefault), SystemRead(theirs_, k))
          << when << ": [" << k.section << "] " << k.key;
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
    if (GetParam().sameBytes) {
      EXPECT_EQ(Visible(Bytes(ours_)), Visible(Bytes(theirs_)))
          << "after writing [" << w.section << "] " << w.key;
    }
    const ProfileFile reread(ours_);
    EXPECT_EQ(reread.ReadString(w.section, w.key, kDefault), SystemRead(theirs_, {w.section, w.key}));
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
    {"KoreanBytes",
     "[\xC7\xD1\xB1\xDB]\r\n\xC5\xB0=\xB0\xAA\r\n",
     true,
     {{"\xC7\xD1\xB1\xDB", "\xC5\xB0"}},
     {{"\xC7\xD1\xB1\xDB", "\xC5\xB0", "\xBB\xF5"}}},
    {"BlankLinesBetweenSections",
     "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n",
     true,
     {{"A", "a"}},
     {{"A", "n", "new"}},
     false},
};

INSTANTIATE_TEST_SUITE_P(Scenarios, ProfileDifferential, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return info.param.name; });

}  // namespace
}  // namespace orves
