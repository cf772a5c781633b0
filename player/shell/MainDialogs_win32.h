#pragma once
// The main window's file dialogs and its one-line input box. Filters are
// written as "description|patterns|description|patterns"; cancelling returns
// nothing.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace orves {

struct FileDialogSpec {
  std::wstring title;
  std::wstring filter;    // "|"-separated pairs
  std::wstring folder;    // where the dialog starts
  std::wstring fileName;  // filled in at the start (save dialogs)
  std::wstring defaultExtension;
  DWORD flags = 0;  // OFN_ options
};

// The movie filter of the open and add dialogs (OpenDialogFilter).
std::wstring MovieFilter();

// An open dialog; with OFN_ALLOWMULTISELECT every chosen file, in the
// dialog's order, as full paths.
std::vector<std::wstring> ShowOpenDialog(HWND owner, const FileDialogSpec& spec);
std::optional<std::wstring> ShowSaveDialog(HWND owner, const FileDialogSpec& spec);

// A modal box with a prompt and an empty edit field; the text on OK.
std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& title, const std::wstring& prompt);

// The full paths a multi-selection buffer names: "folder\0name\0name\0\0",
// or one full path when one file was chosen.
std::vector<std::wstring> SplitMultiSelection(const wchar_t* buffer);

}  // namespace orves
