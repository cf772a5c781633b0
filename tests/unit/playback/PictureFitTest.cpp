// The picture layout inside the media panel, the caption band's effect on it,
// caption switching and the playback speed.
#include <algorithm>

#include <gtest/gtest.h>

#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/playback/PictureFit.h"
#include "player/core/Setup.h"
#include "tests/unit/playback/PlaybackFakes.h"

namespace orves {
namespace {

using testing::FakeCaptions;
using testing::FakeMediaPanels;
using testing::FakePanels;
using testing::FakePlayer;
using testing::FakeStateText;
using testing::Log;
using testing::TempSettings;
using Pair = std::pair<std::string, std::string>;

// A cropped 636 x 358 picture with a 40-pixel caption band below it.
PictureFitInput Picture(int mediaWidth, int mediaHeight) {
  PictureFitInput in;
  in.mediaWidth = mediaWidth;
  in.mediaHeight = mediaHeight;
  in.hasPicture = true;
  in.displayWidth = 636;
  in.displayHeight = 398;
  in.sourceHeight = 358;
  in.captionRise = 30;
  in.captionBand = 38;
  return in;
}

TEST(PictureFitTest, WidthLimitedPictureSitsAtTheTopOfItsBand) {
  const PictureFit fit = FitPictureBounds(Picture(646, 486));  // free area 640 x 480
  // height = 358 * 640 / 636 = 360.25, rounded up; top = 3 + (480 - 400) / 2
  EXPECT_EQ(fit.movie, (PanelBounds{3, 43, 640, 361}));
  // The caption block: 30 * 640 / 636 = 30 above the lower edge, 68 in all.
  EXPECT_EQ(fit.caption, (PanelBounds{3, 374, 640, 68}));
  EXPECT_EQ(fit.stateText, (PanelBounds{3, 3, 640, 20}));
}

TEST(PictureFitTest, HeightLimitedPictureIsCentredHorizontally) {
  const PictureFit fit = FitPictureBounds(Picture(806, 486));  // free area 800 x 480
  // width = 636 * 480 / 398 = 767; height = 358 * 767 / 636 = 431.7, rounded up
  EXPECT_EQ(fit.movie, (PanelBounds{19, 3, 767, 432}));
  EXPECT_EQ(fit.caption.left, 19);
  EXPECT_EQ(fit.caption.width, 767);
  EXPECT_EQ(fit.stateText, (PanelBounds{19, 3, 800, 20}));
}

TEST(PictureFitTest, FullScreenHasNoMarginAndTheBarPushesTheStateTextDown) {
  PictureFitInput in = Picture(1024, 768);
  in.fullScreen = true;
  in.stateTextTop = 40;
  const PictureFit fit = FitPictureBounds(in);
  EXPECT_EQ(fit.movie.left, 0);
  EXPECT_EQ(fit.movie.width, 1024);
  EXPECT_EQ(fit.stateText, (PanelBounds{0, 43, 1024, 20}));
}

TEST(PictureFitTest, NoPictureLeavesAOnePixelMovieAndNoCaption) {
  PictureFitInput in;
  in.mediaWidth = 300;
  in.mediaHeight = 200;
  const PictureFit fit = FitPictureBounds(in);
  EXPECT_EQ(fit.movie, (PanelBounds{3, 3, 1, 1}));
  EXPECT_EQ(fit.caption, (PanelBounds{0, 1, 0, 0}));
}

TEST(PictureFitTest, DegenerateSizesGiveNoNegativeOrWrappedPanels) {
  PictureFitInput tiny = Picture(4, 2);  // smaller than the two margins
  PictureFit fit = FitPictureBounds(tiny);
  EXPECT_GE(fit.movie.width, 0);
  EXPECT_GE(fit.movie.height, 0);
  EXPECT_GE(fit.stateText.width, 0);
  PictureFitInput huge = Picture(2000000000, 2000000000);
  huge.displayWidth = 0;  // never a divisor
  fit = FitPictureBounds(huge);
  EXPECT_GT(fit.movie.width, 0);
  EXPECT_GT(fit.movie.height, 0);
}

class MediaLayoutTest : public ::testing::Test {
 protected:
  MediaLayoutTest() {
    panels_.width = 646;
    panels_.height = 486;
  }

