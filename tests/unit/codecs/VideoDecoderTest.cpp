// The video decoder core on real clips: pictures at the right times with the
// right colours in every container, frame-accurate seeking, each output
// type's pixels, and recovery from damaged packets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "CodecMedia.h"
#include "codecs/common/AvcConfig.h"
#include "codecs/video/VideoDecoder.h"

namespace orves::codecs {
namespace {

using test::kSecond;
using test::Media;

const char* const kVideoClips[] = {
    "codec-h264-aac.mkv",    "codec-hevc-aac.mp4",  "codec-hevc10-flac24.mkv", "codec-vp9-opus.webm",
    "codec-vp8-vorbis.webm", "codec-xvid-mp3.avi",  "codec-msmpeg4-mp2.avi",   "codec-mpeg2-ac3.mpg",
    "codec-h264-aac.ts",     "codec-wmv2-wma2.wmv", "codec-theora-vorbis.ogv", "codec-h264-mp3.flv",
};

struct Shown {
  std::int64_t start;
  std::int64_t stop;
  int colour;
};

// The colour index of the current picture's centre, through RGB32.
int CentreColour(VideoDecoder& decoder, const PictureInfo& info) {
  const int stride = info.width * 4;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(stride) * static_cast<std::size_t>(info.height));
  EXPECT_TRUE(decoder.CopyPicture(VideoOutput::RGB32, rgb.data(), stride));
  const std::uint8_t* centre = rgb.data() + (info.height / 2) * stride + (info.width / 2) * 4;
  return test::ColourIndex(centre[2], centre[1], centre[0]);
}

class Player {
 public:
  explicit Player(const std::string& clip) : demuxer_(Demuxer::OpenFile(Media(clip))) {
    if (demuxer_ != nullptr) stream_ = test::FirstStream(*demuxer_, StreamKind::Video);
    // Without a video stream the decoder opens on nothing and refuses.
    decoder_ = std::make_unique<VideoDecoder>(
        stream_ >= 0 ? demuxer_->Streams()[static_cast<std::size_t>(stream_)].format : StreamFormat{});
  }
  // The clip opened and its video stream has a decoder.
  bool Ok() const { return demuxer_ != nullptr && decoder_->IsOpen(); }
  VideoDecoder& decoder() { return *decoder_; }
  Demuxer& demuxer() { return *demuxer_; }
  int stream() const { return stream_; }

  // Decodes until `count` pictures came out (all of them for 0).
  std::vector<Shown> Play(std::size_t count = 0) {
    std::vector<Shown> shown;
    MediaPacket packet;
    PictureInfo info;
    auto take = [&] {
      while ((count == 0 || shown.size() < count) && decoder_->NextPicture(info)) {
        shown.push_back({info.start, info.stop, CentreColour(*decoder_, info)});
      }
      return count != 0 && shown.size() >= count;
    };
    while (demuxer_->Read(packet) == ReadStatus::Packet) {
      if (packet.stream != stream_) continue;
      decoder_->Send(packet);
      if (take()) return shown;
    }
    decoder_->Drain();
    take();
    return shown;
  }

  void Seek(std::int64_t time) {
    demuxer_->Seek(time);
    decoder_->Flush();
    decoder_->SkipUntil(time);
  }

