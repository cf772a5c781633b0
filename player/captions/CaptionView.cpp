#include "player/captions/CaptionView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "player/core/Setup.h"
#include "player/core/Paths.h"

namespace orves {
namespace {

constexpr int kSizeBase = 130;

constexpr const char* kJapaneseTitle = "Orve's MP";
constexpr const char* kJapaneseNotice =
    "자막에서 일어를 발견하였습니다.\n\n"
    "일부글꼴의 경우 일어를 제대로 표시하지 못하니,\n"
    "일어가 나오지 않는다면 일어를 지원하는 글꼴(굴림,바탕등)으로 바꾸시기 바랍니다.\n\n"
    "※ 이 창은 한번만 표시됩니다";

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Percent(const char* prefix, int value) { return prefix + std::to_string(value) + "%"; }

const char* OnOff(bool on) { return on ? "ON" : "OFF"; }

}  // namespace

int FindCurrentEntry(const std::vector<TCaptionEntry>& table, double position, double syncOffset) {
  const auto shown = [&](int i) { return table[i].start - kCaptionLead + syncOffset; };
  int lo = 0;
  int hi = static_cast<int>(table.size()) - 2;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    if (shown(mid) > position) {
      hi = mid - 1;
    } else if (shown(mid + 1) > position) {
      return mid;
    } else {
      lo = mid + 1;
    }
  }
  return -1;
}

// 64-bit arithmetic: the products overflow 32 bits only for absurd movie
// sizes, where the result is meaningless anyway but must not be undefined.
int CaptionRiseFor(int width, int height, int position, int size) {
  const int64_t h = height == 0 ? 1 : height;
  const int64_t s = h + width;
  if (position <= 100) return static_cast<int>(s * size * position / kSizeBase / 1000);
  const int64_t base = s * size * 100 / kSizeBase / 1000;
  const int64_t climb = (h - 3 * base) * (position - 100) / 180 + base;
  return static_cast<int>(std::max(base, climb));
}

int CaptionBandFor(int width, int height, int position, int size) {
  if (position >= 100) return 0;
  const int64_t s = int64_t{height == 0 ? 1 : height} + width;
  return static_cast<int>(s * size * (100 - position) / kSizeBase / 1000);
}

TCaptionView::TCaptionView(TSetup& setup, ITextCodec& codec, const TCaptionViewServices& services)
    : setup_(setup), codec_(codec), services_(services), document_(codec) {
  settings_.Read(setup_);
}

TCaptionView::~TCaptionView() { settings_.Write(setup_); }

void TCaptionView::LoadCaptionFile(const std::filesystem::path& path) { LoadCaptionFiles({path}); }

void TCaptionView::LoadCaptionFiles(const std::vector<std::filesystem::path>& paths) {
  const TSamiDocument::TLoadResult result = document_.LoadCaptionFiles(paths);
  if (!result.loaded) return;
  if (result.japanese && !settings_.warnedJapaness) {
    services_.messageBox.ShowInformation(kJapaneseTitle, kJapaneseNotice);
    settings_.warnedJapaness = true;
  }
  language_ = ChooseLoadLanguage(document_.Count(TCaptionLanguage::Korean),
                                 document_.Count(TCaptionLanguage::English));
  UpdateCaption();
  services_.layout.ResizeKeepingAspect();
}

namespace {
TCaptionFormat FormatOfMarkup(TTrackMarkup markup) {
  switch (markup) {
    case TTrackMarkup::Ass:
      return TCaptionFormat::Ass;
    case TTrackMarkup::WebVtt:
      return TCaptionFormat::WebVtt;
    case TTrackMarkup::SubRip:
    case TTrackMarkup::Plain:
      break;
  }
  return TCaptionFormat::SubRip;
}
}  // namespace

void TCaptionView::LoadMovieTracks(const std::vector<TLoadedTextTrack>& tracks, bool chosen) {
  if (!chosen && !document_.FileName().empty()) return;  // a caption file wins
  document_.Clear();
  std::optional<TCaptionLanguage> first;
  for (const TLoadedTextTrack& loaded : tracks) {
    std::vector<TSamiDocument::TTrackCue> cues;
    cues.reserve(loaded.cues.size());
    for (const TMovieTextCue& cue : loaded.cues) cues.push_back({cue.start, cue.end, cue.text});
    const std::optional<TCaptionLanguage> table = document_.AddTrack(
        FormatOfMarkup(loaded.track.markup), cues, LanguageOfTag(loaded.track.language), loaded.track.title);
    if (!first) first = table;
  }
  language_ = chosen && first ? *first
                              : ChooseLoadLanguage(document_.Count(TCaptionLanguage::Korean),
                                                   document_.Count(TCaptionLanguage::English));
  ForceRedraw();
  services_.layout.ResizeKeepingAspect();
}

void TCaptionView::ClearCaptions() {
  Hide();
  document_.Clear();
}

TSaveResult TCaptionView::SaveCaptionFile(const std::filesystem::path& path) const {
  std::error_code error;
  if (!HasCaptions() && std::filesystem::exists(path, error)) {
    return {false, "No captions to save over " + PathToUtf8(path)};
  }
  return SaveShiftedCaptions(document_, language_, syncOffset_, codec_, path);
}

std::filesystem::path TCaptionView::CaptionFileName() const {
  const TCaptionSource* source = document_.Source(language_);
  return source ? source->fileName : document_.FileName();
}

bool TCaptionView::HasCaptions() const {
  return document_.Count(TCaptionLanguage::Korean) + document_.Count(TCaptionLanguage::English) != 0;
}

void TCaptionView::Hide() { services_.renderer.HideCaption(); }

