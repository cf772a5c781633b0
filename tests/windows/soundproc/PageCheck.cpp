// Drives the sound processor's property pages as a property frame would,
// through the registered server (run regsvr32 first). Prints key=value lines.
// Usage:
//   zmsp_page_check.exe info [--korean-thread]
//       the titles and sizes GetPageInfo gives for the status and about pages
//   zmsp_page_check.exe lifecycle
//       GetPages of the filter; connect, a second status page refused;
//       activate/deactivate cycles leaving no window and no object behind
//   zmsp_page_check.exe objects
//       our upmixer's and time stretcher's pages edit their object's parameter
//       block: a choice made on the page reaches the object on Apply
//   zmsp_page_check.exe show WAVE READY_FILE HOLD_MS
//       plays WAVE through the filter with the status page shown on a popup at
//       the screen's top left, stops the graph while the page refreshes, writes
//       the controls' texts and screen rectangles to READY_FILE, then holds the
//       page on screen for HOLD_MS so that a screenshot can be taken
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <dshow.h>

#include <cstdio>
#include <string>

namespace {

constexpr CLSID kFilter = {0x3335371D, 0xAF73, 0x426D, {0x90, 0xCD, 0x59, 0x17, 0x95, 0xFA, 0x65, 0x7A}};
constexpr CLSID kStatusPage = {0x302BDFDC, 0xCFF3, 0x40E1, {0x92, 0x94, 0xA8, 0x55, 0x98, 0xD1, 0xCA, 0xC2}};
constexpr CLSID kAboutPage = {0x3430E9B3, 0xF16E, 0x495B, {0xAC, 0x15, 0xD4, 0xA1, 0x65, 0x95, 0xBE, 0x7E}};
constexpr CLSID kUpmixer = {0xC2F99BDF, 0x133D, 0x4766, {0xB0, 0xC8, 0x4A, 0x84, 0xB1, 0x9B, 0x8D, 0xDD}};
constexpr CLSID kTimeStretcher = {
    0x6674B5D0, 0xE53B, 0x4A37, {0xA0, 0x62, 0x84, 0x11, 0xB4, 0x4B, 0x61, 0xCD}};
constexpr CLSID kUpmixerPage = {0x30D4D9F7, 0x9AFE, 0x47ED, {0x8E, 0x2E, 0x32, 0x5E, 0xAA, 0x94, 0x85, 0x28}};
constexpr CLSID kTimeStretcherPage = {
    0x2DDB0A90, 0xBC33, 0x4EE1, {0xB1, 0xBF, 0xE4, 0xE8, 0xB0, 0x06, 0x0B, 0x06}};

std::string Utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(length > 0 ? length - 1 : 0, '\0');
  if (length > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
  return out;
}

std::string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return Utf8(text);
}

IPropertyPage* CreatePage(const CLSID& classId) {
  IPropertyPage* page = nullptr;
  HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                reinterpret_cast<void**>(&page));
  if (FAILED(hr)) std::printf("create_hr=0x%08lX\n", static_cast<unsigned long>(hr));
  return page;
}

