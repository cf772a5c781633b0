#include "soundproc/dmo/DmoRegistration_win32.h"

#include <dmo.h>

#include "soundproc/contract/Guids.h"
#include "soundproc/dmo/DmoGuids.h"

namespace zmsp::dmo {

namespace {

// DMOCATEGORY_AUDIO_EFFECT, spelled out so no translation unit depends on
// which GUIDs a platform library happens to export.
constexpr GUID kAudioEffectCategory = {
    0xf3602b3f, 0x0592, 0x48df, {0xa4, 0xcd, 0x67, 0x47, 0x21, 0xe7, 0xeb, 0xeb}};

}  // namespace

const OwnDmoName kOwnDmoNames[2] = {
    {&kUpmixerDmo, L"ZEMBRA's Upmixer DMO"},
    {&kTimeStretcherDmo, L"ZEMBRA's Time Stretcher DMO"},
};

HRESULT RegisterOwnDmos() {
  DMO_PARTIAL_MEDIATYPE pcm = {guids::kMediaTypeAudio, guids::kSubtypePcm};
  for (const OwnDmoName& dmo : kOwnDmoNames) {
    const HRESULT hr = DMORegister(dmo.name, *dmo.classId, kAudioEffectCategory, 0, 1, &pcm, 1, &pcm);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT UnregisterOwnDmos() {
  HRESULT result = S_OK;
  for (const OwnDmoName& dmo : kOwnDmoNames) {
    const HRESULT hr = DMOUnregister(*dmo.classId, kAudioEffectCategory);
    if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) && hr != S_FALSE && SUCCEEDED(result)) {
      result = hr;
    }
  }
  return result;
}

}  // namespace zmsp::dmo
