#include "player/playback/OwnCodecs_win32.h"

#include <vector>

#include "interfaces/OrvesCodecs.h"
#include "player/playback/ComPtr_win32.h"
#include "player/playback/GraphRoutes.h"

namespace orves {

namespace {

constexpr wchar_t kModuleName[] = L"OrvesCodecs.ax";

std::wstring BesideProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return path.substr(0, slash == std::wstring::npos ? 0 : slash + 1) + name;
}

std::vector<ComPtr<IPin>> OutputPins(IBaseFilter* filter) {
  std::vector<ComPtr<IPin>> outputs;
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Put())) || !pins) return outputs;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT) outputs.push_back(pin);
  }
  return outputs;
}

// The major type of the first media type a pin offers.
GUID MajorTypeOf(IPin* pin) {
  GUID major = GUID_NULL;
  ComPtr<IEnumMediaTypes> types;
  if (FAILED(pin->EnumMediaTypes(types.Put())) || !types) return major;
  AM_MEDIA_TYPE* type = nullptr;
  if (types->Next(1, &type, nullptr) == S_OK && type) {
    major = type->majortype;
    if (type->cbFormat != 0) CoTaskMemFree(type->pbFormat);
    if (type->pUnk) type->pUnk->Release();
    CoTaskMemFree(type);
  }
  return major;
}

bool InputConnected(IBaseFilter* filter) {
  ComPtr<IEnumPins> pins;
  if (FAILED(filter->EnumPins(pins.Put())) || !pins) return false;
  ComPtr<IPin> pin;
  while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_OUTPUT;
    ComPtr<IPin> peer;
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_INPUT &&
        SUCCEEDED(pin->ConnectedTo(peer.Put())) && peer) {
      return true;
    }
  }
  return false;
}

}  // namespace

OwnCodecs& OwnCodecs::Instance() {
  // Loaded once and never freed: filters of it may live in a graph until the
  // process ends.
  static OwnCodecs codecs(BesideProgram(kModuleName));
  return codecs;
}

OwnCodecs::OwnCodecs(const std::wstring& path) {
  if (path.empty()) return;
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return;
  getClassObject_ = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
}

HRESULT OwnCodecs::Create(const CLSID& classId, IBaseFilter** filter) const {
  if (!getClassObject_) return E_NOTIMPL;
  ComPtr<IClassFactory> factory;
  HRESULT hr = getClassObject_(classId, IID_IClassFactory, factory.PutVoid());
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
}

HRESULT OwnCodecs::BuildGraph(IGraphBuilder* builder, const std::wstring& file) const {
  ComPtr<IBaseFilter> source;
  HRESULT hr = Create(kOrvesSource, source.Put());
  if (FAILED(hr)) return hr;
  if (FAILED(hr = builder->AddFilter(source.Get(), L"Orves Source"))) return hr;
  auto load = source.As<IFileSourceFilter>(IID_IFileSourceFilter);
  if (!load) return E_NOINTERFACE;
  if (FAILED(hr = load->Load(file.c_str(), nullptr))) return hr;

  int rendered = 0;
  std::vector<ComPtr<IBaseFilter>> decoders;
  for (const ComPtr<IPin>& pin : OutputPins(source.Get())) {
    // A decoder of ours for each stream (two audio tracks need two), in the
    // graph before the pin is rendered, so graph building takes it first.
    const GUID major = MajorTypeOf(pin.Get());
    const CLSID* decoderClass = IsEqualGUID(major, MEDIATYPE_Video)   ? &kOrvesVideoDecoder
                                : IsEqualGUID(major, MEDIATYPE_Audio) ? &kOrvesAudioDecoder
                                                                      : nullptr;
    ComPtr<IBaseFilter> decoder;
    if (decoderClass && SUCCEEDED(Create(*decoderClass, decoder.Put())) &&
        SUCCEEDED(builder->AddFilter(decoder.Get(), nullptr))) {
      decoders.push_back(decoder);
    }
    if (SUCCEEDED(builder->Render(pin.Get()))) ++rendered;
  }
  for (const ComPtr<IBaseFilter>& decoder : decoders) {
    if (!InputConnected(decoder.Get())) builder->RemoveFilter(decoder.Get());
  }
  return KeepOwnGraph(rendered) ? S_OK : VFW_E_CANNOT_RENDER;
}

}  // namespace orves