void PumpMessages(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

HWND CreateHost(int width, int height) {
  return CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"page host", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

int ChildWindows(HWND parent) {
  int count = 0;
  EnumChildWindows(
      parent,
      [](HWND, LPARAM counter) {
        ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// The module's own count of live objects: DllCanUnloadNow answers S_OK at zero.
HRESULT ServerCanUnload() {
  HMODULE module = GetModuleHandleW(L"ZmSoundProcessor.ax");
  if (module == nullptr) return E_FAIL;
  using CanUnload = HRESULT(STDAPICALLTYPE*)();
  auto canUnload =
      reinterpret_cast<CanUnload>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  return canUnload != nullptr ? canUnload() : E_FAIL;
}

int Info() {
  for (auto [name, classId] : {std::pair{"status", kStatusPage}, {"about", kAboutPage}}) {
    IPropertyPage* page = CreatePage(classId);
    if (page == nullptr) return 1;
    PROPPAGEINFO info{};
    HRESULT hr = page->GetPageInfo(&info);
    std::printf("%s_info_hr=0x%08lX\n", name, static_cast<unsigned long>(hr));
    if (SUCCEEDED(hr)) {
      std::printf("%s_title=%s\n%s_size=%ldx%ld\n", name, Utf8(info.pszTitle).c_str(), name, info.size.cx,
                  info.size.cy);
      CoTaskMemFree(info.pszTitle);
    }
    page->Release();
  }
  return 0;
}

int Lifecycle() {
  IBaseFilter* filter = nullptr;
  HRESULT hr = CoCreateInstance(kFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&filter));
  std::printf("filter_hr=0x%08lX\n", static_cast<unsigned long>(hr));
  if (FAILED(hr)) return 1;
  ISpecifyPropertyPages* specify = nullptr;
  filter->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&specify));
  CAUUID pages{};
  hr = specify != nullptr ? specify->GetPages(&pages) : E_NOINTERFACE;
  std::printf("getpages_hr=0x%08lX\npages=", static_cast<unsigned long>(hr));
  for (ULONG i = 0; i < pages.cElems; ++i)
    std::printf("%s%s", i ? "," : "", GuidText(pages.pElems[i]).c_str());
  std::printf("\n");
  CoTaskMemFree(pages.pElems);
  if (specify != nullptr) specify->Release();

  IUnknown* objects[] = {filter};
  IPropertyPage* page = CreatePage(kStatusPage);
  IPropertyPage* second = CreatePage(kStatusPage);
  IPropertyPage* about = CreatePage(kAboutPage);
  if (page == nullptr || second == nullptr || about == nullptr) return 1;
  std::printf("connect_hr=0x%08lX\n", static_cast<unsigned long>(page->SetObjects(1, objects)));
  std::printf("second_connect_hr=0x%08lX\n", static_cast<unsigned long>(second->SetObjects(1, objects)));
  std::printf("about_connect_hr=0x%08lX\n", static_cast<unsigned long>(about->SetObjects(1, objects)));

  HWND host = CreateHost(600, 450);
  RECT rect{0, 0, 600, 450};
  int failures = 0;
  for (int cycle = 0; cycle < 20; ++cycle) {
    for (IPropertyPage* shown : {page, about}) {
      if (FAILED(shown->Activate(host, &rect, FALSE)) || FAILED(shown->Show(SW_SHOW))) ++failures;
      PumpMessages(cycle == 0 ? 300 : 10);  // the first cycle lets the refresh timer fire
      if (FAILED(shown->Deactivate())) ++failures;
    }
  }
  std::printf("activation_failures=%d\nwindows_left=%d\n", failures, ChildWindows(host));
  std::printf("deactivate_again_hr=0x%08lX\n", static_cast<unsigned long>(page->Deactivate()));
  DestroyWindow(host);

  page->SetObjects(0, nullptr);
  // Once the first page let go, another may attach.
  std::printf("reconnect_hr=0x%08lX\n", static_cast<unsigned long>(second->SetObjects(1, objects)));
  second->SetObjects(0, nullptr);
  about->SetObjects(0, nullptr);
  page->Release();
  second->Release();
  about->Release();
  std::printf("filter_refs_left=%lu\n", static_cast<unsigned long>(filter->Release()));
  std::printf("server_can_unload_hr=0x%08lX\n", static_cast<unsigned long>(ServerCanUnload()));
  return 0;
}

// Word `index` of the block the object saves, or -1.
long SavedWord(IUnknown* object, int index) {
  IPersistStream* persist = nullptr;
  IStream* stream = nullptr;
  long word = -1;
  if (SUCCEEDED(object->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) && SUCCEEDED(persist->Save(stream, FALSE))) {
    LARGE_INTEGER at{};
    at.QuadPart = index * 4;
    DWORD value = 0;
    ULONG read = 0;
    if (SUCCEEDED(stream->Seek(at, STREAM_SEEK_SET, nullptr)) && SUCCEEDED(stream->Read(&value, 4, &read)) &&
        read == 4) {
      word = static_cast<long>(value);
    }
  }
  if (stream != nullptr) stream->Release();
  if (persist != nullptr) persist->Release();
  return word;
}

// Creates `objectClass` and its page, shows the page, lets `edit` change the
// page's controls, applies and prints what the object then saves.
template <typename Edit>
void EditObjectPage(const char* name, const CLSID& objectClass, const CLSID& pageClass, int word,
                    Edit&& edit) {
  IUnknown* object = nullptr;
  HRESULT hr = CoCreateInstance(objectClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&object));
  IPropertyPage* page = SUCCEEDED(hr) ? CreatePage(pageClass) : nullptr;
  std::printf("%s_create_hr=0x%08lX\n", name, static_cast<unsigned long>(page != nullptr ? S_OK : E_FAIL));
  if (page == nullptr) {
    if (object != nullptr) object->Release();
    return;
  }
  HWND host = CreateHost(400, 250);
  RECT rect{0, 0, 400, 250};
  page->SetObjects(1, &object);
  page->Activate(host, &rect, FALSE);
  page->Show(SW_SHOW);
  std::printf("%s_dirty_before=%d\n", name, page->IsPageDirty() == S_OK ? 1 : 0);
  HWND dialog = GetWindow(host, GW_CHILD);
  std::printf("%s_word_before=%ld\n", name, SavedWord(object, word));
  edit(dialog, page);
  std::printf("%s_dirty_after=%d\n", name, page->IsPageDirty() == S_OK ? 1 : 0);
  std::printf("%s_apply_hr=0x%08lX\n", name, static_cast<unsigned long>(page->Apply()));
  std::printf("%s_word_after=%ld\n", name, SavedWord(object, word));
  page->Deactivate();
  page->SetObjects(0, nullptr);
  page->Release();
  DestroyWindow(host);
  object->Release();
}

int Objects() {
  constexpr int kModeWord = 14, kSpeedWord = 0, kModeCombo = 2002, kSpeedEdit = 2101;
  EditObjectPage("upmixer", kUpmixer, kUpmixerPage, kModeWord, [](HWND dialog, IPropertyPage*) {
    SendDlgItemMessageW(dialog, kModeCombo, CB_SETCURSEL, 2, 0);  // Music
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kModeCombo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, kModeCombo)));
  });
  EditObjectPage("stretcher", kTimeStretcher, kTimeStretcherPage, kSpeedWord,
                 [](HWND dialog, IPropertyPage* page) {
                   SetDlgItemTextW(dialog, kSpeedEdit, L"fast");
                   std::printf("stretcher_bad_apply_hr=0x%08lX\n", static_cast<unsigned long>(page->Apply()));
                   SetDlgItemTextW(dialog, kSpeedEdit, L"1.5");
                 });
  return 0;
}

