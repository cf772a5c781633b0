#include <memory>

#include <gtest/gtest.h>

#include "player/playback/Movie.h"
#include "player/core/Setup.h"
#include "tests/unit/playback/PlaybackFakes.h"

namespace orves {
namespace {

using testing::FakeLayout;
using testing::FakePanels;
using testing::FakePlayer;
using testing::FakeSkin;
using testing::FakeStateText;
using testing::Log;
using testing::TempSettings;
using Pair = std::pair<std::string, std::string>;

class FakeMedia : public testing::NullMedia {
 public:
  explicit FakeMedia(const FakePlayer& player) : player_(player) {}
  bool HasPicture() const override { return player_.ImageSourceWidth() != 0; }
  double CurrentPosition() const override { return player_.CurrentPosition(); }
  double Duration() const override { return player_.Duration(); }
  void Reload() override { ++reloads; }
  int reloads = 0;

 private:
  const FakePlayer& player_;
};

class MovieTest : public ::testing::Test {
 protected:
  void SetUp() override { Make(); }

  void Make(const std::string& ini = "") {
    movie_.reset();
    if (!ini.empty()) settings_.Put(ini);
    setup_ = std::make_unique<TSetup>(settings_.Path());
    movie_ =
        std::make_unique<TMovie>(*setup_, TMovieServices{player_, panels_, layout_, skin_, media_, state_});
  }

  // A picture of the given size, in full screen, with `blocks` cut.
  void FullScreenPicture(int width, int height, int blocks) {
    player_.Loaded(width, height, 100);
    layout_.fullScreen = true;
    movie_->SetCuttingBlock(blocks);
  }

