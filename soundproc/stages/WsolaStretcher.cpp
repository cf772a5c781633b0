#include "soundproc/stages/WsolaStretcher.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zmsp {
namespace {

// Frames are 2 x 20 ms long with a 20 ms hop; the best continuation is looked
// for within 12 ms of the nominal position; the coarse search runs near 11 kHz.
constexpr double kHopSeconds = 0.020;
constexpr double kSeekSeconds = 0.012;
constexpr double kCoarseRate = 11025.0;
constexpr std::size_t kMaxDecimation = 8;
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 384000;
// Held input is compacted once this many frames lie before what is still needed.
constexpr std::int64_t kCompactFrames = 16384;

// Sum of products with eight fixed partial sums: the order of additions is set
// by the code, not by the compiler or the data's alignment, so the result is
// reproducible and the loop still vectorises.
float Dot(const float* a, const float* b, std::size_t n) {
  float partial[8] = {};
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    for (std::size_t j = 0; j < 8; ++j) {
      partial[j] += a[i + j] * b[i + j];
    }
  }
  float sum = 0.0f;
  for (; i < n; ++i) {
    sum += a[i] * b[i];
  }
  for (float p : partial) {
    sum += p;
  }
  return sum;
}

double Energy(const float* a, std::size_t n) {
  double sum = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    sum += static_cast<double>(a[i]) * a[i];
  }
  return sum;
}

// Best of the candidate segments cand + k * step (k = 0 .. count-1, each
// `length` long) by normalised cross-correlation with `reference`; ties go to
// the first. Returns the index k, or `fallback` when no candidate correlates
// positively.
std::size_t BestMatch(const float* reference, const float* cand, std::size_t count, std::size_t length,
                      std::size_t fallback) {
  constexpr double kFloor = 1.0;  // keeps silence from scoring
  double e = Energy(cand, length);
  double bestScore = 0.0;
  std::size_t best = fallback;
  for (std::size_t k = 0; k < count; ++k) {
    const float* c = cand + k;
    const double corr = Dot(reference, c, length);
    if (corr > 0.0) {
      const double score = corr * corr / (e + kFloor);
      if (score > bestScore) {
        bestScore = score;
        best = k;
      }
    }
    if (k + 1 < count) {
      e += static_cast<double>(c[length]) * c[length] - static_cast<double>(c[0]) * c[0];
      e = std::max(e, 0.0);
    }
  }
  return best;
}

// Rounds half up and saturates, in integers so that loops over it vectorise
// (the values stay far inside the 32-bit range).
std::int16_t ToSample(float v) {
  const std::int32_t rounded = static_cast<std::int32_t>(v + 32768.5f) - 32768;
  return static_cast<std::int16_t>(std::clamp(rounded, -32768, 32767));
}

}  // namespace

bool WsolaStretcher::SupportsChannels(int channels) {
  return channels == 1 || channels == 2 || channels == 4 || channels == 6;
}

bool WsolaStretcher::Configure(int channels, int sampleRate) {
  if (!SupportsChannels(channels) || sampleRate < kMinSampleRate || sampleRate > kMaxSampleRate) {
    channels_ = 0;
    sampleRate_ = 0;
    Reset();
    return false;
  }
  channels_ = channels;
  sampleRate_ = sampleRate;
  Prepare();
  Reset();
  return true;
}

void WsolaStretcher::Prepare() {
  const double rate = sampleRate_;
  hop_ = static_cast<std::size_t>(std::lround(kHopSeconds * rate));
  seek_ = static_cast<std::size_t>(std::lround(kSeekSeconds * rate));
  decimation_ =
      std::clamp<std::size_t>(static_cast<std::size_t>(std::lround(rate / kCoarseRate)), 1, kMaxDecimation);
  const std::size_t length = 2 * hop_;
  const auto ch = static_cast<std::size_t>(channels_);
  // Periodic Hann: two windows a hop apart sum to one.
  window_.resize(length * ch);
  for (std::size_t i = 0; i < length; ++i) {
    const double w =
        0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(length));
    std::fill_n(window_.begin() + static_cast<std::ptrdiff_t>(i * ch), ch, static_cast<float>(w));
  }
}

