#pragma once
// TfrmCheckCaptionCodec: the dialog that offers to switch off other players'
// subtitle filters, created with the process and shown by the caption codec
// check. It also shows and sets whether the check runs at start.
#include "player/dialogs/Form_win32.h"

namespace orves {

class TfrmCheckCaptionCodec final : public Form {
 public:
  TfrmCheckCaptionCodec() : Form(L"Orve's MP", 362, 133, /*stayOnTop=*/true) {}

  struct Answer {
    bool remove = false;
    bool checkCaptionCodec = true;
  };
  // Shows the question modally with the check box set to `checkCaptionCodec`.
  Answer Ask(bool checkCaptionCodec);

 protected:
  void CreateControls() override;
  bool OnCommand(WORD id) override;

 private:
  HWND chkCheckCaptionCodec_ = nullptr;
};

}  // namespace orves
