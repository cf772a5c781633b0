#include "player/shell/ControllerLinks_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "player/captions/CaptionView.h"
#include "player/playback/DirectShowPlayer_win32.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/playback/StateText.h"
#include "player/core/AppInfo.h"
#include "player/shell/MainDialogs_win32.h"
#include "player/shell/MainSettings.h"
#include "player/core/Paths.h"
#include "player/window/FileSystem_win32.h"
#include "player/core/TextConvert_win32.h"
#include "player/window/Layout.h"
#include "player/window/PlayList.h"
#include "player/window/Skin.h"

namespace orves {

namespace {

// The desktop's command sent before a skin change.
constexpr WPARAM kDesktopSkinCommand = 106597;

std::string AnsiToUtf8(const std::string& ansi) { return WideToUtf8(AnsiToWide(ansi)); }

std::wstring StartFolder(const std::string& folder) {
  return AnsiToWide(NearestExistingFolder(folder, &Win32FileSystem::FolderExists));
}

std::optional<std::string> ToAnsi(const std::optional<std::wstring>& wide) {
  if (!wide) return std::nullopt;
  return WideToAnsi(*wide);
}

}  // namespace

// ---- media -------------------------------------------------------------------

bool ControllerLinks::HasPicture() const { return o_.media->HasPicture(); }
int ControllerLinks::PlayState() const { return o_.media->PlayState(); }
double ControllerLinks::CurrentPosition() const { return o_.media->CurrentPosition(); }
double ControllerLinks::Duration() const { return o_.media->Duration(); }
void ControllerLinks::Play() { o_.media->Play(); }
void ControllerLinks::Pause() { o_.media->Pause(); }
void ControllerLinks::Stop() { o_.media->Stop(); }
void ControllerLinks::FastFind() { o_.media->FastFind(); }
void ControllerLinks::Rewind() { o_.media->Rewind(); }
void ControllerLinks::FastFind2() { o_.media->FastFind2(); }
void ControllerLinks::Rewind2() { o_.media->Rewind2(); }
void ControllerLinks::SpeedUp() { o_.media->SpeedUp(); }
void ControllerLinks::SpeedDown() { o_.media->SpeedDown(); }
void ControllerLinks::ToggleCaption() { o_.media->ToggleCaption(); }
bool ControllerLinks::CaptionsOn() const { return o_.media->CaptionsOn(); }
int ControllerLinks::ShortStep() const { return o_.media->ShortStep(); }
int ControllerLinks::LongStep() const { return o_.media->LongStep(); }
void ControllerLinks::ResumeBookmark() { o_.media->ResumeBookmark(); }
void ControllerLinks::SaveBookmark() { o_.media->SaveBookmark(); }
void ControllerLinks::ShowPlayingMessage() { o_.media->ShowPlayingMessage(); }
void ControllerLinks::OpenAddress(const std::string& address) {
  o_.media->Open(AnsiToUtf8(address), std::string());
}

// ---- movie -------------------------------------------------------------------

void ControllerLinks::VolumeUp() { o_.movie->VolumeUp(); }
void ControllerLinks::VolumeDown() { o_.movie->VolumeDown(); }
void ControllerLinks::BrightnessUp() { o_.movie->BrightnessUp(); }
void ControllerLinks::BrightnessDown() { o_.movie->BrightnessDown(); }
void ControllerLinks::AddCuttingBlock() { o_.movie->AddCuttingBlock(); }
void ControllerLinks::MinusCuttingBlock() { o_.movie->MinusCuttingBlock(); }
int ControllerLinks::StreamCount() const { return o_.player->StreamCount(); }
std::string ControllerLinks::StreamName(int stream) const { return o_.player->GetStreamName(stream); }
bool ControllerLinks::StreamSelected(int stream) const { return o_.player->GetStreamSelected(stream); }
void ControllerLinks::SelectAudioStream(int stream) { o_.movie->SelectAudioStream(stream); }

// ---- playlist ----------------------------------------------------------------

void ControllerLinks::Clear() { o_.playList->Clear(); }
void ControllerLinks::Add(const std::string& path) { o_.playList->Add(path); }
void ControllerLinks::Delete(int index) { o_.playList->Delete(index); }
void ControllerLinks::DeleteMissing() { o_.playList->DeleteMissing(); }
void ControllerLinks::PlayIndex(int index) { o_.playList->PlayIndex(index); }
void ControllerLinks::PlayCurrent() { o_.playList->PlayCurrent(); }
void ControllerLinks::PlayNext() { o_.playList->PlayNext(); }
void ControllerLinks::PlayPrevious() { o_.playList->PlayPrevious(); }
void ControllerLinks::SaveList(const std::string& path) { o_.playList->SaveList(path); }
int ControllerLinks::Count() const { return o_.playList->Count(); }
int ControllerLinks::Current() const { return o_.playList->Current(); }
// Menu captions are UTF-8; the list holds ANSI paths.
std::string ControllerLinks::DisplayName(int index) const {
  return AnsiToUtf8(o_.playList->DisplayName(index));
}
bool ControllerLinks::AutoSort() const { return o_.playList->autoSort; }
bool ControllerLinks::PanelEnabled() const { return o_.playList->enabled; }

// ---- layout ------------------------------------------------------------------

bool ControllerLinks::IsFullScreen() const { return o_.layout->FullScreen(); }
bool ControllerLinks::AlwaysShowFullScreenBar() const { return o_.layout->alwaysShowFullScreenBar; }

// Until the layout sizes the window by the picture, the window keeps its size
// and the picture is refit to it.
void ControllerLinks::ResizeKeepingAspect(int, int) { o_.refitPicture(); }
void ControllerLinks::ApplyStartSize(bool) { o_.refitPicture(); }

// ---- skin --------------------------------------------------------------------

std::vector<std::string> ControllerLinks::SkinNames() const {
  std::vector<std::string> names = o_.files->ListFolder(BesideProgram(o_.programFolder, "Skin"));
  std::erase_if(names, [](const std::string& n) { return n == "." || n == ".."; });
  std::sort(names.begin(), names.end(),
            [this](const std::string& a, const std::string& b) { return o_.files->CompareNoCase(a, b) < 0; });
  return names;
}

std::string ControllerLinks::CurrentSkin() const { return o_.skin->Name(); }
void ControllerLinks::LoadSkin(const std::string& name) { o_.skin->LoadSkin(name); }
int ControllerLinks::FullScreenBarHeight() const { return o_.skin->Sizes().fullScreenBarHeight; }

// ---- captions ----------------------------------------------------------------

void ControllerLinks::ShiftSync(double seconds) { o_.captions->ShiftSync(seconds); }
void ControllerLinks::SetSyncOffset(double seconds) { o_.captions->SetSyncOffset(seconds); }
void ControllerLinks::SwitchLanguage() { o_.captions->SwitchLanguage(); }
void ControllerLinks::CaptionMoveUp() { o_.captions->CaptionMoveUp(); }
void ControllerLinks::CaptionMoveDown() { o_.captions->CaptionMoveDown(); }
void ControllerLinks::ApplyPositionPreset(int preset) { o_.captions->ApplyPositionPreset(preset); }
void ControllerLinks::CaptionSizeUp() { o_.captions->SetCaptionSize(o_.captions->Settings().heightRate + 5); }
void ControllerLinks::CaptionSizeDown() {
  o_.captions->SetCaptionSize(o_.captions->Settings().heightRate - 5);
}
void ControllerLinks::OutLineRatePlus() {
  o_.captions->SetOutLineRate(o_.captions->Settings().outLineRate + 1);
}
void ControllerLinks::OutLineRateMinus() {
  o_.captions->SetOutLineRate(o_.captions->Settings().outLineRate - 1);
}
void ControllerLinks::ShadowRatePlus() { o_.captions->SetShadowRate(o_.captions->Settings().shadowRate + 1); }
void ControllerLinks::ShadowRateMinus() {
  o_.captions->SetShadowRate(o_.captions->Settings().shadowRate - 1);
}
void ControllerLinks::ToggleAntiAliase() { o_.captions->ToggleAntiAliase(); }
void ControllerLinks::ToggleFontBold() { o_.captions->ToggleFontBold(); }
bool ControllerLinks::AntiAliase() const { return o_.captions->Settings().antiAliase; }
bool ControllerLinks::FontBold() const { return o_.captions->Settings().fontBold; }
void ControllerLinks::UpdateCaption() { o_.captions->UpdateCaption(); }
std::string ControllerLinks::CaptionFileName() const {
  return WideToAnsi(o_.captions->Document().FileName().wstring());
}

// ---- state text --------------------------------------------------------------

void ControllerLinks::ShowState(const std::string& korean, const std::string& english) {
  o_.stateText->ShowState(korean, english);
}
void ControllerLinks::Tick() { o_.stateText->Tick(); }
bool ControllerLinks::ShowTime() const { return o_.stateText->ShowTime(); }
void ControllerLinks::SetShowTime(bool on) { o_.stateText->SetShowTime(on); }

// ---- window: dialogs and the shell -------------------------------------------

std::vector<std::string> ControllerLinks::ChooseMovies(MovieDialog dialog) {
  FileDialogSpec spec;
  spec.filter = kMovieFilter;
  spec.folder = StartFolder(o_.main->defaultFolderOfMovie);
  spec.flags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT;
  if (dialog == MovieDialog::Open) {
    spec.title = L"동영상 파일 열기";
    if (!o_.media->AddToRecent()) spec.flags |= OFN_DONTADDTORECENT;
  } else {
    spec.title = L"플레이리스트에 추가";
  }
  std::vector<std::string> files;
  for (const std::wstring& file : ShowOpenDialog(o_.window, spec)) {
    files.push_back(WideToAnsi(file));
  }
  return files;
}

std::optional<std::string> ControllerLinks::ChooseCaptionToOpen() {
  FileDialogSpec spec;
  spec.title = L"자막파일 열기";
  spec.filter = L"자막파일|*.smi;*.sami;*.smil;";
  spec.folder = StartFolder(o_.main->defaultFolderOfCaption);
  spec.flags = OFN_HIDEREADONLY;
  const std::vector<std::wstring> files = ShowOpenDialog(o_.window, spec);
  if (files.empty()) return std::nullopt;
  return WideToAnsi(files.front());
}

std::optional<std::string> ControllerLinks::ChoosePlayListToSave() {
  FileDialogSpec spec;
  spec.title = L"플레이 리스트 저장";
  spec.filter = L"Orve's MP 플레이 리스트 파일 (*.list)|*.list";
  spec.defaultExtension = L"list";
  spec.folder = StartFolder(o_.main->defaultFolderOfMovie);
  spec.flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  return ToAnsi(ShowSaveDialog(o_.window, spec));
}

std::optional<std::string> ControllerLinks::ChooseCaptionToSave() {
  const std::string loaded = CaptionFileName();
  FileDialogSpec spec;
  spec.title = L"자막파일 저장 (싱크조절 포함)";
  spec.filter = L"자막파일 (smi)|*.smi";
  spec.defaultExtension = L"smi";
  spec.folder = StartFolder(FolderOf(loaded));
  spec.fileName = AnsiToWide(FileNameOf(loaded));
  spec.flags = OFN_OVERWRITEPROMPT;
  return ToAnsi(ShowSaveDialog(o_.window, spec));
}

std::optional<std::string> ControllerLinks::AskAddress() {
  return ToAnsi(ShowInputBox(o_.window, L"실시간 파일 열기", L"URL"));
}

void ControllerLinks::SetDefaultMovieFolder(const std::string& folder) {
  o_.main->defaultFolderOfMovie = folder;
}
void ControllerLinks::SetDefaultCaptionFolder(const std::string& folder) {
  o_.main->defaultFolderOfCaption = folder;
}

void ControllerLinks::LoadCaptionFile(const std::string& path) {
  o_.captions->LoadCaptionFile(std::filesystem::path(AnsiToWide(path)));
}

// A caption file that cannot be written ends the command with an error box.
void ControllerLinks::SaveCaptionFile(const std::string& path) {
  const TSaveResult result = o_.captions->SaveCaptionFile(std::filesystem::path(AnsiToWide(path)));
  if (!result.ok) {
    MessageBoxW(o_.window, Utf8ToWide(result.error).c_str(), kApplicationTitleW, MB_OK | MB_ICONERROR);
  }
}

void ControllerLinks::OpenWebPage(const std::string& path) {
  const std::wstring page = AnsiToWide(std::string("http://") + kMakerWebHost + path);
  ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ControllerLinks::EditConfig() { o_.editConfig(); }

void ControllerLinks::CloseWindow() { PostMessageW(o_.window, WM_CLOSE, 0, 0); }

// Sent without waiting on a desktop that does not answer.
void ControllerLinks::NotifyDesktopOfSkinChange() {
  if (HWND desktop = FindWindowW(L"Progman", L"Program Manager")) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(desktop, WM_COMMAND, kDesktopSkinCommand, 0, SMTO_ABORTIFHUNG, 1000, &result);
  }
}

void ControllerLinks::WindowSize(int& width, int& height) const {
  const WindowBounds b = Bounds();
  width = b.width;
  height = b.height;
}

// ---- gestures ----------------------------------------------------------------

WindowBounds ControllerLinks::Bounds() const {
  RECT r{};
  GetWindowRect(o_.window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void ControllerLinks::PopupMain(int screenX, int screenY) { o_.popupMain(screenX, screenY); }
void ControllerLinks::PopupPlayList(int screenX, int screenY) { o_.popupPlayList(screenX, screenY); }
void ControllerLinks::RunAction(const char* action) { o_.runAction(action); }

void ControllerLinks::MoveWindow(int left, int top) {
  SetWindowPos(o_.window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControllerLinks::MaximizedSize(int& width, int& height) const {
  width = GetSystemMetrics(SM_CXMAXIMIZED);
  height = GetSystemMetrics(SM_CYMAXIMIZED);
}

void ControllerLinks::RepaintControl() { o_.player->Repaint(); }

void ControllerLinks::SetSizingCursor(bool sizing) {
  SetCursor(LoadCursorW(nullptr, sizing ? IDC_SIZENWSE : IDC_ARROW));
}

}  // namespace orves
