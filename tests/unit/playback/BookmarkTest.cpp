// Resume positions: the stored value format, the resume arithmetic, and the
// rules that keep the bookmark file untouched.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "player/playback/Bookmarks.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/core/Setup.h"
#include "player/core/UnicodeText.h"
#include "tests/unit/playback/PlaybackFakes.h"

namespace orves {
namespace {

using testing::FakePanels;
using testing::FakePlayer;
using testing::FakeStateText;
using testing::Log;
using testing::TempSettings;

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(BookmarkValueTest, WrittenShortWithAPointAndReadBack) {
  EXPECT_EQ(FormatBookmarkValue(600), "600");
  EXPECT_EQ(FormatBookmarkValue(1234.56), "1234.56");
  EXPECT_EQ(FormatBookmarkValue(0), "0");
  EXPECT_EQ(FormatBookmarkValue(std::nan("")), "0");
  for (double v : {0.04, 599.999999, 123456.789, 1e-3})
    EXPECT_EQ(ParseBookmarkValue(FormatBookmarkValue(v)), v);
}

TEST(BookmarkValueTest, AnythingButANumberReadsAsZero) {
  EXPECT_EQ(ParseBookmarkValue(" 1234.56 "), 1234.56);
  EXPECT_EQ(ParseBookmarkValue("+12"), 12);
  EXPECT_EQ(ParseBookmarkValue("-3"), -3);
  EXPECT_EQ(ParseBookmarkValue("1e3"), 1000);
  for (const char* garbage : {"", "abc", "12abc", "1,5", "nan", "inf", "--1", "1e999", "0x10", "."}) {
    EXPECT_EQ(ParseBookmarkValue(garbage), 0) << garbage;
  }
}

class BookmarkTest : public ::testing::Test {
 protected:
  BookmarkTest() { player_.Loaded(640, 360, 3600); }
  std::filesystem::path BookmarkFile() const { return settings_.Folder() / "Bookmark.ini"; }
  void PutBookmarks(const std::string& text) const {
    std::ofstream(BookmarkFile(), std::ios::binary) << text;
  }

