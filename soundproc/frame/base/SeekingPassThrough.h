// Position control for a transform's output pin: the renderer asks the
// output pin for IMediaSeeking, and every call goes on to the pin that feeds
// the transform's input (the part of the graph that can really seek).
#pragma once

#include <memory>

#include "soundproc/contract/DirectShowApi.h"

namespace zmsp {

class BasePin;

class SeekingPassThrough {
 public:
  virtual ~SeekingPassThrough() = default;
  // Answers IMediaSeeking; its references are the owning pin's.
  virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
};

// Null where the platform has no IMediaSeeking (the native build).
std::unique_ptr<SeekingPassThrough> CreateSeekingPassThrough(BasePin& owner, BasePin& input);

}  // namespace zmsp
