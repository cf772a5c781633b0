#include "player/dialogs/Config_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "player/core/AppInfo.h"
#include "player/core/TextConvert_win32.h"

namespace orves {

namespace {

constexpr int kClientWidth = 460;
constexpr int kClientHeight = 420;
constexpr int kTabLeft = 8;
constexpr int kTabTop = 8;
constexpr int kTabWidth = 444;
constexpr int kTabHeight = 360;
constexpr int kPageCount = 8;
constexpr int kFormPage = -1;  // rows on the form itself, below the tabs
constexpr WORD kFirstId = 1000;
constexpr WORD kIdTabs = 900;
constexpr WORD kIdReset = 901;
// Posted to the body when the dialog opens: the keys start on the tabs.
constexpr UINT kFocusTabs = WM_APP + 1;

const wchar_t* const kTabCaptions[kPageCount] = {L"프리셋", L"보기", L"재생", L"플레이리스트",
                                                 L"자막", L"전체화면", L"파일연결", L"기타 설정"};

enum class Kind { Check, Radio, Group, Label, Link, Spin, Edit, List, Button, Swatch, Preview };

enum class Action {
  None,
  PresetNormal, PresetSeparate, PresetWide, PresetVideo43, PresetLowEnd,
  ClearBookmarks, ClearRecent, PreviewOn, PreviewOff, LinkAll, LinkNone, RemoveCaptionCodec,
  AskPreset1, AskPreset2, AskPreset3, ChooseColour, BrowseFolder, OpenHomePage,
};

}  // namespace

// One control of the dialog. Bound rows carry the control name of their
// binding (ConfigModel); radio rows carry their group's name and the value
// the group takes when that radio is checked.
struct ConfigControlSpec {
  int page;
  Kind kind;
  const char* name;
  const wchar_t* text;
  short x, y, w, h;
  int item = -1;
  Action action = Action::None;
};

namespace {

using S = ConfigControlSpec;
constexpr Action A(Action a) { return a; }

// clang-format off
const ConfigControlSpec kControls[] = {
    // 프리셋
    {0, Kind::Label, "", L"원하는 설정을 누르면 곧바로 적용됩니다.", 12, 12, 400, 16},
    {0, Kind::Button, "", L"일반적인 설정", 40, 40, 340, 30, -1, A(Action::PresetNormal)},
    {0, Kind::Button, "", L"자막-영상 분리 모드", 40, 76, 340, 30, -1, A(Action::PresetSeparate)},
    {0, Kind::Button, "", L"16:9 와이드모드", 40, 112, 340, 30, -1, A(Action::PresetWide)},
    {0, Kind::Button, "", L"비디오, 에니메이션 모드 (4:3)", 40, 148, 340, 30, -1, A(Action::PresetVideo43)},
    {0, Kind::Button, "", L"저사양을 위한 설정", 40, 184, 340, 30, -1, A(Action::PresetLowEnd)},
    {0, Kind::Check, "chkShowTab", L"자세한 설정을 하기 위해서는 이곳을 체크하세요", 12, 240, 400, 20},
    // 보기
    {1, Kind::Check, "chkAlwaysTop", L"항상위 켜기", 12, 12, 200, 20},
    {1, Kind::Check, "chkShowStatus", L"상태표시 켜기", 12, 36, 200, 20},
    {1, Kind::Check, "chkShowTime", L"재생시간 표시", 12, 60, 200, 20},
    {1, Kind::Group, "", L"시작할 때 창 크기", 12, 90, 200, 170},
    {1, Kind::Radio, "rdgStartMode", L"창크기에 맞춤", 24, 110, 180, 20, 0},
    {1, Kind::Radio, "rdgStartMode", L"0.5배 크기", 24, 134, 180, 20, 1},
    {1, Kind::Radio, "rdgStartMode", L"1.0배 크기", 24, 158, 180, 20, 2},
    {1, Kind::Radio, "rdgStartMode", L"1.5배 크기", 24, 182, 180, 20, 3},
    {1, Kind::Radio, "rdgStartMode", L"2.0배 크기", 24, 206, 180, 20, 4},
    {1, Kind::Radio, "rdgStartMode", L"전체 화면", 24, 230, 180, 20, 5},
    // 재생
    {2, Kind::Label, "", L"◀ ▶ 키로 이동 (초)", 12, 14, 150, 18},
    {2, Kind::Spin, "spinFFTime", L"", 170, 12, 70, 22},
    {2, Kind::Label, "", L"Alt + ◀ ▶ 키로 이동 (초)", 12, 42, 150, 18},
    {2, Kind::Spin, "spinFFTime2", L"", 170, 40, 70, 22},
    {2, Kind::Label, "", L"밝기", 12, 70, 150, 18},
    {2, Kind::Spin, "spinDivxBrightness", L"", 170, 68, 70, 22},
    {2, Kind::Label, "", L"화질", 12, 98, 150, 18},
    {2, Kind::Spin, "spinDivxProcess", L"", 170, 96, 70, 22},
    {2, Kind::Check, "chkBookmark", L"이어보기기능 켜기", 12, 132, 200, 20},
    {2, Kind::Check, "chkAutoRewind", L"반복재생 켜기", 12, 156, 200, 20},
    {2, Kind::Check, "chkAddToRecent", L"문서목록에 남기기", 12, 180, 200, 20},
    {2, Kind::Button, "", L"이어보기 기록 초기화", 12, 220, 170, 26, -1, A(Action::ClearBookmarks)},
    {2, Kind::Button, "", L"문서목록 초기화", 190, 220, 170, 26, -1, A(Action::ClearRecent)},
    // 플레이리스트
    {3, Kind::Check, "chkPlayListEnabled", L"플레이리스트 보기", 12, 12, 200, 20},
    {3, Kind::Check, "chkAutoSort", L"자동 정렬", 12, 36, 200, 20},
    // 자막
    {4, Kind::Label, "", L"자막 크기 (%)", 8, 12, 80, 18},
    {4, Kind::Spin, "spinHeightRate", L"", 92, 10, 64, 22},
    {4, Kind::Label, "", L"줄간격 (%)", 8, 38, 80, 18},
    {4, Kind::Spin, "spinLineHeightRate", L"", 92, 36, 64, 22},
    {4, Kind::Label, "", L"외각선 (%)", 8, 64, 80, 18},
    {4, Kind::Spin, "spinOutLineRate", L"", 92, 62, 64, 22},
    {4, Kind::Label, "", L"그림자 (%)", 8, 90, 80, 18},
    {4, Kind::Spin, "spinShadowRate", L"", 92, 88, 64, 22},
    {4, Kind::Label, "", L"장평 (%)", 8, 116, 80, 18},
    {4, Kind::Spin, "spinFontWidthRate", L"", 92, 114, 64, 22},
    {4, Kind::Label, "", L"폰트이름", 8, 144, 80, 18},
    {4, Kind::List, "lstFontName", L"", 8, 162, 150, 160},
    {4, Kind::Link, "", L"색", 168, 12, 20, 18, -1, A(Action::ChooseColour)},
    {4, Kind::Swatch, "pnlFontColor", L"", 190, 10, 26, 22, -1, A(Action::ChooseColour)},
    {4, Kind::Check, "chkFontBold", L"굵게", 168, 40, 60, 20},
    {4, Kind::Check, "chkAntiAliase", L"가장자리 부드럽게", 168, 64, 60, 36},
    {4, Kind::Preview, "pntFont", L"", 232, 8, 200, 100},
    {4, Kind::Group, "", L"자막 위치", 168, 112, 264, 118},
    {4, Kind::Radio, "rdUpHeightRate", L"화면에 겹침", 176, 130, 120, 20, 0},
    {4, Kind::Radio, "rdUpHeightRate", L"반정도 걸침", 176, 154, 120, 20, 1},
    {4, Kind::Radio, "rdUpHeightRate", L"화면 아래로", 176, 178, 120, 20, 2},
    {4, Kind::Radio, "rdUpHeightRate", L"사용자 정의", 176, 202, 120, 20, 3},
    {4, Kind::Button, "btnUpHeightRateShortCut1", L"", 310, 128, 50, 22, -1, A(Action::AskPreset1)},
    {4, Kind::Button, "btnUpHeightRateShortCut2", L"", 310, 152, 50, 22, -1, A(Action::AskPreset2)},
    {4, Kind::Button, "btnUpHeightRateShortCut3", L"", 310, 176, 50, 22, -1, A(Action::AskPreset3)},
    {4, Kind::Spin, "spinUpHeightRate", L"", 310, 200, 70, 22},
    {4, Kind::Group, "", L"싱크", 168, 236, 264, 90},
    {4, Kind::Radio, "rdgSyncPlus", L"일찍 나오게", 176, 254, 110, 20, 0},
    {4, Kind::Radio, "rdgSyncPlus", L"늦게 나오게", 176, 278, 110, 20, 1},
    {4, Kind::Radio, "rdgSyncPlus", L"그대로", 176, 302, 110, 20, 2},
    {4, Kind::Edit, "edtSyncPlus", L"", 300, 266, 70, 22},
    {4, Kind::Label, "lblSyncPlus", L"초", 376, 270, 30, 18},
    // 전체화면
    {5, Kind::Check, "chkFullScreenDpi", L"전체화면에서 해상도와 컬러수를 변경", 12, 12, 400, 20},
    {5, Kind::Group, "", L"해상도", 12, 40, 200, 170},
    {5, Kind::Radio, "rdgFullScreenDpi", L"640 X 480", 24, 60, 180, 20, 0},
    {5, Kind::Radio, "rdgFullScreenDpi", L"800 X 600", 24, 84, 180, 20, 1},
    {5, Kind::Radio, "rdgFullScreenDpi", L"1024 X 768", 24, 108, 180, 20, 2},
    {5, Kind::Radio, "rdgFullScreenDpi", L"1152 X 864", 24, 132, 180, 20, 3},
    {5, Kind::Radio, "rdgFullScreenDpi", L"1280 X 1024", 24, 156, 180, 20, 4},
    {5, Kind::Radio, "rdgFullScreenDpi", L"1600 X 1200", 24, 180, 180, 20, 5},
    {5, Kind::Group, "", L"컬러", 224, 40, 200, 122},
    {5, Kind::Radio, "rdgFullScreenColor", L"8 비트", 236, 60, 180, 20, 0},
    {5, Kind::Radio, "rdgFullScreenColor", L"16 비트", 236, 84, 180, 20, 1},
    {5, Kind::Radio, "rdgFullScreenColor", L"24 비트", 236, 108, 180, 20, 2},
    {5, Kind::Radio, "rdgFullScreenColor", L"32 비트", 236, 132, 180, 20, 3},
    {5, Kind::Group, "", L"화면 비율", 12, 218, 412, 48},
    {5, Kind::Radio, "rdoDoFixRate", L"그대로", 24, 238, 120, 20, 0},
    {5, Kind::Radio, "rdoDoFixRate", L"16:9", 150, 238, 120, 20, 169},
    {5, Kind::Radio, "rdoDoFixRate", L"4:3", 276, 238, 120, 20, 43},
    {5, Kind::Check, "chkAlwaysShowFullScreenBar", L"전체화면에서 컨트롤바를 항상 보이게", 12, 278, 400, 20},
    // 파일연결
    {6, Kind::Check, "chkLinkAvi", L"비디오 파일 (avi)", 12, 12, 400, 20},
    {6, Kind::Check, "chkLinkAsx", L"윈도우 미디어 파일 (asx,asf,wm,wmv,wmx)", 12, 36, 400, 20},
    {6, Kind::Check, "chkLinkMpeg", L"MPEG 파일 (mpeg,mpg,mpe,mpa,m1v,m2v)", 12, 60, 400, 20},
    {6, Kind::Check, "chkLinkDat", L"비디오 씨디 (dat)", 12, 84, 400, 20},
    {6, Kind::Check, "chkLinkDivx", L"DivX 파일 (divx)", 12, 108, 400, 20},
    {6, Kind::Check, "chkLinkVob", L"DVD 파일 (vob)", 12, 132, 400, 20},
    {6, Kind::Check, "chkLinkOgm", L"오그 보비스 (ogm) ", 12, 156, 400, 20},
    {6, Kind::Button, "", L"모두선택", 12, 190, 100, 26, -1, A(Action::LinkAll)},
    {6, Kind::Button, "", L"모두해제", 120, 190, 100, 26, -1, A(Action::LinkNone)},
    {6, Kind::Button, "", L"미리보기 사용", 12, 230, 130, 26, -1, A(Action::PreviewOn)},
    {6, Kind::Button, "", L"아이콘 사용", 150, 230, 130, 26, -1, A(Action::PreviewOff)},
    // 기타 설정
    {7, Kind::Check, "chkStateTextKorean", L"상태표시 한글로 보기", 12, 8, 400, 20},
    {7, Kind::Check, "chkCheckNewVersion", L"시작할 때 새 버전 체크", 12, 30, 400, 20},
    {7, Kind::Check, "chkPauseAtMinimize", L"창크기 최소화시 동영상 일시정지", 12, 52, 400, 20},
    {7, Kind::Check, "chkParseColorTag", L"컬러태그 적용하기", 12, 74, 400, 20},
    {7, Kind::Check, "chkShowMovieWhenHide", L"창이동, 크기변환 시 화면표시", 12, 96, 400, 20},
    {7, Kind::Check, "chkCheckCaptionCodec", L"시작할 때 자막코덱 알림", 12, 118, 400, 20},
    {7, Kind::Check, "chkCutWhenWindow", L"창화면에서도 강제비율설정, 팬스캔(양쪽자르기) 적용", 12, 140, 420, 20},
    {7, Kind::Check, "chkForce43", L"4:3 모드에서 무조건 꽉차게", 12, 162, 400, 20},
    {7, Kind::Check, "chkSmartCaptionFinding", L"인공지능 자막파일 찾기 사용", 12, 184, 400, 20},
    {7, Kind::Check, "chkUseCaptionFolder", L"자막폴더 지정", 12, 216, 110, 20},
    {7, Kind::Edit, "edtCaptionFolder", L"", 126, 215, 200, 22},
    {7, Kind::Button, "btnSearchCaptionFolder", L"폴더찾기...", 332, 214, 90, 24, -1, A(Action::BrowseFolder)},
    {7, Kind::Button, "", L"자막코덱 삭제", 12, 256, 130, 26, -1, A(Action::RemoveCaptionCodec)},
    // Below the tabs.
    {kFormPage, Kind::Label, "lblVersion", L"", 8, 378, 180, 18},
    {kFormPage, Kind::Link, "", L"홈페이지", 8, 398, 60, 18, -1, A(Action::OpenHomePage)},
};
// clang-format on

constexpr size_t kControlCount = std::size(kControls);

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

HWND MakeWindow(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, const RECT& r,
                HWND parent, WORD id) {
  return CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

bool AskYesNo(HWND owner, const wchar_t* text, const wchar_t* title) {
  return MessageBoxW(owner, text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void RunRegsvr32(const wchar_t* arguments) {
  ShellExecuteW(nullptr, L"open", L"regsvr32", arguments, nullptr, SW_HIDE);
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  const size_t slash = folder.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

int CALLBACK CollectFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* faces = reinterpret_cast<std::vector<std::wstring>*>(data);
  const std::wstring face = font->lfFaceName;
  if (!face.empty() && face[0] != L'@' && std::find(faces->begin(), faces->end(), face) == faces->end()) {
    faces->push_back(face);
  }
  return 1;
}

}  // namespace

// One tab's page: a plain child window over the tab control's display area
// that hands its controls' notifications and drawing to the dialog.
class ConfigPage final : public TWindow {
 public:
  explicit ConfigPage(TfrmConfig& form) : form_(form) {}
  bool Create(HWND parent, const RECT& bounds) {
    const WindowClassSpec spec{L"OrvesMPConfigPage", 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr};
    return CreateWindowOf(spec, WS_EX_CONTROLPARENT, WS_CHILD | WS_CLIPSIBLINGS, L"", bounds, parent);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if ((message == WM_COMMAND || message == WM_DRAWITEM || message == WM_NOTIFY || message == kFocusTabs) &&
        form_.OnControl(message, wParam, lParam)) {
      return TRUE;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
  }
  TfrmConfig& form_;
};

namespace {

// The layout is given in pixels at 96 dots per inch and grows with the
// screen's setting, as does the dialog's font.
int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return std::max(dpi, 96);
}

}  // namespace

TfrmConfig::TfrmConfig()
    : Form(L"환경 설정", MulDiv(kClientWidth, ScreenDpi(), 96), MulDiv(kClientHeight, ScreenDpi(), 96),
           /*stayOnTop=*/true),
      dpi_(ScreenDpi()) {}

TfrmConfig::~TfrmConfig() {
  Destroy();
  if (font_ != nullptr) DeleteObject(font_);
}

int TfrmConfig::Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

RECT TfrmConfig::ScaledRect(int left, int top, int width, int height) const {
  return RECT{Scaled(left), Scaled(top), Scaled(left + width), Scaled(top + height)};
}

void TfrmConfig::CreateControls() {
  font_ = CreateFontW(-Scaled(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"굴림");
  const int top = kClientHeight - 34;
  const std::pair<const wchar_t*, WORD> buttons[] = {{L"확인", IDOK}, {L"취소", IDCANCEL}, {L"초기화", kIdReset}};
  for (int i = 0; i < 3; ++i) {
    const RECT r = ScaledRect(kClientWidth - (3 - i) * 86, top, 80, 26);
    HWND button = AddButton(buttons[i].first, buttons[i].second, r.left, r.top, r.right - r.left, r.bottom - r.top,
                            buttons[i].second == IDOK);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  // The tab control and its pages sit on one body window, which hands the
  // tab control's notifications to the dialog as the pages do theirs.
  body_ = std::make_unique<ConfigPage>(*this);
  body_->Create(Handle(), ScaledRect(0, 0, kClientWidth, kTabTop + kTabHeight + 4));
  ShowWindow(body_->Handle(), SW_SHOW);
  const DWORD tabStyle = WS_TABSTOP | WS_CLIPSIBLINGS;
  const RECT tabRect = ScaledRect(kTabLeft, kTabTop, kTabWidth, kTabHeight);
  tabs_ = MakeWindow(WC_TABCONTROLW, L"", tabStyle, 0, tabRect, body_->Handle(), kIdTabs);
  SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  CreatePages();
  controls_.assign(kControlCount, nullptr);
  upDowns_.assign(kControlCount, nullptr);
  for (size_t i = 0; i < kControlCount; ++i) controls_[i] = CreateControl(i);
  SetWindowTextW(Control("lblVersion"), Utf8ToWide(std::string("Orve's MP v") + kVersionText + " by").c_str());
  FillFontList();
  ShowDetailTabs(true);
}

void TfrmConfig::CreatePages() {
  for (int i = 0; i < kPageCount; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
    item.lParam = i;
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
  RECT display = ScaledRect(0, 0, kTabWidth, kTabHeight);
  SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  OffsetRect(&display, Scaled(kTabLeft), Scaled(kTabTop));
  for (int i = 0; i < kPageCount; ++i) {
    auto page = std::make_unique<ConfigPage>(*this);
    page->Create(body_->Handle(), display);
    SetWindowPos(page->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    pages_.push_back(std::move(page));
  }
}

HWND TfrmConfig::CreateControl(size_t index) {
  const ConfigControlSpec& s = kControls[index];
  HWND parent = s.page == kFormPage ? Handle() : pages_[static_cast<size_t>(s.page)]->Handle();
  // The preview keeps the size of its bitmap.
  const RECT r = s.kind == Kind::Preview ? RECT{Scaled(s.x), Scaled(s.y), Scaled(s.x) + s.w, Scaled(s.y) + s.h}
                                         : ScaledRect(s.x, s.y, s.w, s.h);
  const WORD id = static_cast<WORD>(kFirstId + index);
  const bool firstOfGroup = s.kind != Kind::Radio || index == 0 || kControls[index - 1].kind != Kind::Radio ||
                            std::strcmp(kControls[index - 1].name, s.name) != 0;
  const DWORD group = firstOfGroup ? WS_GROUP | WS_TABSTOP : 0;
  HWND control = nullptr;
  switch (s.kind) {
    case Kind::Check:
      control = MakeWindow(L"BUTTON", s.text, BS_AUTOCHECKBOX | BS_MULTILINE | group, 0, r, parent, id);
      break;
    case Kind::Radio:
      control = MakeWindow(L"BUTTON", s.text, BS_AUTORADIOBUTTON | group, 0, r, parent, id);
      break;
    case Kind::Group:
      control = MakeWindow(L"BUTTON", s.text, BS_GROUPBOX, 0, r, parent, id);
      break;
    case Kind::Label:
      control = MakeWindow(L"STATIC", s.text, SS_LEFT, 0, r, parent, id);
      break;
    case Kind::Link:
      control = MakeWindow(L"STATIC", s.text, SS_LEFT | SS_NOTIFY, 0, r, parent, id);
      break;
    case Kind::Edit:
      control = MakeWindow(L"EDIT", s.text, ES_AUTOHSCROLL | group, WS_EX_CLIENTEDGE, r, parent, id);
      break;
    case Kind::Spin: {
      control = MakeWindow(L"EDIT", L"", ES_AUTOHSCROLL | group, WS_EX_CLIENTEDGE, r, parent, id);
      const ControlBinding* b = FindBinding(s.name);
      HWND upDown = MakeWindow(UPDOWN_CLASSW, L"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                               0, RECT{0, 0, 0, 0}, parent, 0);
      SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control), 0);
      if (b != nullptr) {
        SendMessageW(upDown, UDM_SETRANGE32, static_cast<WPARAM>(b->min), b->max);
        UDACCEL accel{0, static_cast<UINT>(b->step)};
        SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
      }
      upDowns_[index] = upDown;
      break;
    }
    case Kind::List:
      control = MakeWindow(L"LISTBOX", L"", LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | group,
                           WS_EX_CLIENTEDGE, r, parent, id);
      break;
    case Kind::Button:
      control = MakeWindow(L"BUTTON", s.text, BS_PUSHBUTTON | group, 0, r, parent, id);
      break;
    case Kind::Swatch:
      control = MakeWindow(L"BUTTON", L"", BS_OWNERDRAW | group, 0, r, parent, id);
      break;
    case Kind::Preview:
      control = MakeWindow(L"STATIC", L"", SS_OWNERDRAW, 0, r, parent, id);
      break;
  }
  if (control != nullptr) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }
  return control;
}

// ---- values ----------------------------------------------------------------

HWND TfrmConfig::Control(const char* name, int item) const {
  for (size_t i = 0; i < kControlCount; ++i) {
    if (std::strcmp(kControls[i].name, name) == 0 && (item < 0 || kControls[i].item == item)) return controls_[i];
  }
  return nullptr;
}

bool TfrmConfig::Checked(const char* name, int item) const {
  HWND control = Control(name, item);
  return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TfrmConfig::SetChecked(HWND control, bool on) const {
  SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TfrmConfig::ShowValues(const ConfigValues& values) {
  updating_ = true;
  for (size_t i = 0; i < kControlCount; ++i) {
    const ConfigControlSpec& s = kControls[i];
    if (s.name[0] == '\0' || !values.Has(s.name)) continue;
    HWND c = controls_[i];
    switch (s.kind) {
      case Kind::Check:
        SetChecked(c, values.Flag(s.name));
        break;
      case Kind::Radio:
        SetChecked(c, values.Int(s.name) == s.item);
        break;
      case Kind::Spin:
        SendMessageW(upDowns_[i], UDM_SETPOS32, 0, values.Int(s.name));
        break;
      case Kind::Edit:
        SetWindowTextW(c, Utf8ToWide(values.Text(s.name)).c_str());
        break;
      case Kind::Button:
        SetWindowTextW(c, std::to_wstring(values.Int(s.name)).c_str());
        break;
      case Kind::Swatch:
        fontColour_ = static_cast<COLORREF>(values.Int(s.name)) & 0xFFFFFF;
        InvalidateRect(c, nullptr, TRUE);
        break;
      case Kind::List:
        SelectFontFace(Utf8ToWide(values.Text(s.name)));
        break;
      default:
        break;
    }
  }
  updating_ = false;
}

void TfrmConfig::CollectValues(ConfigValues& values) const {
  values.Set(cfg::kSyncChoice, -1);
  for (size_t i = 0; i < kControlCount; ++i) {
    const ConfigControlSpec& s = kControls[i];
    if (s.name[0] == '\0') continue;
    HWND c = controls_[i];
    switch (s.kind) {
      case Kind::Check:
        values.Set(s.name, SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        break;
      case Kind::Radio:
        if (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) values.Set(s.name, s.item);
        break;
      case Kind::Spin: {
        BOOL failed = FALSE;
        const int value = static_cast<int>(SendMessageW(upDowns_[i], UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
        const ControlBinding* b = FindBinding(s.name);
        values.Set(s.name, b != nullptr ? std::clamp(value, b->min, b->max) : value);
        break;
      }
      case Kind::Edit:
        values.Set(s.name, WideToUtf8(WindowText(c)));
        break;
      case Kind::Button:
        if (const std::optional<int> number = ParseInteger(WideToUtf8(WindowText(c)))) values.Set(s.name, *number);
        break;
      case Kind::Swatch:
        values.Set(s.name, static_cast<int>(fontColour_));
        break;
      case Kind::List: {
        const LRESULT selected = SendMessageW(c, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR) break;
        std::wstring face(static_cast<size_t>(SendMessageW(c, LB_GETTEXTLEN, selected, 0)) + 1, L'\0');
        SendMessageW(c, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(face.data()));
        face.resize(wcslen(face.c_str()));
        values.Set(s.name, WideToUtf8(face));
        break;
      }
      default:
        break;
    }
  }
}

void TfrmConfig::FillFontList() {
  HWND list = Control("lstFontName");
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  std::vector<std::wstring> faces;
  LOGFONTW filter{};
  filter.lfCharSet = DEFAULT_CHARSET;
  HDC dc = GetDC(Handle());
  EnumFontFamiliesExW(dc, &filter, &CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
  ReleaseDC(Handle(), dc);
  for (const std::wstring& face : faces) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
}

// The face when listed, else the fallback face, else nothing.
void TfrmConfig::SelectFontFace(const std::wstring& face) {
  HWND list = Control("lstFontName");
  LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face.c_str()));
  if (index == LB_ERR) {
    const std::wstring fallback = Utf8ToWide(kFallbackCaptionFont);
    index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(fallback.c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, index == LB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}

// ---- showing ---------------------------------------------------------------

ModalResult TfrmConfig::Edit(ConfigValues& values, const std::string& webHost) {
  if (Handle() == nullptr) return ModalResult::Cancel;
  webHost_ = webHost;
  ShowValues(values);
  SelectPage(0);
  UpdateControls();
  PostMessageW(body_->Handle(), kFocusTabs, 0, 0);
  const ModalResult result = ShowModal();
  if (result == ModalResult::Ok) CollectValues(values);
  return result;
}

void TfrmConfig::ShowDetailTabs(bool show) {
  if (show == detailTabsShown_) return;
  detailTabsShown_ = show;
  if (!show) {
    while (SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0) > 1) SendMessageW(tabs_, TCM_DELETEITEM, 1, 0);
    SelectPage(0);
    return;
  }
  for (int i = 1; i < kPageCount; ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(kTabCaptions[i]);
    item.lParam = i;
    SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void TfrmConfig::SelectPage(int page) {
  if (SendMessageW(tabs_, TCM_GETCURSEL, 0, 0) != page) SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (int i = 0; i < kPageCount; ++i) ShowWindow(pages_[static_cast<size_t>(i)]->Handle(), i == page ? SW_SHOW : SW_HIDE);
}

void TfrmConfig::UpdateControls() {
  if (updating_) return;
  updating_ = true;
  ShowDetailTabs(Checked("chkShowTab"));
  for (int preset = 0; preset < 3; ++preset) {
    if (!Checked(cfg::kPositionChoice, preset)) continue;
    const std::optional<int> number = ParseInteger(WideToUtf8(WindowText(Control(cfg::kPresetButton[preset]))));
    if (number) SetWindowTextW(Control("spinUpHeightRate"), std::to_wstring(*number).c_str());
  }
  const bool user = Checked(cfg::kPositionChoice, cfg::kPositionUser);
  EnableWindow(Control("spinUpHeightRate"), user);
  const bool modeChange = Checked(cfg::kFullScreenMode);
  for (int i = 0; i < 6; ++i) EnableWindow(Control(cfg::kFullScreenDpi, i), modeChange);
  for (int i = 0; i < 4; ++i) EnableWindow(Control(cfg::kFullScreenColor, i), modeChange);
  const bool shift = !Checked(cfg::kSyncChoice, cfg::kSyncAsIs);
  ShowWindow(Control(cfg::kSyncSeconds), shift ? SW_SHOW : SW_HIDE);
  ShowWindow(Control("lblSyncPlus"), shift ? SW_SHOW : SW_HIDE);
  const bool folder = Checked("chkUseCaptionFolder");
  EnableWindow(Control("edtCaptionFolder"), folder);
  EnableWindow(Control("btnSearchCaptionFolder"), folder);
  InvalidateRect(Control("pntFont"), nullptr, FALSE);
  updating_ = false;
}

// ---- events ----------------------------------------------------------------

bool TfrmConfig::OnCommand(WORD id) {
  if (id == kIdReset) {
    if (AskYesNo(Handle(), L"모든 설정을 초기값으로 바꾸시겠습니까?", L"확인")) {
      ConfigValues values;
      CollectValues(values);
      ResetConfig(values);
      ShowValues(values);
      CloseWith(ModalResult::Ok);
    }
    return true;
  }
  if (id >= kFirstId && id < kFirstId + kControlCount && kControls[id - kFirstId].action != Action::None) {
    return RunAction(id - kFirstId);
  }
  return Form::OnCommand(id);
}

bool TfrmConfig::OnControl(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->hwndItem == Control("pntFont")) DrawPreview(*item);
    if (item->hwndItem == Control("pnlFontColor")) DrawSwatch(*item);
    return true;
  }
  if (message == kFocusTabs) {
    SetFocus(tabs_);
    return true;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != tabs_ || header->code != TCN_SELCHANGE) return false;
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    const LRESULT selected = SendMessageW(tabs_, TCM_GETCURSEL, 0, 0);
    if (SendMessageW(tabs_, TCM_GETITEMW, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item))) {
      SelectPage(static_cast<int>(item.lParam));
    }
    return true;
  }
  const WORD id = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  if (id < kFirstId || id >= kFirstId + kControlCount) return false;
  const size_t index = id - kFirstId;
  const ConfigControlSpec& s = kControls[index];
  if (s.action != Action::None && (code == BN_CLICKED || code == STN_CLICKED)) return RunAction(index);
  const bool changed = (code == BN_CLICKED && (s.kind == Kind::Check || s.kind == Kind::Radio)) ||
                       (code == EN_CHANGE && s.kind == Kind::Spin) || (code == LBN_SELCHANGE);
  if (changed) UpdateControls();
  return changed;
}

bool TfrmConfig::RunAction(size_t index) {
  switch (kControls[index].action) {
    case Action::PresetNormal: ApplyPresetAndClose(ConfigPreset::Normal); break;
    case Action::PresetSeparate: ApplyPresetAndClose(ConfigPreset::Separate); break;
    case Action::PresetWide: ApplyPresetAndClose(ConfigPreset::Wide); break;
    case Action::PresetVideo43: ApplyPresetAndClose(ConfigPreset::Video43); break;
    case Action::PresetLowEnd: ApplyPresetAndClose(ConfigPreset::LowEnd); break;
    case Action::ClearBookmarks:
      DeleteFileW((ProgramFolder() + L"\\Bookmark.ini").c_str());
      MessageBoxW(Handle(), L"초기화 하였습니다.", kApplicationTitleW, MB_OK);
      break;
    case Action::ClearRecent:
      if (AskYesNo(Handle(), L"문서목록을 초기화 하시겠습니까?", L"확인")) {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU");
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU");
      }
      break;
    case Action::PreviewOn:
      RunRegsvr32(L"shmedia.dll /s");
      MessageBoxW(Handle(), L"미리보기가 ON 되었습니다.", kApplicationTitleW, MB_OK);
      break;
    case Action::PreviewOff:
      RunRegsvr32(L"shmedia.dll /u /s");
      MessageBoxW(Handle(), L"미리보기가 OFF 되었습니다.", kApplicationTitleW, MB_OK);
      break;
    case Action::LinkAll:
    case Action::LinkNone:
      for (const char* box : cfg::kLinkBoxes) SetChecked(Control(box), kControls[index].action == Action::LinkAll);
      break;
    case Action::RemoveCaptionCodec:
      if (AskYesNo(Handle(), L"자막코덱을 삭제하시겠습니까?", L"자막코덱 삭제")) {
        RunRegsvr32(L"dvobsub.ax /u /s");
        RunRegsvr32(L"divxg400.ax /u /s");
      }
      break;
    case Action::AskPreset1: AskPresetButton(0); break;
    case Action::AskPreset2: AskPresetButton(1); break;
    case Action::AskPreset3: AskPresetButton(2); break;
    case Action::ChooseColour: ChooseFontColour(); break;
    case Action::BrowseFolder: BrowseCaptionFolder(); break;
    case Action::OpenHomePage:
      if (!webHost_.empty()) {
        ShellExecuteW(nullptr, L"open", Utf8ToWide(WebAddress(webHost_, "/")).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      }
      break;
    case Action::None:
      return false;
  }
  return true;
}

void TfrmConfig::ApplyPresetAndClose(ConfigPreset preset) {
  ConfigValues values;
  CollectValues(values);
  ApplyPreset(values, preset);
  ShowValues(values);
  CloseWith(ModalResult::Ok);
}

void TfrmConfig::AskPresetButton(int preset) {
  if (!prompt_) return;
  const std::wstring title = L"(고급설정) 자막위치" + std::to_wstring(preset + 1) + L"을 정합니다";
  const std::optional<std::wstring> text = prompt_(title, L"(0~200)");
  if (!text) return;
  const std::optional<int> number = ParseInteger(WideToUtf8(*text));
  if (!number) {
    MessageBoxW(Handle(), (L"'" + *text + L"' is not a valid integer value").c_str(), kApplicationTitleW,
                MB_OK | MB_ICONERROR);
    return;
  }
  SetWindowTextW(Control(cfg::kPresetButton[preset]), std::to_wstring(*number).c_str());
  UpdateControls();
}

void TfrmConfig::ChooseFontColour() {
  static COLORREF custom[16] = {};
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = Handle();
  choose.rgbResult = fontColour_;
  choose.lpCustColors = custom;
  choose.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorW(&choose)) return;
  fontColour_ = choose.rgbResult & 0xFFFFFF;
  InvalidateRect(Control("pnlFontColor"), nullptr, TRUE);
  UpdateControls();
}

void TfrmConfig::BrowseCaptionFolder() {
  HWND edit = Control("edtCaptionFolder");
  const std::wstring folder = WindowText(edit);
  std::vector<wchar_t> name(MAX_PATH * 4, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = L"모든파일\0*.*\0\0";
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrInitialDir = folder.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return;
  std::wstring path = name.data();
  const size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) path.resize(slash);
  SetWindowTextW(edit, path.c_str());
}

void TfrmConfig::DrawSwatch(const DRAWITEMSTRUCT& item) const {
  HBRUSH brush = CreateSolidBrush(fontColour_);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void TfrmConfig::DrawPreview(const DRAWITEMSTRUCT& item) const {
  ConfigValues values;
  CollectValues(values);
  if (values.Text("lstFontName").empty()) return;
  CaptionPreviewStyle style;
  style.face = Utf8ToWide(values.Text("lstFontName"));
  style.bold = values.Flag("chkFontBold");
  style.colour = fontColour_;
  style.fontWidthRate = values.Int("spinFontWidthRate");
  style.outLineRate = values.Int("spinOutLineRate");
  style.shadowRate = values.Int("spinShadowRate");
  style.antiAliase = values.Flag("chkAntiAliase");
  HBITMAP bitmap = RenderCaptionPreview(item.hDC, style);
  if (bitmap == nullptr) return;
  HDC memory = CreateCompatibleDC(item.hDC);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, kPreviewWidth, kPreviewHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

}  // namespace orves
