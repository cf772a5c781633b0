#include "player/shell/MainWindowPorts_win32.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "player/captions/CaptionView.h"
#include "player/playback/DirectShowPlayer_win32.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/playback/StateText.h"
#include "player/core/AppInfo.h"
#include "player/core/CaptionNames.h"
#include "player/shell/MainDialogs_win32.h"
#include "player/shell/MainSettings.h"
#include "player/core/Paths.h"
#include "player/window/FileSystem_win32.h"
#include "player/core/TextConvert_win32.h"
#include "player/window/Layout.h"
#include "player/window/PlayList.h"
#include "player/window/PlayListPanel_win32.h"
#include "player/window/Skin.h"

namespace orves {

namespace {

// The desktop's command sent before a skin change.
constexpr WPARAM kDesktopSkinCommand = 106597;

std::wstring StartFolder(const std::string& folder) {
  return Utf8ToWide(NearestExistingFolder(folder, &Win32FileSystem::FolderExists));
}

std::optional<std::string> ToUtf8(const std::optional<std::wstring>& wide) {
  if (!wide) return std::nullopt;
  return WideToUtf8(*wide);
}

}  // namespace

// ---- window: dialogs and the shell -------------------------------------------

std::vector<std::string> MainWindowPorts::ChooseMovies(MovieDialog dialog) {
  FileDialogSpec spec;
  spec.filter = MovieFilter();
  spec.folder = StartFolder(p_.main.defaultFolderOfMovie);
  spec.flags = OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT;
  if (dialog == MovieDialog::Open) {
    spec.title = L"동영상 파일 열기";
    if (!p_.media.AddToRecent()) spec.flags |= OFN_DONTADDTORECENT;
  } else {
    spec.title = L"플레이리스트에 추가";
  }
  std::vector<std::string> files;
  for (const std::wstring& file : ShowOpenDialog(p_.window, spec)) {
    files.push_back(WideToUtf8(file));
  }
  return files;
}

std::optional<std::string> MainWindowPorts::ChooseCaptionToOpen() {
  FileDialogSpec spec;
  spec.title = L"자막파일 열기";
  spec.filter = L"자막파일|*.smi;*.sami;*.smil;*.srt;*.ass;*.ssa;*.vtt;";
  spec.folder = StartFolder(p_.main.defaultFolderOfCaption);
  spec.flags = OFN_HIDEREADONLY;
  const std::vector<std::wstring> files = ShowOpenDialog(p_.window, spec);
  if (files.empty()) return std::nullopt;
  return WideToUtf8(files.front());
}

bool MainWindowPorts::PlayListHasFocus() const { return p_.playListPanel.ListHasFocus(); }

bool MainWindowPorts::PlayListVisible() const { return p_.playListPanel.IsShown(); }

std::vector<int> MainWindowPorts::SelectedPlayListRows() const { return p_.playListPanel.SelectedRows(); }

std::optional<std::string> MainWindowPorts::ChoosePlayListToSave() {
  FileDialogSpec spec;
  spec.title = L"플레이 리스트 저장";
  spec.filter = L"Orve's MP 플레이 리스트 파일 (*.list)|*.list";
  spec.defaultExtension = L"list";
  spec.folder = StartFolder(p_.main.defaultFolderOfMovie);
  spec.flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  return ToUtf8(ShowSaveDialog(p_.window, spec));
}

std::optional<std::string> MainWindowPorts::ChooseCaptionToSave() {
  const std::string loaded = WideToUtf8(p_.captions.CaptionFileName().wstring());
  FileDialogSpec spec;
  spec.title = L"자막파일 저장 (싱크조절 포함)";
  // Offered in the format the captions were read in.
  const std::string read = LowerAscii(ExtensionOf(FileNameOf(loaded)));
  const std::wstring extension = Utf8ToWide(IsAnyCaptionExtension(read) ? read : "smi");
  spec.filter = L"자막파일 (" + extension + L")|*." + extension;
  spec.defaultExtension = extension;
  spec.folder = StartFolder(FolderOf(loaded));
  spec.fileName = Utf8ToWide(FileNameOf(loaded));
  spec.flags = OFN_OVERWRITEPROMPT;
  return ToUtf8(ShowSaveDialog(p_.window, spec));
}

std::optional<std::string> MainWindowPorts::AskAddress() {
  const std::optional<std::wstring> address = ShowInputBox(p_.window, L"실시간 파일 열기", L"URL");
  if (!address) return std::nullopt;
  return WideToUtf8(*address);
}

void MainWindowPorts::SetDefaultMovieFolder(const std::string& folder) {
  p_.main.defaultFolderOfMovie = folder;
}
void MainWindowPorts::SetDefaultCaptionFolder(const std::string& folder) {
  p_.main.defaultFolderOfCaption = folder;
}

void MainWindowPorts::LoadCaptionFile(const std::string& path) {
  p_.captions.LoadCaptionFile(std::filesystem::path(Utf8ToWide(path)));
}

// A caption file that cannot be written ends the command with an error box.
void MainWindowPorts::SaveCaptionFile(const std::string& path) {
  const TSaveResult result = p_.captions.SaveCaptionFile(std::filesystem::path(Utf8ToWide(path)));
  if (!result.ok) {
    MessageBoxW(p_.window, Utf8ToWide(result.error).c_str(), kApplicationTitleW, MB_OK | MB_ICONERROR);
  }
}

void MainWindowPorts::OpenWebPage(const std::string& path) {
  if (!OpenWebHostPage(p_.main.webHost, path)) {
    p_.stateText.ShowState("웹 호스트가 설정되지 않았습니다", "NO WEB HOST SET");
  }
}

bool OpenWebHostPage(const std::string& webHost, const std::string& page) {
  if (webHost.empty()) return false;
  const std::wstring address = Utf8ToWide(WebAddress(webHost, page));
  ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}
void MainWindowPorts::CloseWindow() { PostMessageW(p_.window, WM_CLOSE, 0, 0); }

// Sent without waiting on a desktop that does not answer.
void MainWindowPorts::NotifyDesktopOfSkinChange() {
  if (HWND desktop = FindWindowW(L"Progman", L"Program Manager")) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(desktop, WM_COMMAND, kDesktopSkinCommand, 0, SMTO_ABORTIFHUNG, 1000, &result);
  }
}

void MainWindowPorts::WindowSize(int& width, int& height) const {
  const WindowBounds b = Bounds();
  width = b.width;
  height = b.height;
}

// ---- gestures ----------------------------------------------------------------

WindowBounds MainWindowPorts::Bounds() const {
  RECT r{};
  GetWindowRect(p_.window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void MainWindowPorts::MoveWindow(int left, int top) {
  SetWindowPos(p_.window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindowPorts::MaximizedSize(int& width, int& height) const {
  width = GetSystemMetrics(SM_CXMAXIMIZED);
  height = GetSystemMetrics(SM_CYMAXIMIZED);
}

void MainWindowPorts::RepaintControl() { p_.player.Repaint(); }

void MainWindowPorts::SetSizingCursor(bool sizing) {
  SetCursor(LoadCursorW(nullptr, sizing ? IDC_SIZENWSE : IDC_ARROW));
}

}  // namespace orves
