#pragma once
// TfrmCheckCaptionCodec: the dialog that offers to switch off other players'
// subtitle filters, created with the process and shown by the caption codec
// check.
#include "player/dialogs/Form_win32.h"

namespace orves {

class TfrmCheckCaptionCodec final : public Form {
 public:
  TfrmCheckCaptionCodec() : Form(L"Orve's MP", 362, 133, /*stayOnTop=*/true) {}
};

}  // namespace orves
