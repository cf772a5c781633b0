// Linux-only declarations of the DirectX Media Object interface and its
// structures, flags and codes, under the Windows SDK's names (mediaobj.h,
// mediaerr.h). Method order follows the SDK.
#pragma once

#include "directshow/compat/objidl_compat.h"
#include "directshow/compat/windows_compat.h"

struct IMediaBuffer;

inline constexpr HRESULT DMO_E_INVALIDSTREAMINDEX = static_cast<HRESULT>(0x80040201);
inline constexpr HRESULT DMO_E_INVALIDTYPE = static_cast<HRESULT>(0x80040202);
inline constexpr HRESULT DMO_E_TYPE_NOT_SET = static_cast<HRESULT>(0x80040203);
inline constexpr HRESULT DMO_E_NOTACCEPTING = static_cast<HRESULT>(0x80040204);
inline constexpr HRESULT DMO_E_TYPE_NOT_ACCEPTED = static_cast<HRESULT>(0x80040205);
inline constexpr HRESULT DMO_E_NO_MORE_ITEMS = static_cast<HRESULT>(0x80040206);

inline constexpr IID IID_IMediaObject = {
    0xd8ad0f58, 0x5494, 0x4102, {0x97, 0xc5, 0xec, 0x79, 0x8e, 0x59, 0xbc, 0xf4}};

enum _DMO_INPUT_STATUS_FLAGS { DMO_INPUT_STATUSF_ACCEPT_DATA = 0x1 };
enum _DMO_INPUT_DATA_BUFFER_FLAGS {
  DMO_INPUT_DATA_BUFFERF_SYNCPOINT = 0x1,
  DMO_INPUT_DATA_BUFFERF_TIME = 0x2,
  DMO_INPUT_DATA_BUFFERF_TIMELENGTH = 0x4
};
enum _DMO_PROCESS_OUTPUT_FLAGS { DMO_PROCESS_OUTPUT_DISCARD_WHEN_NO_BUFFER = 0x1 };
enum _DMO_SET_TYPE_FLAGS { DMO_SET_TYPEF_TEST_ONLY = 0x1, DMO_SET_TYPEF_CLEAR = 0x2 };
enum _DMO_OUTPUT_DATA_BUFFERF_FLAGS {
  DMO_OUTPUT_DATA_BUFFERF_SYNCPOINT = 0x1,
  DMO_OUTPUT_DATA_BUFFERF_TIME = 0x2,
  DMO_OUTPUT_DATA_BUFFERF_TIMELENGTH = 0x4,
  DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE = 0x1000000
};

// The same layout as AM_MEDIA_TYPE, a distinct type as in the SDK.
struct DMO_MEDIA_TYPE {
  GUID majortype;
  GUID subtype;
  BOOL bFixedSizeSamples;
  BOOL bTemporalCompression;
  ULONG lSampleSize;
  GUID formattype;
  IUnknown* pUnk;
  ULONG cbFormat;
  BYTE* pbFormat;
};

struct DMO_OUTPUT_DATA_BUFFER {
  IMediaBuffer* pBuffer;
  DWORD dwStatus;
  REFERENCE_TIME rtTimestamp;
  REFERENCE_TIME rtTimelength;
};

struct IMediaObject : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD* inputStreams, DWORD* outputStreams) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD stream, DWORD* flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD stream, DWORD* flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputType(DWORD stream, DWORD typeIndex, DMO_MEDIA_TYPE* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputType(DWORD stream, DWORD typeIndex, DMO_MEDIA_TYPE* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetInputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOutputType(DWORD stream, const DMO_MEDIA_TYPE* type, DWORD flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD stream, DMO_MEDIA_TYPE* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD stream, DMO_MEDIA_TYPE* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD stream, DWORD* size, DWORD* maxLookahead,
                                                     DWORD* alignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD stream, DWORD* size, DWORD* alignment) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD stream, REFERENCE_TIME* latency) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD stream, REFERENCE_TIME latency) = 0;
  virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
  virtual HRESULT STDMETHODCALLTYPE Discontinuity(DWORD stream) = 0;
  virtual HRESULT STDMETHODCALLTYPE AllocateStreamingResources() = 0;
  virtual HRESULT STDMETHODCALLTYPE FreeStreamingResources() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD stream, DWORD* flags) = 0;
  virtual HRESULT STDMETHODCALLTYPE ProcessInput(DWORD stream, IMediaBuffer* buffer, DWORD flags,
                                                 REFERENCE_TIME timestamp, REFERENCE_TIME timelength) = 0;
  virtual HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD flags, DWORD bufferCount,
                                                  DMO_OUTPUT_DATA_BUFFER* buffers, DWORD* status) = 0;
  virtual HRESULT STDMETHODCALLTYPE Lock(LONG lock) = 0;
};
