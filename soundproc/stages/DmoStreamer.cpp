// Standard headers first: the Windows SDK's strsafe.h, pulled in by dshow.h,
// poisons names that <string> needs.
#include <algorithm>
#include <cstring>

#include "soundproc/stages/DmoStreamer.h"

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/stages/StageSupport.h"

namespace zmsp {

namespace {

constexpr REFERENCE_TIME kUnitsPerSecond = 10000000;
// A DMO that keeps reporting more output is asked this often per input
// sample at most; far beyond what any speed or channel count produces from
// one input buffer, it keeps a misbehaving DMO from holding the stream.
constexpr int kMostPieces = 4096;

HRESULT YesNo(HRESULT answer, bool& value) {
  if (answer != S_OK && answer != S_FALSE) return E_UNEXPECTED;
  value = answer == S_OK;
  return S_OK;
}

// Keeps the left sample of every stereo frame, packed from the start.
LONG FoldStereoToMono(BYTE* data, LONG length) {
  const LONG frames = length / 4;
  for (LONG i = 0; i < frames; ++i) std::memmove(data + i * 2, data + i * 4, 2);
  return frames * 2;
}

}  // namespace

HRESULT DmoStreamer::Stream(IMediaSample* input, DmoStreamTotals& totals) {
  // Time stamps divide by both; an accepted format never has either at 0.
  if (shape_.frameBytes == 0 || shape_.sampleRate == 0) return E_UNEXPECTED;
  DWORD status = 0;
  HRESULT hr = dmo_.GetInputStatus(0, &status);
  if (FAILED(hr)) return hr;
  if ((status & DMO_INPUT_STATUSF_ACCEPT_DATA) == 0) dmo_.Flush();

  InputTimes times;
  hr = ReadTimes(input, times);
  if (FAILED(hr)) return hr;
  hr = FeedInput(input, times);
  if (FAILED(hr)) return hr;

  HRESULT result = S_OK;
  std::uint32_t produced = 0;
  bool incomplete = true;
  for (int piece = 0; incomplete && piece < kMostPieces; ++piece) {
    IMediaSample* raw = nullptr;
    hr = NewOutputSample(input, &raw);
    if (FAILED(hr)) return hr;
    auto output = ComPtr<IMediaSample>::Adopt(raw);
    if (produced != 0) output->SetMediaType(nullptr);
    LONG length = 0;
    hr = FillPiece(output.Get(), length, incomplete);
    if (FAILED(hr)) return hr;
    StampPiece(output.Get(), times, produced, length, incomplete);
    totals.lastOutputSize = output->GetSize();
    produced += static_cast<std::uint32_t>(length);
    totals.producedBytes = produced;
    hr = passOn_(output.Get());
    if (FAILED(hr)) return hr;
    if (hr != S_OK && result == S_OK) result = hr;
    // More output announced but none given: asking again would not end.
    if (length == 0) break;
  }
  return result;
}

HRESULT DmoStreamer::ReadTimes(IMediaSample* input, InputTimes& times) {
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT hr = input->GetTime(&start, &stop);
  if (hr == S_OK) {
    times.start = times.stop = true;
  } else if (hr == VFW_S_NO_STOP_TIME) {
    times.start = true;
  } else if (SUCCEEDED(hr)) {
    return E_UNEXPECTED;
  }
  times.startTime = start;
  times.stopTime = stop;
  if (FAILED(YesNo(input->IsSyncPoint(), times.syncPoint)) ||
      FAILED(YesNo(input->IsDiscontinuity(), times.discontinuity))) {
    return E_UNEXPECTED;
  }
  return S_OK;
}

HRESULT DmoStreamer::MakeInputBuffer(IMediaSample* input, IMediaBuffer** buffer) {
  SampleBytes bytes;
  if (!GetSampleBytes(input, bytes)) return E_POINTER;
  if (!shape_.monoThroughStereo) {
    return SampleMediaBuffer::CreateView(reinterpret_cast<BYTE*>(bytes.data),
                                         static_cast<DWORD>(bytes.length), static_cast<DWORD>(bytes.capacity),
                                         buffer);
  }
  const std::size_t frames = bytes.length / 2;
  HRESULT hr = SampleMediaBuffer::CreateOwning(static_cast<DWORD>(frames * 4), buffer);
  if (FAILED(hr)) return hr;
  BYTE* stereo = nullptr;
  (*buffer)->GetBufferAndLength(&stereo, nullptr);
  for (std::size_t i = 0; i < frames; ++i) {
    std::memcpy(stereo + i * 4, bytes.data + i * 2, 2);
    std::memcpy(stereo + i * 4 + 2, bytes.data + i * 2, 2);
  }
  return (*buffer)->SetLength(static_cast<DWORD>(frames * 4));
}

HRESULT DmoStreamer::FeedInput(IMediaSample* input, InputTimes& times) {
  DWORD flags = 0;
  if (times.start) flags |= DMO_INPUT_DATA_BUFFERF_TIME;
  if (times.stop) flags |= DMO_INPUT_DATA_BUFFERF_TIMELENGTH;
  if (times.syncPoint) flags |= DMO_INPUT_DATA_BUFFERF_SYNCPOINT;
  IMediaBuffer* raw = nullptr;
  HRESULT hr = MakeInputBuffer(input, &raw);
  if (FAILED(hr)) return hr;
  auto buffer = ComPtr<IMediaBuffer>::Adopt(raw);
  if (times.discontinuity) dmo_.Discontinuity(0);
  hr = dmo_.ProcessInput(0, buffer.Get(), flags, times.startTime, times.stopTime - times.startTime);
  if (FAILED(hr)) return hr;
  times.mediaTimes = SUCCEEDED(input->GetMediaTime(&times.mediaStart, &times.mediaStop));
  return S_OK;
}

HRESULT DmoStreamer::NewOutputSample(IMediaSample* input, IMediaSample** output) {
  *output = nullptr;
  IMediaSample* sample = nullptr;
  HRESULT hr = filter_.GetOutputSample(input, &sample);
  if (FAILED(hr)) return hr;
  if (sample == nullptr) return E_UNEXPECTED;
  auto owned = ComPtr<IMediaSample>::Adopt(sample);
  MediaType override;
  const AM_MEDIA_TYPE* overrideType = nullptr;
  if (shape_.outputType) {
    TakenMediaType inputType(input);
    if (inputType) {
      hr = shape_.outputType(*inputType.Get(), override);
      if (FAILED(hr)) return hr;
      overrideType = &override.Get();
    }
  }
  hr = CopySampleProperties(input, owned.Get(), overrideType);
  if (FAILED(hr)) return hr;
  *output = owned.Detach();
  return S_OK;
}

HRESULT DmoStreamer::FillPiece(IMediaSample* output, LONG& length, bool& incomplete) {
  SampleBytes bytes;
  if (!GetSampleBytes(output, bytes)) return E_POINTER;
  IMediaBuffer* raw = nullptr;
  HRESULT hr = SampleMediaBuffer::CreateView(reinterpret_cast<BYTE*>(bytes.data), 0,
                                             static_cast<DWORD>(bytes.capacity), &raw);
  if (FAILED(hr)) return hr;
  auto buffer = ComPtr<IMediaBuffer>::Adopt(raw);
  DMO_OUTPUT_DATA_BUFFER piece{};
  piece.pBuffer = buffer.Get();
  DWORD status = 0;
  hr = dmo_.ProcessOutput(0, 1, &piece, &status);
  if (FAILED(hr)) return hr;
  DWORD produced = 0;
  buffer->GetBufferAndLength(nullptr, &produced);
  length = static_cast<LONG>(std::min<DWORD>(produced, static_cast<DWORD>(bytes.capacity)));
  if (shape_.monoThroughStereo) length = FoldStereoToMono(reinterpret_cast<BYTE*>(bytes.data), length);
  incomplete = (piece.dwStatus & DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE) != 0;
  return output->SetActualDataLength(length);
}

void DmoStreamer::StampPiece(IMediaSample* output, const InputTimes& times, std::uint32_t produced,
                             LONG length, bool incomplete) {
  const bool onlyPiece = produced == 0 && !incomplete;
  const LONGLONG framesBefore = produced / shape_.frameBytes;
  const LONGLONG frames = static_cast<LONGLONG>(length) / shape_.frameBytes;
  if (!shape_.keepMediaTimes) {
    output->SetMediaTime(nullptr, nullptr);
  } else if (times.mediaTimes && !onlyPiece) {
    LONGLONG mediaStart = times.mediaStart + framesBefore;
    LONGLONG mediaStop = mediaStart + frames;
    output->SetMediaTime(&mediaStart, &mediaStop);
  }
  if (times.start && !onlyPiece) {
    REFERENCE_TIME start = times.startTime + framesBefore * kUnitsPerSecond / shape_.sampleRate;
    REFERENCE_TIME stop = start + frames * kUnitsPerSecond / shape_.sampleRate;
    output->SetTime(&start, times.stop ? &stop : nullptr);
  }
  if (produced != 0) {
    output->SetSyncPoint(FALSE);
    output->SetDiscontinuity(FALSE);
  }
}

}  // namespace zmsp
