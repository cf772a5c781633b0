#pragma once
// A main window for TSkin in tests: a fixed size, settable playback values
// and mouse gesture, and a record of what the skin asked of it.
#include <map>
#include <string>
#include <vector>

#include "player/window/Skin.h"

namespace orves::testing {

struct FakeSkinWindow final : ISkinWindow, ISkinPlayback {
  int width = 400;
  int height = 300;
  bool fullScreen = false;
  TMouseAction mouseAction;
  bool open = false;
  double position = 0;
  double duration = 0;
  int volume = 0;
  int dpi = 96;

  int applied = 0;
  bool resized = false;
  std::vector<std::string> errors;
  std::vector<PlacedText> drawn;
  std::map<int, std::pair<int, int>> thumbAt;  // bar -> left, top
  int thumbMoves = 0;
  bool frameThumbsShown = true;

  TSkinServices Services() { return {*this, *this, mouseAction}; }

  void WindowSize(int& w, int& h) const override { w = width, h = height; }
  bool FullScreen() const override { return fullScreen; }
  int Dpi() const override { return dpi; }
  bool MovieOpen() const override { return open; }
  double Position() const override { return position; }
  double Duration() const override { return duration; }
  int Volume() const override { return volume; }
  void ApplySkin(const SkinData&, bool resizeWindow) override {
    ++applied;
    resized = resizeWindow;
  }
  void DrawTexts(const std::vector<PlacedText>& texts) override { drawn = texts; }
  void MoveThumbPanel(int bar, int left, int top) override {
    thumbAt[bar] = {left, top};
    ++thumbMoves;
  }
  void ShowFrameThumbs(bool shown) override { frameThumbsShown = shown; }
  void ShowSkinError(const std::string& text) override { errors.push_back(text); }
};

}  // namespace orves::testing
