#pragma once
// TStateText: the one-line on-screen message. Every message is a pair of a
// Korean and an English text; the `Korean` setting picks one. A message stays
// 12 main-timer ticks (2.4 s) after its last showing; the same text shown
// again only renews that time. With `ShowTime` the playing time is shown
// permanently. Section `StateText`: Korean, Enabled, ShowTime.
//
// Drawing goes through IStateTextView, so the rules here run without a window.
#include <cstdint>
#include <string>

#include "player/core/Services.h"

namespace orves {

class TSetup;
template <class Owner>
class SettingsTable;

// The state text's colours (0x00BBGGRR). The panel's colour is the one left
// out of the letter-shaped region; the letters take the skin's colour, except
// on a black panel, where they are light grey.
inline constexpr uint32_t kStateTextPanelColour = 0x000000;
inline constexpr uint32_t kStateTextGrey = 0xCCCCCC;
constexpr uint32_t StateTextInk(uint32_t panelColour, uint32_t skinTextColour) {
  return panelColour == 0 ? kStateTextGrey : skinTextColour;
}

// The panel `pnlStateText` with its paint box.
class IStateTextView {
 public:
  virtual ~IStateTextView() = default;
  // Render a new text (UTF-8); called only when the text changes.
  virtual void Render(const std::string& text) = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool IsVisible() const = 0;
};

class TStateText final : public IStateText {
 public:
  TStateText(TSetup& setup, IStateTextView& view, const IMediaView& media);
  ~TStateText() override;
  TStateText(const TStateText&) = delete;
  TStateText& operator=(const TStateText&) = delete;

  static const SettingsTable<TStateText>& SettingsKeys();
  static constexpr int kLifeTicks = 12;  // 2.4 s of the 200 ms main timer

  void ShowState(const std::string& korean, const std::string& english) override;
  // Called by the main timer every 200 ms: the countdown and the time display.
  void Tick() override;
  void ResetCountdown() { countdown_ = 0; }

  const std::string& CurrentText() const { return currentText_; }
  int Countdown() const { return countdown_; }

  bool Korean() const { return korean_; }
  void SetKorean(bool on) { korean_ = on; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) { enabled_ = on; }
  bool ShowTime() const override { return showTime_; }
  void SetShowTime(bool on) override { showTime_ = on; }

 private:
  TSetup& setup_;
  IStateTextView& view_;
  const IMediaView& media_;
  std::string currentText_;
  int countdown_ = 0;
  bool korean_{};
  bool enabled_{};
  bool showTime_{};
};

}  // namespace orves
