#include "player/window/PlayList.h"

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "player/core/Paths.h"
#include "player/core/Setup.h"

namespace orves {
namespace {

namespace fs = std::filesystem;

// Windows-style paths map to files below a temporary folder, so the list's
// .list reading and writing run against real profile files.
class FakeFiles : public IFileSystem {
 public:
  explicit FakeFiles(fs::path root) : root_(std::move(root)) {}
  std::set<std::string> existing;
  bool FileExists(const std::string& path) const override {
    return existing.count(path) > 0 || fs::exists(ToFsPath(path));
  }
  std::vector<std::string> ListFolder(const std::string& folder) const override {
    std::vector<std::string> names;
    for (const auto& path : existing) {
      if (FolderOf(path) == folder) {
        names.push_back(FileNameOf(path));
      }
    }
    return names;
  }
  int CompareNoCase(const std::string& a, const std::string& b) const override {
    return LowerAscii(a).compare(LowerAscii(b));
  }
  fs::path ToFsPath(const std::string& path) const override {
    std::string flat = path;
    for (char& c : flat) {
      if (c == '\\' || c == ':') {
        c = '_';
      }
    }
    return root_ / flat;
  }

 private:
  fs::path root_;
};

class RecordingMedia : public IPlayListMedia {
 public:
  std::vector<std::pair<std::string, std::vector<std::string>>> opened;
  int closed = 0;
  bool OpenMovie(const std::string& movie, const std::vector<std::string>& captions) override {
    opened.emplace_back(movie, captions);
    return unplayable.count(movie) == 0;
  }
  std::set<std::string> unplayable;
  void CloseMedia() override { ++closed; }
  bool SmartCaptionFinding() const override { return smart; }
  bool smart = true;
};

// Measures a caption as 5 pixels per byte; the frame is a 640 x 480 media
// panel at (100, 50) on the screen, the state text 20 pixels high at 10.
class FakePanel : public IPlayListPanel {
 public:
  std::vector<std::string> rows;
  PlayListPlace placed;
  bool visible = false;
  PlayListFrame frame{640, 480, 100, 50, 10, 20};
  int SetRows(const std::vector<std::string>& captions) override {
    rows = captions;
    int widest = 0;
    for (const std::string& caption : captions) {
      widest = std::max(widest, static_cast<int>(caption.size()) * 5);
    }
    return widest;
  }
  PlayListFrame Frame() const override { return frame; }
  void Place(const PlayListPlace& place) override { placed = place; }
  void SetVisible(bool shown) override { visible = shown; }
};

class RecordingStateText : public IStateText {
 public:
  std::vector<std::string> english;
  void ShowState(const std::string&, const std::string& text) override { english.push_back(text); }
  void Tick() override {}
  bool ShowTime() const override { return false; }
  void SetShowTime(bool) override {}
};

class PlayListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::temp_directory_path() /
        ("orves-playlist-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_);
    files_ = std::make_unique<FakeFiles>(root_);
    setup_ = std::make_unique<TSetup>(root_ / "OrvesMP20.ini");
  }
  void TearDown() override {
    setup_.reset();
    fs::remove_all(root_);
  }
  std::unique_ptr<TPlayList> MakeList() {
    return std::make_unique<TPlayList>(*setup_, "Z:\\bin\\OrvesMP.list",
                                       TPlayListServices{*files_, media_, panel_, stateText_});
  }
  void WriteList(const std::string& winPath, const std::string& text) {
    std::ofstream(files_->ToFsPath(winPath), std::ios::binary) << text;
  }
  static std::vector<std::string> Entries(const TPlayList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) {
      out.push_back(list.Entry(i));
    }
    return out;
  }

  fs::path root_;
  std::unique_ptr<FakeFiles> files_;
  std::unique_ptr<TSetup> setup_;
  RecordingMedia media_;
  FakePanel panel_;
  RecordingStateText stateText_;
};

