#include "player/dialogs/Config_win32.h"

namespace orves {

namespace {
constexpr int kWidth = 420;
constexpr int kHeight = 330;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
}  // namespace

TfrmConfig::TfrmConfig() : Form(L"환경 설정", kWidth, kHeight, /*stayOnTop=*/true) {}

void TfrmConfig::CreateControls() {
  const int top = kHeight - kButtonHeight - 10;
  AddButton(L"확인", IDOK, kWidth - 2 * (kButtonWidth + 10), top, kButtonWidth, kButtonHeight, true);
  AddButton(L"취소", IDCANCEL, kWidth - (kButtonWidth + 10), top, kButtonWidth, kButtonHeight, false);
}

}  // namespace orves
