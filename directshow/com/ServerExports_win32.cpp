// The in-process server's exports, the same for every module: they serve and
// register the classes of the module's one table (ServerModule.h). A module
// lists them in its .def file.
#include "directshow/com/DirectShowApi.h"

#include <string>

#include "directshow/com/Registration_win32.h"
#include "directshow/com/ServerModule.h"
#include "directshow/com/ServerObjects.h"

namespace {

HINSTANCE g_module = nullptr;

// The module's full path, however long.
std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
    if (ds::ThisServerModule().loaded != nullptr) ds::ThisServerModule().loaded();
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID riid, LPVOID* object) {
  return ds::GetServedClassObject(ds::ThisServerModule().classes, classId, riid, object);
}

STDAPI DllCanUnloadNow() { return ds::ServerObjects::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  const std::wstring path = ModulePath();
  if (path.empty()) return E_FAIL;
  return ds::RegisterServedClasses(ds::ThisServerModule().classes, path.c_str());
}

STDAPI DllUnregisterServer() { return ds::UnregisterServedClasses(ds::ThisServerModule().classes); }
