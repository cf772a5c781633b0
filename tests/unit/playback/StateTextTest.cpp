#include <memory>

#include <gtest/gtest.h>

#include "player/playback/StateText.h"
#include "player/core/Setup.h"
#include "tests/unit/playback/PlaybackFakes.h"

namespace orves {
namespace {

using testing::Log;
using testing::TempSettings;

class FakeView : public IStateTextView {
 public:
  void Render(const std::string& text) override { rendered.push_back(text); }
  void Show() override { visible = true; }
  void Hide() override { visible = false; }
  bool IsVisible() const override { return visible; }
  std::vector<std::string> rendered;
  bool visible = false;
};

class FakeClock : public testing::NullMedia {
 public:
  bool HasPicture() const override { return picture; }
  double CurrentPosition() const override { return position; }
  double Duration() const override { return duration; }
  bool picture = true;
  double position = 61.7;
  double duration = 3600;
};

class StateTextTest : public ::testing::Test {
 protected:
  void SetUp() override { Make(); }
  void Make(const std::string& ini = "") {
    state_.reset();
    if (!ini.empty()) settings_.Put(ini);
    setup_ = std::make_unique<TSetup>(settings_.Path());
    state_ = std::make_unique<TStateText>(*setup_, view_, clock_);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) state_->Tick();
  }

  TempSettings settings_{"statetext"};
  FakeView view_;
  FakeClock clock_;
  std::unique_ptr<TSetup> setup_;
  std::unique_ptr<TStateText> state_;
};

TEST_F(StateTextTest, EnglishByDefaultKoreanBySetting) {
  state_->ShowState("일시정지", "PAUSED");
  EXPECT_EQ(view_.rendered, (std::vector<std::string>{"PAUSED"}));
  Make("[StateText]\nKorean=1\n");
  state_->ShowState("일시정지", "PAUSED");
  EXPECT_EQ(state_->CurrentText(), "일시정지");
}

TEST_F(StateTextTest, MessageLivesTwelveTicksAfterItsLastShowing) {
  state_->ShowState("a", "VOLUME : 96%");
  EXPECT_TRUE(view_.visible);
  Ticks(11);
  EXPECT_TRUE(view_.visible);
  state_->ShowState("a", "VOLUME : 96%");  // the same text: renewed, not redrawn
  EXPECT_EQ(view_.rendered.size(), 1u);
  Ticks(11);
  EXPECT_TRUE(view_.visible);
  Ticks(1);
  EXPECT_FALSE(view_.visible);
  EXPECT_EQ(state_->Countdown(), 0);
}

TEST_F(StateTextTest, EachNewTextIsRendered) {
  for (int v = 100; v > 95; --v) state_->ShowState("", "VOLUME : " + std::to_string(v) + "%");
  EXPECT_EQ(view_.rendered.size(), 5u);
  EXPECT_EQ(state_->Countdown(), TStateText::kLifeTicks);
}

TEST_F(StateTextTest, DisabledDropsMessagesButNotTheTime) {
  Make("[StateText]\nEnabled=0\nShowTime=1\n");
  view_.visible = true;
  state_->ShowState("일시정지", "PAUSED");
  EXPECT_FALSE(view_.visible);
  EXPECT_TRUE(view_.rendered.empty());
  state_->Tick();
  EXPECT_EQ(state_->CurrentText(), "00:01:01 / 01:00:00");
  EXPECT_TRUE(view_.visible);
  // A short Korean text (fewer than three bytes) is not the time display.
  state_->ShowState("", "");
  EXPECT_FALSE(view_.visible);
}

TEST_F(StateTextTest, MessageReplacesTheTimeUntilItIsHidden) {
  Make("[StateText]\nShowTime=1\n");
  state_->Tick();
  EXPECT_EQ(state_->CurrentText(), "00:01:01 / 01:00:00");
  state_->ShowState("일시정지", "PAUSED");
  Ticks(11);
  EXPECT_EQ(state_->CurrentText(), "PAUSED");
  state_->Tick();  // hidden on this tick, the time comes back on the same tick
  EXPECT_EQ(state_->CurrentText(), "00:01:01 / 01:00:00");
  EXPECT_TRUE(view_.visible);
  const size_t renders = view_.rendered.size();
  Ticks(30);  // the same second: no redraw, but it stays up
  EXPECT_EQ(view_.rendered.size(), renders);
  EXPECT_TRUE(view_.visible);
}

TEST_F(StateTextTest, TimeWithoutPictureIsZero) {
  Make("[StateText]\nShowTime=1\n");
  clock_.picture = false;
  state_->Tick();
  EXPECT_EQ(state_->CurrentText(), "00:00:00 / 00:00:00");
}

TEST_F(StateTextTest, TimeDisplayWrapsHoursAtNinetyNine) {
  Make("[StateText]\nShowTime=1\n");
  clock_.position = 100 * 3600 + 59.9;
  clock_.duration = 101 * 3600;
  state_->Tick();
  EXPECT_EQ(state_->CurrentText(), "01:00:59 / 02:00:00");
}

TEST(StateTextInkTest, SkinColourOnAColouredPanelGreyOnBlack) {
  EXPECT_EQ(StateTextInk(0x000000, 0x00FF00), 0xCCCCCCu);
  EXPECT_EQ(StateTextInk(0x102030, 0x00FF00), 0x00FF00u);
}

}  // namespace
}  // namespace orves
