#pragma once
// The caption view as TMedia sees it (IMediaCaptions). Header only: whoever
// creates it links the caption library; the playback library itself does
// not depend on it. File names cross as UTF-8.
#include <filesystem>
#include <string>

#include "player/captions/CaptionView.h"
#include "player/playback/PlaybackLinks.h"

namespace orves {

class CaptionViewLink final : public IMediaCaptions {
 public:
  explicit CaptionViewLink(TCaptionView& view) : view_(view) {}

  void LoadCaptionFile(const std::string& fileName) override {
    view_.LoadCaptionFile(std::filesystem::path(std::u8string(fileName.begin(), fileName.end())));
  }
  void ClearCaptions() override { view_.ClearCaptions(); }
  std::string CaptionFileName() const override {
    const std::u8string name = view_.Document().FileName().u8string();
    return std::string(name.begin(), name.end());
  }
  bool HasCaptions() const override { return view_.HasCaptions(); }
  int CaptionRise() const override { return view_.CaptionRise(); }
  int CaptionBand() const override { return view_.CaptionBand(); }
  void UpdateCaption() override { view_.UpdateCaption(); }

 private:
  TCaptionView& view_;
};

}  // namespace orves
