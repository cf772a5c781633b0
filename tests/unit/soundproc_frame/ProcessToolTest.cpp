// zmsp-process end to end on generated WAV files: exit codes, the data that
// comes out, the kept channel mask and the printed levels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "tools/zmsp-process/WavFile.h"

namespace zmsp::wav {
namespace {

namespace fs = std::filesystem;

class ProcessTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("zmsp-process-test-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path Write(const std::string& name, const Audio& audio) {
    const fs::path path = dir / name;
    const std::vector<std::uint8_t> bytes = Build(audio);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path;
  }
  // Runs the tool; stdout and stderr are kept for the test.
  int Run(const std::string& arguments) {
    const std::string command = std::string("\"") + ZMSP_PROCESS_BIN + "\" " + arguments + " >\"" +
                                (dir / "out.txt").string() + "\" 2>\"" + (dir / "err.txt").string() + "\"";
    const int status = std::system(command.c_str());
    out = Slurp(dir / "out.txt");
    err = Slurp(dir / "err.txt");
    return WEXITSTATUS(status);
  }
  static std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  Audio Read(const fs::path& path) {
    const std::string bytes = Slurp(path);
    Audio audio;
    std::string error;
    EXPECT_TRUE(Parse(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), audio, error))
        << error;
    return audio;
  }
  std::string Paths(const fs::path& in) {
    return "\"" + in.string() + "\" \"" + (dir / "o.wav").string() + "\"";
  }

  fs::path dir;
  std::string out, err;
};

// Frames of 16-bit samples, one value per channel.
Audio Constant16(std::uint16_t tag, std::uint16_t channels, std::uint32_t mask, std::size_t frames,
                 const std::vector<std::int16_t>& values) {
  Audio audio;
  audio.format = {tag, channels, 48000, 16, 16, mask};
  for (std::size_t f = 0; f < frames; ++f) {
    for (std::uint16_t c = 0; c < channels; ++c) {
      const auto v = static_cast<std::uint16_t>(values[c]);
      audio.data.push_back(static_cast<std::uint8_t>(v));
      audio.data.push_back(static_cast<std::uint8_t>(v >> 8));
    }
  }
  return audio;
}

std::int16_t SampleAt(const Audio& audio, std::size_t frame, std::size_t channel) {
  const std::size_t at = (frame * audio.format.channels + channel) * 2;
  return static_cast<std::int16_t>(audio.data[at] | (audio.data[at + 1] << 8));
}

// A 440 Hz stereo tone at 44.1 kHz, the same in both channels.
Audio Tone(double seconds) {
  Audio audio;
  audio.format = {1, 2, 44100, 16, 16, 0};
  const auto frames = static_cast<std::size_t>(seconds * 44100);
  for (std::size_t f = 0; f < frames; ++f) {
    const auto v =
        static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * 440 * f / 44100.0)));
    for (int c = 0; c < 2; ++c) {
      audio.data.push_back(static_cast<std::uint8_t>(v));
      audio.data.push_back(static_cast<std::uint8_t>(v >> 8));
    }
  }
  return audio;
}

std::size_t Frames(const Audio& audio) { return audio.data.size() / (2u * audio.format.channels); }

double Rms(const Audio& audio, std::size_t channel) {
  double sum = 0;
  for (std::size_t f = 0; f < Frames(audio); ++f) sum += std::pow(SampleAt(audio, f, channel), 2);
  return std::sqrt(sum / static_cast<double>(Frames(audio)));
}

// The frequency of channel 0 from its rising zero crossings.
double Frequency(const Audio& audio) {
  int crossings = 0;
  for (std::size_t f = 1; f < Frames(audio); ++f)
    crossings += SampleAt(audio, f - 1, 0) < 0 && SampleAt(audio, f, 0) >= 0;
  return crossings * static_cast<double>(audio.format.sampleRate) / static_cast<double>(Frames(audio));
}

