#pragma once
// TfrmConfig ("환경 설정"): the modal options dialog. For now it offers only
// its two closing buttons; its tabs arrive with the options themselves.
#include "player/dialogs/Form_win32.h"

namespace orves {

class TfrmConfig final : public Form {
 public:
  TfrmConfig();

 protected:
  void CreateControls() override;
};

}  // namespace orves
