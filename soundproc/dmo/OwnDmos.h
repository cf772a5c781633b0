#pragma once
// Our own DMOs, created in process: the factory the stages fall back to when
// the outside components are not registered, and the creation functions the
// COM server's class factory serves under our class ids.

#include "directshow/com/DirectShowApi.h"
#include "soundproc/stages/DmoCreation.h"

namespace zmsp::dmo {

// The process-wide factory handed to the stages.
OwnDmoFactory& OwnDmos();

// A new upmixer or time stretcher asked for `riid`, as IClassFactory::CreateInstance does.
HRESULT CreateUpmixerDmo(REFIID riid, void** object);
HRESULT CreateTimeStretcherDmo(REFIID riid, void** object);

}  // namespace zmsp::dmo
