#include "soundproc/frame/pages/SoundProcessorPage_win32.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <new>

#include "soundproc/contract/DirectShowNames.h"
#include "soundproc/contract/Guids.h"
#include "soundproc/contract/Settings.h"
#include "soundproc/dmo/DmoGuids.h"
#include "soundproc/frame/pages/PageResources.h"

namespace zmsp {

namespace {

constexpr UINT_PTR kRefreshTimer = 1;

// The outside objects' own pages; ours are named in DmoGuids.h.
constexpr CLSID kOutsideExpansionPage = {
    0xDDE40572, 0xDC6E, 0x44C2, {0xBC, 0x69, 0x7C, 0xC1, 0x8F, 0xA0, 0x50, 0x35}};
constexpr CLSID kOutsideTimeStretchPage = {
    0x9AD2DF65, 0x2B4C, 0x4DC3, {0x9B, 0x08, 0x84, 0x69, 0x19, 0x83, 0xF5, 0x37}};

pages::PageLanguage CurrentLanguage() {
  return pages::ChoosePageLanguage(Settings().UILanguage(), LANGIDFROMLCID(GetThreadLocale()));
}

// The page CLSID of a stage's object: ours when the object is ours, else the
// outside object's page.
CLSID PageOfObject(IUnknown* object, const CLSID& ourObject, const CLSID& ourPage, const CLSID& outsidePage) {
  ComPtr<IPersist> persist;
  CLSID classId{};
  if (SUCCEEDED(object->QueryInterface(IID_IPersist, persist.PutVoid())) &&
      SUCCEEDED(persist->GetClassID(&classId)) && IsEqualCLSID(classId, ourObject)) {
    return ourPage;
  }
  return outsidePage;
}

}  // namespace

// ------------------------------------------------------------ status page

HRESULT SoundProcessorPage::Create(REFIID riid, void** object) {
  return HandOut(new (std::nothrow) SoundProcessorPage(CurrentLanguage()), riid, object);
}

SoundProcessorPage::SoundProcessorPage(pages::PageLanguage language)
    : PropertyPageBase(pages::FormOf(pages::PageKind::Status, language).dialogId,
                       pages::FormOf(pages::PageKind::Status, language).title) {}

SoundProcessorPage::~SoundProcessorPage() {
  if (Window() != nullptr) StopShowing();
  OnDisconnect();
}

HRESULT SoundProcessorPage::OnConnect(IUnknown* object) {
  ComPtr<ISoundProcessorStatus> filter;
  HRESULT hr = object->QueryInterface(guids::kISoundProcessorStatus, filter.PutVoid());
  if (FAILED(hr)) return hr;
  hr = filter->AttachPage();  // one status page per filter
  if (FAILED(hr)) return hr;
  filter_ = filter;
  return S_OK;
}

void SoundProcessorPage::OnDisconnect() {
  if (!filter_) return;
  if (Window() != nullptr) StopShowing();
  filter_->DetachPage();
  filter_.Reset();
}

HRESULT SoundProcessorPage::OnActivate() {
  if (!filter_) return E_UNEXPECTED;
  const Settings settings;
  // A visual style draws its own bar and ignores the colours: configured
  // colours need the classic look.
  const bool coloured = settings.BarColor() != Settings::kDefaultColor ||
                        settings.BarBackgroundColor() != Settings::kDefaultColor;
  for (int row = 0; row < pages::kMeterRows; ++row) {
    HWND bar = Control(IDC_METER_BAR_FIRST + row);
    if (coloured) SetWindowTheme(bar, L" ", L" ");  // names no style; an empty name is not stored everywhere
    SendMessageW(bar, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(settings.BarColor()));
    SendMessageW(bar, PBM_SETBKCOLOR, 0, static_cast<LPARAM>(settings.BarBackgroundColor()));
    SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
  }
  SendMessageW(Control(IDC_INPUT_FORMAT), EM_FMTLINES, TRUE, 0);
  SendMessageW(Control(IDC_OUTPUT_FORMAT), EM_FMTLINES, TRUE, 0);
  pages::PageStatus status;
  filter_->GetStatus(&status);
  SetText(IDC_SOURCE, status.source);
  const std::string& fileName = status.fileName;
  if (!fileName.empty()) {
    // The filter keeps the name in the system's ANSI code page.
    const int length =
        MultiByteToWideChar(CP_ACP, 0, fileName.data(), static_cast<int>(fileName.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, fileName.data(), static_cast<int>(fileName.size()), wide.data(), length);
    SetWindowTextW(Control(IDC_FILE_NAME), wide.c_str());
  }
  rowsShown_ = pages::kMeterRows;
  frozen_ = false;
  Refresh();
  filter_->SetMeasuring(TRUE);
  SetTimer(Window(), kRefreshTimer, kRefreshMilliseconds, nullptr);
  return S_OK;
}

void SoundProcessorPage::OnDeactivate() { StopShowing(); }

void SoundProcessorPage::StopShowing() {
  KillTimer(Window(), kRefreshTimer);
  shownTexts_.clear();
  if (!filter_) return;
  filter_->SetMeasuring(FALSE);
}

HRESULT SoundProcessorPage::Refresh() {
  if (!filter_) return E_UNEXPECTED;
  if (frozen_ || Window() == nullptr) return S_OK;
  pages::PageStatus status;
  const HRESULT hr = filter_->GetStatus(&status);
  if (FAILED(hr)) return hr;
  const pages::StatusView view = pages::BuildStatusView(status, rowsShown_);
  Apply(view);
  rowsShown_ = view.rowsShown;
  return S_OK;
}

void SoundProcessorPage::Apply(const pages::StatusView& view) {
  EnableWindow(Control(IDC_EXPANSION_DMO), view.expansionButtonEnabled);
  EnableWindow(Control(IDC_STRETCH_DMO), view.stretchButtonEnabled);
  for (int row = 0; row < pages::kMeterRows; ++row) ApplyRow(row, view.rows[static_cast<std::size_t>(row)]);
  if (view.input) SetText(IDC_INPUT_FORMAT, *view.input);
  if (view.output) SetText(IDC_OUTPUT_FORMAT, *view.output);
  SetText(IDC_EXPANSION, view.expansion);
  SetText(IDC_SPEED, view.speed);
  SetText(IDC_CHANNEL_CONTROL, view.channelControl);
}

void SoundProcessorPage::ApplyRow(int row, const pages::MeterRowView& view) {
  using Action = pages::MeterRowView::Action;
  if (view.action == Action::Keep) return;
  HWND value = Control(IDC_METER_VALUE_FIRST + row);
  HWND bar = Control(IDC_METER_BAR_FIRST + row);
  SetText(IDC_METER_LABEL_FIRST + row, view.label);
  if (view.action == Action::Clear) {
    ShowWindow(value, SW_HIDE);
    ShowWindow(bar, SW_HIDE);
    return;
  }
  SetText(IDC_METER_VALUE_FIRST + row, view.value);
  if (shownBars_[static_cast<std::size_t>(row)] != view.bar || !IsWindowVisible(bar)) {
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(view.bar), 0);
    shownBars_[static_cast<std::size_t>(row)] = view.bar;
  }
  if (!IsWindowVisible(value)) ShowWindow(value, SW_SHOW);
  if (!IsWindowVisible(bar)) ShowWindow(bar, SW_SHOW);
}

// Setting an unchanged text would repaint the control at every tick.
void SoundProcessorPage::SetText(int id, const std::string& text) {
  auto shown = shownTexts_.find(id);
  if (shown != shownTexts_.end() && shown->second == text) return;
  SetWindowTextW(Control(id), pages::Widen(text).c_str());
  shownTexts_[id] = text;
}

bool SoundProcessorPage::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR& result) {
  if (message == WM_TIMER && wParam == kRefreshTimer) {
    Refresh();
    result = 0;
    return true;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDC_STOP_UPDATE:
        frozen_ = !frozen_;
        break;
      case IDC_EXPANSION_DMO:
        OpenObjectPage(true);
        break;
      case IDC_STRETCH_DMO:
        OpenObjectPage(false);
        break;
      default:
        break;
    }
  }
  return false;
}

