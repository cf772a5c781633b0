// The per-sample driver: settings re-read, types carried on samples, the
// chain order, skipped samples and delivery.
#include <gtest/gtest.h>

#include "tests/unit/soundproc_frame/FilterHarness.h"

namespace zmsp::test {
namespace {

using host::PcmType;
using Log = std::vector<std::string>;

class FilterStreaming : public FilterHarness {};

TEST_F(FilterStreaming, FirstSampleCarriesTheInputTypeThroughTheChain) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  EXPECT_TRUE(filter->InputTypePending());
  ASSERT_EQ(Push(400), S_OK);
  EXPECT_EQ(log, (Log{"expander(up)+type", "stretcher(up)+type", "control(up)+type", "meter(up)"}));
  EXPECT_FALSE(filter->InputTypePending());
  log.clear();
  ASSERT_EQ(Push(400), S_OK);
  EXPECT_EQ(log, (Log{"expander(up)", "stretcher(up)", "control(up)", "meter(up)"}));

  ASSERT_EQ(sink->received.size(), 2u);
  EXPECT_TRUE(sink->received[0].hasType);
  EXPECT_FALSE(sink->received[1].hasType);
  EXPECT_EQ(sink->received[1].data.size(), 400u);
  EXPECT_EQ(sink->received[1].data[3], static_cast<std::uint8_t>(3 * 7 + 1));
  EXPECT_TRUE(sink->received[1].hasTime);
  EXPECT_EQ(sink->received[1].start, 2000);
  EXPECT_EQ(filter->LastActualDataLength(), 400u);
  EXPECT_EQ(filter->LastBufferSize(), 65536u);
}

TEST_F(FilterStreaming, DeliveredSamplesAreTheFiltersOwnCopies) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ComPtr<IMediaSample> input;
  ASSERT_EQ(decoderOut->Allocator()->GetBuffer(input.Put(), nullptr, nullptr, 0), S_OK);
  input->SetActualDataLength(64);
  ASSERT_EQ(filter->InputPin().Receive(input.Get()), S_OK);
  ASSERT_EQ(sink->received.size(), 1u);
  EXPECT_NE(sink->received[0].identity, input.Get());
  EXPECT_EQ(sink->received[0].data.size(), 64u);
}

TEST_F(FilterStreaming, SettingsAreReReadForEverySample) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_TRUE(stages->control.enabled);
  EXPECT_FALSE(stages->stretcher.enabled);
  EXPECT_TRUE(stages->meter.enabled);
  store.SetDword(keys::kChannelControl, "Enable", 0);
  store.SetDword(keys::kTimeStretcher, "Enable", 1);
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_FALSE(stages->control.enabled);
  EXPECT_TRUE(stages->stretcher.enabled);
}

TEST_F(FilterStreaming, SevenOrEightOutputChannelsPutTheStretcherFirst) {
  store.SetDword(keys::kChannelExpander, "Enable", 1);
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(OutputChannels(), 6);
  log.clear();

  // Between two samples: the order switches and the output type is recomputed
  // in place; the next sample is labelled with the input type again.
  store.SetDword(keys::kChannelExpander, "OutputChannels", 8);
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(log, (Log{"stretcher(up)+type", "expander(up)+type", "control(up)+type", "meter(up)"}));
  EXPECT_EQ(OutputChannels(), 8);
  EXPECT_TRUE(filter->OutputPin().IsConnected()) << "no reconnection";
  EXPECT_EQ(stages->expander.lastChannels, 2) << "stages see the input type";
  log.clear();

  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(log, (Log{"stretcher(up)", "expander(up)", "control(up)", "meter(up)"}));
  log.clear();

  store.SetDword(keys::kChannelExpander, "OutputChannels", 4);
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(log, (Log{"expander(up)+type", "stretcher(up)+type", "control(up)+type", "meter(up)"}));
  EXPECT_EQ(OutputChannels(), 4);
}

TEST_F(FilterStreaming, SwitchingTheExpanderOffRecomputesTheOutputType) {
  store.SetDword(keys::kChannelExpander, "Enable", 1);
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(OutputChannels(), 6);
  store.SetDword(keys::kChannelExpander, "Enable", 0);
  log.clear();
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(OutputChannels(), 2);
  EXPECT_EQ(log.front(), "expander(up)+type");
}

TEST_F(FilterStreaming, ATypeOnASampleBecomesTheInputType) {
  Build(PcmType(0xFFFE, 2, 48000, 16, 0x3));
  ASSERT_EQ(ConnectAll(), S_OK);
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_FALSE(stages->hasLfe);
  const MediaType surround = PcmType(0xFFFE, 6, 48000, 16, 0x3F);
  log.clear();
  ASSERT_EQ(Push(96, &surround.Get()), S_OK);
  EXPECT_EQ(filter->InputFormat().channels, 6);
  EXPECT_EQ(filter->InputFormat().channelMask, 0x3Fu);
  EXPECT_TRUE(stages->hasLfe);
  EXPECT_EQ(OutputChannels(), 6);
  PcmFormat pin;
  FillPcmFormat(filter->InputPin().CurrentMediaType().Get(), pin);
  EXPECT_EQ(pin.channels, 6);
  EXPECT_EQ(log.front(), "expander(up)+type");
}

