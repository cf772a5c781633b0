#include "codecs/source/TextTrackReader.h"

#include <algorithm>
#include <map>

#include "codecs/common/CodecTable.h"
#include "codecs/source/Demuxer.h"

namespace orves::codecs {

namespace {

bool IsTextTrack(const StreamInfo& stream) {
  const CodecEntry* entry = FindCodec(stream.format.codecId);
  return entry != nullptr && entry->IsText();
}

void Finish(std::vector<TextCue>& cues) {
  std::stable_sort(cues.begin(), cues.end(),
                   [](const TextCue& a, const TextCue& b) { return a.start < b.start; });
  for (std::size_t i = 0; i < cues.size(); ++i) {
    if (cues[i].stop != kNoTime && cues[i].stop >= cues[i].start) continue;
    cues[i].stop =
        i + 1 < cues.size() ? std::max(cues[i + 1].start, cues[i].start) : cues[i].start + kLastCueLength;
  }
}

}  // namespace

std::vector<int> TextStreams(const std::vector<StreamInfo>& streams) {
  std::vector<int> text;
  for (const StreamInfo& stream : streams) {
    if (IsTextTrack(stream)) text.push_back(stream.index);
  }
  return text;
}

TextTrackReader::TextTrackReader(std::filesystem::path file)
    : thread_([this, file = std::move(file)] { Read(file); }) {}

TextTrackReader::~TextTrackReader() {
  cancel_ = true;
  thread_.join();
}

bool TextTrackReader::Ready() const {
  std::lock_guard lock(mutex_);
  return ready_;
}

void TextTrackReader::Wait() const {
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return ready_; });
}

const std::vector<TextTrack>& TextTrackReader::Tracks() const { return tracks_; }

void TextTrackReader::Read(const std::filesystem::path& file) {
  std::vector<TextTrack> tracks;
  if (auto demuxer = Demuxer::OpenFile(file, nullptr, &cancel_)) {
    std::map<int, std::size_t> trackOf;  // stream -> index in tracks
    for (const StreamInfo& stream : demuxer->Streams()) {
      if (!IsTextTrack(stream)) {
        demuxer->SetDiscard(stream.index, true);
        continue;
      }
      TextTrack track;
      track.stream = stream.index;
      track.codecId = stream.format.codecId;
      track.language = stream.language;
      track.title = stream.title;
      if (CarriesScriptHeader(track.codecId)) {
        track.header.assign(stream.format.extradata.begin(), stream.format.extradata.end());
      }
      trackOf[stream.index] = tracks.size();
      tracks.push_back(std::move(track));
    }
    MediaPacket packet;
    while (!tracks.empty() && demuxer->Read(packet) == ReadStatus::Packet) {
      const auto found = trackOf.find(packet.stream);
      if (found == trackOf.end() || packet.start == kNoTime) continue;
      TextTrack& track = tracks[found->second];
      std::string text = CueText(track.codecId, packet.data.data(), packet.data.size());
      // Empty samples fill the gaps between timed-text cues.
      if (!text.empty()) track.cues.push_back({packet.start, packet.stop, std::move(text)});
    }
    for (TextTrack& track : tracks) Finish(track.cues);
  }
  std::lock_guard lock(mutex_);
  tracks_ = std::move(tracks);
  ready_ = true;
  done_.notify_all();
}

}  // namespace orves::codecs
