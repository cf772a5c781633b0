#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "tools/zmsp-process/WavFile.h"

namespace zmsp::wav {
namespace {

Audio Sample(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits, std::size_t frames,
             std::uint32_t mask = 0) {
  Audio audio;
  audio.format.formatTag = tag;
  audio.format.channels = channels;
  audio.format.sampleRate = 44100;
  audio.format.bitsPerSample = bits;
  audio.format.channelMask = mask;
  audio.format.validBitsPerSample = bits;
  audio.data.resize(frames * audio.format.FrameBytes());
  for (std::size_t i = 0; i < audio.data.size(); ++i) audio.data[i] = static_cast<std::uint8_t>(i * 13);
  return audio;
}

TEST(WavFile, PlainAndExtensibleSurviveAWriteAndARead) {
  for (const Audio& original :
       {Sample(1, 2, 16, 100), Sample(0xFFFE, 6, 32, 10, 0x3F), Sample(1, 1, 32, 3)}) {
    const std::vector<std::uint8_t> bytes = Build(original);
    Audio read;
    std::string error;
    ASSERT_TRUE(Parse(bytes.data(), bytes.size(), read, error)) << error;
    EXPECT_EQ(read.format.formatTag, original.format.formatTag);
    EXPECT_EQ(read.format.channels, original.format.channels);
    EXPECT_EQ(read.format.channelMask, original.format.channelMask);
    EXPECT_EQ(read.data, original.data);
  }
  EXPECT_EQ(Build(Sample(1, 2, 16, 1)).size(), 44u + 4u) << "a 16-byte fmt chunk for plain PCM";
  EXPECT_EQ(Build(Sample(0xFFFE, 2, 16, 1, 3)).size(), 68u + 4u);
}

TEST(WavFile, UnknownChunksAreSkippedWithTheirPadByte) {
  std::vector<std::uint8_t> bytes = Build(Sample(1, 2, 16, 4));
  const std::uint8_t list[] = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
  bytes.insert(bytes.begin() + 12, list, list + sizeof(list));
  Audio read;
  std::string error;
  ASSERT_TRUE(Parse(bytes.data(), bytes.size(), read, error)) << error;
  EXPECT_EQ(read.data.size(), 16u);
}

TEST(WavFile, ADataChunkLongerThanTheFileIsCutToWholeFrames) {
  std::vector<std::uint8_t> bytes = Build(Sample(1, 2, 16, 10));
  bytes.resize(bytes.size() - 3);
  Audio read;
  std::string error;
  ASSERT_TRUE(Parse(bytes.data(), bytes.size(), read, error)) << error;
  EXPECT_EQ(read.data.size(), 36u);
}

TEST(WavFile, RefusesWhatItCannotCarry) {
  auto refuses = [](std::vector<std::uint8_t> bytes) {
    Audio read;
    std::string error;
    const bool parsed = Parse(bytes.data(), bytes.size(), read, error);
    return !parsed && !error.empty();
  };
  std::vector<std::uint8_t> good = Build(Sample(1, 2, 16, 4));
  EXPECT_TRUE(refuses({}));
  EXPECT_TRUE(refuses(std::vector<std::uint8_t>(good.begin(), good.begin() + 30))) << "fmt cut short";
  auto eightBit = good;
  eightBit[34] = 8;
  EXPECT_TRUE(refuses(eightBit));
  auto floating = good;
  floating[20] = 3;
  EXPECT_TRUE(refuses(floating));
  auto badAlign = good;
  badAlign[32] = 3;
  EXPECT_TRUE(refuses(badAlign));
  auto noData = good;
  std::memcpy(noData.data() + 36, "junk", 4);
  EXPECT_TRUE(refuses(noData));
  auto extensibleFloat = Build(Sample(0xFFFE, 2, 32, 2, 3));
  extensibleFloat[44] = 3;  // SubFormat IEEE float
  EXPECT_TRUE(refuses(extensibleFloat));
  auto notWave = good;
  std::memcpy(notWave.data() + 8, "AVI ", 4);
  EXPECT_TRUE(refuses(notWave));
}

std::vector<std::uint8_t> Slurp(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::uint8_t block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
      bytes.insert(bytes.end(), block, block + got);
    std::fclose(file);
  }
  return bytes;
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + name)).string();
}

TEST(WavFile, StreamWriterGivesWhatBuildGivesForTheFinalFormat) {
  const std::string path = TempPath("-stream.wav");
  const Audio plain = Sample(1, 2, 16, 1001);
  // Same header length, a changed one (plain to extensible), and odd data.
  for (const Audio& final : {plain, Sample(0xFFFE, 2, 16, 1001, 3), Sample(1, 1, 16, 0)}) {
    StreamWriter writer;
    ASSERT_TRUE(writer.Open(path, plain.format));
    Audio expected = final;
    expected.data = plain.data;
    expected.data.push_back(7);  // an odd length needs the pad byte
    for (std::size_t at = 0; at < expected.data.size(); at += 1000) {
      ASSERT_TRUE(
          writer.Append(expected.data.data() + at, std::min<std::size_t>(1000, expected.data.size() - at)));
    }
    ASSERT_TRUE(writer.Finish(final.format));
    EXPECT_EQ(Slurp(path), Build(expected)) << final.format.formatTag;
  }
  std::remove(path.c_str());
}

TEST(WavFile, FileReaderFindsSamplesBehindLargeChunksAndStopsAtTheirEnd) {
  const std::string path = TempPath("-read.wav");
  const Audio original = Sample(1, 2, 16, 50000);
  std::vector<std::uint8_t> bytes = Build(original);
  // 200 kB of another chunk before the fmt chunk: beyond the first piece read.
  std::vector<std::uint8_t> junk = {'J', 'U', 'N', 'K', 0x40, 0x0D, 0x03, 0};
  junk.resize(8 + 0x30D40, 1);
  bytes.insert(bytes.begin() + 12, junk.begin(), junk.end());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);

  FileReader reader;
  std::string error;
  ASSERT_TRUE(reader.Open(path, error)) << error;
  EXPECT_EQ(reader.GetFormat().channels, 2);
  std::vector<std::uint8_t> read(original.data.size() + 100), piece(65536);
  std::size_t total = 0;
  for (std::size_t got = piece.size(); got == piece.size();) {
    ASSERT_TRUE(reader.Read(piece.data(), piece.size(), got));
    std::memcpy(read.data() + total, piece.data(), got);
    total += got;
  }
  read.resize(total);
  EXPECT_EQ(read, original.data);
  std::remove(path.c_str());

  EXPECT_FALSE(reader.Open(path, error)) << "a missing file";
}

}  // namespace
}  // namespace zmsp::wav
