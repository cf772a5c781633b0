// The WebVTT reader on arbitrary bytes (see TimedReaderFuzz.h).
#include "fuzz/captions/TimedReaderFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return orves::fuzz::RunTimedReader(data, size, orves::TCaptionFormat::WebVtt);
}