  Log log_;
  TempSettings settings_{"media-layout"};
  TSetup setup_{settings_.Path()};
  testing::MediaRig rig_{setup_, log_, log_};
  FakePlayer& player_ = rig_.player;
  testing::FakeMediaPanels& panels_ = rig_.panels;
  testing::FakeLayout& layout_ = rig_.layout;
  testing::FakeCaptions& captions_ = rig_.captions;
  FakeStateText& state_ = rig_.state;
  TMedia& media_ = rig_.media;
};

TEST_F(MediaLayoutTest, FitPicturePlacesThePanelsInOrder) {
  player_.Loaded(640, 360, 100);
  media_.Open("c:\\a.avi", {"c:\\a.smi"});
  captions_.rise = 20;
  captions_.band = 40;
  log_.clear();
  media_.FitPicture();
  // Display 640 x 400 in a 640 x 480 area: width limits; height 360.
  EXPECT_EQ(log_, (Log{"Movie=3,43,640,360", "InnerSize", "InnerPosition", "Repaint", "Caption=3,383,640,60",
                       "UpdateCaption", "StateText=3,3,640,20", "ArrangePlayList"}));
}

TEST_F(MediaLayoutTest, FitPictureWaitsForAVisibleMovieUnlessForced) {
  panels_.movieVisible = false;
  media_.FitPicture();
  EXPECT_TRUE(log_.empty());
  media_.FitPicture(true);
  EXPECT_EQ(log_.front(), "Movie=3,3,1,1");
}

TEST_F(MediaLayoutTest, FullScreenBarCoversTheStateTextUnlessAlwaysShown) {
  player_.Loaded(640, 360, 100);
  media_.Open("c:\\a.avi");
  layout_.fullScreen = true;
  rig_.skin.barHeight = 30;
  log_.clear();
  media_.FitPicture();
  EXPECT_EQ(log_[log_.size() - 2], "StateText=0,33,646,20");
  layout_.barAlwaysShown = true;
  media_.FitPicture();
  EXPECT_EQ(log_[log_.size() - 2], "StateText=0,3,646,20");
}

TEST_F(MediaLayoutTest, CaptionBandCountsOnlyWhenCaptionsAreOnAndLoaded) {
  player_.Loaded(640, 360, 100);
  captions_.band = 40;
  media_.Open("c:\\a.avi");
  EXPECT_EQ(media_.DisplayHeight(), 360);  // no caption file
  media_.Open("c:\\a.avi", {"c:\\a.smi"});
  EXPECT_EQ(media_.DisplayHeight(), 400);
  EXPECT_EQ(media_.DisplayWidth(), 640);
  log_.clear();
  media_.ToggleCaption();
  EXPECT_FALSE(media_.CaptionsOn());
  EXPECT_EQ(media_.DisplayHeight(), 360);
  EXPECT_EQ(log_, (Log{"UpdateCaption", "ResizeKeepingAspect"}));
  EXPECT_EQ(state_.Last(), Pair("자막 : OFF", "CAPTION : OFF"));
  media_.ToggleCaption();
  EXPECT_EQ(state_.Last(), Pair("자막 : ON", "CAPTION : ON"));
}

TEST_F(MediaLayoutTest, OpenLoadsTheCaptionFileAndCloseClearsIt) {
  player_.Loaded(640, 360, 100);
  media_.Open("c:\\a.avi", {"c:\\a.smi"});
  EXPECT_EQ(captions_.fileName, "c:\\a.smi");
  player_.position_ = 42;
  log_.clear();
  media_.Reload();
  EXPECT_EQ(captions_.fileName, "c:\\a.smi");
  EXPECT_EQ(player_.position_, 42);
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "LoadCaption=c:\\a.smi"), 1);
  media_.Close();
  EXPECT_FALSE(captions_.has);
  EXPECT_TRUE(captions_.fileName.empty());
}

TEST_F(MediaLayoutTest, ACaptionFileNeverFollowsTheNextMovie) {
  player_.Loaded(640, 360, 100);
  media_.Open("c:\\a.avi", {"c:\\a.smi"});
  media_.Open("c:\\b.avi");
  captions_.fileName = "c:\\a.smi";  // whatever the caption view may still name
  log_.clear();
  media_.Reload();  // as a brightness key does
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "LoadCaption=c:\\a.smi"), 0);
  EXPECT_FALSE(captions_.has);
}

TEST_F(MediaLayoutTest, SpeedStopsAtItsLimitsAndSetsTheRate) {
  for (int i = 0; i < 25; ++i) media_.SpeedUp();
  EXPECT_EQ(media_.Speed(), 200);
  EXPECT_DOUBLE_EQ(player_.rate_, 2.0);
  EXPECT_EQ(state_.Last(), Pair("재생 속도 : 200 %", "PLAYING SPEED : 200 %"));
  for (int i = 0; i < 50; ++i) media_.SpeedDown();
  EXPECT_EQ(media_.Speed(), 10);
  EXPECT_DOUBLE_EQ(player_.rate_, 0.1);
  media_.SetSpeed(-1000000);
  EXPECT_EQ(media_.Speed(), 10);
  media_.SetSpeed(103);
  EXPECT_EQ(state_.Last().second, "PLAYING SPEED : 103 %");
  media_.Open("c:\\b.avi");  // another file keeps the speed
  EXPECT_EQ(media_.Speed(), 103);
}

TEST_F(MediaLayoutTest, StepsSeekFromTheCurrentPosition) {
  player_.Loaded(640, 360, 3600);
  media_.Open("c:\\a.avi");
  player_.position_ = 4;
  media_.Rewind();
  EXPECT_EQ(player_.position_, 0);
  EXPECT_EQ(state_.Last().second, "MOVE TO : 00:00:00 / 01:00:00");
  media_.FastFind2();
  media_.FastFind();
  EXPECT_EQ(player_.position_, 70);
  media_.Rewind2();
  EXPECT_EQ(player_.position_, 10);
}

}  // namespace
}  // namespace orves
