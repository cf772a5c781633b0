// What DllRegisterServer writes and DllUnregisterServer removes for a
// module's table of served classes: each class's key under HKCR\CLSID, the
// filters' entries in the filter mapper and their source extensions, and the
// DMOs' entries in the DMO registry.
#pragma once

#include <span>

#include "directshow/com/ServedClass.h"

namespace ds {

HRESULT RegisterServedClasses(std::span<const ServedClass> classes, const wchar_t* modulePath);
// Removes every key registration writes; an entry that is not there is not a failure.
HRESULT UnregisterServedClasses(std::span<const ServedClass> classes);

}  // namespace ds
