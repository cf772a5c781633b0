// What a COM module built on directshow_server defines once: the table of
// the classes it serves, and what it sets up when it is loaded. The server's
// exports (DllGetClassObject, DllCanUnloadNow, DllRegisterServer,
// DllUnregisterServer) are the base's and read only this.
#pragma once

#include <span>

#include "directshow/com/ServedClass.h"

namespace ds {

struct ServerModule {
  std::span<const ServedClass> classes;
  // Called once when the module is loaded (under the loader lock: install
  // process-wide services here, start nothing).
  void (*loaded)() = nullptr;
};

// Defined by the module.
const ServerModule& ThisServerModule();

}  // namespace ds
