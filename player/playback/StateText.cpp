#include "player/playback/StateText.h"

#include "player/playback/TimeText.h"
#include "player/shell/Setup.h"

namespace orves {

namespace {
// The time display ("hh:mm:ss / hh:mm:ss") is the one text whose third byte
// is a colon; it is shown even with messages switched off.
bool IsTimeDisplay(const std::string& text) { return text.size() > 2 && text[2] == ':'; }
}  // namespace

TStateText::TStateText(TSetup& setup) : setup_(setup) {
  korean_ = setup_.ReadFlag(Section, "Korean", false);
  enabled_ = setup_.ReadFlag(Section, "Enabled", true);
  showTime_ = setup_.ReadFlag(Section, "ShowTime", false);
}

TStateText::~TStateText() {
  setup_.WriteFlag(Section, "Korean", korean_);
  setup_.WriteFlag(Section, "Enabled", enabled_);
  setup_.WriteFlag(Section, "ShowTime", showTime_);
}

void TStateText::ShowState(const std::string& korean, const std::string& english) {
  if (!enabled_ && !IsTimeDisplay(korean)) {
    if (view_) view_->Hide();
    return;
  }
  const std::string& text = korean_ ? korean : english;
  // The same text again only renews its lifetime; nothing is redrawn.
  if (text != currentText_) {
    currentText_ = text;
    if (view_) view_->Render(currentText_);
  }
  if (view_) view_->Show();
  countdown_ = kLifeTicks;
}

void TStateText::Tick() {
  if (countdown_ > 0) {
    --countdown_;
    if (countdown_ == 0 && view_) view_->Hide();
  }
  if (!showTime_) return;
  // Another message is on screen: the time comes back once it is hidden.
  const bool visible = view_ ? view_->IsVisible() : countdown_ > 0;
  if (visible && !IsTimeDisplay(currentText_)) return;
  const bool picture = media_ && media_->HasPicture();
  const std::string position = picture ? PositionText(media_->CurrentPosition()) : TimeText(0LL);
  const std::string duration = picture ? PositionText(media_->Duration()) : TimeText(0LL);
  const std::string text = position + " / " + duration;
  ShowState(text, text);
}

}  // namespace orves