 private:
  std::unique_ptr<Demuxer> demuxer_;
  int stream_ = -1;
  std::unique_ptr<VideoDecoder> decoder_;
};

// The second a time belongs to, counted from the clip's first picture
// (encoders' priming moves a clip's pictures a few milliseconds later); -1
// within two frames of a change of second, where muxers may have moved the
// pictures by a frame.
int SecondAt(std::int64_t time, std::int64_t origin) {
  const std::int64_t since = time - origin;
  const std::int64_t intoSecond = since % kSecond;
  if (intoSecond < kSecond / 12 || intoSecond > kSecond - kSecond / 12) return -1;
  return static_cast<int>(since / kSecond);
}

int SecondOf(const Shown& picture, std::int64_t origin) {
  return SecondAt((picture.start + picture.stop) / 2, origin);
}

TEST(VideoDecoderTest, EveryContainerShowsEachSecondsColourAtItsTime) {
  for (const char* clip : kVideoClips) {
    SCOPED_TRACE(clip);
    Player player(clip);
    ASSERT_TRUE(player.Ok());
    const std::vector<Shown> shown = player.Play();
    // Theora stores repeated pictures as empty packets: one per second.
    const double pictures = std::string(clip).ends_with(".ogv") ? 6 : 150;
    EXPECT_NEAR(static_cast<double>(shown.size()), pictures, 2.0);
    ASSERT_FALSE(shown.empty());
    EXPECT_NEAR(static_cast<double>(shown.front().start), 0.0, 0.05 * kSecond);
    int wrong = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      if (i > 0) {
        EXPECT_GT(shown[i].start, shown[i - 1].start) << "picture " << i;
      }
      const int second = SecondOf(shown[i], shown.front().start);
      if (second >= 0 && shown[i].colour != second) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(VideoDecoderTest, SeekShowsThePictureWhoseSpanHoldsTheTarget) {
  for (const char* clip : kVideoClips) {
    SCOPED_TRACE(clip);
    Player player(clip);
    ASSERT_TRUE(player.Ok());
    const std::vector<Shown> playing = player.Play(10);  // playing when the seek comes
    ASSERT_FALSE(playing.empty());
    const std::int64_t origin = playing.front().start;
    for (const std::int64_t target : {origin, origin + 7 * kSecond / 2, origin + 3 * kSecond - 1,
                                      origin + 3 * kSecond, origin + 597 * kSecond / 100}) {
      player.Seek(target);
      // The picture shown at the target: it starts at or before it, and the
      // next one (if any) after it.
      const std::vector<Shown> shown = player.Play(2);
      ASSERT_GE(shown.size(), 1u) << target;
      EXPECT_LE(shown[0].start, target) << target;
      if (shown.size() == 2) {
        EXPECT_GT(shown[1].start, target) << target;
      }
      const int second = SecondAt(target, origin);
      if (second >= 0) {
        EXPECT_EQ(shown[0].colour, second) << target;
      }
    }
  }
}

// A red picture (second 1) in each output type, in a buffer with a padded
// stride and guard bytes after it.
TEST(VideoDecoderTest, EachOutputTypeHoldsThePicture) {
  for (const char* clip : {"codec-h264-aac.mkv", "codec-hevc10-flac24.mkv"}) {
    SCOPED_TRACE(clip);
    Player player(clip);
    ASSERT_TRUE(player.Ok());
    player.Seek(3 * kSecond / 2);
    PictureInfo info;
    MediaPacket packet;
    while (!player.decoder().NextPicture(info)) {
      ASSERT_EQ(player.demuxer().Read(packet), ReadStatus::Packet);
      if (packet.stream == player.stream()) player.decoder().Send(packet);
    }
    for (VideoOutput type : kVideoOutputOrder) {
      const int stride = MinimumStride(type, info.width) + 64;
      const PlaneLayout layout = LayoutFor(type, info.height, stride);
      std::vector<std::uint8_t> buffer(layout.size + 64, 0xA5);
      ASSERT_TRUE(player.decoder().CopyPicture(type, buffer.data(), stride));
      for (std::size_t i = layout.size; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xA5) << "past the end";
      const std::uint8_t* centre = buffer.data() + (info.height / 2) * stride;
      int y = 0, u = 0, v = 0;
      switch (type) {
        case VideoOutput::NV12: {
          const std::uint8_t* uv =
              buffer.data() + layout.offset[1] + (info.height / 4) * stride + info.width / 2;
          y = centre[info.width / 2], u = uv[0], v = uv[1];
          break;
        }
        case VideoOutput::YV12: {
          const std::ptrdiff_t row = (info.height / 4) * layout.stride[1] + info.width / 4;
          y = centre[info.width / 2], u = buffer[layout.offset[1] + row], v = buffer[layout.offset[2] + row];
          break;
        }
        case VideoOutput::YUY2:
          y = centre[info.width], u = centre[info.width + 1], v = centre[info.width + 3];
          break;
        case VideoOutput::RGB32:
          EXPECT_NEAR(centre[info.width * 2 + 2], 255, 6);  // red
          EXPECT_NEAR(centre[info.width * 2 + 1], 0, 6);
          EXPECT_NEAR(centre[info.width * 2 + 0], 0, 6);
          continue;
      }
      // BT.601 limited-range red; 10-bit sources reduced to the same 8 bits.
      EXPECT_NEAR(y, 81, 4) << static_cast<int>(type);
      EXPECT_NEAR(u, 90, 4) << static_cast<int>(type);
      EXPECT_NEAR(v, 240, 4) << static_cast<int>(type);
    }
  }
}

TEST(VideoDecoderTest, BottomUpRgbIsTheTopDownPictureUpsideDown) {
  Player player("codec-gradient.mkv");
  ASSERT_TRUE(player.Ok());
  PictureInfo info;
  MediaPacket packet;
  while (!player.decoder().NextPicture(info)) {
    ASSERT_EQ(player.demuxer().Read(packet), ReadStatus::Packet);
    player.decoder().Send(packet);
  }
  const int stride = info.width * 4;
  std::vector<std::uint8_t> down(static_cast<std::size_t>(stride * info.height));
  std::vector<std::uint8_t> up(down.size());
  ASSERT_TRUE(player.decoder().CopyPicture(VideoOutput::RGB32, down.data(), stride, false));
  ASSERT_TRUE(player.decoder().CopyPicture(VideoOutput::RGB32, up.data(), stride, true));
  EXPECT_NE(std::vector(down.begin(), down.begin() + stride), std::vector(down.end() - stride, down.end()));
  for (int row = 0; row < info.height; ++row) {
    ASSERT_TRUE(std::equal(down.begin() + row * stride, down.begin() + (row + 1) * stride,
                           up.begin() + (info.height - 1 - row) * stride))
        << "row " << row;
  }
}

// A damaged packet costs at most the pictures up to the next key frame (4 s).
TEST(VideoDecoderTest, DamagedPacketsCostNoMoreThanTheirGroupOfPictures) {
  for (double damagedAt : {2.0, 2.4}) {  // the key frame itself, a frame after it
    SCOPED_TRACE(damagedAt);
    Player player("codec-h264-aac.mkv");
    ASSERT_TRUE(player.Ok());
    std::vector<MediaPacket> packets = test::ReadAll(player.demuxer(), player.stream());
    auto damaged = std::find_if(packets.begin(), packets.end(), [&](const MediaPacket& p) {
      return std::llabs(p.start - packets.front().start - static_cast<std::int64_t>(damagedAt * kSecond)) <
             kSecond / 50;
    });
    ASSERT_NE(damaged, packets.end());
    std::srand(7);
    for (std::size_t i = damaged->data.size() / 8; i < damaged->data.size(); ++i) {
      damaged->data[i] = static_cast<std::uint8_t>(std::rand());
    }
    std::vector<Shown> shown;
    PictureInfo info;
    auto take = [&] {
      while (player.decoder().NextPicture(info)) {
        shown.push_back({info.start, info.stop, CentreColour(player.decoder(), info)});
      }
    };
    for (const MediaPacket& packet : packets) {
      player.decoder().Send(packet);
      take();
    }
    player.decoder().Drain();
    take();
    const std::int64_t origin = packets.front().start;
    const auto fromKeyFrame = std::count_if(shown.begin(), shown.end(), [origin](const Shown& s) {
      return s.start >= origin + 4 * kSecond && (SecondOf(s, origin) < 0 || s.colour == SecondOf(s, origin));
    });
    EXPECT_EQ(fromKeyFrame, 50);
    EXPECT_GE(shown.size(), 100u);
  }
}

// H.264 that reaches the decoder as an 'AVC1' media type: its avcC record
// went into an MPEG2VIDEOINFO sequence header and back.
TEST(VideoDecoderTest, DecodesAfterTheAvc1MediaTypeRoundTrip) {
  auto demuxer = Demuxer::OpenFile(Media("codec-h264-aac.mkv"));
  ASSERT_NE(demuxer, nullptr);
  const int video = test::FirstStream(*demuxer, StreamKind::Video);
  StreamFormat format = demuxer->Streams()[static_cast<std::size_t>(video)].format;
  const std::optional<AvcSequenceHeader> header = SequenceHeaderFromAvcC(format.extradata);
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ(header->nalLengthSize, 4);
  format.extradata = AvcCFromSequenceHeader(*header);
  VideoDecoder decoder(format);
  ASSERT_TRUE(decoder.IsOpen());
  int pictures = 0;
  PictureInfo info;
  for (const MediaPacket& packet : test::ReadAll(*demuxer, video)) {
    decoder.Send(packet);
    while (decoder.NextPicture(info)) ++pictures;
  }
  EXPECT_GE(pictures, 140);
  EXPECT_EQ(decoder.Errors(), 0);
}

TEST(VideoDecoderTest, RefusesWhatItCannotDecode) {
  StreamFormat format;
  format.kind = StreamKind::Video;
  format.codecId = 0;
  EXPECT_FALSE(VideoDecoder(format).IsOpen());
  VideoDecoder closed(format);
  closed.Send(MediaPacket{0, {1, 2, 3}});
  PictureInfo info;
  EXPECT_FALSE(closed.NextPicture(info));
}

}  // namespace
}  // namespace orves::codecs