TEST_F(PlayListTest, AddKeepsByteOrderAndTheCurrentEntryFollows) {
  auto list = MakeList();
  EXPECT_EQ(list->ItemIndex(), -1);
  list->Add("C:\\b.avi");
  list->PlayIndex(0);
  list->Add("C:\\a.avi");
  EXPECT_EQ(Entries(*list), (std::vector<std::string>{"C:\\a.avi", "C:\\b.avi"}));
  EXPECT_EQ(list->Current(), 1);
  list->Add("C:\\A.avi");  // exact comparison: both kept, upper case first
  list->Add("C:\\a.avi");  // already listed
  list->Add("C:\\c.avi");
  EXPECT_EQ(Entries(*list), (std::vector<std::string>{"C:\\A.avi", "C:\\a.avi", "C:\\b.avi", "C:\\c.avi"}));
  EXPECT_EQ(list->Current(), 2);
  // Bytes compare unsigned: a Korean name sorts after ASCII ones.
  list->Add("C:\\가.avi");
  EXPECT_EQ(list->Entry(4), "C:\\가.avi");
}

TEST_F(PlayListTest, CaptionFilesAreSkippedAndListsExpanded) {
  auto list = MakeList();
  list->Add("C:\\x.SMI");
  EXPECT_EQ(list->Count(), 0);
  WriteList("C:\\two.LIST", "[NUM]\nNUM=3\n[0]\nFileName=C:\\m\\b.avi\n[1]\nFileName=C:\\m\\a.avi\n[2]\n");
  list->Add("C:\\two.LIST");
  EXPECT_EQ(Entries(*list), (std::vector<std::string>{"C:\\m\\a.avi", "C:\\m\\b.avi"}));
  list->Add("C:\\missing.list");
  EXPECT_EQ(list->Count(), 2);
}

TEST_F(PlayListTest, ListsNamingThemselvesOrEachOtherEndWithoutRecursing) {
  WriteList("C:\\self.list", "[NUM]\nNUM=2\n[0]\nFileName=C:\\self.list\n[1]\nFileName=C:\\other.list\n");
  WriteList("C:\\other.list", "[NUM]\nNUM=2\n[0]\nFileName=C:\\self.list\n[1]\nFileName=C:\\movie.avi\n");
  auto list = MakeList();
  list->Add("C:\\self.list");
  EXPECT_EQ(Entries(*list), (std::vector<std::string>{"C:\\movie.avi"}));
}

TEST_F(PlayListTest, AWebOfListsNamingEachOtherLoadsEachListOnce) {
  // Twelve lists, each naming all twelve and one movie of its own: expanding
  // every path through the web would take 12! loads.
  constexpr int kLists = 12;
  for (int i = 0; i < kLists; ++i) {
    std::string text = "[NUM]\nNUM=" + std::to_string(kLists + 1) + "\n";
    for (int j = 0; j < kLists; ++j) {
      text += "[" + std::to_string(j) + "]\nFileName=C:\\l" + std::to_string(j) + ".list\n";
    }
    text += "[" + std::to_string(kLists) + "]\nFileName=C:\\m" + std::to_string(i) + ".avi\n";
    WriteList("C:\\l" + std::to_string(i) + ".list", text);
  }
  auto list = MakeList();
  list->Add("C:\\l0.list");
  EXPECT_EQ(list->Count(), kLists);
  list->Add("C:\\l5.list");  // a later, separate expansion works the same
  EXPECT_EQ(list->Count(), kLists);
}

TEST_F(PlayListTest, HugeOrGarbageNumIsBoundedByTheCapacity) {
  WriteList("C:\\huge.list", "[NUM]\nNUM=2147483647\n[0]\nFileName=C:\\a.avi\n");
  WriteList("C:\\junk.list", "[NUM]\nNUM=lots\n[0]\nFileName=C:\\b.avi\n");
  auto list = MakeList();
  list->Add("C:\\huge.list");
  list->Add("C:\\junk.list");
  EXPECT_EQ(Entries(*list), (std::vector<std::string>{"C:\\a.avi"}));
}

