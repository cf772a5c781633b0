#include "soundproc/frame/pages/ObjectPages_win32.h"

#include <new>
#include <string>

#include "soundproc/frame/pages/ObjectPageText.h"
#include "soundproc/frame/pages/PageResources.h"
#include "soundproc/stages/PersistedBlock.h"

namespace zmsp {

namespace {

// The object's IMediaObject with a reference, and its block as it saves it.
template <typename Block>
HRESULT ConnectObject(IUnknown* object, IMediaObject*& held, Block& block) {
  IMediaObject* media = nullptr;
  HRESULT hr = object->QueryInterface(IID_IMediaObject, reinterpret_cast<void**>(&media));
  if (FAILED(hr)) return hr;
  hr = ReadPersistedBlock(media, block.bytes.data(), Block::kBytes);
  if (FAILED(hr)) {
    media->Release();
    return hr;
  }
  held = media;
  return S_OK;
}

void ReleaseObject(IMediaObject*& held) {
  if (held != nullptr) held->Release();
  held = nullptr;
}

// Writes the page's words over the object's current block, keeping the rest.
template <typename Block, typename Change>
HRESULT ApplyToObject(IMediaObject* object, Block& block, Change&& change) {
  if (object == nullptr) return E_UNEXPECTED;
  HRESULT hr = ReadPersistedBlock(object, block.bytes.data(), Block::kBytes);
  if (FAILED(hr)) return hr;
  change(block);
  return WritePersistedBlock(object, block.bytes.data(), Block::kBytes);
}

void FillChoices(HWND combo, const char* const* names, int count, int selected) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < count; ++i) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pages::Widen(names[i]).c_str()));
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected >= 0 && selected < count ? selected : 0), 0);
}

int Choice(HWND combo) {
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? 0 : static_cast<int>(selected);
}

// A user's change of a control: the page becomes dirty.
bool IsEdit(UINT message, WPARAM wParam) {
  if (message != WM_COMMAND) return false;
  const WORD code = HIWORD(wParam);
  return code == CBN_SELCHANGE || code == BN_CLICKED || code == EN_CHANGE;
}

}  // namespace

// ------------------------------------------------------------ upmixer

HRESULT UpmixerPage::Create(REFIID riid, void** object) {
  return HandOut(new (std::nothrow) UpmixerPage(), riid, object);
}

UpmixerPage::UpmixerPage() : PropertyPageBase(IDD_UPMIXER_PAGE, "Upmixer") {}

HRESULT UpmixerPage::OnConnect(IUnknown* object) { return ConnectObject(object, object_, block_); }

void UpmixerPage::OnDisconnect() { ReleaseObject(object_); }

HRESULT UpmixerPage::OnActivate() {
  const UpmixParams params = block_.Params();
  FillChoices(Control(IDC_UPMIX_ALGORITHM), pages::kAlgorithmNames, 3, params.algorithm);
  FillChoices(Control(IDC_UPMIX_MODE), pages::kProLogic2ModeNames, 6, params.mode);
  static const char* const kWidths[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
  FillChoices(Control(IDC_UPMIX_CENTER_WIDTH), kWidths, 8, params.centerWidth);
  static const char* const kDimensions[] = {"-3", "-2", "-1", "0", "+1", "+2", "+3"};
  FillChoices(Control(IDC_UPMIX_DIMENSION), kDimensions, 7, params.dimension);
  CheckDlgButton(Window(), IDC_UPMIX_PANORAMA, params.panorama ? BST_CHECKED : BST_UNCHECKED);
  return S_OK;
}

HRESULT UpmixerPage::OnApplyChanges() {
  UpmixParams chosen;
  chosen.algorithm = Choice(Control(IDC_UPMIX_ALGORITHM));
  chosen.mode = Choice(Control(IDC_UPMIX_MODE));
  chosen.centerWidth = Choice(Control(IDC_UPMIX_CENTER_WIDTH));
  chosen.dimension = Choice(Control(IDC_UPMIX_DIMENSION));
  chosen.panorama = IsDlgButtonChecked(Window(), IDC_UPMIX_PANORAMA) == BST_CHECKED;
  return ApplyToObject(object_, block_, [&](UpmixParameterBlock& block) { block.SetParams(chosen); });
}

bool UpmixerPage::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
  if (IsEdit(message, wParam)) SetDirty();
  return false;
}

// ------------------------------------------------------- time stretcher

HRESULT TimeStretcherPage::Create(REFIID riid, void** object) {
  return HandOut(new (std::nothrow) TimeStretcherPage(), riid, object);
}

TimeStretcherPage::TimeStretcherPage() : PropertyPageBase(IDD_TIME_STRETCHER_PAGE, "Time Stretcher") {}

HRESULT TimeStretcherPage::OnConnect(IUnknown* object) { return ConnectObject(object, object_, block_); }

void TimeStretcherPage::OnDisconnect() { ReleaseObject(object_); }

HRESULT TimeStretcherPage::OnActivate() {
  filling_ = true;  // the edit control reports this text as a change
  SetWindowTextW(Control(IDC_STRETCH_SPEED), pages::Widen(pages::SpeedEditText(block_.Speed())).c_str());
  filling_ = false;
  return S_OK;
}

HRESULT TimeStretcherPage::OnApplyChanges() {
  wchar_t typed[32] = {};
  GetWindowTextW(Control(IDC_STRETCH_SPEED), typed, 32);
  std::string text;
  for (const wchar_t* ch = typed; *ch != L'\0'; ++ch) text += *ch < 0x80 ? static_cast<char>(*ch) : '?';
  const std::optional<std::uint32_t> speed = pages::ParseSpeedEditText(text);
  if (!speed) {
    MessageBeep(MB_ICONWARNING);
    return E_INVALIDARG;  // the page stays dirty; the object keeps its speed
  }
  return ApplyToObject(object_, block_, [&](SpeedParameterBlock& block) { block.SetSpeed(*speed); });
}

bool TimeStretcherPage::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
  if (!filling_ && IsEdit(message, wParam)) SetDirty();
  return false;
}

}  // namespace zmsp
