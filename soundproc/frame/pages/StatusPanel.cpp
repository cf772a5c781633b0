#include "soundproc/frame/pages/StatusPanel.h"

#include "soundproc/frame/pages/PageText.h"
#include "soundproc/stages/SoundMeter.h"

namespace zmsp::pages {

namespace {

MeterRowView RowView(const PageStatus& status, int row, int channels, int rowsShown) {
  MeterRowView view;
  if (row <= channels) {
    // A mask describes the speakers only in an extensible format.
    const std::uint32_t mask = status.output.extensible ? status.output.channelMask : 0;
    const MeterDisplay shown =
        LevelToDisplay(status.levels[static_cast<std::size_t>(row - 1)], status.output.bitsPerSample);
    view.action = MeterRowView::Action::Fill;
    view.label = MeterRowLabel(row, mask);
    view.value = std::to_string(shown.shown);
    view.bar = shown.bar;
  } else if (row <= rowsShown) {
    view.action = MeterRowView::Action::Clear;
  }
  return view;
}

}  // namespace

StatusView BuildStatusView(const PageStatus& status, int rowsShown) {
  StatusView view;
  view.expansionButtonEnabled = status.expander.dmoExists;
  view.stretchButtonEnabled = status.stretcher.dmoExists;
  const int channels = status.output.channels;
  for (int row = 1; row <= kMeterRows; ++row) {
    view.rows[static_cast<std::size_t>(row - 1)] = RowView(status, row, channels, rowsShown);
  }
  view.input = FormatText(status.input);
  view.output = FormatText(status.output);
  view.expansion = ExpansionText(status.expander);
  view.speed = SpeedText(status.stretcher);
  view.channelControl = ChannelControlText(status.channelControl);
  view.rowsShown = channels;
  return view;
}

}  // namespace zmsp::pages
