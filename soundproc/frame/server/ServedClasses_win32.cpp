// ZmSoundProcessor.ax: the classes it serves and how each is registered.
// The server's exports (directshow_server) read this one table.
#include "directshow/com/ServerModule.h"
#include "soundproc/contract/Guids.h"
#include "soundproc/dmo/DmoGuids.h"
#include "soundproc/dmo/OwnDmos.h"
#include "soundproc/frame/SoundProcessorFilter.h"
#include "soundproc/frame/pages/ObjectPages_win32.h"
#include "soundproc/frame/pages/SoundProcessorPage_win32.h"
#include "soundproc/frame/server/RegistrySettingsStore.h"

namespace zmsp {

namespace {

// The filter class answers E_FAIL when no stage is switched on: graph
// building then passes the filter by.
HRESULT CreateFilter(REFIID riid, void** object) {
  SoundProcessorFilter* filter = nullptr;
  HRESULT hr = SoundProcessorFilter::Create(CurrentSettingsStore(), &filter);
  if (FAILED(hr)) return hr;
  hr = filter->QueryInterface(riid, object);
  filter->Release();
  return hr;
}

// DMOCATEGORY_AUDIO_EFFECT, spelled out so no translation unit depends on
// which GUIDs a platform library happens to export.
constexpr GUID kAudioEffectCategory = {
    0xf3602b3f, 0x0592, 0x48df, {0xa4, 0xcd, 0x67, 0x47, 0x21, 0xe7, 0xeb, 0xeb}};

constexpr ds::RegisteredType kPcm[] = {{&guids::kMediaTypeAudio, &guids::kSubtypePcm}};

constexpr ds::RegisteredPin kFilterPins[] = {
    {.name = L"Input", .output = false, .types = kPcm},
    {.name = L"Output", .output = true, .types = kPcm},
};
// MERIT_PREFERRED + 1: graph building puts the filter in front of the audio renderer.
constexpr ds::FilterEntry kFilter = {.merit = 0x00800001, .pins = kFilterPins};

// Our DMOs, for any DMO host: 16-bit PCM in and out.
constexpr ds::DmoEntry kAudioEffect = {.category = &kAudioEffectCategory, .inputs = kPcm, .outputs = kPcm};

constexpr ds::ServedClass kServedClasses[] = {
    {.classId = &guids::kSoundProcessorFilter,
     .name = L"ZEMBRA's Sound Processor",
     .create = CreateFilter,
     .filter = &kFilter},
    {.classId = &guids::kSoundProcessorPage,
     .name = L"ZEMBRA's Sound Processor Property Page",
     .create = SoundProcessorPage::Create},
    {.classId = &guids::kSoundProcessorAboutPage,
     .name = L"ZEMBRA's Sound Processor About Page",
     .create = SoundProcessorAboutPage::Create},
    {.classId = &dmo::kUpmixerPage, .name = L"ZEMBRA's Upmixer Property Page", .create = UpmixerPage::Create},
    {.classId = &dmo::kTimeStretcherPage,
     .name = L"ZEMBRA's Time Stretcher Property Page",
     .create = TimeStretcherPage::Create},
    {.classId = &dmo::kUpmixerDmo,
     .name = L"ZEMBRA's Upmixer DMO",
     .create = dmo::CreateUpmixerDmo,
     .dmo = &kAudioEffect},
    {.classId = &dmo::kTimeStretcherDmo,
     .name = L"ZEMBRA's Time Stretcher DMO",
     .create = dmo::CreateTimeStretcherDmo,
     .dmo = &kAudioEffect},
};

RegistrySettingsStore g_registry;

// The filter and its stages read their settings from the registry.
void InstallRegistrySettings() { InstallSettingsStore(&g_registry); }

}  // namespace

}  // namespace zmsp

const ds::ServerModule& ds::ThisServerModule() {
  static const ServerModule kModule{zmsp::kServedClasses, zmsp::InstallRegistrySettings};
  return kModule;
}
