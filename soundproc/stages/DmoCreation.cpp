// Standard headers first: the Windows SDK's strsafe.h, pulled in by dshow.h,
// poisons names that <string> needs.
#include <cstdio>
#include <string>

#include "soundproc/stages/DmoCreation.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

namespace {

class SystemClasses final : public ComClassCreator {
 public:
  HRESULT CreateInProcess(const CLSID& classId, IMediaObject** dmo) override {
    return CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IMediaObject,
                            reinterpret_cast<void**>(dmo));
  }
  HRESULT InitializeMultithreaded() override { return CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
};

}  // namespace

ComClassCreator& SystemComClasses() {
  static SystemClasses classes;
  return classes;
}

DmoCreation CreateStageDmo(const DmoSources& sources, const CLSID& outsideClass, OwnDmoKind kind,
                           ComPtr<IMediaObject>& dmo) {
  DmoCreation result;
  dmo.Reset();
  result.hr = sources.system->CreateInProcess(outsideClass, dmo.Put());
  if (result.hr == CO_E_NOTINITIALIZED) {
    if (FAILED(sources.system->InitializeMultithreaded())) {
      result.silent = true;
      return result;
    }
    result.hr = sources.system->CreateInProcess(outsideClass, dmo.Put());
  }
  if (result.hr == REGDB_E_CLASSNOTREG && sources.own != nullptr) {
    result.hr = sources.own->Create(kind, dmo.Put());
  }
  // A creator that reports success without an object has not created one.
  if (SUCCEEDED(result.hr) && !dmo) result.hr = E_POINTER;
  if (FAILED(result.hr)) dmo.Reset();
  return result;
}

bool CreateConfiguredDmo(const DmoSources& sources, const CLSID& outsideClass, OwnDmoKind kind,
                         std::string_view name, const std::function<HRESULT()>& handOver,
                         ComPtr<IMediaObject>& dmo, StageMessages& messages) {
  const DmoCreation created = CreateStageDmo(sources, outsideClass, kind, dmo);
  if (FAILED(created.hr)) {
    if (!created.silent)
      messages.Show("can't create " + std::string(name) + " (" + HexResult(created.hr) + ")");
    return false;
  }
  const HRESULT hr = handOver();
  if (FAILED(hr)) {
    dmo.Reset();
    messages.Show("can't initialize " + std::string(name) + " (" + HexResult(hr) + ")");
    return false;
  }
  return true;
}

bool SetDmoTypes(IMediaObject& dmo, const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output) {
  dmo.SetInputType(0, nullptr, DMO_SET_TYPEF_CLEAR);
  dmo.SetOutputType(0, nullptr, DMO_SET_TYPEF_CLEAR);
  return SUCCEEDED(dmo.SetInputType(0, reinterpret_cast<const DMO_MEDIA_TYPE*>(&input), 0)) &&
         SUCCEEDED(dmo.SetOutputType(0, reinterpret_cast<const DMO_MEDIA_TYPE*>(&output), 0));
}

void StageMessages::Show(std::string_view text) {
  if (!shown_.emplace(text).second) return;
  ShowStageMessage(text);
}

std::string HexResult(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(hr));
  return text;
}

}  // namespace zmsp
