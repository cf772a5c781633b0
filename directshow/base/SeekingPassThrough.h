// Position control for a transform's output pin: the renderer asks the
// output pin for IMediaSeeking, and every call goes on to the pin that feeds
// the transform's input (the part of the graph that can really seek).
#pragma once

#include <memory>

#include "directshow/com/DirectShowApi.h"

namespace ds {

class BasePin;

class SeekingPassThrough {
 public:
  virtual ~SeekingPassThrough() = default;
  // Answers IMediaSeeking; its references are the owning pin's.
  virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
};

// The IMediaSeeking part of `owner`, forwarding to the peer of `input`.
std::unique_ptr<SeekingPassThrough> CreateSeekingPassThrough(BasePin& owner, BasePin& input);

}  // namespace ds
