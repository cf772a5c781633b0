#pragma once
// TfrmMain: the player's main window. A borderless window, created stay-on-top,
// that owns the player's long-lived objects: it constructs them in a fixed
// order when it is created, starts them in the same order, and destroys them
// in that order again (the settings object last) when it is destroyed, so each
// reads its settings section first and writes it back last. It also carries
// out the command line, plays dropped files and keeps the screen saver off.
// Keys, menus, mouse gestures and the main timer go to the controller
// (MainController.h, MouseGestures.h); what only the window can do for them
// is MainWindowPorts.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "player/captions/CaptionPorts.h"
#include "player/captions/CaptionRenderer_win32.h"
#include "player/core/LateServices.h"
#include "player/core/MouseAction.h"
#include "player/core/Window_win32.h"
#include "player/playback/DirectShowPlayer_win32.h"
#include "player/controller/MainController.h"
#include "player/controller/MouseGestures.h"
#include "player/playback/MoviePanel_win32.h"
#include "player/playback/StateTextPanel_win32.h"
#include "player/shell/CommandLine.h"
#include "player/shell/MainWindowPorts_win32.h"
#include "player/shell/MainSettings.h"
#include "player/shell/StayAwake.h"
#include "player/shell/SystemSleep_win32.h"
#include "player/window/FileSystem_win32.h"
#include "player/window/FullScreenDisplay_win32.h"
#include "player/window/FullScreenPlacement_win32.h"
#include "player/window/Layout.h"
#include "player/window/PlayList.h"
#include "player/window/PlayListPanel_win32.h"
#include "player/window/SkinPainter_win32.h"

