#include "soundproc/stages/PersistedBlock.h"

#include "soundproc/contract/DirectShowNames.h"

namespace zmsp {

namespace {

// The DMO's IPersistStream and a new growable memory stream.
HRESULT PersistAndStream(IMediaObject* dmo, ComPtr<IPersistStream>& persist, ComPtr<IStream>& stream) {
  if (dmo == nullptr) return E_POINTER;
  const HRESULT hr = dmo->QueryInterface(IID_IPersistStream, persist.PutVoid());
  if (FAILED(hr)) return hr;
  return CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
}

HRESULT Rewind(IStream* stream) {
  LARGE_INTEGER start{};
  return stream->Seek(start, STREAM_SEEK_SET, nullptr);
}

}  // namespace

HRESULT ReadPersistedBlock(IMediaObject* dmo, void* block, std::size_t size) {
  ComPtr<IPersistStream> persist;
  ComPtr<IStream> stream;
  HRESULT hr = PersistAndStream(dmo, persist, stream);
  if (FAILED(hr)) return hr;
  hr = persist->Save(stream.Get(), FALSE);
  if (SUCCEEDED(hr)) hr = Rewind(stream.Get());
  if (FAILED(hr)) return hr;
  ULONG read = 0;
  hr = stream->Read(block, static_cast<ULONG>(size), &read);
  return FAILED(hr) && read == 0 ? hr : S_OK;
}

HRESULT WritePersistedBlock(IMediaObject* dmo, const void* block, std::size_t size) {
  ComPtr<IPersistStream> persist;
  ComPtr<IStream> stream;
  HRESULT hr = PersistAndStream(dmo, persist, stream);
  if (FAILED(hr)) return hr;
  ULONG written = 0;
  hr = stream->Write(block, static_cast<ULONG>(size), &written);
  if (FAILED(hr)) return hr;
  if (written != size) return E_FAIL;
  hr = Rewind(stream.Get());
  if (FAILED(hr)) return hr;
  return persist->Load(stream.Get());
}

}  // namespace zmsp
