// Reads what the status page shows from the filter and its stages. Runs on
// the page's thread: the values are plain fields written by the streaming
// thread, so a read may mix two buffers' values for one refresh, never more.
#pragma once

#include "soundproc/contract/ProcessingStage.h"
#include "soundproc/frame/pages/PageStatus.h"

namespace zmsp {

class SoundProcessorFilter;

[[nodiscard]] pages::FormatFacts FormatFactsOf(const InputFormatSummary& format);
[[nodiscard]] pages::PageStatus ReadPageStatus(SoundProcessorFilter& filter);

}  // namespace zmsp