// Names in any script survive; an older list in the code page still loads
// (natively the Korean one, which has no form for Thai).
TEST_F(PlayListTest, SaveAndLoadRoundTripThroughTheDefaultList) {
  const std::vector<std::string> names{"C:\\m\\one.avi", "C:\\m\\ก.avi", "C:\\m\\한글 영화 제목.avi"};
  {
    auto list = MakeList();
    for (const std::string& name : names) list->Add(name);
  }  // destruction saves the default list
  auto list = MakeList();
  list->Start();
  EXPECT_EQ(Entries(*list), names);
  WriteList("C:\\old.list", "[NUM]\r\nNUM=1\r\n[0]\r\nFileName=C:\\\xC7\xD1\xB1\xDB.avi\r\n");
  list->Clear();
  list->Add("C:\\old.list");
  EXPECT_EQ(Entries(*list), (std::vector<std::string>{"C:\\한글.avi"}));
}

TEST_F(PlayListTest, DeletingTheCurrentEntryClosesTheMovieWithoutPlayingTheNext) {
  auto list = MakeList();
  for (const char* p : {"C:\\a.avi", "C:\\b.avi", "C:\\c.avi"}) {
    list->Add(p);
  }
  list->PlayIndex(1);
  ASSERT_EQ(media_.opened.size(), 1u);
  list->Delete(1);
  EXPECT_EQ(media_.closed, 1);
  EXPECT_EQ(list->Current(), 1);
  EXPECT_EQ(list->Entry(1), "C:\\c.avi");
  EXPECT_EQ(media_.opened.size(), 1u);
  list->Delete(0);  // before the current one: current follows its entry
  EXPECT_EQ(list->Current(), 0);
  list->Delete(7);  // out of range: nothing
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->Current(), 0);
}

TEST_F(PlayListTest, PlayNextStopsAtTheEndUnlessAutoRewind) {
  auto list = MakeList();
  list->Add("C:\\a.avi");
  list->Add("C:\\b.avi");
  list->PlayIndex(5);
  EXPECT_TRUE(media_.opened.empty());
  list->PlayIndex(1);
  list->PlayNext();
  EXPECT_EQ(media_.opened.size(), 1u);
  list->autoRewind = true;
  list->PlayNext();
  ASSERT_EQ(media_.opened.size(), 2u);
  EXPECT_EQ(media_.opened.back().first, "C:\\a.avi");
  list->PlayPrevious();
  EXPECT_EQ(media_.opened.size(), 2u);
}

// A movie that cannot be played hands on to the next entry; every entry is
// tried once at most, AutoRewind or not.
TEST_F(PlayListTest, EntriesThatCannotBePlayedAreSkippedOnceEach) {
  auto list = MakeList();
  for (const char* p : {"C:\\a.avi", "C:\\b.avi", "C:\\c.avi"}) {
    list->Add(p);
  }
  const auto openedNames = [this] {
    std::vector<std::string> names;
    for (const auto& [movie, caption] : media_.opened) names.push_back(movie);
    media_.opened.clear();
    return names;
  };
  media_.unplayable = {"C:\\a.avi", "C:\\b.avi"};
  list->PlayIndex(0);
  EXPECT_EQ(openedNames(), (std::vector<std::string>{"C:\\a.avi", "C:\\b.avi", "C:\\c.avi"}));
  EXPECT_EQ(list->Current(), 2);
  media_.unplayable.insert("C:\\c.avi");
  list->PlayIndex(1);  // no AutoRewind: the end of the list ends it
  EXPECT_EQ(openedNames(), (std::vector<std::string>{"C:\\b.avi", "C:\\c.avi"}));
  list->autoRewind = true;
  list->PlayIndex(1);
  EXPECT_EQ(openedNames(), (std::vector<std::string>{"C:\\b.avi", "C:\\c.avi", "C:\\a.avi"}));
  EXPECT_EQ(list->Current(), 0);
}

TEST_F(PlayListTest, FindCaptionTriesTheEndingsAndTheDashVariants) {
  auto list = MakeList();
  files_->existing = {"C:\\m\\Film-01.smi"};
  EXPECT_EQ(list->FindCaption("C:\\m\\Film_01.avi"), "C:\\m\\Film-01.smi");
  files_->existing = {"C:\\m\\Film.sami"};
  EXPECT_EQ(list->FindCaption("C:\\m\\Film.avi"), "C:\\m\\Film.sami");
  files_->existing = {"C:\\m\\Film.smil", "C:\\m\\Film.sami"};
  EXPECT_EQ(list->FindCaption("C:\\m\\Film.avi"), "C:\\m\\Film.smil");
  files_->existing = {"C:\\subs\\Film.smi", "C:\\m\\Film.smi"};
  list->useCaptionFolder = true;
  list->captionFolder = "C:\\subs";
  EXPECT_EQ(list->FindCaption("C:\\m\\Film.avi"), "C:\\subs\\Film.smi");
}

