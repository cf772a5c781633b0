#include "player/dialogs/CheckNewVersion_win32.h"

#include <shellapi.h>

namespace orves {

namespace {

constexpr WORD kIdPlayer = 200;
constexpr WORD kIdPlayerWithCodec = 201;
constexpr WORD kIdNo = 202;
constexpr WORD kIdHome = 203;
constexpr WORD kIdMail = 204;
constexpr WORD kIdCheck = 205;
constexpr int kHeaderHeight = 72;

// The host without its port, for the mail address.
std::wstring HostName(const std::wstring& webHost) { return webHost.substr(0, webHost.find(L':')); }

std::wstring MailAddress(const std::wstring& webHost) { return L"webmaster@" + HostName(webHost); }

// Static controls break lines at CR LF.
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) {
      out.push_back(L'\r');
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

TfrmCheckNewVersion::~TfrmCheckNewVersion() {
  Destroy();
  if (boldFont_ != nullptr) {
    DeleteObject(boldFont_);
  }
}

void TfrmCheckNewVersion::CreateControls() {
  AddControl(L"STATIC", L"새버전이 확인되었습니다. 다운로드 하시겠습니까?", SS_LEFT, 0, 12, 10, 365, 16);
  lnkHome_ = AddControl(L"STATIC", L"", SS_LEFT | SS_NOTIFY, kIdHome, 12, 32, 365, 16);
  lnkMail_ = AddControl(L"STATIC", L"", SS_LEFT | SS_NOTIFY, kIdMail, 12, 50, 365, 16);
  lblVersion_ = AddControl(L"STATIC", L"", SS_LEFT, 0, 12, 82, 365, 16);
  AddControl(L"STATIC", L"업데이트 내용", SS_LEFT, 0, 12, 104, 365, 16);
  lblUpdate_ = AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, 12, 122, 365, 92);
  chkReportNewVersion_ = AddControl(L"BUTTON", L"시작할 때 새버전 체크", BS_AUTOCHECKBOX | WS_TABSTOP,
                                    kIdCheck, 12, 218, 250, 18);
  AddButton(L"예 (플레이어)", kIdPlayer, 12, 244, 110, 26, true);
  AddButton(L"예 (플레이어+통합코덱)", kIdPlayerWithCodec, 128, 244, 150, 26, false);
  AddButton(L"아니오(&N)", kIdNo, 284, 244, 93, 26, false);
  LOGFONTW bold{};
  if (Font() != nullptr && GetObjectW(Font(), sizeof(bold), &bold) == sizeof(bold)) {
    bold.lfWeight = FW_BOLD;
    boldFont_ = CreateFontIndirectW(&bold);
    SendMessageW(lblVersion_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  }
}

TfrmCheckNewVersion::Answer TfrmCheckNewVersion::Ask(const Offer& offer) {
  webHost_ = offer.webHost;
  SetWindowTextW(lnkHome_, (L"홈페이지 바로가기 : " + offer.webHost).c_str());
  SetWindowTextW(lnkMail_, (L"제작자 메일보내기 : " + MailAddress(offer.webHost)).c_str());
  SetWindowTextW(lblVersion_, (L"새로운 버전 : v" + offer.version).c_str());
  SetWindowTextW(lblUpdate_, WithCrLf(offer.notes).c_str());
  SendMessageW(chkReportNewVersion_, BM_SETCHECK, offer.checkNewVersion ? BST_CHECKED : BST_UNCHECKED, 0);
  choice_ = Choice::No;
  const ModalResult result = ShowModal();
  Answer answer;
  answer.choice = result == ModalResult::Ok ? choice_ : Choice::No;
  answer.checkNewVersion = SendMessageW(chkReportNewVersion_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return answer;
}

bool TfrmCheckNewVersion::OnCommand(WORD id) {
  switch (id) {
    case kIdPlayer:
    case IDOK:
      choice_ = Choice::Player;
      CloseWith(ModalResult::Ok);
      return true;
    case kIdPlayerWithCodec:
      choice_ = Choice::PlayerWithCodec;
      CloseWith(ModalResult::Ok);
      return true;
    case kIdNo:
    case IDCANCEL:
      CloseWith(ModalResult::Cancel);
      return true;
    case kIdHome:
      ShellExecuteW(Handle(), L"open", (L"http://" + webHost_ + L"/").c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
      return true;
    case kIdMail:
      ShellExecuteW(Handle(), L"open", (L"mailto:" + MailAddress(webHost_)).c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
      return true;
    default:
      return false;
  }
}

LRESULT TfrmCheckNewVersion::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    // The dialog face, with the header band white.
    const LRESULT erased = Form::HandleMessage(message, wParam, lParam);
    RECT header;
    GetClientRect(Handle(), &header);
    header.bottom = kHeaderHeight;
    FillRect(reinterpret_cast<HDC>(wParam), &header, GetSysColorBrush(COLOR_WINDOW));
    return erased;
  }
  if (message == WM_CTLCOLORSTATIC) {
    // The header's texts stand on white; its two links are blue.
    const HWND control = reinterpret_cast<HWND>(lParam);
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&bounds), 2);
    if (bounds.bottom <= kHeaderHeight) {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      const bool link = control == lnkHome_ || control == lnkMail_;
      SetTextColor(dc, link ? RGB(0, 0, 192) : GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
  }
  return Form::HandleMessage(message, wParam, lParam);
}

}  // namespace orves
