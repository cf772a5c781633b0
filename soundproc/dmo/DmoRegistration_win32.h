#pragma once
// Our DMOs in the DMO registry (audio effect category, 16-bit PCM in and
// out), so that any DMO host finds them. The COM class keys are written by
// the server's registration with its other classes.

#include "soundproc/contract/DirectShowApi.h"

namespace zmsp::dmo {

struct OwnDmoName {
  const CLSID* classId;
  const wchar_t* name;
};
// Our DMO classes and their names, for the class keys and the DMO registry.
extern const OwnDmoName kOwnDmoNames[2];

HRESULT RegisterOwnDmos();
// Removes both entries; an entry that is not there is not a failure.
HRESULT UnregisterOwnDmos();

}  // namespace zmsp::dmo