namespace orves {

class ITextCodec;
class TApplication;
class TCaptionView;
class TCheckNewVersion;
class TfrmCheckCaptionCodec;
class TfrmCheckNewVersion;
class TfrmConfig;
class TMedia;
class TMovie;
class TSetup;
class TSkin;
class TStateText;

class TfrmMain final : public TWindow,
                       private ILayoutWindow,
                       private IPlayListMedia,
                       private IMediaPlayerEvents,
                       private IMovieWindowEvents,
                       private IMessageBox,
                       private IMainForm {
 public:
  // `firstArgument` is the first command-line argument ("" when none).
  TfrmMain(TApplication& application, std::wstring firstArgument);
  ~TfrmMain() override;
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // Creates the (hidden) window and runs the creation steps. False when the
  // window itself cannot be created.
  bool Create();
  // Shows the window and runs the showing steps.
  void Show();

  // The options dialog, created after the main window.
  void SetConfigForm(TfrmConfig* config) { config_ = config; }
  // The new-version and caption codec dialogs, created after the main window.
  void SetCheckForms(TfrmCheckNewVersion* newVersion, TfrmCheckCaptionCodec* captionCodec) {
    newVersionForm_ = newVersion;
    captionCodecForm_ = captionCodec;
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT HandleFormMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();

  void CreateControls();
  void ConstructObjects();
  void BindObjects();
  void StartObjects();
  void DestroyObjects();
  void PlaceWindow();
  void CarryOutStartWord(StartWord word);
  // The registry and codec work of the install words (MainChecks_win32.cpp).
  void Install(bool withCodecs);
  void UnInstall(bool withCodecs);
  // The start-up checks and the update check's reply (MainChecks_win32.cpp).
  void CheckCaptionCodec();
  void StartUpdateCheck();
  void OnUpdateReply();
  void MakeController();
  ControllerServices Services();
  void OnDropFiles(HDROP drop);
  void OnTimer();
  // The desktop's side (MainDesktop_win32.cpp): media keys and application
  // commands, the title and the display kept awake, a change of scale.
  bool RunAppCommand(int command);
  void UpdateDesktopState();
  void OnDpiChanged(const RECT& suggested);

  // Keys, menus and the mouse (MainInput_win32.cpp).
  bool OnKey(UINT message, WPARAM key, LPARAM flags);
  bool OnMouse(UINT message, WPARAM keys, POINT screen, MouseTarget target, int thumb = -1);
  void RunAction(const char* action);
  // The playlist panel's clicks and keys (MainInput_win32.cpp).
  void BindPlayListPanel();

  // ILayoutWindow (the layout's part in MainLayout_win32.cpp)
  void ClientSize(int& width, int& height) const override;
  void SetWindowSize(int width, int height) override;
  ScreenRect WindowRect() const override;
  ScreenRect WorkArea() const override;
  void MoveWindowTo(int left, int top) override;
  bool IsMaximized() const override;
  void Maximize() override;
  void RestoreWindow() override;
  void MinimizeApplication() override;
  void PaintSkin() override;
  void PlaceMediaPanel(const PanelRect& rect) override;
  void PlaceFullScreenBar(const PanelRect& rect) override;
  void SetFullScreenBarVisible(bool visible) override;
  void SetMovieVisible(bool visible) override;
  void SetCaptionVisible(bool visible) override;
  bool CaptionPanelVisible() const override { return pnlCaption_.Visible(); }
  PictureSize Picture() const override;
  void RefitPicture(bool evenHidden = false) override;
  void RefreshCaptions() override;
  // IPlayListMedia
  bool OpenMovie(const std::string& movie, const std::vector<std::string>& captions) override;
  void CloseMedia() override;
  bool SmartCaptionFinding() const override;
  // IMediaPlayerEvents
  void OnPlayStateChange(int oldState, int newState) override;
  void OnBuffering(bool start) override;
  // IMovieWindowEvents
  void OnMovieMouse(UINT message, WPARAM keys, POINT screen) override;
  void OnMovieFocus() override;
  // IMessageBox
  void ShowInformation(const std::string& title, const std::string& text) override;
  // IMainForm: the options dialog, the preset commands, the popup menus
  // (the menus in MainInput_win32.cpp).
  void EditConfig() override;
  void ApplyPreset(int number) override;
  void PopupMain(int screenX, int screenY) override;
  void PopupPlayList(int screenX, int screenY) override;

  TApplication& application_;
  std::wstring firstArgument_;
  HBRUSH formBrush_ = nullptr;
  TfrmConfig* config_ = nullptr;
  TfrmCheckNewVersion* newVersionForm_ = nullptr;
  TfrmCheckCaptionCodec* captionCodecForm_ = nullptr;
  // The running update check, from the first showing until the window goes.
  std::unique_ptr<TCheckNewVersion> updateCheck_;
  std::wstring programFolder_;
  Win32FileSystem files_;
  FullScreenDisplay display_;
  FullScreenPlacement fullScreenPlacement_;
  MainSettings main_;
  bool mainRead_ = false;
  std::unique_ptr<ITextCodec> codec_;
  // The gesture under way, read by the layout and the skin.
  TMouseAction mouseAction_;
  // The services of objects made after the ones that use them, bound in
  // BindObjects.
  LateStateText lateStateText_;
  LateMediaView lateMedia_;
  LateBound<TMovie> lateMovie_;
  LateSkinPlayback lateSkinPlayback_;
  LateBound<const TCaptionView> lateCaptionView_;
  // The display kept awake while a movie plays, and the title last shown.
  SystemSleep systemSleep_;
  TStayAwake stayAwake_{systemSleep_};
  std::string title_;

  // Controls: pnlMedia inside the skin margins, pnlMovie filling it,
  // pnlInnerMovie holding the media player control, and the state text line.
  MoviePanel pnlMedia_;
  MoviePanel pnlMovie_;
  MoviePanel pnlInnerMovie_;
  DirectShowPlayer mpMovie_;
  StateTextPanel pnlStateText_;
  PlayListPanel pnlPlayList_;  // below the state text, left of the picture
  CaptionPanel pnlCaption_;    // over the picture's lower edge
  std::unique_ptr<MoviePanels> moviePanels_;
  std::unique_ptr<MediaPanels> mediaPanels_;

  // The skin's drawing, thumbs and full-screen bar; outlives the skin object.
  std::unique_ptr<SkinPainter> skinPainter_;
  void CreateSkinPainter();

  // The long-lived objects, in their order of construction.
  std::unique_ptr<TSetup> setup_;
  std::unique_ptr<TSkin> skin_;
  std::unique_ptr<TPlayList> playList_;
  std::unique_ptr<TLayout> layout_;
  std::unique_ptr<TCaptionView> captionView_;
  std::unique_ptr<TMedia> media_;
  std::unique_ptr<TMovie> movie_;
  std::unique_ptr<TStateText> stateText_;

  // The controller over the objects above; made after them, gone before them.
  std::unique_ptr<MainWindowPorts> ports_;
  std::unique_ptr<TMainController> controller_;
  std::unique_ptr<TMouseGestures> gestures_;
  // An Alt key that ran an action also sends a character, which must not beep.
  bool swallowSysChar_ = false;
  // Input being handled (nested while a command waits in a dialog or menu),
  // and a close that arrived meanwhile and waits for the command to end.
  int inputDepth_ = 0;
  bool closePending_ = false;
  // Keys pressed while a command waited in a dialog or menu belong to it,
  // even when they reach this window only after it closed: the input time
  // at which the last such wait ended.
  bool waitedForInput_ = false;
  DWORD waitEndedAt_ = 0;
  class InputScope {
   public:
    explicit InputScope(TfrmMain& form);
    ~InputScope();
    InputScope(const InputScope&) = delete;
    InputScope& operator=(const InputScope&) = delete;

   private:
    TfrmMain& form_;
  };
};

}  // namespace orves
