// The libavformat demuxer, its worker and the text-track reader over clips
// of every container the source opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <thread>

#include "CodecMedia.h"
#include "codecs/common/TrackName.h"
#include "codecs/source/DemuxWorker.h"
#include "codecs/source/TextTrackReader.h"

extern "C" {
#include <libavcodec/codec_id.h>
}

namespace orves::codecs {
namespace {

using namespace std::chrono_literals;
using test::kSecond;
using test::Media;

struct Clip {
  const char* file;
  int video;
  int audio;
  int pictures = 150;
};

// The containers the source opens with the codecs each carries; H.264 has
// B-frames, the transport stream a 1/90000 time base and a start of 1.46 s.
const Clip kClips[] = {
    {"codec-h264-aac.mkv", AV_CODEC_ID_H264, AV_CODEC_ID_AAC},
    {"codec-hevc-aac.mp4", AV_CODEC_ID_HEVC, AV_CODEC_ID_AAC},
    {"codec-hevc10-flac24.mkv", AV_CODEC_ID_HEVC, AV_CODEC_ID_FLAC},
    {"codec-vp9-opus.webm", AV_CODEC_ID_VP9, AV_CODEC_ID_OPUS},
    {"codec-vp8-vorbis.webm", AV_CODEC_ID_VP8, AV_CODEC_ID_VORBIS},
    {"codec-xvid-mp3.avi", AV_CODEC_ID_MPEG4, AV_CODEC_ID_MP3},
    {"codec-msmpeg4-mp2.avi", AV_CODEC_ID_MSMPEG4V3, AV_CODEC_ID_MP2},
    {"codec-mpeg2-ac3.mpg", AV_CODEC_ID_MPEG2VIDEO, AV_CODEC_ID_AC3},
    {"codec-h264-aac.ts", AV_CODEC_ID_H264, AV_CODEC_ID_AAC},
    {"codec-wmv2-wma2.wmv", AV_CODEC_ID_WMV2, AV_CODEC_ID_WMAV2},
    // The Theora encoder stores a repeated picture as an empty packet, which
    // the demuxer leaves out: one packet per second of colour.
    {"codec-theora-vorbis.ogv", AV_CODEC_ID_THEORA, AV_CODEC_ID_VORBIS, 6},
    {"codec-h264-mp3.flv", AV_CODEC_ID_H264, AV_CODEC_ID_MP3},
    {"codec-tone.mp3", 0, AV_CODEC_ID_MP3},
    {"codec-tone.flac", 0, AV_CODEC_ID_FLAC},
    {"codec-tone.m4a", 0, AV_CODEC_ID_AAC},
    {"codec-tone.opus", 0, AV_CODEC_ID_OPUS},
    {"codec-tone.ogg", 0, AV_CODEC_ID_VORBIS},
    {"codec-tone.wav", 0, AV_CODEC_ID_PCM_S24LE},
};

std::int64_t FirstStart(const std::vector<MediaPacket>& packets) {
  std::int64_t first = INT64_MAX;
  for (const MediaPacket& packet : packets) {
    if (packet.start != kNoTime) first = std::min(first, packet.start);
  }
  return first;
}

TEST(DemuxerTest, EveryContainerStartsAtZeroWithItsCodecs) {
  for (const Clip& clip : kClips) {
    SCOPED_TRACE(clip.file);
    std::string error;
    auto demuxer = Demuxer::OpenFile(Media(clip.file), &error);
    ASSERT_NE(demuxer, nullptr) << error;
    const int video = test::FirstStream(*demuxer, StreamKind::Video);
    const int audio = test::FirstStream(*demuxer, StreamKind::Audio);
    ASSERT_GE(audio, 0);
    EXPECT_EQ(demuxer->Streams()[audio].format.codecId, clip.audio);
    const bool audioOnly = clip.video == 0;
    const std::int64_t length = audioOnly ? 3 * kSecond : 6 * kSecond;
    EXPECT_NEAR(static_cast<double>(demuxer->Duration()), static_cast<double>(length), 0.1 * kSecond);
    if (audioOnly) {
      EXPECT_LT(video, 0);
      continue;
    }
    ASSERT_GE(video, 0);
    EXPECT_EQ(demuxer->Streams()[video].format.codecId, clip.video);
    EXPECT_EQ(demuxer->Streams()[video].format.width, 320);
    const std::vector<MediaPacket> packets = test::ReadAll(*demuxer, video);
    EXPECT_NEAR(static_cast<double>(packets.size()), clip.pictures, 2.0);
    // Counted from the container's start, whatever its clock.
    EXPECT_NEAR(static_cast<double>(FirstStart(packets)), 0.0, 0.05 * kSecond);
    EXPECT_TRUE(packets.front().syncPoint);
  }
}

TEST(DemuxerTest, AStreamThatStartsLateKeepsItsOffset) {
  auto demuxer = Demuxer::OpenFile(Media("codec-late-audio.mkv"));
  ASSERT_NE(demuxer, nullptr);
  const int audio = test::FirstStream(*demuxer, StreamKind::Audio);
  const std::vector<MediaPacket> packets = test::ReadAll(*demuxer, audio);
  // Half a second less AAC's 1024 samples of priming.
  EXPECT_NEAR(static_cast<double>(FirstStart(packets)), 0.477 * kSecond, 0.005 * kSecond);
}

TEST(DemuxerTest, OpensKoreanFileNamesAndRefusesWhatIsNoContainer) {
  const auto folder = std::filesystem::temp_directory_path() / "orves-codecs-한국어";
  std::filesystem::create_directories(folder);
  const auto file = folder / u8"한국어 영화.mkv";
  std::filesystem::copy_file(Media("codec-h264-aac.mkv"), file,
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_NE(Demuxer::OpenFile(file), nullptr);

  std::string error;
  EXPECT_EQ(Demuxer::OpenFile(folder / "missing.mkv", &error), nullptr);
  EXPECT_FALSE(error.empty());
  const std::vector<std::uint8_t> text(4096, 'x');
  EXPECT_EQ(Demuxer::Open(MemorySource(text), "x.mkv"), nullptr);
  std::filesystem::remove_all(folder);
}

TEST(DemuxWorkerTest, QueuesStayBoundedWhilePinsAreBlockedAndNothingIsLost) {
  auto reference = Demuxer::OpenFile(Media("codec-tracks.mkv"));
  ASSERT_NE(reference, nullptr);
  std::vector<std::size_t> expected(reference->Streams().size());
  MediaPacket packet;
  while (reference->Read(packet) == ReadStatus::Packet) ++expected[static_cast<std::size_t>(packet.stream)];

  auto demuxer = Demuxer::OpenFile(Media("codec-tracks.mkv"));
  ASSERT_NE(demuxer, nullptr);
  const std::size_t streams = demuxer->Streams().size();
  const QueueLimits limits{8, 1 << 20, 16, 4 << 20};
  StreamQueues queues(streams, limits);
  DemuxWorker worker(*demuxer, queues);
  worker.Start();
  std::this_thread::sleep_for(300ms);  // nobody pops
  for (std::size_t s = 0; s < streams; ++s) EXPECT_LE(queues.Packets(s), limits.hardPackets);
  EXPECT_FALSE(worker.ReachedEnd());

  std::vector<std::future<std::size_t>> pins;
  for (std::size_t s = 0; s < streams; ++s) {
    pins.push_back(std::async(std::launch::async, [&queues, s] {
      std::size_t count = 0;
      MediaPacket p;
      while (queues.Pop(s, p) == PopResult::Packet) ++count;
      return count;
    }));
  }
  for (std::size_t s = 0; s < streams; ++s) EXPECT_EQ(pins[s].get(), expected[s]) << "stream " << s;
  EXPECT_TRUE(worker.ReachedEnd());
}

TEST(DemuxWorkerTest, SeekRestartsEveryPinAtAKeyFrameBeforeTheTarget) {
  auto demuxer = Demuxer::OpenFile(Media("codec-h264-aac.mkv"));
  ASSERT_NE(demuxer, nullptr);
  const int video = test::FirstStream(*demuxer, StreamKind::Video);
  const int audio = test::FirstStream(*demuxer, StreamKind::Audio);
  StreamQueues queues(demuxer->Streams().size());
  DemuxWorker worker(*demuxer, queues);
  worker.Start();
  MediaPacket packet;
  ASSERT_EQ(queues.Pop(static_cast<std::size_t>(video), packet), PopResult::Packet);
  EXPECT_TRUE(packet.discontinuity);

  for (int round = 0; round < 2; ++round) {  // the second seek finds the worker at the end
    worker.Seek(7 * kSecond / 2);
    ASSERT_EQ(queues.Pop(static_cast<std::size_t>(video), packet), PopResult::Packet);
    EXPECT_TRUE(packet.discontinuity);
    EXPECT_TRUE(packet.syncPoint);
    EXPECT_LE(packet.start, 7 * kSecond / 2);
    EXPECT_GE(packet.start, 19 * kSecond / 10);  // the key frame at 2 s
    ASSERT_EQ(queues.Pop(static_cast<std::size_t>(audio), packet), PopResult::Packet);
    EXPECT_TRUE(packet.discontinuity);
    EXPECT_LE(packet.start, 7 * kSecond / 2);
    while (queues.Pop(static_cast<std::size_t>(video), packet) == PopResult::Packet)
      EXPECT_FALSE(packet.discontinuity);
  }
  worker.Stop();
}

TEST(TextTrackTest, ListsTheTracksAndReadsTheirCues) {
  auto demuxer = Demuxer::OpenFile(Media("codec-tracks.mkv"));
  ASSERT_NE(demuxer, nullptr);
  const std::vector<int> text = TextStreams(demuxer->Streams());
  ASSERT_EQ(text.size(), 2u);
  EXPECT_EQ(TrackName(demuxer->Streams()[1]), "한국어 — AAC 2.0");
  EXPECT_EQ(TrackName(demuxer->Streams()[2]), "영어 — Commentary — AC3 5.1");
  EXPECT_EQ(TrackName(demuxer->Streams()[static_cast<std::size_t>(text[1])]), "영어 — Signs — ASS");

  TextTrackReader reader(Media("codec-tracks.mkv"));
  reader.Wait();
  ASSERT_EQ(reader.Tracks().size(), 2u);
  // The muxer moved every stream 23 ms later (the AAC track's priming).
  const std::int64_t shift = 230'000;
  auto shifted = [shift](std::vector<TextCue> cues) {
    for (TextCue& cue : cues) cue.start += shift, cue.stop += shift;
    return cues;
  };
  const TextTrack& srt = reader.Tracks()[0];
  EXPECT_EQ(srt.language, "kor");
  EXPECT_EQ(srt.cues, shifted({{10'000'000, 25'000'000, "안녕하세요 <i>세계</i>"},
                               {30'000'000, 40'000'000, "둘째 줄"}}));
  const TextTrack& ass = reader.Tracks()[1];
  EXPECT_EQ(ass.title, "Signs");
  EXPECT_TRUE(ass.header.starts_with("[Script Info]"));
  EXPECT_EQ(ass.cues, shifted({{15'000'000, 30'000'000, "{\\i1}Hello{\\i0}, world"},
                               {40'000'000, 52'500'000, "Second line"}}));

  // Timed text: the gaps between cues are empty samples, which are no cues.
  TextTrackReader timed(Media("codec-text.mp4"));
  timed.Wait();
  ASSERT_EQ(timed.Tracks().size(), 1u);
  EXPECT_EQ(timed.Tracks()[0].cues, (std::vector<TextCue>{{10'000'000, 25'000'000, "안녕하세요 세계"},
                                                          {30'000'000, 40'000'000, "둘째 줄"}}));
}

TEST(TextTrackTest, AFileWithoutTextTracksOrUnreadableGivesNone) {
  TextTrackReader none(Media("codec-h264-aac.ts"));
  TextTrackReader missing(std::filesystem::path(ORVES_MEDIA_DIR) / "missing.mkv");
  none.Wait();
  missing.Wait();
  EXPECT_TRUE(none.Tracks().empty());
  EXPECT_TRUE(missing.Tracks().empty());
}

}  // namespace
}  // namespace orves::codecs
