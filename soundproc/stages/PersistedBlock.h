#pragma once
// Handing a parameter block to a DMO through its persisted state: the block
// is the first bytes of what IPersistStream saves and loads.

#include <cstddef>

#include "directshow/com/DirectShowApi.h"

namespace zmsp {

// Saves the DMO into a growable memory stream (leaving its dirty flag) and
// reads the first `size` bytes into `block`. A read that fails after
// delivering some bytes counts as success; bytes not delivered keep their value.
HRESULT ReadPersistedBlock(IMediaObject* dmo, void* block, std::size_t size);

// Writes `size` bytes into a memory stream (all must be written, else
// E_FAIL) and loads the DMO from it.
HRESULT WritePersistedBlock(IMediaObject* dmo, const void* block, std::size_t size);

}  // namespace zmsp
