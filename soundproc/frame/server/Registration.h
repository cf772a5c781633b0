// What DllRegisterServer writes and DllUnregisterServer removes: the three
// in-process classes and the filter's entry in the DirectShow filter mapper.
#pragma once

#include "soundproc/contract/DirectShowApi.h"

namespace zmsp {

HRESULT RegisterServer(const wchar_t* modulePath);
HRESULT UnregisterServer();

}  // namespace zmsp