TEST_F(FilterStreaming, UnacceptableTypeOnASampleEndsTheStream) {
  Build(PcmType(1, 2, 48000, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  const MediaType eightBit = PcmType(1, 2, 48000, 8);
  EXPECT_EQ(Push(64, &eightBit.Get()), VFW_E_INVALIDMEDIATYPE);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(sink->endOfStream);
  ASSERT_FALSE(graph->events.empty());
  EXPECT_EQ(graph->events.back(), 0x03);  // EC_ERRORABORT
}

TEST_F(FilterStreaming, SkippedSamplesSendOneQualityNotice) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  stages->expander.result = S_FALSE;
  EXPECT_EQ(Push(64), S_OK);
  EXPECT_EQ(Push(64), S_OK);
  EXPECT_EQ(std::count(graph->events.begin(), graph->events.end(), EC_QUALITY_CHANGE), 1);
  EXPECT_TRUE(sink->received.empty());
  stages->expander.result = S_OK;
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(sink->received.size(), 1u);
  stages->expander.result = S_FALSE;
  EXPECT_EQ(Push(64), S_OK);
  EXPECT_EQ(std::count(graph->events.begin(), graph->events.end(), EC_QUALITY_CHANGE), 1)
      << "only the first time";
}

TEST_F(FilterStreaming, StageAndDeliveryFailuresReachTheUpstreamFilter) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  stages->control.result = E_OUTOFMEMORY;
  EXPECT_EQ(Push(64), E_OUTOFMEMORY);
  stages->control.result = S_OK;
  sink->receiveResult = VFW_E_WRONG_STATE;
  EXPECT_EQ(Push(64), VFW_E_WRONG_STATE);
}

TEST_F(FilterStreaming, ControlStreamSamplesPassUntouched) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ComPtr<IMediaSample> sample;
  ASSERT_EQ(decoderOut->Allocator()->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);
  ComPtr<IMediaSample2> sample2;
  ASSERT_EQ(sample->QueryInterface(IID_IMediaSample2, sample2.PutVoid()), S_OK);
  AM_SAMPLE2_PROPERTIES props{};
  sample2->GetProperties(sizeof(props), reinterpret_cast<BYTE*>(&props));
  props.dwStreamId = AM_STREAM_CONTROL;
  ASSERT_EQ(sample2->SetProperties(sizeof(props), reinterpret_cast<BYTE*>(&props)), S_OK);
  ASSERT_EQ(filter->InputPin().Receive(sample.Get()), S_OK);
  EXPECT_TRUE(log.empty());
  ASSERT_EQ(sink->received.size(), 1u);
  EXPECT_EQ(sink->received[0].identity, sample.Get());
}

TEST_F(FilterStreaming, ReceiveWhileStoppedIsAWrongState) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ComPtr<IMediaSample> sample;
  ASSERT_EQ(decoderOut->Allocator()->GetBuffer(sample.Put(), nullptr, nullptr, 0), S_OK);
  ASSERT_EQ(filter->Stop(), S_OK);
  EXPECT_EQ(filter->InputPin().Receive(sample.Get()), VFW_E_WRONG_STATE);
  EXPECT_EQ(filter->InputPin().Receive(nullptr), E_POINTER);
}

TEST_F(FilterStreaming, EndOfStreamAndFlushGoDownstream) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  EXPECT_EQ(filter->InputPin().BeginFlush(), S_OK);
  EXPECT_EQ(Push(64), S_FALSE) << "samples are dropped while flushing";
  EXPECT_EQ(filter->InputPin().EndFlush(), S_OK);
  EXPECT_EQ(Push(64), S_OK);
  EXPECT_EQ(decoderOut->PushEndOfStream(), S_OK);
  EXPECT_TRUE(sink->endOfStream);
}

TEST_F(FilterStreaming, ReconnectionMarksTheTypePendingAgain) {
  Build(PcmType(1, 2, 44100, 16));
  ASSERT_EQ(ConnectAll(), S_OK);
  ASSERT_EQ(Push(64), S_OK);
  graph->Stop();
  decoderOut->Disconnect();
  filter->InputPin().Disconnect();
  ASSERT_TRUE(SUCCEEDED(ConnectInput()));
  EXPECT_TRUE(filter->InputTypePending());
  graph->Run();
  log.clear();
  ASSERT_EQ(Push(64), S_OK);
  EXPECT_EQ(log.front(), "expander(up)+type");
}

}  // namespace
}  // namespace zmsp::test