TEST_F(ProcessTool, RefusesToRunWhenNoStageIsSwitchedOn) {
  const fs::path in = Write("in.wav", Constant16(1, 2, 0, 100, {1, 2}));
  EXPECT_EQ(Run(Paths(in)), 3);
  EXPECT_NE(err.find("refuses"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(dir / "o.wav"));
}

TEST_F(ProcessTool, ChannelControlWithNothingToDoKeepsEveryByte) {
  // Longer than one host buffer, with a trailing partial frame's worth of frames.
  const Audio input = Constant16(1, 2, 0, 10001, {1234, -4321});
  const fs::path in = Write("in.wav", input);
  ASSERT_EQ(Run(Paths(in) + " --set \"Channel Control/Enable=1\""), 0) << err;
  const Audio output = Read(dir / "o.wav");
  EXPECT_EQ(output.format.formatTag, 1);
  EXPECT_EQ(output.data, input.data);
}

TEST_F(ProcessTool, ExtensibleInputKeepsItsChannelMaskAndBalanceLowersTheRear) {
  const Audio input = Constant16(0xFFFE, 6, 0x3F, 5000, {1000, 1000, 1000, 1000, 1000, 1000});
  const fs::path in = Write("in.wav", input);
  ASSERT_EQ(
      Run(Paths(in) + " --set \"Channel Control/Enable=1\" --set \"Channel Control/EnableFRBalance=1\"" +
          " --set \"Channel Control/FRBalanceLevel=-30\" --source ac3"),
      0)
      << err;
  const Audio output = Read(dir / "o.wav");
  EXPECT_EQ(output.format.formatTag, 0xFFFE);
  EXPECT_EQ(output.format.channelMask, 0x3Fu);
  ASSERT_EQ(output.data.size(), input.data.size());
  // A negative level lowers the four front channels, the rear stays.
  EXPECT_EQ(SampleAt(output, 4999, 0), 700);
  EXPECT_EQ(SampleAt(output, 4999, 3), 700);
  EXPECT_EQ(SampleAt(output, 4999, 4), 1000);
  EXPECT_EQ(SampleAt(output, 0, 5), 1000);
}

TEST_F(ProcessTool, PrintsTheMetersLevels) {
  const fs::path in = Write("in.wav", Constant16(1, 2, 0, 300, {1000, -2000}));
  ASSERT_EQ(Run(Paths(in) + " --set \"Channel Control/Enable=1\" --levels"), 0) << err;
  EXPECT_EQ(out, "[1000,2000,0,0,0,0,0,0]\n");
}

TEST_F(ProcessTool, Ac3OnlyExpanderRefusesAnMp3Source) {
  const fs::path in = Write("in.wav", Constant16(1, 2, 0, 10, {1, 1}));
  const std::string settings = " --set \"Channel Expander/Enable=1\" --set \"Channel Expander/AC3Only=1\"";
  EXPECT_EQ(Run(Paths(in) + settings + " --source mp3"), 3);
  EXPECT_NE(err.find("refuses"), std::string::npos) << err;
  EXPECT_EQ(Run(Paths(in) + settings + " --source ac3 --file-name song.mp3"), 0) << err;
}

TEST_F(ProcessTool, ExpanderWritesFiveOneThroughOurUpmixer) {
  const Audio input = Tone(1.0);
  const fs::path in = Write("in.wav", input);
  ASSERT_EQ(
      Run(Paths(in) + " --set \"Channel Expander/Enable=1\" --set \"Channel Expander/OutputChannels=6\""), 0)
      << err;
  EXPECT_EQ(err, "");
  const Audio output = Read(dir / "o.wav");
  EXPECT_EQ(output.format.formatTag, 0xFFFE);
  EXPECT_EQ(output.format.channels, 6);
  EXPECT_EQ(output.format.channelMask, 0x3Fu);
  EXPECT_EQ(Frames(output), Frames(input));
  // What is equal in left and right belongs to the centre.
  EXPECT_GT(Rms(output, 2), 2 * Rms(output, 0));
}

TEST_F(ProcessTool, TimeStretcherWritesAShorterFileAtTheSamePitch) {
  const Audio input = Tone(3.0);
  const fs::path in = Write("in.wav", input);
  ASSERT_EQ(Run(Paths(in) + " --set \"Time Stretcher/Enable=1\" --set \"Time Stretcher/Speed=1500\""), 0)
      << err;
  const Audio output = Read(dir / "o.wav");
  EXPECT_EQ(output.format.channels, 2);
  // The stretcher's held-back end stays in it when the stream ends.
  EXPECT_NEAR(static_cast<double>(Frames(output)), Frames(input) / 1.5, Frames(input) / 1.5 * 0.03);
  EXPECT_NEAR(Frequency(output), 440.0, 4.4);
}

TEST_F(ProcessTool, ThirtyTwoBitInputPassesThrough) {
  Audio input;
  input.format = {1, 2, 44100, 32, 32, 0};
  for (int i = 0; i < 4000 * 8; ++i) input.data.push_back(static_cast<std::uint8_t>(i * 31));
  const fs::path in = Write("in.wav", input);
  ASSERT_EQ(Run(Paths(in) + " --set \"Channel Control/Enable=1\""), 0) << err;
  const Audio output = Read(dir / "o.wav");
  EXPECT_EQ(output.format.bitsPerSample, 32);
  EXPECT_EQ(output.data, input.data);
}

TEST_F(ProcessTool, BadArgumentsAndUnreadableInput) {
  const fs::path in = Write("in.wav", Constant16(1, 2, 0, 10, {1, 1}));
  EXPECT_EQ(Run(Paths(in) + " --set \"Nowhere/Enable=1\""), 2);
  EXPECT_EQ(Run(Paths(in) + " --set \"Channel Control/Enable=x\""), 2);
  EXPECT_EQ(Run(Paths(in) + " --set \"Channel Control/Enable=4294967296\""), 2);
  EXPECT_EQ(Run(Paths(in) + " --source flac"), 2);
  EXPECT_EQ(Run(Paths(in) + " --bogus"), 2);
  EXPECT_EQ(Run("\"" + in.string() + "\""), 2);
  EXPECT_EQ(Run(Paths(dir / "missing.wav") + " --set \"Channel Control/Enable=1\""), 1);
  std::ofstream(dir / "junk.wav") << "RIFF....WAVEjunk";
  EXPECT_EQ(Run(Paths(dir / "junk.wav") + " --set \"Channel Control/Enable=1\""), 1);
  EXPECT_NE(err.find("junk.wav"), std::string::npos);
  EXPECT_EQ(Run("--help"), 0);
  EXPECT_NE(out.find("usage"), std::string::npos);
}

TEST_F(ProcessTool, NegativeSettingValuesAreAccepted) {
  const fs::path in = Write("in.wav", Constant16(0xFFFE, 6, 0x3F, 10, {100, 100, 100, 100, 100, 100}));
  ASSERT_EQ(
      Run(Paths(in) + " --set \"Channel Control/Enable=1\" --set \"Channel Control/EnableFRBalance=1\"" +
          " --set \"Channel Control/FRBalanceLevel=50\""),
      0)
      << err;
  const Audio output = Read(dir / "o.wav");
  EXPECT_EQ(SampleAt(output, 0, 0), 100);
  EXPECT_EQ(SampleAt(output, 0, 4), 50);
}

}  // namespace
}  // namespace zmsp::wav
