// Standard headers first: the Windows SDK's strsafe.h, pulled in by dshow.h,
// poisons names that <string> needs.
#include <algorithm>
#include <cstdio>
#include <mutex>
#include <new>
#include <string>
#include <utility>

#include "soundproc/stages/StageSupport.h"

namespace zmsp {

void SampleSizes::Record(IMediaSample* sample) {
  actualDataLength = sample->GetActualDataLength();
  bufferSize = sample->GetSize();
}

bool RefillFormatFromSample(IMediaSample* sample, PcmFormat& format) {
  TakenMediaType type(sample);
  if (!type) {
    return false;
  }
  FillPcmFormat(*type.Get(), format);
  return true;
}

HRESULT CopyToOutputSample(StageFilter* filter, IMediaSample* input, IMediaSample** copy) {
  *copy = nullptr;
  if (filter == nullptr) {
    return E_UNEXPECTED;
  }
  IMediaSample* output = nullptr;
  HRESULT hr = filter->GetOutputSample(input, &output);
  if (FAILED(hr)) {
    return hr;
  }
  if (output == nullptr) {
    return E_UNEXPECTED;
  }
  hr = CopySampleProperties(input, output, nullptr);
  if (SUCCEEDED(hr)) {
    hr = CopySampleData(input, output);
  }
  if (FAILED(hr)) {
    output->Release();
    return hr;
  }
  *copy = output;
  return S_OK;
}

bool GetSampleBytes(IMediaSample* sample, SampleBytes& bytes) {
  BYTE* pointer = nullptr;
  if (FAILED(sample->GetPointer(&pointer)) || pointer == nullptr) {
    return false;
  }
  const LONG size = std::max<LONG>(sample->GetSize(), 0);
  const LONG length = std::clamp<LONG>(sample->GetActualDataLength(), 0, size);
  bytes.data = reinterpret_cast<std::byte*>(pointer);
  bytes.capacity = static_cast<std::size_t>(size);
  bytes.length = static_cast<std::size_t>(length);
  return true;
}

namespace {

std::mutex& HandlerMutex() {
  static std::mutex mutex;
  return mutex;
}

std::function<void(std::string_view)>& InstalledHandler() {
  static std::function<void(std::string_view)> handler;
  return handler;
}

#ifdef _WIN32
struct PendingBox {
  HMODULE module;
  std::wstring text;
};

// Shows one message box, then lets go of the module reference its thread held.
DWORD WINAPI ShowBox(void* parameter) {
  auto* box = static_cast<PendingBox*>(parameter);
  MessageBoxW(nullptr, box->text.c_str(), nullptr, MB_OK);
  const HMODULE module = box->module;
  delete box;
  FreeLibraryAndExitThread(module, 0);
  return 0;
}
#endif

void DefaultMessage(std::string_view text) {
#ifdef _WIN32
  // On a thread of its own: the caller is a streaming thread that must not
  // wait for the user. The thread keeps this module loaded until the box is
  // closed. The texts are ASCII; widen them for the Unicode call.
  auto* box = new (std::nothrow) PendingBox{nullptr, std::wstring(text.begin(), text.end())};
  if (box == nullptr) return;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&ShowBox),
                          &box->module)) {
    delete box;
    return;
  }
  HANDLE thread = CreateThread(nullptr, 0, ShowBox, box, 0, nullptr);
  if (thread == nullptr) {
    FreeLibrary(box->module);
    delete box;
    return;
  }
  CloseHandle(thread);
#else
  std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
#endif
}

}  // namespace

void ShowStageMessage(std::string_view text) {
  std::function<void(std::string_view)> handler;
  {
    std::lock_guard lock(HandlerMutex());
    handler = InstalledHandler();
  }
  if (handler) {
    handler(text);
  } else {
    DefaultMessage(text);
  }
}

void SetStageMessageHandler(std::function<void(std::string_view)> handler) {
  std::lock_guard lock(HandlerMutex());
  InstalledHandler() = std::move(handler);
}

}  // namespace zmsp