void WsolaStretcher::SetSpeed(double speed) {
  if (std::isnan(speed)) {
    return;
  }
  speed_ = std::clamp(speed, kMinSpeed, kMaxSpeed);
}

void WsolaStretcher::Reset() {
  StartStream();
  output_.clear();
  outputRead_ = 0;
}

void WsolaStretcher::StartStream() {
  inputBase_ = 0;
  input_.clear();
  mono_.clear();
  coarse_.clear();
  inputEnd_ = 0;
  nominal_ = 0.0;
  previous_ = -1;
  overlap_.assign(hop_ * static_cast<std::size_t>(channels_), 0.0f);
}

std::size_t WsolaStretcher::LatencyFrames() const {
  if (!Configured()) {
    return 0;
  }
  const auto advance = static_cast<std::size_t>(std::ceil(speed_ * static_cast<double>(hop_)));
  return std::max(seek_ + 2 * hop_, advance) + decimation_;
}

std::size_t WsolaStretcher::Push(const std::int16_t* in, std::size_t frames) {
  if (!Configured() || in == nullptr || frames == 0) {
    return 0;
  }
  AppendInput(in, frames);
  inputEnd_ += static_cast<std::int64_t>(frames);
  ProduceFrames(inputEnd_, false);
  DropConsumedInput();
  return frames;
}

void WsolaStretcher::Flush() {
  if (!Configured() || inputEnd_ == 0) {
    return;
  }
  // Silence after the end lets the last frames be searched and placed whole.
  const std::vector<std::int16_t> silence(
      (seek_ + 2 * hop_ + decimation_) * static_cast<std::size_t>(channels_), 0);
  AppendInput(silence.data(), silence.size() / static_cast<std::size_t>(channels_));
  ProduceFrames(inputEnd_, true);
  StartStream();
}

void WsolaStretcher::AppendInput(const std::int16_t* in, std::size_t frames) {
  const auto ch = static_cast<std::size_t>(channels_);
  input_.insert(input_.end(), in, in + frames * ch);
  const std::size_t first = mono_.size();
  mono_.resize(first + frames);
  const float scale = 1.0f / static_cast<float>(ch);
  for (std::size_t f = 0; f < frames; ++f) {
    float sum = 0.0f;
    for (std::size_t c = 0; c < ch; ++c) {
      sum += in[f * ch + c];
    }
    mono_[first + f] = sum * scale;
  }
  const float groupScale = 1.0f / static_cast<float>(decimation_);
  for (std::size_t g = coarse_.size(); (g + 1) * decimation_ <= mono_.size(); ++g) {
    float sum = 0.0f;
    for (std::size_t k = 0; k < decimation_; ++k) {
      sum += mono_[g * decimation_ + k];
    }
    coarse_.push_back(sum * groupScale);
  }
}

// Places every frame whose input is complete up to `inputEnd`. A frame needs
// its search range and its own length, and its hop's worth of input, so no
// output is produced that the end of the stream could make too long. At the
// end of the stream the last partial hop is placed and cut to the length the
// remaining input asks for.
void WsolaStretcher::ProduceFrames(std::int64_t inputEnd, bool ending) {
  const auto held = static_cast<std::int64_t>(mono_.size());
  for (;;) {
    const double advance = speed_ * static_cast<double>(hop_);
    const std::int64_t nominal = std::llround(nominal_);
    const bool searchable = nominal + static_cast<std::int64_t>(seek_ + 2 * hop_) <= inputBase_ + held;
    if (!searchable) {
      return;
    }
    std::size_t emitFrames = hop_;
    if (nominal_ + advance > static_cast<double>(inputEnd)) {
      if (!ending) {
        return;
      }
      const double remaining = (static_cast<double>(inputEnd) - nominal_) / speed_;
      emitFrames =
          std::min<std::size_t>(hop_, static_cast<std::size_t>(std::max(0L, std::lround(remaining))));
      if (emitFrames == 0) {
        return;
      }
    }
    const bool first = previous_ < 0;
    const std::int64_t position = first ? nominal : FindFramePosition(nominal);
    PlaceFrame(position, first);
    Emit(emitFrames);
    previous_ = position;
    nominal_ += advance;
    if (emitFrames < hop_) {
      return;
    }
  }
}

