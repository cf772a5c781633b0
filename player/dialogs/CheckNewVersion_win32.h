#pragma once
// TfrmCheckNewVersion: the dialog that offers a newer version, created with
// the process and shown by the update check. It offers the player alone, the
// player with its codec bundle, or nothing, and shows and sets whether the
// check runs at start.
#include <string>

#include "player/dialogs/Form_win32.h"

namespace orves {

class TfrmCheckNewVersion final : public Form {
 public:
  TfrmCheckNewVersion() : Form(L"Orve's MP", 389, 280, /*stayOnTop=*/true) {}
  ~TfrmCheckNewVersion() override;

  enum class Choice { Player, PlayerWithCodec, No };
  struct Offer {
    std::wstring webHost;  // shown in the home-page link and the mail address
    std::wstring version;
    std::wstring notes;
    bool checkNewVersion = true;
  };
  struct Answer {
    Choice choice = Choice::No;
    bool checkNewVersion = true;
  };
  // Shows the offer modally.
  Answer Ask(const Offer& offer);

 protected:
  void CreateControls() override;
  bool OnCommand(WORD id) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND lnkHome_ = nullptr;
  HWND lnkMail_ = nullptr;
  HWND lblVersion_ = nullptr;
  HWND lblUpdate_ = nullptr;
  HWND chkReportNewVersion_ = nullptr;
  HFONT boldFont_ = nullptr;
  std::wstring webHost_;
  Choice choice_ = Choice::No;
};

}  // namespace orves
