#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/core/Setup.h"
#include "tests/unit/playback/PlaybackFakes.h"

namespace orves {
namespace {

using testing::FakePanels;
using testing::FakePlayer;
using testing::FakeSkin;
using testing::FakeStateText;
using testing::Log;
using testing::TempSettings;
using Pair = std::pair<std::string, std::string>;

class MediaTest : public ::testing::Test {
 protected:
  MediaTest() { rig_.panels.movieVisible = false; }

  Log log_;
  Log around_;
  TempSettings settings_{"media"};
  TSetup setup_{settings_.Path()};
  testing::MediaRig rig_{setup_, log_, around_};
  FakePlayer& player_ = rig_.player;
  FakeStateText& state_ = rig_.state;
  TMovie& movie_ = rig_.movie;
  TMedia& media_ = rig_.media;
};

TEST_F(MediaTest, OpenClosesThenPlaysWithThePlayingMessage) {
  player_.Loaded(320, 240, 10);
  media_.Open("c:\\movies\\a.avi");
  EXPECT_EQ(log_, (Log{"FileName=", "FileName=c:\\movies\\a.avi", "Play"}));
  EXPECT_TRUE(player_.ownDecoders_);  // the OwnDecoders setting reaches the control
  EXPECT_EQ(state_.Last(), Pair("재생 : (1/1) \"a.avi\"", "PLAYING : (1/1) \"a.avi\""));
  rig_.playList.index = 2;
  rig_.playList.count = 5;
  media_.Play();
  EXPECT_EQ(state_.Last(), Pair("재생 : (3/5) \"a.avi\"", "PLAYING : (3/5) \"a.avi\""));
}

TEST_F(MediaTest, AFileThatCannotBePlayedSaysSoAndLeavesNothingOpen) {
  player_.Loaded(320, 240, 10);
  player_.unplayable = {"c:\\movies\\broken.avi"};
  media_.Open("c:\\movies\\broken.avi", {"c:\\movies\\broken.smi"});
  EXPECT_EQ(state_.Last(),
            Pair("재생할 수 없는 파일입니다 : \"broken.avi\"", "CANNOT PLAY THIS FILE : \"broken.avi\""));
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "Play"), 0);
  EXPECT_TRUE(movie_.FileName().empty());
  EXPECT_FALSE(rig_.captions.HasCaptions());
  const size_t shown = state_.shown.size();
  media_.Play();  // nothing open: no playing message
  EXPECT_EQ(state_.shown.size(), shown);
}

TEST_F(MediaTest, PlayingNameIsCutAtWholeCharacters) {
  std::string name;
  for (int i = 0; i < 100; ++i) name += "가";  // three bytes each in UTF-8
  media_.Open("d:\\" + name + ".avi");
  const std::string english = state_.Last().second;
  const std::string shown = english.substr(english.find('"') + 1, english.size() - english.find('"') - 2);
  EXPECT_EQ(shown.size(), 255u);  // 85 whole characters, not 256 bytes
  EXPECT_EQ(shown, name.substr(0, 255));
}

TEST_F(MediaTest, NothingPlaysWithoutAFileName) {
  media_.Play();
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(state_.shown.empty());
}

TEST_F(MediaTest, PauseAndSeekNeedAPicture) {
  media_.Open("c:\\sound.wav");  // opened, but no picture
  log_.clear();
  state_.shown.clear();
  media_.Pause();
  media_.SeekTo(3);
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(state_.shown.empty());
  player_.Loaded(320, 240, 10);
  media_.Pause();
  EXPECT_EQ(log_, (Log{"Pause"}));
  EXPECT_EQ(state_.Last(), Pair("일시정지", "PAUSED"));
}

