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
  GUID major = GUID_NULL;
};

// MEDIATYPE_Subtitle, which the SDK's headers of this toolchain lack.
constexpr GUID kMediaTypeSubtitle = {
    0xE487EB08, 0x6B26, 0x4BE9, {0x9D, 0xD3, 0x99, 0x34, 0x34, 0xD3, 0x13, 0xFD}};

// Text and subtitle streams belong to the caption menu, not the sound menu.
bool IsTextStream(const StreamInfo& info) {
  return IsEqualGUID(info.major, MEDIATYPE_Text) || IsEqualGUID(info.major, kMediaTypeSubtitle);
}

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
  info.major = type ? type->majortype : GUID_NULL;
  FreeMediaType(type);
  CoTaskMemFree(name);
  if (object) object->Release();
  if (unk) unk->Release();
  return true;
}
}  // namespace

DirectShowStreams::DirectShowStreams(IFilterGraph* graph)
    : select_(FirstFilterOffering<IAMStreamSelect>(graph, IID_IAMStreamSelect)) {
  DWORD count = 0;
  if (!select_ || FAILED(select_->Count(&count))) return;
  for (DWORD i = 0; i < count; ++i) {
    StreamInfo info;
    if (!QueryInfo(select_.Get(), static_cast<int>(i), info) || !IsTextStream(info)) {
      listed_.push_back(static_cast<LONG>(i));
    }
  }
}

int DirectShowStreams::Count() const { return static_cast<int>(listed_.size()); }

bool DirectShowStreams::InRange(int stream) const { return stream >= 0 && stream < Count(); }

HRESULT DirectShowStreams::Select(int stream) {
  if (!InRange(stream)) return E_INVALIDARG;
  return select_->Enable(listed_[static_cast<size_t>(stream)], AMSTREAMSELECTENABLE_ENABLE);
}

std::string DirectShowStreams::Name(int stream) const {
  StreamInfo info;
  if (!InRange(stream) || !QueryInfo(select_.Get(), listed_[static_cast<size_t>(stream)], info)) return {};
  return info.name;
}

bool DirectShowStreams::Selected(int stream) const {
  StreamInfo info;
  if (!InRange(stream) || !QueryInfo(select_.Get(), listed_[static_cast<size_t>(stream)], info)) return false;
  return (info.flags & (AMSTREAMSELECTINFO_ENABLED | AMSTREAMSELECTINFO_EXCLUSIVE)) != 0;
}

}  // namespace orves
