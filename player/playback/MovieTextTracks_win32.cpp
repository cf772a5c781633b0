#include "player/playback/MovieTextTracks_win32.h"

#include "player/core/TextConvert_win32.h"

namespace orves {

namespace {
// Takes a task-memory string handed out by the source.
std::string TakeUtf8(LPWSTR text) {
  std::string utf8 = text ? WideToUtf8(text) : std::string();
  CoTaskMemFree(text);
  return utf8;
}

TTrackMarkup MarkupOf(LONG markup) {
  switch (markup) {
    case kMarkupSubRip:
      return TTrackMarkup::SubRip;
    case kMarkupWebVtt:
      return TTrackMarkup::WebVtt;
    case kMarkupAss:
      return TTrackMarkup::Ass;
    default:
      return TTrackMarkup::Plain;
  }
}

// REFERENCE_TIME (100 ns) to milliseconds.
int64_t Milliseconds(REFERENCE_TIME time) { return time / 10'000; }
}  // namespace

MovieTextTracks::MovieTextTracks(IFilterGraph* graph)
    : tracks_(FirstFilterOffering<IOrvesTextTracks>(graph, kIOrvesTextTracks)) {}

int MovieTextTracks::Count() const {
  LONG count = 0;
  if (!tracks_ || FAILED(tracks_->GetTrackCount(&count))) return 0;
  return static_cast<int>(count);
}

TMovieTextTrack MovieTextTracks::Track(int track) const {
  TMovieTextTrack info;
  if (!tracks_ || track < 0 || track >= Count()) return info;
  LPWSTR name = nullptr, language = nullptr, title = nullptr;
  if (SUCCEEDED(tracks_->GetTrackInfo(track, &name, &language, &title))) {
    info.name = TakeUtf8(name);
    info.language = TakeUtf8(language);
    info.title = TakeUtf8(title);
  }
  LONG markup = kMarkupPlain;
  if (SUCCEEDED(tracks_->GetTrackMarkup(track, &markup))) info.markup = MarkupOf(markup);
  return info;
}

std::optional<std::vector<TMovieTextCue>> MovieTextTracks::Cues(int track) const {
  std::vector<TMovieTextCue> cues;
  if (!tracks_) return cues;
  OrvesTextCue* block = nullptr;
  LONG count = 0;
  const HRESULT hr = tracks_->GetCues(track, &block, &count);
  if (hr == kCuesPending) return std::nullopt;
  if (FAILED(hr) || block == nullptr) return cues;
  cues.reserve(static_cast<size_t>(count));
  for (LONG i = 0; i < count; ++i) {
    cues.push_back(
        {Milliseconds(block[i].start), Milliseconds(block[i].stop), block[i].text ? block[i].text : ""});
  }
  CoTaskMemFree(block);
  return cues;
}

}  // namespace orves