  Log log_;
  TempSettings settings_{"bookmark"};
  TSetup setup_{settings_.Path()};
  testing::MediaRig rig_{setup_, log_, log_};
  FakePlayer& player_ = rig_.player;
  FakeStateText& state_ = rig_.state;
  TMedia& media_ = rig_.media;
};

TEST_F(BookmarkTest, ClosedAtTenMinutesResumesFiveSecondsEarlier) {
  EXPECT_EQ(media_.Bookmarks().Path(), BookmarkFile());  // beside the settings file
  media_.Open("c:\\movies\\a.avi");
  player_.position_ = 600;
  media_.Close();
  EXPECT_EQ(ReadAll(BookmarkFile()), "[Bookmark]\r\nc:\\movies\\a.avi=600\r\n");
  media_.Open("c:\\movies\\a.avi");
  media_.ResumeBookmark();
  EXPECT_EQ(player_.position_, 595);
  EXPECT_EQ(state_.Last().second, "MOVE TO : 00:09:55 / 01:00:00");
}

TEST_F(BookmarkTest, MovieLeftAtItsEndStartsAtZero) {
  media_.Open("c:\\a.avi");
  player_.position_ = 3600;
  media_.SaveBookmark();
  EXPECT_EQ(ReadAll(BookmarkFile()), "[Bookmark]\r\nc:\\a.avi=0\r\n");
  player_.position_ = 1800;
  media_.ResumeBookmark();  // 0 - 5 is raised to 0
  EXPECT_EQ(player_.position_, 0);
  EXPECT_EQ(state_.Last().second, "MOVE TO : 00:00:00 / 01:00:00");
}

TEST_F(BookmarkTest, BookmarksOffNeitherWritesNorReads) {
  media_.SetUseBookmarks(false);
  media_.Open("c:\\a.avi");
  player_.position_ = 600;
  media_.Close();
  EXPECT_FALSE(std::filesystem::exists(BookmarkFile()));
  PutBookmarks("[Bookmark]\r\nc:\\a.avi=100\r\n");
  media_.Open("c:\\a.avi");
  player_.position_ = 7;
  media_.ResumeBookmark();
  EXPECT_EQ(player_.position_, 7);
  media_.Close();
  EXPECT_EQ(ReadAll(BookmarkFile()), "[Bookmark]\r\nc:\\a.avi=100\r\n");
}

TEST_F(BookmarkTest, NoFileNoPictureNoResumeOrSave) {
  media_.Open("c:\\a.avi");
  player_.position_ = 7;
  media_.ResumeBookmark();  // no bookmark file: no seek, no message
  EXPECT_EQ(player_.position_, 7);
  player_.Loaded(0, 0, 0);  // sound only: not open for bookmarks
  media_.Open("c:\\sound.wav");
  media_.Close();
  EXPECT_FALSE(std::filesystem::exists(BookmarkFile()));
}

TEST_F(BookmarkTest, ReadOnlyFileIsNeverWrittenButStillResumes) {
  const std::string stored = "[Bookmark]\r\nc:\\a.avi=100\r\n";
  PutBookmarks(stored);
  std::filesystem::permissions(BookmarkFile(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  media_.Open("c:\\a.avi");
  media_.ResumeBookmark();
  EXPECT_EQ(player_.position_, 95);
  player_.position_ = 1200;
  media_.Close();
  EXPECT_EQ(ReadAll(BookmarkFile()), stored);
  // Writable again while running: the next save goes through.
  std::filesystem::permissions(BookmarkFile(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  media_.Open("c:\\a.avi");
  player_.position_ = 1200;
  media_.Close();
  EXPECT_EQ(ReadAll(BookmarkFile()), "[Bookmark]\r\nc:\\a.avi=1200\r\n");
}

TEST_F(BookmarkTest, GarbageValueResumesAtZeroAndOtherEntriesSurvive) {
  PutBookmarks("[Bookmark]\r\nc:\\a.avi=twelve\r\nc:\\b.avi=50.5\r\n");
  media_.Open("c:\\a.avi");
  player_.position_ = 30;
  media_.ResumeBookmark();
  EXPECT_EQ(player_.position_, 0);
  media_.Open("c:\\b.avi");  // closing a.avi at 0 rewrites its entry only
  media_.ResumeBookmark();
  EXPECT_EQ(player_.position_, 45.5);
  EXPECT_EQ(ReadAll(BookmarkFile()), "[Bookmark]\r\nc:\\a.avi=0\r\nc:\\b.avi=50.5\r\n");
}

// Natively the code page is the Korean one: "가" has a form there, "ก" has none.
TEST_F(BookmarkTest, AnOlderAnsiFileResumesAndTurnsUtf16ForANameOutsideItsCodePage) {
  PutBookmarks("[Bookmark]\r\nc:\\\xB0\xA1.avi=20\r\n");
  media_.Open("c:\\가.avi");
  media_.ResumeBookmark();
  EXPECT_EQ(player_.position_, 15);
  media_.Open("c:\\ก.avi");  // closes 가.avi at 15
  player_.position_ = 30;
  media_.Close();
  const std::string utf16 =
      std::string("\xFF\xFE") + Utf8ToUtf16Le("[Bookmark]\r\nc:\\가.avi=15\r\nc:\\ก.avi=30\r\n");
  EXPECT_EQ(ReadAll(BookmarkFile()), utf16);
  media_.Open("c:\\ก.avi");
  media_.ResumeBookmark();
  EXPECT_EQ(player_.position_, 25);
}

TEST_F(BookmarkTest, NameWithALineBreakIsNotWritten) {
  media_.Open("c:\\a.avi\r\n[Bookmark]\r\nx");
  player_.position_ = 10;
  media_.Close();
  EXPECT_FALSE(std::filesystem::exists(BookmarkFile()));
}

}  // namespace
}  // namespace orves
