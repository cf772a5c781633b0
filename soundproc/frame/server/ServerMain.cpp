// ZmSoundProcessor.ax: the in-process COM server's exports.
#include "soundproc/contract/DirectShowApi.h"

#include "soundproc/contract/Guids.h"
#include "soundproc/contract/ServerObjects.h"
#include "soundproc/frame/server/ClassFactory.h"
#include "soundproc/frame/server/Registration.h"
#include "soundproc/frame/server/RegistrySettingsStore.h"

namespace {

HINSTANCE g_module = nullptr;
zmsp::RegistrySettingsStore g_registry;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
    zmsp::InstallSettingsStore(&g_registry);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID riid, LPVOID* object) {
  return zmsp::GetServedClassObject(classId, riid, object);
}

STDAPI DllCanUnloadNow() { return zmsp::ServerObjects::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;
  return zmsp::RegisterServer(path);
}

STDAPI DllUnregisterServer() { return zmsp::UnregisterServer(); }