  Log log_;
  TempSettings settings_{"movie"};
  FakePlayer player_{log_};
  FakePanels panels_{log_};
  FakeLayout layout_{log_};
  FakeSkin skin_{log_};
  FakeMedia media_{player_};
  FakeStateText state_;
  std::unique_ptr<TSetup> setup_;
  std::unique_ptr<TMovie> movie_;
};

TEST_F(MovieTest, CroppingKeepsAtLeastFourThirds) {
  FullScreenPicture(720, 480, 1);
  EXPECT_EQ(movie_->VisibleWidth(), 688);
  movie_->SetCuttingBlock(2);  // k43 = 2: the 4:3 limit is reached
  EXPECT_EQ(movie_->VisibleWidth(), 640);
  movie_->SetCuttingBlock(3);
  EXPECT_EQ(movie_->VisibleWidth(), 640);
  movie_->SetForce43(false);
  EXPECT_EQ(movie_->VisibleWidth(), 656);  // still limited to k43 blocks
  movie_->SetCuttingBlock(0);
  EXPECT_EQ(movie_->VisibleWidth(), 720);
}

TEST_F(MovieTest, FourThirdsSourceCannotBeCropped) {
  FullScreenPicture(640, 480, 5);
  EXPECT_EQ(movie_->VisibleWidth(), 640);
  movie_->SetForce43(false);
  EXPECT_EQ(movie_->VisibleWidth(), 640);
}

TEST_F(MovieTest, NarrowSourceIsNeverWidened) {
  // k43 is negative: no block is cut, and force 4:3 does not apply.
  FullScreenPicture(480, 480, 2);
  EXPECT_EQ(movie_->VisibleWidth(), 480);
}

TEST_F(MovieTest, FixedAspectDecidesTheBlocks) {
  Make("[Movie]\nDoFixRate=169\n");
  FullScreenPicture(720, 576, 0);
  EXPECT_EQ(movie_->VisibleWidth(), 720);  // k169 = -9, nothing cut
  player_.Loaded(1280, 540, 100);          // k169 = (1280 - 960) / 32 = 10
  EXPECT_EQ(movie_->VisibleWidth(), 960);
  movie_->SetFixRate(43);  // k43 = (1280 - 720) / 32 = 17, forced to exactly 4:3
  EXPECT_EQ(movie_->VisibleWidth(), 720);
}

TEST_F(MovieTest, WindowedModeCropsOnlyWithCropInWindow) {
  player_.Loaded(720, 480, 100);
  movie_->SetCuttingBlock(1);
  EXPECT_EQ(movie_->CuttingBlocks(), 1);
  EXPECT_EQ(state_.Last(), Pair("양쪽 자르기 : 1 BLOCK", "CUTTINIG SIDE : 1 BLOCK"));
  EXPECT_EQ(movie_->VisibleWidth(), 720);
  movie_->SetCutWhenWindow(true);
  EXPECT_EQ(movie_->VisibleWidth(), 688);
}

TEST_F(MovieTest, NoPictureGivesTheOnePixelGeometry) {
  EXPECT_EQ(movie_->VisibleWidth(), 1);
  EXPECT_EQ(movie_->SourceHeight(), 1);
  panels_.width = 300;
  panels_.height = 200;
  movie_->FitInnerPanel();
  EXPECT_EQ(log_, (Log{"InnerPosition", "InnerSize", "Repaint"}));
  EXPECT_EQ(panels_.left, -20);
  EXPECT_EQ(panels_.top, -20);
  EXPECT_EQ(panels_.innerWidth, 10);
  EXPECT_EQ(panels_.innerHeight, 10);
}

TEST_F(MovieTest, PictureWithoutHeightDoesNotDivideByZero) {
  player_.Loaded(720, 0, 100);
  layout_.fullScreen = true;
  movie_->SetCuttingBlock(1);
  panels_.width = 300;
  panels_.height = 200;
  EXPECT_EQ(movie_->SourceHeight(), 1);
  movie_->FitInnerPanel();
  EXPECT_EQ(panels_.innerWidth, 200 * 720);
  EXPECT_GT(movie_->VisibleWidth(), 0);
}

TEST_F(MovieTest, InnerPanelFillsTheMoviePanelWithoutCropping) {
  player_.Loaded(720, 480, 100);
  panels_.width = 400;
  panels_.height = 266;
  log_.clear();
  movie_->FitInnerPanel();
  // Size before position when the left edge is not negative.
  EXPECT_EQ(log_, (Log{"InnerSize", "InnerPosition", "Repaint"}));
  EXPECT_EQ(panels_.left, 0);
  EXPECT_EQ(panels_.top, 0);
  EXPECT_EQ(panels_.innerWidth, 400);
  EXPECT_EQ(panels_.innerHeight, 266);
}

TEST_F(MovieTest, CroppedInnerPanelIsTheWholePictureCentred) {
  FullScreenPicture(720, 480, 1);
  panels_.width = 401;
  panels_.height = 300;
  log_.clear();
  movie_->FitInnerPanel();
  // 300 * 720 / 480 = 450; (401 - 450) / 2 truncates toward zero to -24.
  EXPECT_EQ(panels_.innerWidth, 450);
  EXPECT_EQ(panels_.left, -26);
  EXPECT_EQ(log_, (Log{"InnerPosition", "InnerSize", "Repaint"}));
}

TEST_F(MovieTest, FixedAspectAloneWidensTheInnerPanelInFullScreen) {
  Make("[Movie]\nDoFixRate=43\n");
  player_.Loaded(800, 400, 100);
  panels_.width = 500;
  panels_.height = 400;
  movie_->FitInnerPanel();
  EXPECT_EQ(panels_.innerWidth, 500);  // windowed, crop in window off
  layout_.fullScreen = true;
  movie_->FitInnerPanel();
  EXPECT_EQ(panels_.innerWidth, 800);
  EXPECT_EQ(panels_.left, (500 - 800) / 2 - 2);
}

TEST_F(MovieTest, VolumeIsClampedMutedAndReported) {
  movie_->SetVolume(-100);
  EXPECT_EQ(state_.Last(), Pair("소리크기 : 96%", "VOLUME : 96%"));
  movie_->SetVolume(0);
  movie_->VolumeUp();
  EXPECT_EQ(movie_->Volume(), 0);
  EXPECT_EQ(player_.volume_, 0);
  EXPECT_FALSE(player_.mute_);
  EXPECT_EQ(state_.Last(), Pair("소리크기 : 100%", "VOLUME : 100%"));
  movie_->SetVolume(-3250);
  movie_->VolumeDown();
  EXPECT_EQ(movie_->Volume(), -3200);
  EXPECT_EQ(player_.volume_, -3200);
  EXPECT_TRUE(player_.mute_);
  EXPECT_EQ(state_.Last(), Pair("소리크기 : 0%", "VOLUME : 0%"));
  movie_->VolumeUp();
  EXPECT_FALSE(player_.mute_);
}

TEST_F(MovieTest, VolumeMovesTheThumbsFirst) {
  log_.clear();
  movie_->SetVolume(-500);
  EXPECT_EQ(log_, (Log{"PlaceThumbs"}));
  EXPECT_EQ(state_.shown.size(), 1u);
}

TEST_F(MovieTest, BrightnessIsClampedReloadsAndIsReported) {
  movie_->SetBrightness(15);
  EXPECT_EQ(state_.Last(), Pair("밝기조절 : 15% 밝게", "BRIGHTNESS : 15% BRIGHT"));
  movie_->SetBrightness(-110);
  EXPECT_EQ(movie_->Brightness(), -100);
  EXPECT_EQ(state_.Last(), Pair("밝기조절 : 100% 어둡게", "BRIGHTNESS : 100% DARK"));
  movie_->SetBrightness(10);
  movie_->BrightnessDown();
  EXPECT_EQ(state_.Last(), Pair("밝기조절 : 기본값", "BRIGHTNESS : DEFAULT"));
  movie_->SetBrightness(95);
  movie_->BrightnessUp();
  EXPECT_EQ(movie_->Brightness(), 100);
  EXPECT_EQ(media_.reloads, 6);
}

TEST_F(MovieTest, CroppingIsRefusedWhileAnAspectIsFixed) {
  Make("[Movie]\nDoFixRate=43\n");
  movie_->AddCuttingBlock();
  EXPECT_EQ(movie_->CuttingBlocks(), 0);
  EXPECT_EQ(state_.Last(), Pair(" 4:3 고정모드 입니다", " 4:3 FIX MODE"));
  movie_->SetFixRate(169);
  movie_->AddCuttingBlock();
  EXPECT_EQ(state_.Last(), Pair(" 16:9 고정모드 입니다", " 16:9 FIX MODE"));
  EXPECT_EQ(movie_->CuttingBlocks(), 0);
  EXPECT_TRUE(log_.empty());  // the picture was never hidden
}

TEST_F(MovieTest, NegativeBlocksAreRefusedSilently) {
  movie_->MinusCuttingBlock();
  EXPECT_EQ(movie_->CuttingBlocks(), 0);
  EXPECT_TRUE(state_.shown.empty());
  EXPECT_TRUE(log_.empty());
}

TEST_F(MovieTest, CroppingHidesResizesAndShowsThePicture) {
  movie_->SetCuttingBlock(2);
  EXPECT_EQ(log_, (Log{"Hide", "Show"}));
  log_.clear();
  movie_->SetCutWhenWindow(true);
  movie_->AddCuttingBlock();
  EXPECT_EQ(log_, (Log{"Hide", "ResizeFromHeight", "Show"}));
  EXPECT_EQ(movie_->CuttingBlocks(), 3);
}

TEST_F(MovieTest, SelectAudioStreamNamesTheStream) {
  player_.streams_ = {"Korean", "English"};
  movie_->SelectAudioStream(1);
  EXPECT_EQ(log_, (Log{"StreamSelect=1"}));
  EXPECT_EQ(state_.Last(), Pair("오디오 언어 : English", "AUDIO LANGUAGE : English"));
}

TEST_F(MovieTest, StartClosesAndAppliesTheStoredVolume) {
  Make("[Movie]\nVolume=-800\n");
  movie_->Start();
  EXPECT_EQ(log_.front(), "FileName=");
  EXPECT_EQ(player_.volume_, -800);
  EXPECT_FALSE(player_.mute_);
  EXPECT_EQ(state_.Last(), Pair("소리크기 : 75%", "VOLUME : 75%"));
}

TEST_F(MovieTest, StopPausesAndRewinds) {
  player_.Loaded(320, 240, 10);
  movie_->SetFileName("c:\\a.avi");
  log_.clear();
  movie_->Stop();
  EXPECT_EQ(log_, (Log{"Pause", "Position=0.000000"}));
  movie_->SetPosition(25);
  EXPECT_EQ(player_.position_, 10);
  movie_->SetPosition(-3);
  EXPECT_EQ(player_.position_, 0);
}

TEST_F(MovieTest, StoredValuesAreReadBackAndClamped) {
  Make(
      "[Movie]\nDivxBrightness=500\nDivxProcess=20\nVolume=-9000\nDoFixRate=169\nCutWhenWindow=7\nForce43="
      "0\n");
  EXPECT_EQ(movie_->Brightness(), 100);
  EXPECT_EQ(movie_->Processing(), 20);
  EXPECT_EQ(movie_->Volume(), -3200);
  EXPECT_EQ(movie_->FixRate(), 169);
  EXPECT_TRUE(movie_->CutWhenWindow());
  EXPECT_FALSE(movie_->Force43());
}

}  // namespace
}  // namespace orves
