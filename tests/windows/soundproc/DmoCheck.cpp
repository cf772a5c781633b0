// Finds our DMOs the way any DMO host does: DMOEnum in the audio effect
// category for 16-bit PCM, then CoCreateInstance of each class found, and
// runs one buffer of stereo through the upmixer to 5.1.
// Prints "listed=CLSID NAME" for every DMO the category lists,
// "created=CLSID" for each of ours that CoCreateInstance gives as an
// IMediaObject, and "upmixed_bytes=N" for the 5.1 output of 100 stereo frames.
#include <windows.h>
#include <ole2.h>
#include <dmo.h>
#include <ks.h>
#include <ksmedia.h>
#include <mmreg.h>
#include <uuids.h>

#include <cstdio>
#include <cstring>

#include "soundproc/contract/DirectShowNames.h"

namespace {

constexpr CLSID kUpmixer = {0xC2F99BDF, 0x133D, 0x4766, {0xB0, 0xC8, 0x4A, 0x84, 0xB1, 0x9B, 0x8D, 0xDD}};
constexpr CLSID kStretcher = {0x6674B5D0, 0xE53B, 0x4A37, {0xA0, 0x62, 0x84, 0x11, 0xB4, 0x4B, 0x61, 0xCD}};
constexpr GUID kSubtypePcm = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

void SetPcm(DMO_MEDIA_TYPE& type, WAVEFORMATEXTENSIBLE& wave, WORD channels, DWORD mask) {
  std::memset(&wave, 0, sizeof(wave));
  wave.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  wave.Format.nChannels = channels;
  wave.Format.nSamplesPerSec = 44100;
  wave.Format.wBitsPerSample = 16;
  wave.Format.nBlockAlign = static_cast<WORD>(channels * 2);
  wave.Format.nAvgBytesPerSec = 44100 * wave.Format.nBlockAlign;
  wave.Format.cbSize = 22;
  wave.Samples.wValidBitsPerSample = 16;
  wave.dwChannelMask = mask;
  wave.SubFormat = kSubtypePcm;
  std::memset(&type, 0, sizeof(type));
  type.majortype = MEDIATYPE_Audio;
  type.subtype = MEDIASUBTYPE_PCM;
  type.formattype = FORMAT_WaveFormatEx;
  type.cbFormat = sizeof(wave);
  type.pbFormat = reinterpret_cast<BYTE*>(&wave);
}

void PrintGuid(const char* label, const GUID& guid, const wchar_t* name) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  std::printf("%s=%ls%s%ls\n", label, text, name != nullptr ? " " : "", name != nullptr ? name : L"");
}

DWORD Upmix(IMediaObject* dmo) {
  DMO_MEDIA_TYPE in{}, out{};
  WAVEFORMATEXTENSIBLE inWave{}, outWave{};
  SetPcm(in, inWave, 2, SPEAKER_FRONT_LEFT | SPEAKER_FRONT_RIGHT);
  SetPcm(out, outWave, 6, KSAUDIO_SPEAKER_5POINT1);
  if (FAILED(dmo->SetInputType(0, &in, 0)) || FAILED(dmo->SetOutputType(0, &out, 0))) return 0;
  zmsp::ComPtr<IMediaBuffer> input, output;
  if (FAILED(zmsp::SampleMediaBuffer::CreateOwning(400, input.Put())) ||
      FAILED(zmsp::SampleMediaBuffer::CreateOwning(1200, output.Put()))) {
    return 0;
  }
  BYTE* silence = nullptr;
  input->GetBufferAndLength(&silence, nullptr);
  std::memset(silence, 0, 400);
  input->SetLength(400);
  DWORD produced = 0;
  if (SUCCEEDED(dmo->ProcessInput(0, input.Get(), 0, 0, 0))) {
    DMO_OUTPUT_DATA_BUFFER piece{output.Get(), 0, 0, 0};
    DWORD status = 0;
    if (SUCCEEDED(dmo->ProcessOutput(0, 1, &piece, &status))) output->GetBufferAndLength(nullptr, &produced);
  }
  return produced;
}

}  // namespace

int wmain() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  DMO_PARTIAL_MEDIATYPE pcm = {MEDIATYPE_Audio, MEDIASUBTYPE_PCM};
  IEnumDMO* found = nullptr;
  if (SUCCEEDED(DMOEnum(DMOCATEGORY_AUDIO_EFFECT, 0, 1, &pcm, 1, &pcm, &found))) {
    CLSID id{};
    WCHAR* name = nullptr;
    while (found->Next(1, &id, &name, nullptr) == S_OK) {
      PrintGuid("listed", id, name);
      CoTaskMemFree(name);
      if (id != kUpmixer && id != kStretcher) continue;
      IMediaObject* dmo = nullptr;
      if (SUCCEEDED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaObject,
                                     reinterpret_cast<void**>(&dmo)))) {
        PrintGuid("created", id, nullptr);
        if (id == kUpmixer) std::printf("upmixed_bytes=%lu\n", static_cast<unsigned long>(Upmix(dmo)));
        dmo->Release();
      }
    }
    found->Release();
  }
  CoUninitialize();
  return 0;
}
