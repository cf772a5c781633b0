// The filter's private in-process interface: the property page uses it to
// reach the filter object and read its and the stages' fields directly.
#pragma once

#include "directshow/com/DirectShowApi.h"

namespace zmsp {

class SoundProcessorFilter;

struct ISoundProcessorInternals : public IUnknown {
  // Stores the filter object's address (no reference added); S_OK.
  virtual HRESULT STDMETHODCALLTYPE GetFilterObject(SoundProcessorFilter** filter) = 0;
};

}  // namespace zmsp