void TCaptionView::UpdateCaption() {
  const IMediaView& media = services_.media;
  if (media.PictureWidth() == 0 || !services_.layout.CaptionPanelVisible() || !media.CaptionsOn()) {
    Hide();
    return;
  }
  const auto& table = document_.Table(language_);
  const int current = FindCurrentEntry(table, media.CurrentPosition(), syncOffset_);
  if (current < 0) {
    Hide();
  } else {
    services_.renderer.RenderCaption(table[current]);
  }
}

void TCaptionView::ForceRedraw() {
  services_.renderer.ForgetLastWidth();
  UpdateCaption();
}

void TCaptionView::SetSyncOffset(double seconds) {
  // NaN (never produced by the commands) is treated as no offset.
  syncOffset_ = std::isnan(seconds) ? 0 : std::clamp(seconds, -kMaxSyncOffset, kMaxSyncOffset);
  UpdateCaption();
  ShowSyncMessage();
}

void TCaptionView::ShiftSync(double seconds) { SetSyncOffset(syncOffset_ + seconds); }

void TCaptionView::ShowSyncMessage() {
  if (syncOffset_ > -0.05 && syncOffset_ < 0.05) {
    services_.stateText.ShowState("싱크이동 : 그대로", "SYNC MOVE : NO");
    return;
  }
  const std::string amount = Format("%.1f", std::fabs(syncOffset_));
  if (syncOffset_ < 0) {
    services_.stateText.ShowState("싱크이동 : " + amount + "초 일찍", "SYNC MOVE : " + amount + "s EARLIER");
  } else {
    services_.stateText.ShowState("싱크이동 : " + amount + "초 늦게", "SYNC MOVE : " + amount + "s LATER");
  }
}

void TCaptionView::SwitchLanguage() {
  if (language_ == TCaptionLanguage::Korean && document_.Count(TCaptionLanguage::English) > 10) {
    language_ = TCaptionLanguage::English;
  } else if (language_ == TCaptionLanguage::English && document_.Count(TCaptionLanguage::Korean) > 10) {
    language_ = TCaptionLanguage::Korean;
  }
  UpdateCaption();
  const std::string name = LanguageName(language_);
  services_.stateText.ShowState("자막언어설정 : " + name, "CAPTION LANGUAGE : " + name);
}

// Position and size change the caption panel's place: the movie is hidden,
// the window keeps its aspect and the layout shows everything again.
void TCaptionView::ResizeAround(int& field, int value, const char* korean, const char* english) {
  services_.layout.HideMovieForResize();
  field = std::clamp(value, 0, 200);
  services_.stateText.ShowState(Percent(korean, field), Percent(english, field));
  services_.layout.ResizeKeepingAspect();
  services_.layout.ShowMovieAfterResize();
}

void TCaptionView::SetCaptionPosition(int position) {
  ResizeAround(settings_.upHeightRate, position, "자막 위치 : ", "CAPTION POSITION : ");
}

void TCaptionView::CaptionMoveUp() { SetCaptionPosition(settings_.upHeightRate + PositionStep); }

void TCaptionView::CaptionMoveDown() { SetCaptionPosition(settings_.upHeightRate - PositionStep); }

void TCaptionView::SetCaptionSize(int size) {
  ResizeAround(settings_.heightRate, size, "자막 크기 : ", "CAPTION SIZE : ");
}

void TCaptionView::ApplyPositionPreset(int preset) {
  switch (preset) {
    case 1:
      SetCaptionPosition(settings_.upHeightRateShortCut1);
      services_.stateText.ShowState("자막위치 : 겹치게", "CAPTION POSITION 1");
      break;
    case 2:
      SetCaptionPosition(settings_.upHeightRateShortCut2);
      services_.stateText.ShowState("자막위치 : 반 걸치게", "CAPTION POSITION 2");
      break;
    case 3:
      SetCaptionPosition(settings_.upHeightRateShortCut3);
      services_.stateText.ShowState("자막위치 : 아래로", "CAPTION POSITION 3");
      break;
    default:
      break;
  }
}

void TCaptionView::SetOutLineRate(int rate) {
  settings_.outLineRate = std::clamp(rate, 0, 100);
  services_.stateText.ShowState(Percent("자막 외각선 굵기 : ", settings_.outLineRate),
                                Percent("OUTLINE : ", settings_.outLineRate));
  ForceRedraw();
}

void TCaptionView::SetShadowRate(int rate) {
  settings_.shadowRate = std::clamp(rate, 0, 100);
  services_.stateText.ShowState(Percent("자막 그림자 : ", settings_.shadowRate),
                                Percent("SHADOW : ", settings_.shadowRate));
  ForceRedraw();
}

void TCaptionView::ToggleAntiAliase() {
  settings_.antiAliase = !settings_.antiAliase;
  ForceRedraw();
  services_.stateText.ShowState(std::string("자막 가장자리 다듭기 : ") + OnOff(settings_.antiAliase),
                                std::string("CAPTION ANTIALIASE : ") + OnOff(settings_.antiAliase));
}

void TCaptionView::ToggleFontBold() {
  settings_.fontBold = !settings_.fontBold;
  services_.stateText.ShowState(std::string("자막 굵게 : ") + OnOff(settings_.fontBold),
                                std::string("CAPTION BOLD : ") + OnOff(settings_.fontBold));
  ForceRedraw();
}

int TCaptionView::CaptionRise() const {
  return CaptionRiseFor(services_.media.PictureWidth(), services_.media.PictureHeight(),
                        settings_.upHeightRate, settings_.heightRate);
}

int TCaptionView::CaptionBand() const {
  return CaptionBandFor(services_.media.PictureWidth(), services_.media.PictureHeight(),
                        settings_.upHeightRate, settings_.heightRate);
}

}  // namespace orves
