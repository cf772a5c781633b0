#include "player/playback/StateText.h"

#include "player/core/TimeText.h"
#include "player/core/SettingsTable.h"

namespace orves {

namespace {
// The time display ("hh:mm:ss / hh:mm:ss") is the one text whose third byte
// is a colon; it is shown even with messages switched off.
bool IsTimeDisplay(const std::string& text) { return text.size() > 2 && text[2] == ':'; }
}  // namespace

const SettingsTable<TStateText>& TStateText::SettingsKeys() {
  using S = TStateText;
  static constexpr SettingKey<S> keys[] = {
      FlagKey("Korean", &S::korean_, false)
          .Shown(Check("chkStateTextKorean", "상태표시 한글로 보기", {kPageAdvanced, 12, 8, 400, 20}, 802)),
      FlagKey("Enabled", &S::enabled_, true)
          .Shown(Check("chkShowStatus", "상태표시 켜기", {kPageView, 12, 36, 200, 20}, 103)),
      FlagKey("ShowTime", &S::showTime_, false)
          .Shown(Check("chkShowTime", "재생시간 표시", {kPageView, 12, 60, 200, 20}, 104)),
  };
  static constexpr SettingsTable<S> table("StateText", keys);
  return table;
}

TStateText::TStateText(TSetup& setup, IStateTextView& view, const IMediaView& media)
    : setup_(setup), view_(view), media_(media) {
  SettingsKeys().Read(setup_, *this);
}

TStateText::~TStateText() { SettingsKeys().Write(setup_, *this); }

void TStateText::ShowState(const std::string& korean, const std::string& english) {
  if (!enabled_ && !IsTimeDisplay(korean)) {
    view_.Hide();
    return;
  }
  const std::string& text = korean_ ? korean : english;
  // The same text again only renews its lifetime; nothing is redrawn.
  if (text != currentText_) {
    currentText_ = text;
    view_.Render(currentText_);
  }
  view_.Show();
  countdown_ = kLifeTicks;
}

void TStateText::Tick() {
  if (countdown_ > 0) {
    --countdown_;
    if (countdown_ == 0) view_.Hide();
  }
  if (!showTime_) return;
  // Another message is on screen: the time comes back once it is hidden.
  if (view_.IsVisible() && !IsTimeDisplay(currentText_)) return;
  const bool picture = media_.HasPicture();
  const std::string position = picture ? PositionText(media_.CurrentPosition()) : TimeText(0LL);
  const std::string duration = picture ? PositionText(media_.Duration()) : TimeText(0LL);
  const std::string text = position + " / " + duration;
  ShowState(text, text);
}

}  // namespace orves
