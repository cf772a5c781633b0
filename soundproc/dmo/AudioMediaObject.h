// The part our two DirectX Media Objects share: one input and one output
// stream of 16-bit PCM, the type negotiation, the held input buffer, the
// output loop with the incomplete flag, the persisted parameter block
// (IPersistStream) and the property page (ISpecifyPropertyPages). A subclass
// says which formats it takes, converts frames with its engine and reads and
// writes its parameter block.
//
// Every method takes the object's lock: a property page may load parameters
// on its own thread while a host streams on another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "directshow/com/DirectShowApi.h"
#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/PcmFormat.h"

namespace zmsp::dmo {

// Audio, PCM subtype, a WAVEFORMATEX block describing 16-bit plain or
// extensible PCM with at least one channel, a positive rate and the block
// align of its frames; false for anything else.
[[nodiscard]] bool ParsePcm16(const DMO_MEDIA_TYPE& type, PcmFormat& format);
// Fills an empty `type` with `format` as 16-bit PCM (extensible with its mask
// when format.extensible); E_OUTOFMEMORY when the format block cannot be
// allocated.
HRESULT FillPcm16Type(const PcmFormat& format, DMO_MEDIA_TYPE& type);

class AudioMediaObject : public ComObject<IMediaObject, IPersistStream, ISpecifyPropertyPages> {
 public:
  HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD* inputStreams, DWORD* outputStreams) override;
  HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD stream, DWORD* flags) override;
  HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD stream, DWORD* flags) override;
  HRESULT STDMETHODCALLTYPE GetInputType(DWORD stream, DWORD typeIndex, DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetOutputType(DWORD stream, DWORD typeIndex, DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE SetInputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE SetOutputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) override;
  HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD stream, DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD stream, DMO_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD stream, DWORD* size, DWORD* maxLookahead,
                                             DWORD* alignment) override;
  HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD stream, DWORD* size, DWORD* alignment) override;
  HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD stream, REFERENCE_TIME* latency) override;
  HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD stream, REFERENCE_TIME latency) override;
  HRESULT STDMETHODCALLTYPE Flush() override;
  HRESULT STDMETHODCALLTYPE Discontinuity(DWORD stream) override;
  HRESULT STDMETHODCALLTYPE AllocateStreamingResources() override;
  HRESULT STDMETHODCALLTYPE FreeStreamingResources() override;
  HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD stream, DWORD* flags) override;
  HRESULT STDMETHODCALLTYPE ProcessInput(DWORD stream, IMediaBuffer* buffer, DWORD flags,
                                         REFERENCE_TIME timestamp, REFERENCE_TIME timelength) override;
  HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD flags, DWORD bufferCount, DMO_OUTPUT_DATA_BUFFER* buffers,
                                          DWORD* status) override;
  HRESULT STDMETHODCALLTYPE Lock(LONG lock) override;

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) override;
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;

  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

 protected:
  static constexpr std::size_t kMaxBlockSize = 68;

  AudioMediaObject(const CLSID& classId, const CLSID& pageId, std::size_t blockSize);
  ~AudioMediaObject() override;

  IUnknown* FindInterface(REFIID riid) override;

  // Formats. Output choices are offered only once an input type is set.
  [[nodiscard]] virtual bool AcceptsInput(const PcmFormat& in) const = 0;
  [[nodiscard]] virtual bool AcceptsOutput(const PcmFormat& in, const PcmFormat& out) const = 0;
  [[nodiscard]] virtual bool OutputChoice(const PcmFormat& in, DWORD index, PcmFormat& out) const = 0;
  // Both types are set: prepare the engine for them (false refuses the pair).
  [[nodiscard]] virtual bool Configure(const PcmFormat& in, const PcmFormat& out) = 0;

  // Converts frames from `in` into at most `capacity` frames of `out`;
  // reports the input frames taken and returns the output frames written.
  virtual std::size_t Convert(const std::int16_t* in, std::size_t frames, std::size_t& consumed,
                              std::int16_t* out, std::size_t capacity) = 0;
  // Output the engine holds that can be delivered without more input.
  [[nodiscard]] virtual bool HasPendingOutput() const = 0;
  // A break in the input: the engine finishes what it holds.
  virtual void EndOfInput() = 0;
  // Flush: the engine drops what it holds.
  virtual void DropStream() = 0;

  // The persisted parameter block, little-endian, of the size given at construction.
  virtual void SaveBlock(BYTE* block) const = 0;
  // False refuses the block and changes nothing.
  [[nodiscard]] virtual bool LoadBlock(const BYTE* block) = 0;

 private:
  [[nodiscard]] bool TypesSet() const { return inputSet_ && outputSet_; }
  void ReleaseHeldInput();
  void ClearOutputType();
  // Runs the engine into the free room of `data`; returns the bytes written.
  std::size_t ConvertInto(BYTE* data, std::size_t room);

  std::recursive_mutex mutex_;
  const CLSID classId_;
  const CLSID pageId_;
  const std::size_t blockSize_;

  MediaType inputType_;
  MediaType outputType_;
  PcmFormat in_;
  PcmFormat out_;
  bool inputSet_ = false;
  bool outputSet_ = false;

  ComPtr<IMediaBuffer> held_;  // the input being converted
  const BYTE* heldData_ = nullptr;
  std::size_t heldFrames_ = 0;
  std::size_t heldPosition_ = 0;  // frames of the held input already taken
};

}  // namespace zmsp::dmo
