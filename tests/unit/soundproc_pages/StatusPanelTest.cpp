// One refresh of the status page: meter rows filled, cleared or left alone,
// the count of rows shown, the buttons and the fields that keep their text.
#include <gtest/gtest.h>

#include "soundproc/frame/pages/StatusPanel.h"

namespace zmsp::pages {
namespace {

using Action = MeterRowView::Action;

PageStatus StereoExpandedTo51() {
  PageStatus status;
  status.input = {.parsed = true, .formatTag = 1, .channels = 2, .samplesPerSec = 44100, .bitsPerSample = 16};
  status.output = {.parsed = true,
                   .formatTag = 0xFFFE,
                   .channels = 6,
                   .samplesPerSec = 44100,
                   .bitsPerSample = 16,
                   .extensible = true,
                   .channelMask = 0x3F,
                   .validBitsPerSample = 16};
  status.levels = {32767, 1, 0, 100, 200, 300, 5, 5};
  return status;
}

TEST(StatusPanel, StereoExpandedToSixChannels) {
  const StatusView view = BuildStatusView(StereoExpandedTo51(), kMeterRows);
  EXPECT_EQ(*view.input, "2Ch / 44100Hz / 16bit");
  EXPECT_EQ(*view.output, "6Ch / 44100Hz / 16bit\r\r\nFL FR FC LF BL BR ");
  const char* const labels[] = {"CH1 (FL)", "CH2 (FR)", "CH3 (FC)", "CH4 (LF)", "CH5 (BL)", "CH6 (BR)"};
  for (int row = 0; row < 6; ++row) {
    EXPECT_EQ(view.rows[row].action, Action::Fill);
    EXPECT_EQ(view.rows[row].label, labels[row]);
  }
  EXPECT_EQ(view.rows[0].value, "32767");
  EXPECT_EQ(view.rows[0].bar, 999);
  EXPECT_EQ(view.rows[1].bar, 0) << "a level of 1 shows no bar";
  EXPECT_EQ(view.rows[6].action, Action::Clear);
  EXPECT_EQ(view.rows[7].action, Action::Clear);
  EXPECT_EQ(view.rowsShown, 6);
}

TEST(StatusPanel, RowsBeyondBothCountsAreLeftAlone) {
  PageStatus status = StereoExpandedTo51();
  status.output.channels = 2;
  const StatusView view = BuildStatusView(status, 4);
  EXPECT_EQ(view.rows[1].action, Action::Fill);
  EXPECT_EQ(view.rows[2].action, Action::Clear);
  EXPECT_EQ(view.rows[3].action, Action::Clear);
  EXPECT_EQ(view.rows[4].action, Action::Keep);
  EXPECT_EQ(view.rows[7].action, Action::Keep);
  EXPECT_EQ(view.rowsShown, 2);
}

TEST(StatusPanel, ThirtyTwoBitLevelsShownOnTheSixteenBitScale) {
  PageStatus status = StereoExpandedTo51();
  status.output.bitsPerSample = 32;
  status.levels[0] = 65536;
  const StatusView view = BuildStatusView(status, kMeterRows);
  EXPECT_EQ(view.rows[0].value, "1");
  EXPECT_EQ(view.rows[0].bar, 0);
}

TEST(StatusPanel, AMaskOfANonExtensibleFormatNamesNoSpeakers) {
  PageStatus status = StereoExpandedTo51();
  status.output = {true, 1, 2, 44100, 16, false, 0x3F, 0};  // mask left over from an earlier type
  const StatusView view = BuildStatusView(status, kMeterRows);
  EXPECT_EQ(view.rows[0].label, "CH1 ");
}

TEST(StatusPanel, NoFormatYetKeepsTheFieldsAndShowsNoRows) {
  PageStatus status;
  status.expander.dmoExists = true;
  const StatusView view = BuildStatusView(status, kMeterRows);
  EXPECT_FALSE(view.input.has_value());
  EXPECT_FALSE(view.output.has_value());
  for (const MeterRowView& row : view.rows) EXPECT_EQ(row.action, Action::Clear);
  EXPECT_EQ(view.rowsShown, 0);
  EXPECT_TRUE(view.expansionButtonEnabled);
  EXPECT_FALSE(view.stretchButtonEnabled);
  EXPECT_EQ(view.expansion, "OFF");
  EXPECT_EQ(view.speed, "OFF");
  EXPECT_EQ(view.channelControl, "OFF");
}

}  // namespace
}  // namespace zmsp::pages
