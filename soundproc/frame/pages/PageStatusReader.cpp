#include "soundproc/frame/pages/PageStatusReader.h"

#include "soundproc/frame/SoundProcessorFilter.h"

namespace zmsp {

pages::FormatFacts FormatFactsOf(const InputFormatSummary& format) {
  pages::FormatFacts facts;
  facts.parsed = format.parsed;
  facts.formatTag = format.formatTag;
  facts.channels = format.channels;
  facts.samplesPerSec = format.samplesPerSec;
  facts.bitsPerSample = format.bitsPerSample;
  facts.extensible = format.extensible;
  facts.channelMask = format.channelMask;
  facts.validBitsPerSample = format.validBitsPerSample;
  return facts;
}

pages::PageStatus ReadPageStatus(SoundProcessorFilter& filter) {
  pages::PageStatus status;
  filter.Stages().DescribeForPage(status);
  status.input = FormatFactsOf(filter.InputFormat());
  return status;
}

}  // namespace zmsp
