// A table of served classes registered and unregistered against the real
// registry: the class keys, the filter mapper's entry, the source
// extensions (one of them already another source filter's) and the DMO
// registry's entries, all written and all removed, and nothing else touched.
#include <gtest/gtest.h>

#include <string>

#include "directshow/com/Registration_win32.h"

namespace ds {
namespace {

constexpr CLSID kFilter = {0x0D5D0001, 0x1234, 0x4321, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr CLSID kDmo = {0x0D5D0002, 0x1234, 0x4321, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr CLSID kPage = {0x0D5D0003, 0x1234, 0x4321, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kAudioEffectCategory = {
    0xf3602b3f, 0x0592, 0x48df, {0xa4, 0xcd, 0x67, 0x47, 0x21, 0xe7, 0xeb, 0xeb}};
constexpr wchar_t kOtherSource[] = L"{0D5D00FF-1234-4321-0102-030405060708}";

HRESULT NotCreatable(REFIID, void**) { return E_NOTIMPL; }

const RegisteredType kVideo[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_NV12}};
const RegisteredType kStream[] = {{&MEDIATYPE_Stream, &GUID_NULL}};
const RegisteredPin kPins[] = {
    {.name = L"Input", .output = false, .types = kStream},
    {.name = L"Output", .output = true, .types = kVideo, .zero = true, .many = true},
};
const wchar_t* const kExtensions[] = {L".zzqa", L".zzqb"};
const FilterEntry kFilterEntry = {.merit = 0x00600000 - 1, .pins = kPins, .sourceExtensions = kExtensions};
const RegisteredType kPcm[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const DmoEntry kDmoEntry = {.category = &kAudioEffectCategory, .inputs = kPcm, .outputs = kPcm};
const ServedClass kClasses[] = {
    {.classId = &kFilter, .name = L"Test Source", .create = NotCreatable, .filter = &kFilterEntry},
    {.classId = &kDmo, .name = L"Test DMO", .create = NotCreatable, .dmo = &kDmoEntry},
    {.classId = &kPage, .name = L"Test Page", .create = NotCreatable},
};

std::wstring Text(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring Value(const std::wstring& path, const wchar_t* name) {
  wchar_t text[512] = {};
  DWORD bytes = sizeof(text) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &bytes) !=
      ERROR_SUCCESS)
    return L"";
  return text;
}

TEST(RegistrationTest, WritesEveryEntryOfTheTableAndRemovesExactlyThose) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const std::wstring mapperEntry =
      L"CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\" + Text(kFilter);
  const std::wstring dmoEntry = L"DirectShow\\MediaObjects\\" + Text(kDmo).substr(1, 36);
  const std::wstring ownExtension = L"Media Type\\Extensions\\.zzqa";
  const std::wstring takenExtension = L"Media Type\\Extensions\\.zzqb";
  HKEY taken = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, takenExtension.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &taken, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(taken, L"Source Filter", 0, REG_SZ, reinterpret_cast<const BYTE*>(kOtherSource),
                 sizeof(kOtherSource));
  RegCloseKey(taken);

  ASSERT_EQ(RegisterServedClasses(kClasses, L"C:\\somewhere\\Module.ax"), S_OK);
  for (const ServedClass& served : kClasses) {
    const std::wstring key = L"CLSID\\" + Text(*served.classId);
    EXPECT_EQ(Value(key, nullptr), served.name);
    EXPECT_EQ(Value(key + L"\\InprocServer32", nullptr), L"C:\\somewhere\\Module.ax");
    EXPECT_EQ(Value(key + L"\\InprocServer32", L"ThreadingModel"), L"Both");
  }
  EXPECT_TRUE(KeyExists(mapperEntry));
  EXPECT_TRUE(KeyExists(dmoEntry));
  EXPECT_EQ(Value(ownExtension, L"Source Filter"), Text(kFilter));
  EXPECT_EQ(Value(takenExtension, L"Source Filter"), kOtherSource) << "another source's extension stays its";

  ASSERT_EQ(UnregisterServedClasses(kClasses), S_OK);
  for (const ServedClass& served : kClasses) EXPECT_FALSE(KeyExists(L"CLSID\\" + Text(*served.classId)));
  EXPECT_FALSE(KeyExists(mapperEntry));
  EXPECT_FALSE(KeyExists(dmoEntry));
  EXPECT_FALSE(KeyExists(ownExtension));
  EXPECT_EQ(Value(takenExtension, L"Source Filter"), kOtherSource);
  EXPECT_EQ(UnregisterServedClasses(kClasses), S_OK) << "nothing left to remove is not a failure";

  RegDeleteTreeW(HKEY_CLASSES_ROOT, takenExtension.c_str());
  CoUninitialize();
}

}  // namespace
}  // namespace ds