TEST_F(PlayListTest, SmartFindingPairsTheFoldersMoviesAndCaptionsByOrder) {
  auto list = MakeList();
  files_->existing = {"C:\\m\\a.avi", "C:\\m\\B.avi", "C:\\m\\x.smi", "C:\\m\\Y.SMI"};
  EXPECT_EQ(list->FindCaption("C:\\m\\B.avi"), "C:\\m\\Y.SMI");
  media_.smart = false;
  EXPECT_EQ(list->FindCaption("C:\\m\\B.avi"), "C:\\m\\B.sami");
  media_.smart = true;
  files_->existing.insert("C:\\m\\c.avi");  // counts differ: no pairing
  EXPECT_EQ(list->FindCaption("C:\\m\\B.avi"), "C:\\m\\B.sami");
}

TEST_F(PlayListTest, PlayIndexHandsTheFoundCaptionToTheMedia) {
  files_->existing = {"C:\\m\\Film.smi"};
  auto list = MakeList();
  list->Add("C:\\m\\Film.avi");
  list->PlayIndex(0);
  ASSERT_EQ(media_.opened.size(), 1u);
  EXPECT_EQ(media_.opened[0].first, "C:\\m\\Film.avi");
  EXPECT_EQ(media_.opened[0].second, std::vector<std::string>{"C:\\m\\Film.smi"});
  EXPECT_EQ(list->DisplayName(0), "Film.avi");
}

TEST_F(PlayListTest, RefreshMarksThePlayingEntryAndSizesThePanelToTheWidestCaption) {
  auto list = MakeList();
  list->Add("C:\\m\\b.avi");
  list->Add("C:\\m\\a-long-name-that-needs-a-wider-panel.avi");
  list->PlayIndex(1);
  EXPECT_EQ(panel_.rows, (std::vector<std::string>{"\u3000 1: a-long-name-that-needs-a-wider-panel.avi",
                                                   "\u25CF 2: b.avi"}));
  const int widest = static_cast<int>(panel_.rows[0].size()) * 5;
  EXPECT_EQ(panel_.placed.panel.width, widest + 54);
  EXPECT_EQ(panel_.placed.panel.height, 2 * 16 + 47);
  EXPECT_EQ(list->width, widest + 54);  // the width in force is what is saved
  list->Delete(0);
  EXPECT_EQ(panel_.rows, (std::vector<std::string>{"\u25CF 1: b.avi"}));
}

TEST_F(PlayListTest, TheSwitchedOnPanelStaysUpFourTicksThenFollowsThePointer) {
  auto list = MakeList();
  list->Add("C:\\a.avi");
  const int insideX = 100 + 10 + 5;
  const int insideY = 50 + 40 + 5;
  list->TickPanel(insideX, insideY);
  EXPECT_FALSE(panel_.visible);  // switched off
  list->TogglePanel();
  EXPECT_EQ(stateText_.english.back(), "PLAYLIST : ON");
  for (int tick = 0; tick < 4; ++tick) {
    list->TickPanel(0, 0);
    EXPECT_TRUE(panel_.visible) << tick;
  }
  list->TickPanel(0, 0);
  EXPECT_FALSE(panel_.visible);
  list->TickPanel(insideX, insideY);
  EXPECT_TRUE(panel_.visible);
  list->TogglePanel();
  EXPECT_EQ(stateText_.english.back(), "PLAYLIST : OFF");
  list->TickPanel(insideX, insideY);
  EXPECT_FALSE(panel_.visible);
  list->ToggleAutoSort();
  EXPECT_EQ(stateText_.english.back(), "PLAYLIST AUTO SORT : OFF");
}

}  // namespace
}  // namespace orves