// The object's own page in a modal frame. The stage keeps the object for the
// filter's life; the reference taken here covers the frame's.
void SoundProcessorPage::OpenObjectPage(bool expansion) {
  if (!filter_) return;
  ComPtr<IUnknown> object;
  filter_->GetStageObject(
      expansion ? ISoundProcessorStatus::kExpanderObject : ISoundProcessorStatus::kStretcherObject,
      object.Put());
  if (!object) return;
  CLSID page = expansion
                   ? PageOfObject(object.Get(), dmo::kUpmixerDmo, dmo::kUpmixerPage, kOutsideExpansionPage)
                   : PageOfObject(object.Get(), dmo::kTimeStretcherDmo, dmo::kTimeStretcherPage,
                                  kOutsideTimeStretchPage);
  IUnknown* objects[] = {object.Get()};
  OleCreatePropertyFrame(Window(), 0, 0,
                         expansion ? L"InterVideo Expansion DMO" : L"InterVideo TimeStretch DMO", 1, objects,
                         1, &page, 0, 0, nullptr);
}

// ------------------------------------------------------------- about page

HRESULT SoundProcessorAboutPage::Create(REFIID riid, void** object) {
  return HandOut(new (std::nothrow) SoundProcessorAboutPage(CurrentLanguage()), riid, object);
}

SoundProcessorAboutPage::SoundProcessorAboutPage(pages::PageLanguage language)
    : PropertyPageBase(pages::FormOf(pages::PageKind::About, language).dialogId,
                       pages::FormOf(pages::PageKind::About, language).title) {}

}  // namespace zmsp
