#pragma once
// "ZEMBRA's Time Stretcher DMO": speed 0.563 to 10 without a change of pitch
// for 16-bit PCM with 1, 2, 4 or 6 channels, with the WSOLA stretcher. Input
// and output types are the same. Its persisted state is the 4-byte speed
// block (thousandths). A discontinuity ends the stream: the held-back input
// comes out before the next input goes in.

#include "soundproc/dmo/AudioMediaObject.h"
#include "soundproc/stages/DmoParameterBlocks.h"
#include "soundproc/stages/WsolaStretcher.h"

namespace zmsp::dmo {

class TimeStretcherDmo final : public AudioMediaObject {
 public:
  TimeStretcherDmo();

 private:
  [[nodiscard]] bool AcceptsInput(const PcmFormat& in) const override;
  [[nodiscard]] bool AcceptsOutput(const PcmFormat& in, const PcmFormat& out) const override;
  [[nodiscard]] bool OutputChoice(const PcmFormat& in, DWORD index, PcmFormat& out) const override;
  [[nodiscard]] bool Configure(const PcmFormat& in, const PcmFormat& out) override;
  std::size_t Convert(const std::int16_t* in, std::size_t frames, std::size_t& consumed, std::int16_t* out,
                      std::size_t capacity) override;
  [[nodiscard]] bool HasPendingOutput() const override { return stretcher_.Available() != 0; }
  void EndOfInput() override { stretcher_.Flush(); }
  void DropStream() override { stretcher_.Reset(); }
  void SaveBlock(BYTE* block) const override;
  [[nodiscard]] bool LoadBlock(const BYTE* block) override;

  SpeedParameterBlock block_;
  WsolaStretcher stretcher_;
};

}  // namespace zmsp::dmo
