#include "player/shell/Codecs_win32.h"

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "player/core/TextConvert_win32.h"

namespace orves {

namespace {

// A silent regsvr32 ends within seconds; one that does not (a codec's own
// dialog, a hung DllUnregisterServer) must not hold the player for ever.
constexpr DWORD kRegsvr32TimeLimitMs = 30000;

}  // namespace

void TSystemCodecs::RunRegsvr32(const std::string& parameters, bool waitForEnd) {
  const std::wstring wide = Utf8ToWide(parameters);
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof(run);
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  run.lpVerb = L"open";
  run.lpFile = L"regsvr32";
  run.lpParameters = wide.c_str();
  run.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&run) || run.hProcess == nullptr) {
    return;
  }
  if (waitForEnd) {
    WaitForSingleObject(run.hProcess, kRegsvr32TimeLimitMs);
  }
  CloseHandle(run.hProcess);
}

std::string TSystemCodecs::SystemFolder() const {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return {};
  }
  return WideToUtf8(std::wstring_view(folder, length));
}

void TSystemCodecs::RemoveFile(const std::string& path) { DeleteFileW(Utf8ToWide(path).c_str()); }

}  // namespace orves
