#pragma once
// "ZEMBRA's Upmixer DMO": 2, 4 or 6 channels of 16-bit PCM to 4, 6, 7 or 8
// channels with the matrix upmixer. Its persisted state is the 68-byte upmix
// parameter block the expander stage writes (algorithm, Pro Logic II mode,
// music-mode panorama, dimension and centre width); the other words are kept
// as loaded.

#include "soundproc/dmo/AudioMediaObject.h"
#include "soundproc/stages/DmoParameterBlocks.h"
#include "soundproc/stages/MatrixUpmixer.h"

namespace zmsp::dmo {

class UpmixerDmo final : public AudioMediaObject {
 public:
  UpmixerDmo();

 private:
  [[nodiscard]] bool AcceptsInput(const PcmFormat& in) const override;
  [[nodiscard]] bool AcceptsOutput(const PcmFormat& in, const PcmFormat& out) const override;
  [[nodiscard]] bool OutputChoice(const PcmFormat& in, DWORD index, PcmFormat& out) const override;
  [[nodiscard]] bool Configure(const PcmFormat& in, const PcmFormat& out) override;
  std::size_t Convert(const std::int16_t* in, std::size_t frames, std::size_t& consumed, std::int16_t* out,
                      std::size_t capacity) override;
  [[nodiscard]] bool HasPendingOutput() const override { return false; }
  void EndOfInput() override {}
  void DropStream() override { upmixer_.Reset(); }
  void SaveBlock(BYTE* block) const override;
  [[nodiscard]] bool LoadBlock(const BYTE* block) override;

  UpmixParameterBlock block_;
  MatrixUpmixer upmixer_;
};

}  // namespace zmsp::dmo
