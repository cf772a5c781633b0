#pragma once
// TfrmConfig ("환경 설정"): the modal options dialog with its OK and Cancel
// buttons.
#include "player/dialogs/Form_win32.h"

namespace orves {

class TfrmConfig final : public Form {
 public:
  TfrmConfig();

 protected:
  void CreateControls() override;
};

}  // namespace orves
