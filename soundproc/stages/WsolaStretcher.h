#pragma once
// Tempo change without pitch change for interleaved 16-bit PCM with 1, 2, 4 or
// 6 channels, by waveform-similarity overlap-add (WSOLA). Plain C++ without
// media or COM types; our time-stretch DMO wraps it.
//
// Output is built from Hann-windowed frames placed every hop; each frame is
// taken from near its nominal input position (hop x speed further on) where
// it best continues the waveform already written, found by a normalised
// cross-correlation on a downmixed mono signal, first decimated, then refined
// at full rate. All channels use the same frame positions, so the stereo
// image stays put.
//
// Streaming contract: Push() input in buffers of any size, Pull() what is
// available. The output depends only on the samples and the speed, never on
// how the input was cut into buffers. At most LatencyFrames() input frames
// are held back before the output they produce can be pulled. Flush() ends
// the stream: the rest is produced, the total output length being the input
// length divided by the speed (rounded; with speed changes, each stretch of
// input divided by the speed that applied to it). A Push() after Flush()
// starts a new stream; output not yet pulled is kept.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zmsp {

class WsolaStretcher {
 public:
  static constexpr double kMinSpeed = 0.563;
  static constexpr double kMaxSpeed = 10.0;

  WsolaStretcher() = default;
  WsolaStretcher(const WsolaStretcher&) = delete;
  WsolaStretcher& operator=(const WsolaStretcher&) = delete;

  [[nodiscard]] static bool SupportsChannels(int channels);

  // A new format: 1, 2, 4 or 6 channels and a sample rate of 1,000 to
  // 384,000 Hz. False (and unconfigured) otherwise. Resets the stream and
  // drops pending output; the speed stays.
  [[nodiscard]] bool Configure(int channels, int sampleRate);
  [[nodiscard]] bool Configured() const { return channels_ != 0; }
  [[nodiscard]] int Channels() const { return channels_; }
  [[nodiscard]] int SampleRate() const { return sampleRate_; }

  // Playback speed, clamped to [kMinSpeed, kMaxSpeed] (a NaN is ignored); 1 is
  // normal speed. Applies from the next output frame on, so a change while
  // streaming is smooth.
  void SetSpeed(double speed);
  // The same in thousandths (563 to 10000), as the speed parameter block holds it.
  void SetSpeedThousandths(int thousandths) { SetSpeed(thousandths / 1000.0); }
  [[nodiscard]] double Speed() const { return speed_; }

  // Takes `frames` frames of Channels() samples each and returns how many it
  // took: all of them, or 0 when not configured or `in` is null.
  [[nodiscard]] std::size_t Push(const std::int16_t* in, std::size_t frames);
  // Moves up to capacityFrames frames of output to `out` and returns how many
  // (0 when `out` is null). Writes nothing past capacityFrames frames.
  [[nodiscard]] std::size_t Pull(std::int16_t* out, std::size_t capacityFrames);
  // Frames Pull() can deliver now.
  [[nodiscard]] std::size_t Available() const;
  // Most input frames held back without producing output (depends on the
  // sample rate and the speed).
  [[nodiscard]] std::size_t LatencyFrames() const;

  // Ends the stream: produces the output of all input pushed so far.
  void Flush();
  // Drops the stream, its held input and pending output; format and speed stay.
  void Reset();

 private:
  void Prepare();
  void StartStream();
  void AppendInput(const std::int16_t* in, std::size_t frames);
  void ProduceFrames(std::int64_t inputEnd, bool ending);
  [[nodiscard]] std::int64_t FindFramePosition(std::int64_t nominal) const;
  [[nodiscard]] std::int64_t CoarseSearch(std::int64_t lo, std::int64_t hi, std::int64_t reference) const;
  [[nodiscard]] std::int64_t FineSearch(std::int64_t lo, std::int64_t hi, std::int64_t reference) const;
  void PlaceFrame(std::int64_t position, bool first);
  void Emit(std::size_t frames);
  void DropConsumedInput();

  int channels_ = 0;
  int sampleRate_ = 0;
  double speed_ = 1.0;

  // Geometry, from the sample rate.
  std::size_t hop_ = 0;         // synthesis hop; frames are 2 * hop_ long
  std::size_t seek_ = 0;        // search radius around the nominal position
  std::size_t decimation_ = 1;  // coarse search step
  std::vector<float> window_;   // Hann window of 2 * hop_

  // Input kept from absolute frame inputBase_ on (a multiple of decimation_).
  std::int64_t inputBase_ = 0;
  std::vector<std::int16_t> input_;  // interleaved
  std::vector<float> mono_;          // channel mean, one per kept frame
  std::vector<float> coarse_;        // mono_ averaged over decimation_ frames

  // Stream position.
  std::int64_t inputEnd_ = 0;       // absolute frames pushed into this stream
  double nominal_ = 0.0;            // nominal input position of the next frame
  std::int64_t previous_ = -1;      // input position of the last placed frame
  std::vector<float> overlap_;      // second half of the last frame, windowed
  std::vector<float> pendingHalf_;  // the placed frame's second half until emitted
  std::vector<std::int16_t> output_;
  std::size_t outputRead_ = 0;  // frames of output_ already pulled
};

}  // namespace zmsp