// Where, within the seek radius of `nominal`, the input best continues what
// the last frame leaves in the overlap: the input that followed it, a hop on.
std::int64_t WsolaStretcher::FindFramePosition(std::int64_t nominal) const {
  const std::int64_t lo = std::max(nominal - static_cast<std::int64_t>(seek_), inputBase_);
  const std::int64_t hi = std::max(nominal + static_cast<std::int64_t>(seek_), lo);
  const std::int64_t reference = previous_ + static_cast<std::int64_t>(hop_);
  if (decimation_ == 1) {
    return std::clamp(FineSearch(lo, hi, reference), lo, hi);
  }
  const std::int64_t coarse = CoarseSearch(lo, hi, reference);
  const auto step = static_cast<std::int64_t>(decimation_);
  const std::int64_t found =
      FineSearch(std::max(lo, coarse - step + 1), std::max(lo, std::min(hi, coarse + step - 1)), reference);
  return std::clamp(found, lo, hi);
}

// Search over the decimated signal: candidates keep the reference's offset
// within its decimation group, so both are averaged over matching frames.
std::int64_t WsolaStretcher::CoarseSearch(std::int64_t lo, std::int64_t hi, std::int64_t reference) const {
  const auto step = static_cast<std::int64_t>(decimation_);
  const std::int64_t refIndex = (reference - inputBase_) / step;
  const std::int64_t offset = (reference - inputBase_) - refIndex * step;
  const std::int64_t firstIndex = (lo - inputBase_ - offset + step - 1) / step;
  const std::int64_t lastIndex = (hi - inputBase_ - offset) / step;
  const std::size_t length = hop_ / decimation_;
  const auto held = static_cast<std::int64_t>(coarse_.size());
  const std::int64_t usableLast = std::min(lastIndex, held - static_cast<std::int64_t>(length) - 1);
  if (firstIndex > usableLast || refIndex + static_cast<std::int64_t>(length) > held) {
    return std::clamp((lo + hi) / 2, lo, hi);
  }
  const auto count = static_cast<std::size_t>(usableLast - firstIndex + 1);
  const std::int64_t nominalIndex = ((lo + hi) / 2 - inputBase_ - offset) / step;
  const auto fallback = static_cast<std::size_t>(
      std::clamp(nominalIndex - firstIndex, std::int64_t{0}, static_cast<std::int64_t>(count - 1)));
  const std::size_t k =
      BestMatch(coarse_.data() + refIndex, coarse_.data() + firstIndex, count, length, fallback);
  return inputBase_ + (firstIndex + static_cast<std::int64_t>(k)) * step + offset;
}

std::int64_t WsolaStretcher::FineSearch(std::int64_t lo, std::int64_t hi, std::int64_t reference) const {
  const std::size_t length = hop_;
  const auto held = static_cast<std::int64_t>(mono_.size());
  const std::int64_t last = std::min(hi, inputBase_ + held - static_cast<std::int64_t>(length) - 1);
  if (lo > last || reference - inputBase_ + static_cast<std::int64_t>(length) > held) {
    return lo;
  }
  const auto count = static_cast<std::size_t>(last - lo + 1);
  const std::size_t k = BestMatch(mono_.data() + (reference - inputBase_), mono_.data() + (lo - inputBase_),
                                  count, length, count / 2);
  return lo + static_cast<std::int64_t>(k);
}

