#include "player/playback/DirectShowStreams_win32.h"

#include "player/core/TextConvert_win32.h"

namespace orves {

namespace {
// Frees what IAMStreamSelect::Info hands out: the media type (format block
// and its object) is task memory owned by the caller.
void FreeMediaType(AM_MEDIA_TYPE* type) {
  if (!type) return;
  if (type->cbFormat != 0) CoTaskMemFree(type->pbFormat);
  if (type->pUnk) type->pUnk->Release();
  CoTaskMemFree(type);
}

struct StreamInfo {
  DWORD flags = 0;
  std::string name;
};

bool QueryInfo(IAMStreamSelect* select, int stream, StreamInfo& info) {
  AM_MEDIA_TYPE* type = nullptr;
  DWORD flags = 0;
  LCID lcid = 0;
  DWORD group = 0;
  WCHAR* name = nullptr;
  IUnknown* object = nullptr;
  IUnknown* unk = nullptr;
  const HRESULT hr = select->Info(stream, &type, &flags, &lcid, &group, &name, &object, &unk);
  if (FAILED(hr)) return false;
  info.flags = flags;
  info.name = name ? WideToUtf8(name) : std::string();
  FreeMediaType(type);
  CoTaskMemFree(name);
  if (object) object->Release();
  if (unk) unk->Release();
  return true;
}
}  // namespace

DirectShowStreams::DirectShowStreams(IFilterGraph* graph) {
  if (!graph) return;
  ComPtr<IEnumFilters> filters;
  if (FAILED(graph->EnumFilters(filters.Put())) || !filters) return;
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, filter.Put(), nullptr) == S_OK) {
    select_ = filter.As<IAMStreamSelect>(IID_IAMStreamSelect);
    if (select_) return;
  }
}

int DirectShowStreams::Count() const {
  DWORD count = 0;
  if (!select_ || FAILED(select_->Count(&count))) return 0;
  return static_cast<int>(count);
}

bool DirectShowStreams::InRange(int stream) const { return stream >= 0 && stream < Count(); }

HRESULT DirectShowStreams::Select(int stream) {
  if (!InRange(stream)) return E_INVALIDARG;
  return select_->Enable(stream, AMSTREAMSELECTENABLE_ENABLE);
}

std::string DirectShowStreams::Name(int stream) const {
  StreamInfo info;
  if (!InRange(stream) || !QueryInfo(select_.Get(), stream, info)) return {};
  return info.name;
}

bool DirectShowStreams::Selected(int stream) const {
  StreamInfo info;
  if (!InRange(stream) || !QueryInfo(select_.Get(), stream, info)) return false;
  return (info.flags & (AMSTREAMSELECTINFO_ENABLED | AMSTREAMSELECTINFO_EXCLUSIVE)) != 0;
}

}  // namespace orves
