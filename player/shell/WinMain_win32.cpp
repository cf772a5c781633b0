// Process start of the player: the application, then the four forms in their
// order (the main window first, so it is the main form), then the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "player/dialogs/CheckCaptionCodec_win32.h"
#include "player/dialogs/CheckNewVersion_win32.h"
#include "player/dialogs/Config_win32.h"
#include "player/core/AppInfo.h"
#include "player/shell/Application_win32.h"
#include "player/shell/MainConfig.h"
#include "player/shell/MainDialogs_win32.h"
#include "player/shell/Main_win32.h"

namespace {

// Only the first argument is looked at.
std::wstring FirstArgument() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::wstring first = (args != nullptr && count > 1) ? args[1] : L"";
  LocalFree(args);
  return first;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace orves;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                   ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  TApplication application(kApplicationTitleW);
  {
    TfrmMain frmMain(application, FirstArgument());
    TfrmConfig frmConfig(PlayerDialogSettings());
    TfrmCheckNewVersion frmCheckNewVersion;
    TfrmCheckCaptionCodec frmCheckCaptionCodec;
    application.Guard([&] {
      if (!frmMain.Create()) {
        application.Terminate();
        return;
      }
      frmConfig.Create(frmMain.Handle());
      frmCheckNewVersion.Create(nullptr);
      frmCheckCaptionCodec.Create(nullptr);
      frmConfig.SetPrompt([&frmConfig](const std::wstring& title, const std::wstring& prompt) {
        return ShowInputBox(frmConfig.Handle(), title, prompt);
      });
      frmMain.SetConfigForm(&frmConfig);
      frmMain.SetCheckForms(&frmCheckNewVersion, &frmCheckCaptionCodec);
    });
    application.Run([&] { frmMain.Show(); });
    // Ends a window that was never shown (an install word, a failed start).
    frmMain.Destroy();
  }
  if (SUCCEEDED(com)) {
    CoUninitialize();
  }
  return 0;
}
