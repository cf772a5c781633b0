#pragma once
// TCaptionView: the player's one caption object. It owns the caption
// document, picks the entry for the playback position (shown 0.3 s before its
// start, shifted by the user's sync offset), holds the caption language and
// the OrveCaption settings, and reports every command as a Korean/English
// message pair through the state text.
#include <filesystem>
#include <string>
#include <vector>

#include "player/captions/CaptionPorts.h"
#include "player/core/Services.h"
#include "player/captions/CaptionSettings.h"
#include "player/captions/SamiDocument.h"
#include "player/captions/CaptionSaver.h"

namespace orves {

class TSetup;

// Captions are shown this long before their start time.
inline constexpr double kCaptionLead = 0.3;
inline constexpr double kMaxSyncOffset = 9999999;

// Index of the entry current at `position` with `syncOffset`, or -1: entry k
// is current when start[k] - 0.3 + offset <= position < start[k+1] - 0.3 +
// offset. The last entry is never current (a SAMI file ends with a blank
// entry), so a table of fewer than two entries shows nothing. Assumes the
// starts ascend, as in any caption file played in order.
int FindCurrentEntry(const std::vector<TCaptionEntry>& table, double position, double syncOffset);

// The caption block's extent above (rise) and below (band) the movie's lower
// edge, in source pixels, for a movie of `width` x `height`, caption position
// `position` and size `size`.
int CaptionRiseFor(int width, int height, int position, int size);
int CaptionBandFor(int width, int height, int position, int size);

// The services of the caption view.
struct TCaptionViewServices {
  IStateText& stateText;
  ICaptionRenderer& renderer;
  ILayout& layout;
  const IMediaView& media;
  IMessageBox& messageBox;
};

class TCaptionView final : public ICaptions {
 public:
  static constexpr int PositionStep = 5;  // the two position commands
  static constexpr int SizeStep = 5;      // the two size commands

  // Reads section OrveCaption.
  TCaptionView(TSetup& setup, ITextCodec& codec, const TCaptionViewServices& services);
  // Writes section OrveCaption.
  ~TCaptionView() override;
  TCaptionView(const TCaptionView&) = delete;
  TCaptionView& operator=(const TCaptionView&) = delete;

  // Document.
  void LoadCaptionFile(const std::filesystem::path& path) override;
  // A Korean and an English file, one per table (see TSamiDocument).
  void LoadCaptionFiles(const std::vector<std::filesystem::path>& paths) override;
  void LoadMovieTracks(const std::vector<TLoadedTextTrack>& tracks, bool chosen) override;
  void ClearCaptions() override;
  // The file of the table shown.
  std::filesystem::path CaptionFileName() const override;
  // The table shown, with the sync offset applied, in the format of the
  // name's extension or else the format it was read in. An empty document is
  // never written over an existing file.
  TSaveResult SaveCaptionFile(const std::filesystem::path& path) const;
  const TSamiDocument& Document() const { return document_; }
  bool HasCaptions() const override;

  // Timing: shows the entry of the current position, or hides the caption.
  void UpdateCaption() override;
  void ForceRedraw();

  // Commands, each reporting its effect through the state text.
  void SetSyncOffset(double seconds) override;
  void ShiftSync(double seconds) override;
  void SwitchLanguage() override;
  void SetCaptionPosition(int position);
  void CaptionMoveUp() override;                  // position + PositionStep
  void CaptionMoveDown() override;                // position - PositionStep
  void ApplyPositionPreset(int preset) override;  // 1, 2 or 3
  void SetCaptionSize(int size);
  void CaptionSizeUp() override { SetCaptionSize(settings_.heightRate + SizeStep); }
  void CaptionSizeDown() override { SetCaptionSize(settings_.heightRate - SizeStep); }
  void SetOutLineRate(int rate);
  void OutLineRatePlus() override { SetOutLineRate(settings_.outLineRate + 1); }
  void OutLineRateMinus() override { SetOutLineRate(settings_.outLineRate - 1); }
  void SetShadowRate(int rate);
  void ShadowRatePlus() override { SetShadowRate(settings_.shadowRate + 1); }
  void ShadowRateMinus() override { SetShadowRate(settings_.shadowRate - 1); }
  void ToggleAntiAliase() override;
  void ToggleFontBold() override;
  bool AntiAliase() const override { return settings_.antiAliase; }
  bool FontBold() const override { return settings_.fontBold; }

  double SyncOffset() const { return syncOffset_; }
  TCaptionLanguage Language() const { return language_; }
  // The options dialog writes its values here directly.
  TCaptionSettings& Settings() { return settings_; }
  const TCaptionSettings& Settings() const { return settings_; }

  // Placement of the caption panel for the open movie (Layout).
  int CaptionRise() const override;
  int CaptionBand() const override;

 private:
  void ShowSyncMessage();
  void ResizeAround(int& field, int value, const char* korean, const char* english);
  void Hide();

  TSetup& setup_;
  ITextCodec& codec_;
  TCaptionViewServices services_;
  TCaptionSettings settings_;
  TSamiDocument document_;
  TCaptionLanguage language_ = TCaptionLanguage::Korean;
  double syncOffset_ = 0;
};

}  // namespace orves