// Adds the frame's windowed first half to the overlap kept from the last
// frame and keeps its windowed second half for the next one. The first frame
// of a stream starts at full level instead of fading in.
void WsolaStretcher::PlaceFrame(std::int64_t position, bool first) {
  const auto ch = static_cast<std::size_t>(channels_);
  const std::size_t half = hop_ * ch;
  const std::int16_t* x = input_.data() + static_cast<std::size_t>(position - inputBase_) * ch;
  const float* w = window_.data();
  float* acc = overlap_.data();
  if (first) {
    for (std::size_t k = 0; k < half; ++k) {
      acc[k] = static_cast<float>(x[k]);
    }
  } else {
    for (std::size_t k = 0; k < half; ++k) {
      acc[k] += w[k] * static_cast<float>(x[k]);
    }
  }
  pendingHalf_.resize(half);
  for (std::size_t k = 0; k < half; ++k) {
    pendingHalf_[k] = w[half + k] * static_cast<float>(x[half + k]);
  }
}

// Moves the first `frames` finished frames of the overlap to the output and
// makes the frame's second half the new overlap.
void WsolaStretcher::Emit(std::size_t frames) {
  const auto ch = static_cast<std::size_t>(channels_);
  const std::size_t count = frames * ch;
  const std::size_t start = output_.size();
  output_.resize(start + count);
  std::int16_t* out = output_.data() + start;
  const float* acc = overlap_.data();
  for (std::size_t k = 0; k < count; ++k) {
    out[k] = ToSample(acc[k]);
  }
  overlap_.swap(pendingHalf_);
}

void WsolaStretcher::DropConsumedInput() {
  const std::int64_t nextLo = std::llround(nominal_) - static_cast<std::int64_t>(seek_);
  const std::int64_t reference = previous_ < 0 ? 0 : previous_ + static_cast<std::int64_t>(hop_);
  std::int64_t keepFrom = std::min(nextLo, reference);
  const auto step = static_cast<std::int64_t>(decimation_);
  keepFrom = std::min(keepFrom, inputBase_ + static_cast<std::int64_t>(mono_.size()));
  keepFrom -= keepFrom % step;
  const std::int64_t drop = keepFrom - inputBase_;
  if (drop < kCompactFrames || drop * 2 < static_cast<std::int64_t>(mono_.size())) {
    return;
  }
  const auto ch = static_cast<std::size_t>(channels_);
  input_.erase(input_.begin(),
               input_.begin() + static_cast<std::ptrdiff_t>(drop * static_cast<std::int64_t>(ch)));
  mono_.erase(mono_.begin(), mono_.begin() + static_cast<std::ptrdiff_t>(drop));
  coarse_.erase(coarse_.begin(), coarse_.begin() + static_cast<std::ptrdiff_t>(drop / step));
  inputBase_ = keepFrom;
}

std::size_t WsolaStretcher::Available() const {
  if (!Configured()) {
    return 0;
  }
  const auto ch = static_cast<std::size_t>(channels_);
  return output_.size() / ch - outputRead_;
}

std::size_t WsolaStretcher::Pull(std::int16_t* out, std::size_t capacityFrames) {
  if (out == nullptr || !Configured()) {
    return 0;
  }
  const std::size_t frames = std::min(capacityFrames, Available());
  const auto ch = static_cast<std::size_t>(channels_);
  std::copy_n(output_.begin() + static_cast<std::ptrdiff_t>(outputRead_ * ch), frames * ch, out);
  outputRead_ += frames;
  if (outputRead_ * ch * 2 >= output_.size()) {
    output_.erase(output_.begin(), output_.begin() + static_cast<std::ptrdiff_t>(outputRead_ * ch));
    outputRead_ = 0;
  }
  return frames;
}

}  // namespace zmsp