IBaseFilter* FindProcessor(IGraphBuilder* graph) {
  IEnumFilters* filters = nullptr;
  IBaseFilter* found = nullptr;
  if (FAILED(graph->EnumFilters(&filters))) return nullptr;
  IBaseFilter* filter = nullptr;
  while (found == nullptr && filters->Next(1, &filter, nullptr) == S_OK) {
    CLSID classId{};
    if (SUCCEEDED(filter->GetClassID(&classId)) && IsEqualCLSID(classId, kFilter)) {
      found = filter;
    } else {
      filter->Release();
    }
  }
  filters->Release();
  return found;
}

void PrintControl(FILE* out, HWND page, const char* name, int id) {
  HWND control = GetDlgItem(page, id);
  wchar_t text[256] = {};
  GetWindowTextW(control, text, 256);
  std::string value = Utf8(text);
  for (char& ch : value) {
    if (ch == '\r' || ch == '\n') ch = '|';
  }
  RECT rect{};
  GetWindowRect(control, &rect);
  std::fprintf(out, "%s=%s\n%s_rect=%ld %ld %ld %ld\n%s_visible=%d\n%s_enabled=%d\n", name, value.c_str(),
               name, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, name,
               IsWindowVisible(control) ? 1 : 0, name, IsWindowEnabled(control) ? 1 : 0);
}

int Show(const wchar_t* wave, const wchar_t* readyFile, DWORD holdMs) {
  IGraphBuilder* graph = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph));
  if (SUCCEEDED(hr)) hr = graph->RenderFile(wave, nullptr);
  std::printf("render_hr=0x%08lX\n", static_cast<unsigned long>(hr));
  IBaseFilter* filter = SUCCEEDED(hr) ? FindProcessor(graph) : nullptr;
  std::printf("processor=%d\n", filter != nullptr ? 1 : 0);
  if (filter == nullptr) return 1;

  IPropertyPage* page = CreatePage(kStatusPage);
  if (page == nullptr) return 1;
  PROPPAGEINFO info{};
  page->GetPageInfo(&info);
  CoTaskMemFree(info.pszTitle);
  HWND host = CreateHost(info.size.cx, info.size.cy);
  RECT rect{0, 0, info.size.cx, info.size.cy};
  IUnknown* objects[] = {filter};
  hr = page->SetObjects(1, objects);
  if (SUCCEEDED(hr)) hr = page->Activate(host, &rect, FALSE);
  if (SUCCEEDED(hr)) hr = page->Show(SW_SHOW);
  std::printf("page_hr=0x%08lX\n", static_cast<unsigned long>(hr));

  IMediaControl* control = nullptr;
  graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&control));
  control->Run();
  PumpMessages(1500);
  control->Stop();  // while the page is shown and refreshing
  PumpMessages(400);

  HWND dialog = GetWindow(host, GW_CHILD);
  FILE* out = _wfopen(readyFile, L"w");
  if (out != nullptr) {
    PrintControl(out, dialog, "input", 1059);
    PrintControl(out, dialog, "output", 1060);
    PrintControl(out, dialog, "expansion", 1049);
    PrintControl(out, dialog, "control", 1051);
    PrintControl(out, dialog, "expansion_button", 1019);
    for (int row = 1; row <= 8; ++row) {
      const std::string index = std::to_string(row);
      PrintControl(out, dialog, ("label" + index).c_str(), 1027 + row);
      PrintControl(out, dialog, ("value" + index).c_str(), 1019 + row);
      PrintControl(out, dialog, ("bar" + index).c_str(), 1035 + row);
    }
    std::fprintf(out, "ready=1\n");
    std::fclose(out);
  }
  PumpMessages(holdMs);

  page->Deactivate();
  page->SetObjects(0, nullptr);
  page->Release();
  DestroyWindow(host);
  control->Release();
  filter->Release();
  graph->Release();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"info" && argc > 2 && std::wstring(argv[2]) == L"--korean-thread") {
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN), SORT_DEFAULT));
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = 2;
  if (mode == L"info") status = Info();
  if (mode == L"lifecycle") status = Lifecycle();
  if (mode == L"objects") status = Objects();
  if (mode == L"show" && argc > 4) status = Show(argv[2], argv[3], static_cast<DWORD>(_wtoi(argv[4])));
  CoUninitialize();
  if (status == 2) std::fprintf(stderr, "usage: zmsp_page_check.exe info|lifecycle|objects|show ...\n");
  return status;
}
