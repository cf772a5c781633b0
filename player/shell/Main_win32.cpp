#include "player/shell/Main_win32.h"

#include <imm.h>
#include <windowsx.h>
#include <shellapi.h>

#include <filesystem>
#include <vector>

#include "player/captions/CaptionView.h"
#include "player/core/TextCodec.h"
#include "player/dialogs/Config_win32.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/playback/StateText.h"
#include "player/core/AppInfo.h"
#include "player/shell/Application_win32.h"
#include "player/shell/UpdateCheck_win32.h"
#include "player/shell/Codecs_win32.h"
#include "player/shell/ConfigMaintenance.h"
#include "player/shell/MainConfig.h"
#include "player/core/Paths.h"
#include "player/core/Registry_win32.h"
#include "player/core/Dpi_win32.h"
#include "player/core/SettingsFolder_win32.h"
#include "player/core/Setup.h"
#include "player/core/TextConvert_win32.h"
#include "player/window/DroppedFolder.h"
#include "player/window/Skin.h"

namespace orves {

namespace {

constexpr const wchar_t* kClassName = L"TfrmMain";
constexpr UINT_PTR kTimerMain = 1;
constexpr UINT kTimerMainInterval = 200;
constexpr int kIdMedia = 100;
constexpr int kIdMovie = 101;
constexpr int kIdInnerMovie = 102;
constexpr int kIdStateText = 103;
constexpr int kIdPlayList = 105;
constexpr int kIdCaption = 104;
// The window's colour until a skin sets its own (the skin's FormColor default).
constexpr COLORREF kFormColor = 0xEBEBEB;

}  // namespace

TfrmMain::TfrmMain(TApplication& application, std::wstring firstArgument)
    : application_(application),
      firstArgument_(std::move(firstArgument)),
      codec_(MakeSystemTextCodec()),
      pnlCaption_(lateCaptionView_, *codec_, mpMovie_) {}

TfrmMain::~TfrmMain() {
  Destroy();
  if (formBrush_ != nullptr) {
    DeleteObject(formBrush_);
  }
}

bool TfrmMain::Create() {
  formBrush_ = CreateSolidBrush(kFormColor);
  const WindowClassSpec windowClass{kClassName, CS_DBLCLKS, formBrush_,
                                    LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1))};
  // No frame of its own: the skin draws it. Created stay-on-top; the creation
  // steps make it a normal window when the layout says so.
  if (!CreateWindowOf(windowClass, WS_EX_TOPMOST | WS_EX_APPWINDOW,
                      WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, L"", RECT{200, 200, 520, 400},
                      nullptr)) {
    return false;
  }
  FormCreate();
  return true;
}

void TfrmMain::Show() {
  ShowWindow(Handle(), SW_SHOW);
  FormShow();
}

// ---- creation ------------------------------------------------------------

