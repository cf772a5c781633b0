#pragma once
// Matrix upmixer: turns interleaved 16-bit PCM with 2, 4 or 6 channels into 4,
// 6, 7 or 8 channels. Plain C++ without media or COM types; our expansion DMO
// wraps it.
//
// Channel orders are those of the WAVE_FORMAT_EXTENSIBLE masks:
//   in  2 = 0x3   FL FR                 out 4 = 0x33  FL FR BL BR
//   in  4 = 0x33  FL FR BL BR           out 6 = 0x3F  FL FR FC LFE BL BR
//   in  6 = 0x3F  FL FR FC LFE BL BR    out 7 = 0x13F FL FR FC LFE BL BR BC
//                                       out 8 = 0xFF  FL FR FC LFE BL BR FLC FRC
// Supported: 2 -> 4, 6, 7, 8; 4 -> 6, 7, 8; 6 -> 7, 8. Existing channels are
// kept (4-channel input keeps its rears, 6-channel input all six); the missing
// ones are derived.
//
// Stereo input is decoded as a matrix-encoded pair (Lt, Rt): what is equal in
// both goes to the centre, what is in antiphase goes to the surrounds, what is
// on one side only stays on that side. "Pro Logic" is a passive matrix with a
// band-limited mono surround; "Pro Logic II" and "ICE" steer the matrix from
// smoothed dominance envelopes. Pro Logic II's music mode honours centre
// width, dimension and panorama.
//
// Timing: output frame i belongs to input frame i (no latency, same number of
// frames out as in). The surrounds of the Pro Logic, Pro Logic emulation and
// movie decodes carry a deliberate delay of a few milliseconds behind the
// fronts, as a surround decoder does to keep leakage from being localised.
// The result does not depend on how the stream is cut into Process() calls.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zmsp {

// The words of the upmix parameter block that the expander stage writes.
struct UpmixParams {
  static constexpr int kAlgorithmIce = 0;
  static constexpr int kAlgorithmProLogic = 1;
  static constexpr int kAlgorithmProLogic2 = 2;

  static constexpr int kModeProLogicEmulation = 0;
  static constexpr int kModeVirtualCompatible = 1;
  static constexpr int kModeMusic = 2;
  static constexpr int kModeMovie = 3;
  static constexpr int kModeMatrix = 4;
  static constexpr int kModeCustom = 5;

  static constexpr int kDimensionNeutral = 3;

  int algorithm = kAlgorithmProLogic2;  // 0 ICE, 1 Pro Logic, 2 Pro Logic II
  int mode = kModeMovie;                // Pro Logic II mode, 0 to 5
  int centerWidth = 0;                  // 0 (all in the centre) to 7 (all in the fronts)
  int dimension = kDimensionNeutral;    // 0 (towards the front) to 6 (towards the rear)
  bool panorama = false;                // wrap the front image onto the surrounds

  friend bool operator==(const UpmixParams&, const UpmixParams&) = default;
};

class MatrixUpmixer {
 public:
  MatrixUpmixer() = default;
  MatrixUpmixer(const MatrixUpmixer&) = delete;
  MatrixUpmixer& operator=(const MatrixUpmixer&) = delete;

  // The input/output channel pair is one the upmixer converts.
  [[nodiscard]] static bool Supports(int inChannels, int outChannels);
  // The WAVE_FORMAT_EXTENSIBLE channel mask of an input or output channel
  // count above; 0 for other counts.
  [[nodiscard]] static std::uint32_t ChannelMask(int channels);

  // A new format; false (and unconfigured) when the pair is not supported or
  // the sample rate is not positive. Resets the decoder state.
  [[nodiscard]] bool Configure(int inChannels, int outChannels, int sampleRate);
  [[nodiscard]] bool Configured() const { return inChannels_ != 0; }
  [[nodiscard]] int InChannels() const { return inChannels_; }
  [[nodiscard]] int OutChannels() const { return outChannels_; }
  [[nodiscard]] int SampleRate() const { return sampleRate_; }

  // Takes effect with the next Process() call; out-of-range values are
  // clamped (an unknown algorithm reads as Pro Logic II, an unknown mode as
  // movie; the mode matters to Pro Logic II only). The steering state is
  // kept, so changing parameters while streaming is smooth.
  void SetParams(const UpmixParams& params);
  [[nodiscard]] const UpmixParams& Params() const { return params_; }

  // Converts min(frames, outCapacityFrames) frames from `in` (InChannels()
  // samples a frame) into `out` (OutChannels() samples a frame) and returns
  // that count. Writes nothing past outCapacityFrames frames. Returns 0 when
  // not configured or a pointer is null. Output saturates at the 16-bit range.
  [[nodiscard]] std::size_t Process(const std::int16_t* in, std::size_t frames, std::int16_t* out,
                                    std::size_t outCapacityFrames);

  // Forgets the stream (envelopes, filters, delays); format and parameters stay.
  void Reset();

 private:
  // Steering values ramped over a block: centre and surround cancellation in
  // the fronts, centre and surround output gains.
  enum Steer : std::size_t { kCancelCenter, kCancelSurround, kCenterGain, kSurroundGain, kSteerCount };
  using SteerGains = std::array<float, kSteerCount>;

  void Prepare();
  void ProcessChunk(const std::int16_t* in, std::size_t frames, std::int16_t* out);
  void ReadInput(const std::int16_t* in, std::size_t frames);
  void Steer(std::size_t frames);
  void DecodeFronts(std::size_t frames);
  void FilterDerived(std::size_t frames);
  void DelaySurrounds(std::size_t frames);
  void WriteOutput(std::size_t frames, std::int16_t* out);
  void EndSteeringBlock();
  [[nodiscard]] SteerGains TargetGains() const;
  [[nodiscard]] float* Plane(std::size_t index);

  int inChannels_ = 0;
  int outChannels_ = 0;
  int sampleRate_ = 0;
  UpmixParams params_;

  // Derived from the parameters and the sample rate by Prepare().
  bool active_ = true;           // steered (false: passive matrix)
  bool monoSurround_ = false;    // one band-limited surround signal on both rears
  std::size_t blockFrames_ = 1;  // frames per steering block
  float envelopeKeep_ = 0.0f;    // per-block decay of the dominance envelopes
  float surroundLowpass_ = 0.0f;
  float lfeLowpass_ = 0.0f;
  std::array<float, 4> surroundMatrix_{};  // SL = a*l + b*r, SR = c*l + d*r
  float widthToFronts_ = 0.0f;
  float widthCenter_ = 1.0f;
  float frontScale_ = 1.0f;
  float rearScale_ = 1.0f;
  float panorama_ = 0.0f;
  std::size_t surroundDelay_ = 0;

  // Streaming state.
  std::size_t blockPos_ = 0;            // frames into the current steering block
  std::array<float, 3> blockEnergy_{};  // sums of left², right² and left x right
  std::array<float, 4> envelope_{};
  SteerGains gainsFrom_{};
  SteerGains gainsTo_{};
  float surroundLp_[2] = {};
  float lfeLp_[2] = {};
  std::vector<float> delayLine_;  // the two surrounds, interleaved
  std::size_t delayPos_ = 0;
  std::vector<float> scratch_;         // one block of each decoded channel, planar
  std::vector<std::int16_t> samples_;  // the same saturated, in output order
};

}  // namespace zmsp
