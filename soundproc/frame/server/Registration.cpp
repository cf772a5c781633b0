#include "soundproc/frame/server/Registration.h"

#include <dshow.h>

#include <string>

#include "soundproc/contract/Guids.h"
#include "soundproc/contract/ComPtr.h"
#include "soundproc/dmo/DmoRegistration_win32.h"
#include "soundproc/dmo/DmoGuids.h"

namespace zmsp {

namespace {

struct ServedClass {
  const CLSID* classId;
  const wchar_t* name;
};

const ServedClass kClasses[] = {
    {&guids::kSoundProcessorFilter, L"ZEMBRA's Sound Processor"},
    {&guids::kSoundProcessorPage, L"ZEMBRA's Sound Processor Property Page"},
    {&guids::kSoundProcessorAboutPage, L"ZEMBRA's Sound Processor About Page"},
    {&dmo::kUpmixerPage, L"ZEMBRA's Upmixer Property Page"},
    {&dmo::kTimeStretcherPage, L"ZEMBRA's Time Stretcher Property Page"},
    {dmo::kOwnDmoNames[0].classId, dmo::kOwnDmoNames[0].name},
    {dmo::kOwnDmoNames[1].classId, dmo::kOwnDmoNames[1].name},
};

constexpr DWORD kMerit = 0x00800001;  // MERIT_PREFERRED + 1

// The DirectShow filter category the mapper lists ordinary filters under.
constexpr GUID kLegacyAmFilterCategory = {
    0x083863F1, 0x70DE, 0x11d0, {0xBD, 0x40, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr CLSID kFilterMapper2 = {
    0xcda42200, 0xbd88, 0x11d0, {0xbd, 0x4e, 0x00, 0xa0, 0xc9, 0x11, 0xce, 0x86}};

std::wstring ClassKey(const CLSID& classId) {
  wchar_t text[40] = {};
  StringFromGUID2(classId, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

HRESULT RegisterClass(const ServedClass& served, const wchar_t* modulePath) {
  HKEY classKey = nullptr;
  LONG result = RegCreateKeyExW(HKEY_CLASSES_ROOT, ClassKey(*served.classId).c_str(), 0, nullptr, 0,
                                KEY_WRITE, nullptr, &classKey, nullptr);
  if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  result = SetString(classKey, nullptr, served.name);
  HKEY serverKey = nullptr;
  if (result == ERROR_SUCCESS) {
    result =
        RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &serverKey, nullptr);
  }
  if (result == ERROR_SUCCESS) {
    result = SetString(serverKey, nullptr, modulePath);
    if (result == ERROR_SUCCESS) result = SetString(serverKey, L"ThreadingModel", L"Both");
    RegCloseKey(serverKey);
  }
  RegCloseKey(classKey);
  return HRESULT_FROM_WIN32(result);
}

HRESULT WithFilterMapper(HRESULT (*work)(IFilterMapper2*)) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HRESULT hr;
  {
    ComPtr<IFilterMapper2> mapper;
    hr =
        CoCreateInstance(kFilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2, mapper.PutVoid());
    if (SUCCEEDED(hr)) hr = work(mapper.Get());
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return hr;
}

HRESULT RegisterFilter(IFilterMapper2* mapper) {
  static REGPINTYPES pcm = {&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM};
  static REGFILTERPINS pins[2] = {
      {const_cast<LPWSTR>(L"Input"), FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &pcm},
      {const_cast<LPWSTR>(L"Output"), FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &pcm},
  };
  REGFILTER2 filter{};
  filter.dwVersion = 1;
  filter.dwMerit = kMerit;
  filter.cPins = 2;
  filter.rgPins = pins;
  // No instance name: the mapper names the entry after the class id, which
  // is also what UnregisterFilter removes.
  return mapper->RegisterFilter(guids::kSoundProcessorFilter, kClasses[0].name, nullptr,
                                &kLegacyAmFilterCategory, nullptr, &filter);
}

HRESULT UnregisterFilter(IFilterMapper2* mapper) {
  return mapper->UnregisterFilter(&kLegacyAmFilterCategory, nullptr, guids::kSoundProcessorFilter);
}

}  // namespace

HRESULT RegisterServer(const wchar_t* modulePath) {
  for (const ServedClass& served : kClasses) {
    HRESULT hr = RegisterClass(served, modulePath);
    if (FAILED(hr)) return hr;
  }
  const HRESULT hr = WithFilterMapper(RegisterFilter);
  return SUCCEEDED(hr) ? dmo::RegisterOwnDmos() : hr;
}

HRESULT UnregisterServer() {
  // The mapper and DMO registry entries go first: they are not there without the class.
  const HRESULT mapped = WithFilterMapper(UnregisterFilter);
  HRESULT result = dmo::UnregisterOwnDmos();
  for (const ServedClass& served : kClasses) {
    const LONG removed = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(*served.classId).c_str());
    if (removed != ERROR_SUCCESS && removed != ERROR_FILE_NOT_FOUND) result = HRESULT_FROM_WIN32(removed);
  }
  // A filter that was never registered with the mapper is not a failure.
  if (FAILED(mapped) && mapped != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) && SUCCEEDED(result))
    result = mapped;
  return result;
}

}  // namespace zmsp
