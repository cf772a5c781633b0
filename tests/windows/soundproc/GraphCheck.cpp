// Builds a playback graph for a file with RenderFile, reports whether the
// sound processor was inserted (by merit) and whether playing advances.
// Usage: zmsp_graph_check.exe MOVIE [PLAY_MS]
// Prints "processor=0|1", "connected=0|1", "output_channels=N" (of the
// processor's output pin), "position_ms=N" and any error
// event; exit 0 when the graph rendered and played without an error event.
//        zmsp_graph_check.exe --version FILE
// Prints the version resource's fixed version and the self-registration strings.
#include <windows.h>
#include <ole2.h>
#include <dshow.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr CLSID kSoundProcessor = {
    0x3335371D, 0xAF73, 0x426D, {0x90, 0xCD, 0x59, 0x17, 0x95, 0xFA, 0x65, 0x7A}};

template <typename T>
void SafeRelease(T*& p) {
  if (p != nullptr) p->Release();
  p = nullptr;
}

// True when every pin of the filter is connected.
bool AllPinsConnected(IBaseFilter* filter) {
  IEnumPins* pins = nullptr;
  if (FAILED(filter->EnumPins(&pins))) return false;
  bool all = true;
  int count = 0;
  IPin* pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    IPin* peer = nullptr;
    if (FAILED(pin->ConnectedTo(&peer))) all = false;
    SafeRelease(peer);
    SafeRelease(pin);
    ++count;
  }
  pins->Release();
  return all && count == 2;
}

// The channel count of the filter's connected output pin, 0 when not known.
int OutputChannels(IBaseFilter* filter) {
  IEnumPins* pins = nullptr;
  if (FAILED(filter->EnumPins(&pins))) return 0;
  int channels = 0;
  IPin* pin = nullptr;
  while (channels == 0 && pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    AM_MEDIA_TYPE type{};
    if (SUCCEEDED(pin->QueryDirection(&direction)) && direction == PINDIR_OUTPUT &&
        SUCCEEDED(pin->ConnectionMediaType(&type))) {
      if (IsEqualGUID(type.formattype, FORMAT_WaveFormatEx) && type.cbFormat >= sizeof(WAVEFORMATEX)) {
        channels = reinterpret_cast<const WAVEFORMATEX*>(type.pbFormat)->nChannels;
      }
      CoTaskMemFree(type.pbFormat);
      if (type.pUnk != nullptr) type.pUnk->Release();
    }
    SafeRelease(pin);
  }
  pins->Release();
  return channels;
}

}  // namespace

// Reads one string of the version resource's first translation.
std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Translation {
    WORD language, codePage;
  }* translations = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                      &size) ||
      size < sizeof(Translation)) {
    return L"";
  }
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language, translations->codePage,
           name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size) || value == nullptr)
    return L"";
  return value;
}

int PrintVersion(const wchar_t* file) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(file, &handle);
  if (size == 0) return 1;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(file, 0, size, block.data())) return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr)
    return 1;
  std::printf("file_version=%lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
              fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
  for (const wchar_t* name : {L"FileDescription", L"ProductName", L"InternalName", L"OriginalFilename",
                              L"OLESelfRegister", L"ActiveMovie"}) {
    std::printf("%ls=%ls\n", name, VersionString(block, name).c_str());
  }
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--version") return PrintVersion(argv[2]);
  if (argc < 2) {
    std::fprintf(stderr, "usage: zmsp_graph_check MOVIE [PLAY_MS]\n");
    return 2;
  }
  const DWORD playMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2])) : 1500;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IGraphBuilder* graph = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph));
  if (FAILED(hr)) {
    std::printf("create_hr=0x%08lX\n", static_cast<unsigned long>(hr));
    return 1;
  }
  hr = graph->RenderFile(argv[1], nullptr);
  std::printf("render_hr=0x%08lX\n", static_cast<unsigned long>(hr));
  int status = FAILED(hr) ? 1 : 0;

  bool present = false, connected = false;
  int outputChannels = 0;
  IEnumFilters* filters = nullptr;
  if (SUCCEEDED(graph->EnumFilters(&filters))) {
    IBaseFilter* filter = nullptr;
    while (filters->Next(1, &filter, nullptr) == S_OK) {
      CLSID classId{};
      FILTER_INFO info{};
      if (SUCCEEDED(filter->QueryFilterInfo(&info))) {
        std::printf("filter=%ls\n", info.achName);
        SafeRelease(info.pGraph);
      }
      if (SUCCEEDED(filter->GetClassID(&classId)) && IsEqualCLSID(classId, kSoundProcessor)) {
        present = true;
        connected = AllPinsConnected(filter);
        outputChannels = OutputChannels(filter);
      }
      SafeRelease(filter);
    }
    filters->Release();
  }
  std::printf("processor=%d\nconnected=%d\noutput_channels=%d\n", present ? 1 : 0, connected ? 1 : 0,
              outputChannels);

  IMediaControl* control = nullptr;
  IMediaSeeking* seeking = nullptr;
  graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
  graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking));
  LONGLONG position = 0, duration = 0;
  if (status == 0 && control != nullptr) {
    hr = control->Run();
    if (FAILED(hr)) status = 1;
    Sleep(playMs);
    if (seeking != nullptr) {
      seeking->GetCurrentPosition(&position);
      seeking->GetDuration(&duration);
    }
    control->Stop();
  }
  // Errors a filter reported while playing (EC_ERRORABORT, EC_STREAM_ERROR_*).
  IMediaEventEx* events = nullptr;
  if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&events)))) {
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    while (events->GetEvent(&code, &param1, &param2, 0) == S_OK) {
      if (code == EC_ERRORABORT || code == EC_STREAM_ERROR_STOPPED || code == EC_STREAM_ERROR_STILLPLAYING) {
        std::printf("error_event=0x%02lX hr=0x%08lX\n", static_cast<unsigned long>(code),
                    static_cast<unsigned long>(param1));
        status = 1;
      }
      events->FreeEventParams(code, param1, param2);
    }
    events->Release();
  }
  std::printf("run_hr=0x%08lX\nposition_ms=%lld\nduration_ms=%lld\n", static_cast<unsigned long>(hr),
              position / 10000, duration / 10000);
  if (position <= 0) status = 1;
  SafeRelease(seeking);
  SafeRelease(control);
  SafeRelease(graph);
  CoUninitialize();
  return status;
}
