// The main window's work with the rest of the system: the install words'
// registry and codec steps, the caption codec check when the window is first
// shown, and the update check from its start to the new-version dialog.
#include "player/core/AppInfo.h"
#include "player/core/Associations.h"
#include "player/core/Registry_win32.h"
#include "player/core/TextConvert_win32.h"
#include "player/dialogs/CheckCaptionCodec_win32.h"
#include "player/dialogs/CheckNewVersion_win32.h"
#include "player/playback/Media.h"
#include "player/shell/Codecs_win32.h"
#include "player/shell/Main_win32.h"
#include "player/shell/UpdateCheck.h"
#include "player/shell/UpdateCheck_win32.h"

namespace orves {

namespace {

// The reply's text as it is meant: UTF-8 when it is valid UTF-8, else the
// system's code page.
std::wstring ReplyText(const std::string& text) {
  if (std::optional<std::wstring> wide = ExactToWide(CP_UTF8, text)) {
    return *wide;
  }
  return AnsiToWide(text);
}

}  // namespace

void TfrmMain::Install(bool withCodecs) {
  TSystemRegistry registry;
  RemoveRegistration(registry, /*restore=*/false);
  RegisterFileTypes(registry, WideToUtf8(programFolder_));
  if (withCodecs) {
    TSystemCodecs codecs;
    InstallCodecs(codecs);
  }
}

void TfrmMain::UnInstall(bool withCodecs) {
  TSystemRegistry registry;
  RemoveRegistration(registry, /*restore=*/true);
  if (withCodecs && MessageBoxW(Handle(), L"설치하기이전에 있던 코덱까지 완전히 삭제하시겠습니까?",
                                kApplicationTitleW, MB_YESNO | MB_ICONQUESTION) == IDYES) {
    TSystemCodecs codecs;
    RemoveCodecs(codecs);
  }
}

void TfrmMain::CheckCaptionCodec() {
  TSystemRegistry registry;
  if (captionCodecForm_ == nullptr || !CaptionCodecInstalled(registry)) {
    return;
  }
  const InputScope input(*this);
  const TfrmCheckCaptionCodec::Answer answer = captionCodecForm_->Ask(main_.checkCaptionCodec);
  main_.checkCaptionCodec = answer.checkCaptionCodec;
  if (answer.remove) {
    TSystemCodecs codecs;
    UnregisterCaptionCodecs(registry, codecs);
  }
}

// Nothing is fetched while no web host is set.
void TfrmMain::StartUpdateCheck() {
  if (main_.webHost.empty() || updateCheck_ != nullptr) {
    return;
  }
  updateCheck_ = std::make_unique<TCheckNewVersion>(
      Handle(), Utf8ToWide(WebAddress(main_.webHost, kVersionPage)), kUpdateTimeoutMs);
}

void TfrmMain::OnUpdateReply() {
  const std::optional<std::string> reply = updateCheck_ != nullptr ? updateCheck_->TakeReply() : std::nullopt;
  if (!reply || !main_.checkNewVersion || newVersionForm_ == nullptr || media_ == nullptr) {
    return;
  }
  const std::optional<UpdateOffer> offer = OfferToShow(*reply, kVersionText);
  if (!offer) {
    return;
  }
  const InputScope input(*this);
  media_->Pause();
  const TfrmCheckNewVersion::Answer answer = newVersionForm_->Ask(
      {Utf8ToWide(main_.webHost), ReplyText(offer->version), ReplyText(offer->notes), main_.checkNewVersion});
  main_.checkNewVersion = answer.checkNewVersion;
  if (answer.choice == TfrmCheckNewVersion::Choice::No) {
    return;
  }
  MessageBoxW(Handle(), L"다운로드가 시작되면 열기를 누르세요!", kApplicationTitleW, MB_OK);
  const bool withCodec = answer.choice == TfrmCheckNewVersion::Choice::PlayerWithCodec;
  OpenWebHostPage(main_.webHost, withCodec ? kDownloadWithCodecPage : kDownloadPage);
  PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

}  // namespace orves