void TfrmMain::FormCreate() {
  const std::wstring executable = ExecutablePath();
  const size_t slash = executable.find_last_of(L'\\');
  programFolder_ = slash == std::wstring::npos ? std::wstring() : executable.substr(0, slash);
  SetWindowTextW(Handle(), kApplicationTitleW);
  CreateControls();
  ConstructObjects();
  BindObjects();
  StartObjects();
  SetWindowPos(Handle(), layout_->alwaysTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  application_.InstallScreenSaverFilter();
  // Keys go straight to the shortcuts: no input-method composition here.
  ImmAssociateContext(Handle(), nullptr);
  main_ = MainSettings::Read(*setup_);
  mainRead_ = true;
  PlaceWindow();
  DragAcceptFiles(Handle(), TRUE);
  CarryOutStartWord(ClassifyFirstArgument(WideToUtf8(firstArgument_)));
  const std::string start = std::string("Orve's MP v") + kVersionText;
  stateText_->ShowState(start, start);
}

void TfrmMain::CreateControls() {
  pnlMedia_.Create(Handle(), kIdMedia);
  pnlMovie_.Create(pnlMedia_.Handle(), kIdMovie);
  pnlInnerMovie_.Create(pnlMovie_.Handle(), kIdInnerMovie, /*fillChildren=*/true);
  mpMovie_.Create(pnlInnerMovie_.Handle());
  mpMovie_.SetEvents(this);
  mpMovie_.SetWindowEvents(this);
  moviePanels_ = std::make_unique<MoviePanels>(pnlMovie_, pnlInnerMovie_, &mpMovie_);
  pnlCaption_.Create(pnlMedia_.Handle(), kIdCaption, pnlMovie_.Handle());
  pnlStateText_.Create(pnlMedia_.Handle(), kIdStateText);
  mediaPanels_ =
      std::make_unique<MediaPanels>(pnlMedia_, pnlMovie_, pnlCaption_.Handle(), pnlStateText_.Handle());
  CreateSkinPainter();
  // Over the picture, not under it.
  SetWindowPos(pnlStateText_.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  pnlPlayList_.Create(pnlMedia_.Handle(), kIdPlayList, pnlStateText_.Handle());
}

// The thumbs' and the full-screen bar's mouse goes where the window's does;
// the skin's colours go to the panels that take them.
void TfrmMain::CreateSkinPainter() {
  SkinPainterEvents events;
  events.thumbMouse = [this](int bar, UINT message, WPARAM keys, POINT screen) {
    if (controller_ != nullptr) OnMouse(message, keys, screen, MouseTarget::Thumb, bar);
  };
  events.barMouse = [this](UINT message, WPARAM keys, POINT screen) {
    if (controller_ != nullptr) OnMouse(message, keys, screen, MouseTarget::Window);
  };
  events.colours = [this](const SkinValues& values) {
    pnlStateText_.SetColours(kStateTextPanelColour, values.stateTextColor);
    pnlPlayList_.SetColors(values.playListColor, values.playListFontColor);
  };
  skinPainter_ = std::make_unique<SkinPainter>(Handle(), std::move(events));
  skinPainter_->CreateControls();
}

// The settings file, the bookmarks (beside the settings file) and the default
// list live in the folder chosen once here; the skins stay beside the program.
void TfrmMain::ConstructObjects() {
  const std::filesystem::path settingsFolder =
      ChooseSettingsFolder(programFolder_, UserAppDataFolder(), Win32FolderAccess());
  const std::string programFolder = WideToUtf8(programFolder_);

  setup_ = std::make_unique<TSetup>(settingsFolder / TSetup::SettingsFileName);
  skin_ = std::make_unique<TSkin>(*setup_, files_, BesideProgram(programFolder, "Skin"),
                                  TSkinServices{*skinPainter_, lateSkinPlayback_, mouseAction_});
  IPlayListMedia& playListMedia = *this;
  ILayoutWindow& layoutWindow = *this;
  ICaptionRenderer& captionPanel = pnlCaption_;
  IMessageBox& messageBox = *this;
  playList_ = std::make_unique<TPlayList>(
      *setup_, WideToUtf8((settingsFolder / TPlayList::kDefaultListName).wstring()),
      TPlayListServices{files_, playListMedia, pnlPlayList_, lateStateText_});
  layout_ = std::make_unique<TLayout>(*setup_, *skin_,
                                      TLayoutServices{layoutWindow, display_, lateStateText_, mouseAction_});
  captionView_ = std::make_unique<TCaptionView>(
      *setup_, *codec_, TCaptionViewServices{lateStateText_, captionPanel, *layout_, lateMedia_, messageBox});
  media_ = std::make_unique<TMedia>(*setup_, TMediaServices{mpMovie_, lateStateText_, *captionView_, *skin_,
                                                            *playList_, *layout_, *mediaPanels_, lateMovie_});
  movie_ = std::make_unique<TMovie>(
      *setup_, TMovieServices{mpMovie_, *moviePanels_, *layout_, *skin_, *media_, lateStateText_});
  stateText_ = std::make_unique<TStateText>(*setup_, pnlStateText_, *media_);
}

// The services of objects made after the objects that use them: TStateText
// (made last), TMedia (after the caption view), TMovie (after TMedia, and
// what the skin shows of playback) and the caption view (after its panel).
void TfrmMain::BindObjects() {
  lateStateText_.Bind(*stateText_);
  lateMedia_.Bind(*media_);
  lateMovie_.Bind(*movie_);
  lateSkinPlayback_.Bind(*movie_);
  lateCaptionView_.Bind(*captionView_);
  pnlMovie_.SetOnResize([&movie = *movie_](int, int) { movie.FitInnerPanel(); });
  MakeController();
}

ControllerServices TfrmMain::Services() {
  return ControllerServices{*media_, *movie_,       mpMovie_,    *playList_, *layout_,
                            *skin_,  *captionView_, *stateText_, *ports_};
}

void TfrmMain::MakeController() {
  ports_ = std::make_unique<MainWindowPorts>(
      MainWindowParts{Handle(), main_, *media_, *captionView_, *stateText_, mpMovie_, *this, pnlPlayList_});
  controller_ = std::make_unique<TMainController>(Services());
  gestures_ = std::make_unique<TMouseGestures>(
      TMouseGestureServices{*ports_, *layout_, *skin_, *media_, *controller_, mouseAction_});
  BindPlayListPanel();
}

void TfrmMain::StartObjects() {
  skin_->LoadSkinFromSettings();
  playList_->Start();
  layout_->Start();
  captionView_->ClearCaptions();
  media_->Start();
  movie_->Start();
  stateText_->ResetCountdown();
}

void TfrmMain::PlaceWindow() {
  const WindowPlace place =
      ClampWindowPlace(main_, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
  SetWindowPos(Handle(), nullptr, place.left, place.top, place.width, place.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// Each start word does its work and ends the program before the window is
// shown; "Help" opens the help page of the web host, when one is set.
void TfrmMain::CarryOutStartWord(StartWord word) {
  if (!EndsProgram(word)) {
    return;
  }
  switch (word) {
    case StartWord::Help:
      OpenWebHostPage(main_.webHost, kHelpPage);
      break;
    case StartWord::Install:
    case StartWord::InstallWithCodec:
      Install(word == StartWord::InstallWithCodec);
      break;
    case StartWord::UnInstall:
    case StartWord::UnInstallWithCodec:
      UnInstall(word == StartWord::UnInstallWithCodec);
      break;
    default:
      break;
  }
  application_.Terminate();
}

// ---- showing -------------------------------------------------------------

void TfrmMain::FormShow() {
  skinPainter_->ShapeThumbs();
  SetTimer(Handle(), kTimerMain, kTimerMainInterval, nullptr);
  SetForegroundWindow(Handle());
  if (main_.checkCaptionCodec) {
    CheckCaptionCodec();
  }
  if (IsFirstStartOfVersion(ReadLastVersion(*setup_), kVersionText)) {
    main_.checkNewVersion = true;
    EditConfig();
    // The window may have been closed (and the objects destroyed) while the
    // dialog was open.
    if (setup_ == nullptr) {
      return;
    }
  }
  WriteLastVersion(*setup_, kVersionText);
  if (main_.checkNewVersion) {
    StartUpdateCheck();
  }
  if (!firstArgument_.empty()) {
    playList_->Clear();
    playList_->Add(WideToUtf8(firstArgument_));
    playList_->PlayIndex(0);
  }
}

// Pauses the movie, fills the dialog from the objects, leaves full screen,
// and applies the dialog when it closes with OK.
void TfrmMain::EditConfig() {
  if (config_ == nullptr || setup_ == nullptr) {
    return;
  }
  TSystemRegistry registry;
  TMainConfigTarget target(
      {*setup_, main_, *playList_, *layout_, *captionView_, *media_, *movie_, *stateText_, registry});
  if (media_->HasPicture()) {
    media_->Pause();
  }
  ConfigValues values = FillConfig(target);
  if (layout_->IsFullScreen()) {
    layout_->ToggleFullScreen();
  }
  TSystemCodecs codecs;
  TConfigMaintenance maintenance(registry, codecs, media_->Bookmarks().Path());
  const ModalResult result = config_->Edit(values, main_.webHost, maintenance);
  // The window may have been closed, and the objects destroyed, meanwhile.
  if (result != ModalResult::Ok || setup_ == nullptr) {
    return;
  }
  FinishConfig(values, target, *stateText_);
}

// The preset commands do what the dialog's preset buttons do, without the
// dialog.
void TfrmMain::ApplyPreset(int number) {
  const std::optional<ConfigPreset> preset = PresetNumbered(number);
  if (!preset || setup_ == nullptr) {
    return;
  }
  TSystemRegistry registry;
  TMainConfigTarget target(
      {*setup_, main_, *playList_, *layout_, *captionView_, *media_, *movie_, *stateText_, registry});
  ApplyPresetNow(*preset, target, *stateText_);
}

// ---- closing and destruction ---------------------------------------------

void TfrmMain::FormClose() {
  if (media_ == nullptr || layout_ == nullptr) {
    return;
  }
  media_->Close();
  if (layout_->IsFullScreen()) {
    layout_->LeaveFullScreen();
  }
}

void TfrmMain::FormDestroy() {
  KillTimer(Handle(), kTimerMain);
  updateCheck_.reset();
  gestures_.reset();
  controller_.reset();
  ports_.reset();
  RECT bounds;
  if (GetWindowRect(Handle(), &bounds)) {
    main_.left = bounds.left;
    main_.top = bounds.top;
    main_.width = bounds.right - bounds.left;
    main_.height = bounds.bottom - bounds.top;
  }
  // A start that failed before reading the section must not overwrite it.
  if (mainRead_) {
    main_.Write(*setup_);
  }
  DestroyObjects();
}

// Each object writes its section as it goes; the settings file goes last.
void TfrmMain::DestroyObjects() {
  skin_.reset();
  playList_.reset();
  layout_.reset();
  captionView_.reset();
  media_.reset();
  movie_.reset();
  stateText_.reset();
  setup_.reset();
}

// ---- events --------------------------------------------------------------

void TfrmMain::OnDropFiles(HDROP drop) {
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  if (count > 0) {
    SetForegroundWindow(Handle());
    playList_->Clear();
    for (UINT i = 0; i < count; ++i) {
      // The whole path, however long: a path cut at a fixed length would name
      // another file.
      std::vector<wchar_t> path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
      DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size()));
      for (const std::string& movie : ExpandDroppedPath(files_, WideToUtf8(path.data()))) {
        playList_->Add(movie);
      }
    }
    playList_->PlayIndex(0);
  }
  DragFinish(drop);
}

void TfrmMain::OnTimer() {
  POINT cursor{};
  GetCursorPos(&cursor);
  controller_->OnTimer(TickInput{cursor.x, cursor.y, GetForegroundWindow() == Handle()});
  UpdateDesktopState();
}

bool TfrmMain::OpenMovie(const std::string& movie, const std::vector<std::string>& captions) {
  std::vector<std::filesystem::path> files;
  for (const std::string& caption : captions) {
    if (!caption.empty()) files.push_back(files_.ToFsPath(caption));
  }
  const bool opened = media_->Open(movie, files);
  RefitPicture();
  return opened;
}

void TfrmMain::CloseMedia() { media_->Close(); }

bool TfrmMain::SmartCaptionFinding() const { return captionView_->Settings().smartCaptionFinding; }

void TfrmMain::ShowInformation(const std::string& title, const std::string& text) {
  MessageBoxW(Handle(), Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

void TfrmMain::OnPlayStateChange(int oldState, int newState) {
  if (controller_ != nullptr) {
    controller_->OnPlayStateChange(oldState, newState);
  }
}

void TfrmMain::OnBuffering(bool start) {
  if (controller_ != nullptr) {
    controller_->OnBuffering(start);
  }
}

// ---- layout --------------------------------------------------------------

void TfrmMain::ClientSize(int& width, int& height) const {
  RECT client = {};
  GetClientRect(Handle(), &client);
  width = client.right;
  height = client.bottom;
}

// The skin paints the whole window, background included, with its texts and
// thumbs placed for the window's size.
void TfrmMain::PaintSkin() {
  if (skin_ != nullptr) {
    skin_->PaintTexts();
    skin_->PlaceThumbs();
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TfrmMain::PlaceMediaPanel(const PanelRect& rect) {
  pnlMedia_.SetBounds(rect.left, rect.top, rect.width, rect.height);
}

// The media object places the picture and the state text inside the media
// panel by the picture's aspect and cropping.
void TfrmMain::RefitPicture(bool evenHidden) {
  if (media_ != nullptr) {
    media_->FitPicture(evenHidden);
  }
}

// ---- window procedure ----------------------------------------------------

// Every message runs inside the application's guard.
LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  application_.Guard([&] { result = HandleFormMessage(message, wParam, lParam); });
  return result;
}

LRESULT TfrmMain::HandleFormMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (application_.Filters(message, wParam)) {
    return 0;
  }
  if (controller_ != nullptr) {
    const InputScope input(*this);
    if (OnKey(message, wParam, lParam)) {
      return 0;
    }
    if (message == WM_APPCOMMAND && RunAppCommand(GET_APPCOMMAND_LPARAM(lParam))) {
      return TRUE;
    }
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (message != WM_MOUSEWHEEL && message != WM_MOUSEHWHEEL) {
        ClientToScreen(Handle(), &screen);
      }
      if (OnMouse(message, wParam, screen, MouseTarget::Window)) {
        return 0;
      }
    }
  }
  switch (message) {
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kUpdateReplyMessage:
      OnUpdateReply();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerMain) {
        OnTimer();
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(Handle(), &ps);
      if (skinPainter_ != nullptr) skinPainter_->Paint(dc);
      EndPaint(Handle(), &ps);
      return 0;
    }
    case WM_SIZE:
      if (layout_ != nullptr && wParam != SIZE_MINIMIZED) {
        layout_->Arrange();
      }
      break;
    case WM_CLOSE:
      // A command waiting in a dialog or menu still works on the objects a
      // close destroys: the close comes once the command has ended.
      if (inputDepth_ > 0) {
        closePending_ = true;
        return 0;
      }
      FormClose();
      DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      if (setup_ != nullptr) {
        FormDestroy();
      }
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return TWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace orves
