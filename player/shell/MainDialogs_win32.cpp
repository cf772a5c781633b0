#include "player/shell/MainDialogs_win32.h"

#include <commdlg.h>

#include <algorithm>

#include "player/core/MediaFileTypes.h"
#include "player/core/TextConvert_win32.h"

namespace orves {

std::wstring MovieFilter() { return Utf8ToWide(OpenDialogFilter()); }

namespace {

// Room for a multi-selection of many files.
constexpr size_t kNameBuffer = 64 * 1024;

// "a|b|c|d" -> "a\0b\0c\0d\0\0", as the dialogs take it.
std::wstring DialogFilter(const std::wstring& filter) {
  std::wstring out = filter;
  std::replace(out.begin(), out.end(), L'|', L'\0');
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

struct DialogBuffers {
  std::wstring filter;
  std::vector<wchar_t> name;
  OPENFILENAMEW ofn{};
};

void Prepare(DialogBuffers& b, HWND owner, const FileDialogSpec& spec) {
  b.filter = DialogFilter(spec.filter);
  b.name.assign(kNameBuffer, L'\0');
  std::copy_n(spec.fileName.begin(), std::min(spec.fileName.size(), kNameBuffer - 1), b.name.begin());
  b.ofn.lStructSize = sizeof(b.ofn);
  b.ofn.hwndOwner = owner;
  b.ofn.lpstrFilter = b.filter.c_str();
  b.ofn.nFilterIndex = 1;
  b.ofn.lpstrFile = b.name.data();
  b.ofn.nMaxFile = static_cast<DWORD>(b.name.size());
  b.ofn.lpstrInitialDir = spec.folder.empty() ? nullptr : spec.folder.c_str();
  b.ofn.lpstrTitle = spec.title.c_str();
  b.ofn.lpstrDefExt = spec.defaultExtension.empty() ? nullptr : spec.defaultExtension.c_str();
  // The explorer style is what makes a multi-selection come back as
  // NUL-separated names.
  b.ofn.Flags = spec.flags | OFN_EXPLORER;
}

}  // namespace

std::vector<std::wstring> SplitMultiSelection(const wchar_t* buffer) {
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer; *p != L'\0'; p += wcslen(p) + 1) {
    parts.emplace_back(p);
  }
  if (parts.size() <= 1) {
    return parts;
  }
  std::wstring folder = parts.front();
  if (folder.back() != L'\\') {
    folder.push_back(L'\\');
  }
  std::vector<std::wstring> files;
  for (size_t i = 1; i < parts.size(); ++i) {
    files.push_back(folder + parts[i]);
  }
  return files;
}

std::vector<std::wstring> ShowOpenDialog(HWND owner, const FileDialogSpec& spec) {
  DialogBuffers b;
  Prepare(b, owner, spec);
  if (!GetOpenFileNameW(&b.ofn)) {
    return {};
  }
  return SplitMultiSelection(b.name.data());
}

std::optional<std::wstring> ShowSaveDialog(HWND owner, const FileDialogSpec& spec) {
  DialogBuffers b;
  Prepare(b, owner, spec);
  if (!GetSaveFileNameW(&b.ofn)) {
    return std::nullopt;
  }
  return std::wstring(b.name.data());
}

// ---- input box ---------------------------------------------------------------

namespace {

constexpr int kIdEdit = 100;

// A dialog template written word by word: header, then each item aligned to
// a double word.
class TemplateWriter {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void DWord(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::wstring& s) {
    for (wchar_t c : s) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Align() {
    if (words_.size() % 2 != 0) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
            const std::wstring& text) {
    Align();
    DWord(style | WS_CHILD | WS_VISIBLE);
    DWord(0);
    for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }
  const WORD* Data() const { return words_.data(); }

 private:
  std::vector<WORD> words_;
};

struct InputBoxState {
  std::wstring text;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (LOWORD(wParam) == IDOK) {
      auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
      const HWND edit = GetDlgItem(dialog, kIdEdit);
      std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
      GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
      state->text = text.data();
    }
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& title, const std::wstring& prompt) {
  TemplateWriter t;
  t.DWord(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.DWord(0);
  t.Word(4);  // items
  for (short v : {0, 0, 240, 62}) t.Word(static_cast<WORD>(v));
  t.Word(0);  // no menu
  t.Word(0);  // standard class
  t.Text(title);
  t.Word(9);
  t.Text(L"굴림");
  t.Item(SS_LEFT, 7, 7, 226, 9, 0xFFFF, 0x0082, prompt);
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 18, 226, 13, kIdEdit, 0x0081, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 127, 40, 50, 14, IDOK, 0x0080, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 183, 40, 50, 14, IDCANCEL, 0x0080, L"Cancel");
  InputBoxState state;
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.Data()), owner,
                              &InputBoxProc, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK) {
    return std::nullopt;
  }
  return state.text;
}

}  // namespace orves
