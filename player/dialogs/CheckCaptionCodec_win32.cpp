#include "player/dialogs/CheckCaptionCodec_win32.h"

namespace orves {

namespace {

constexpr WORD kIdCheck = 300;

}  // namespace

void TfrmCheckCaptionCodec::CreateControls() {
  AddControl(L"STATIC", L"자막코덱(DivXG400 또는 VobSub)이 발견되었습니다.", SS_LEFT, 0, 12, 10, 338, 16);
  AddControl(L"STATIC",
             L"자막이 두개가 나오거나 화면이 뒤집히는 현상이 일어날 수 있습니다. 삭제하시겠습니까?", SS_LEFT,
             0, 12, 30, 338, 34);
  AddButton(L"예(&Y)", IDYES, 180, 70, 80, 26, true);
  AddButton(L"아니오(&N)", IDNO, 270, 70, 80, 26, false);
  chkCheckCaptionCodec_ = AddControl(L"BUTTON", L"시작할 때 자막코덱 알림", BS_AUTOCHECKBOX | WS_TABSTOP,
                                     kIdCheck, 12, 106, 250, 18);
}

TfrmCheckCaptionCodec::Answer TfrmCheckCaptionCodec::Ask(bool checkCaptionCodec) {
  SendMessageW(chkCheckCaptionCodec_, BM_SETCHECK, checkCaptionCodec ? BST_CHECKED : BST_UNCHECKED, 0);
  Answer answer;
  answer.remove = ShowModal() == ModalResult::Ok;
  answer.checkCaptionCodec = SendMessageW(chkCheckCaptionCodec_, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return answer;
}

bool TfrmCheckCaptionCodec::OnCommand(WORD id) {
  if (id == IDYES || id == IDOK) {
    CloseWith(ModalResult::Ok);
    return true;
  }
  if (id == IDNO || id == IDCANCEL) {
    CloseWith(ModalResult::Cancel);
    return true;
  }
  return false;
}

}  // namespace orves