TEST_F(MediaTest, SeekIsClampedAndReported) {
  player_.Loaded(320, 240, 3725.5);
  media_.Open("c:\\a.avi");
  log_.clear();
  media_.SeekTo(-6);
  EXPECT_EQ(log_, (Log{"PlaceThumbs", "Position=0.000000"}));
  EXPECT_EQ(state_.Last(), Pair("이동 : 00:00:00 / 01:02:05", "MOVE TO : 00:00:00 / 01:02:05"));
  media_.SeekTo(1e9);
  EXPECT_EQ(player_.position_, 3725.5);
  EXPECT_EQ(state_.Last().second, "MOVE TO : 01:02:05 / 01:02:05");
  media_.SeekTo(61.9);
  EXPECT_EQ(state_.Last().second, "MOVE TO : 00:01:01 / 01:02:05");
}

TEST_F(MediaTest, ReloadReopensAtTheSamePlace) {
  player_.Loaded(320, 240, 10);
  media_.Open("c:\\a.avi");
  media_.SeekTo(4.5);
  log_.clear();
  media_.Reload();
  EXPECT_EQ(log_, (Log{"FileName=", "FileName=", "FileName=c:\\a.avi", "Play", "PlaceThumbs",
                       "Position=4.500000"}));
  EXPECT_EQ(movie_.FileName(), "c:\\a.avi");
}

TEST_F(MediaTest, StopRewindsWithoutMessage) {
  player_.Loaded(320, 240, 10);
  media_.Open("c:\\a.avi");
  state_.shown.clear();
  log_.clear();
  media_.Stop();
  EXPECT_EQ(log_, (Log{"Pause", "Position=0.000000"}));
  EXPECT_TRUE(state_.shown.empty());
}

TEST(MovieCaptionsChoice, FirstKoreanAndFirstEnglishTaggedElseALoneTrack) {
  struct Case {
    std::vector<const char*> tags;
    std::vector<int> chosen;
  };
  const Case cases[] = {
      {{"jpn", "eng", "KOR", "ko", "en"}, {2, 1}},
      {{"en"}, {0}},
      {{""}, {0}},
      {{"jpn"}, {0}},
      {{"", "und"}, {}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    std::vector<TMovieTextTrack> tracks;
    for (const char* tag : c.tags) tracks.push_back({"", tag, "", TTrackMarkup::SubRip});
    EXPECT_EQ(ChooseMovieTracks(tracks), c.chosen) << c.tags.size();
  }
}

TEST_F(MediaTest, AMoviesOwnCaptionsLoadOnceReadUnlessACaptionFileWasFound) {
  player_.Loaded(320, 240, 10);
  player_.textTracks_ = {{"1", "eng", "english", TTrackMarkup::SubRip},
                         {"2", "kor", "korean", TTrackMarkup::Ass}};
  auto loads = [&] {
    return std::count_if(around_.begin(), around_.end(),
                         [](const std::string& line) { return line.starts_with("LoadMovieTracks"); });
  };
  media_.Open("c:\\m.mkv");
  media_.PollMovieCaptions();
  EXPECT_EQ(loads(), 0);  // the cues are still being read
  EXPECT_FALSE(media_.MovieTrackInUse(1));
  player_.cuesRead_ = {{0, {{0, 1000, "e"}}}, {1, {{0, 1000, "한"}}}};
  media_.PollMovieCaptions();
  media_.PollMovieCaptions();
  EXPECT_EQ(around_.back(), "LoadMovieTracks=korean,english");
  EXPECT_EQ(loads(), 1);

  media_.ChooseMovieTrack(0);
  EXPECT_EQ(around_.back(), "LoadMovieTracks=english,korean (chosen)");
  EXPECT_TRUE(media_.MovieTrackInUse(0) && media_.MovieTrackInUse(1));

  around_.clear();
  media_.Open("c:\\m.mkv", {"c:\\m.srt"});
  media_.PollMovieCaptions();
  EXPECT_EQ(loads(), 0);
  EXPECT_FALSE(media_.MovieTrackInUse(0) || media_.MovieTrackInUse(1));
}

}  // namespace
}  // namespace orves
