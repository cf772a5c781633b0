#include "soundproc/dmo/OwnDmos.h"

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/dmo/TimeStretcherDmo.h"
#include "soundproc/dmo/UpmixerDmo.h"

namespace zmsp::dmo {

namespace {

class Factory final : public OwnDmoFactory {
 public:
  HRESULT Create(OwnDmoKind kind, IMediaObject** dmo) override {
    return kind == OwnDmoKind::Upmixer
               ? CreateUpmixerDmo(IID_IMediaObject, reinterpret_cast<void**>(dmo))
               : CreateTimeStretcherDmo(IID_IMediaObject, reinterpret_cast<void**>(dmo));
  }
};

}  // namespace

OwnDmoFactory& OwnDmos() {
  static Factory factory;
  return factory;
}

HRESULT CreateUpmixerDmo(REFIID riid, void** object) { return CreateComObject<UpmixerDmo>(riid, object); }

HRESULT CreateTimeStretcherDmo(REFIID riid, void** object) {
  return CreateComObject<TimeStretcherDmo>(riid, object);
}

}  // namespace zmsp::dmo
