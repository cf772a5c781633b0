#include "directshow/com/Registration_win32.h"

#include <dmo.h>

#include <cwchar>
#include <string>
#include <vector>

#include "directshow/com/ComPtr.h"
#include "directshow/com/Guids.h"

namespace ds {

namespace {

// The DirectShow filter category the mapper lists ordinary filters under,
// and the mapper itself, spelled out so that no translation unit depends on
// which GUIDs a platform library happens to export.
constexpr GUID kLegacyAmFilterCategory = {
    0x083863F1, 0x70DE, 0x11d0, {0xBD, 0x40, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};
constexpr CLSID kFilterMapper2 = {
    0xcda42200, 0xbd88, 0x11d0, {0xbd, 0x4e, 0x00, 0xa0, 0xc9, 0x11, 0xce, 0x86}};

constexpr wchar_t kExtensionsKey[] = L"Media Type\\Extensions\\";
constexpr wchar_t kSourceFilterValue[] = L"Source Filter";

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey(const CLSID& classId) { return L"CLSID\\" + GuidText(classId); }

bool IsSuccessOrAbsent(LONG result) { return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND; }

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// The REG_SZ value `name` of HKCR\`path`; empty when the key or value is absent.
std::wstring ReadString(const std::wstring& path, const wchar_t* name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text.data(), &bytes) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  text.resize(std::wcslen(text.c_str()));
  return text;
}

HRESULT RegisterClassKey(const ServedClass& served, const wchar_t* modulePath) {
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

// Runs `work` with the filter mapper, on a thread where COM is set up for the call.
template <typename Work>
HRESULT WithFilterMapper(Work&& work) {
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

HRESULT RegisterFilter(IFilterMapper2* mapper, const ServedClass& served) {
  const FilterEntry& entry = *served.filter;
  // The mapper's structures point into these until the call returns.
  std::vector<std::vector<REGPINTYPES>> types;
  std::vector<REGFILTERPINS> pins;
  for (const RegisteredPin& pin : entry.pins) {
    std::vector<REGPINTYPES>& pinTypes = types.emplace_back();
    for (const RegisteredType& type : pin.types) pinTypes.push_back({type.majorType, type.subtype});
    pins.push_back({const_cast<LPWSTR>(pin.name), FALSE, pin.output, pin.zero, pin.many, &CLSID_NULL, nullptr,
                    static_cast<UINT>(pinTypes.size()), pinTypes.data()});
  }
  REGFILTER2 filter{};
  filter.dwVersion = 1;
  filter.dwMerit = entry.merit;
  filter.cPins = static_cast<ULONG>(pins.size());
  filter.rgPins = pins.data();
  // No instance name: the mapper names the entry after the class id, which
  // is also what UnregisterFilter removes.
  return mapper->RegisterFilter(*served.classId, served.name, nullptr, &kLegacyAmFilterCategory, nullptr,
                                &filter);
}

HRESULT RegisterSourceExtensions(const ServedClass& served) {
  const std::wstring ours = GuidText(*served.classId);
  for (const wchar_t* extension : served.filter->sourceExtensions) {
    const std::wstring path = kExtensionsKey + std::wstring(extension);
    const std::wstring owner = ReadString(path, kSourceFilterValue);
    if (!owner.empty() && _wcsicmp(owner.c_str(), ours.c_str()) != 0) continue;  // another source's
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
      result = SetString(key, kSourceFilterValue, ours);
      RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
  }
  return S_OK;
}

HRESULT UnregisterSourceExtensions(const ServedClass& served) {
  const std::wstring ours = GuidText(*served.classId);
  HRESULT hr = S_OK;
  for (const wchar_t* extension : served.filter->sourceExtensions) {
    const std::wstring path = kExtensionsKey + std::wstring(extension);
    if (_wcsicmp(ReadString(path, kSourceFilterValue).c_str(), ours.c_str()) != 0) continue;
    const LONG result = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (!IsSuccessOrAbsent(result)) hr = HRESULT_FROM_WIN32(result);
  }
  return hr;
}

std::vector<DMO_PARTIAL_MEDIATYPE> DmoTypes(std::span<const RegisteredType> types) {
  std::vector<DMO_PARTIAL_MEDIATYPE> result;
  for (const RegisteredType& type : types) result.push_back({*type.majorType, *type.subtype});
  return result;
}

HRESULT RegisterDmo(const ServedClass& served) {
  const DmoEntry& entry = *served.dmo;
  std::vector<DMO_PARTIAL_MEDIATYPE> inputs = DmoTypes(entry.inputs);
  std::vector<DMO_PARTIAL_MEDIATYPE> outputs = DmoTypes(entry.outputs);
  return DMORegister(served.name, *served.classId, *entry.category, 0, static_cast<DWORD>(inputs.size()),
                     inputs.data(), static_cast<DWORD>(outputs.size()), outputs.data());
}

bool IsAbsentEntry(HRESULT hr) { return SUCCEEDED(hr) || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND); }

}  // namespace

HRESULT RegisterServedClasses(std::span<const ServedClass> classes, const wchar_t* modulePath) {
  for (const ServedClass& served : classes) {
    HRESULT hr = RegisterClassKey(served, modulePath);
    if (SUCCEEDED(hr) && served.filter != nullptr) {
      hr = WithFilterMapper([&](IFilterMapper2* mapper) { return RegisterFilter(mapper, served); });
      if (SUCCEEDED(hr)) hr = RegisterSourceExtensions(served);
    }
    if (SUCCEEDED(hr) && served.dmo != nullptr) hr = RegisterDmo(served);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT UnregisterServedClasses(std::span<const ServedClass> classes) {
  HRESULT result = S_OK;
  auto keep = [&result](HRESULT hr) {
    if (!IsAbsentEntry(hr) && SUCCEEDED(result)) result = hr;
  };
  for (const ServedClass& served : classes) {
    // The mapper, extension and DMO entries go first: they are not there without the class.
    if (served.filter != nullptr) {
      keep(WithFilterMapper([&](IFilterMapper2* mapper) {
        return mapper->UnregisterFilter(&kLegacyAmFilterCategory, nullptr, *served.classId);
      }));
      keep(UnregisterSourceExtensions(served));
    }
    if (served.dmo != nullptr) {
      // S_FALSE: the entry was not there.
      const HRESULT hr = DMOUnregister(*served.classId, *served.dmo->category);
      if (hr != S_FALSE) keep(hr);
    }
    const LONG removed = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(*served.classId).c_str());
    if (!IsSuccessOrAbsent(removed)) keep(HRESULT_FROM_WIN32(removed));
  }
  return result;
}

}  // namespace ds
