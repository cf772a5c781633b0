#pragma once
// TfrmCheckNewVersion: the dialog that offers a newer version, created with
// the process and shown by the update check.
#include "player/dialogs/Form_win32.h"

namespace orves {

class TfrmCheckNewVersion final : public Form {
 public:
  TfrmCheckNewVersion() : Form(L"Orve's MP", 389, 280, /*stayOnTop=*/true) {}
};

}  // namespace orves
