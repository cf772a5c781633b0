#include "player/dialogs/ConfigControls_win32.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "player/core/TextConvert_win32.h"

namespace orves {

const wchar_t* const kConfigTabCaptions[kConfigPageCount] = {
    L"프리셋", L"보기", L"재생", L"플레이리스트", L"자막", L"전체화면", L"파일연결", L"기타 설정"};

namespace {

// A control of the dialog's own.
struct OwnControl {
  int page;
  ConfigKind kind;
  const char* name;
  const wchar_t* text;
  short x, y, w, h;
  int item = -1;
  ConfigAction action = ConfigAction::None;
};

// clang-format off
constexpr OwnControl kOwnControls[] = {
    // 프리셋
    {kPagePresets, ConfigKind::Label, "", L"원하는 설정을 누르면 곧바로 적용됩니다.", 12, 12, 400, 16},
    {kPagePresets, ConfigKind::Button, "", L"일반적인 설정", 40, 40, 340, 30, -1, ConfigAction::PresetNormal},
    {kPagePresets, ConfigKind::Button, "", L"자막-영상 분리 모드", 40, 76, 340, 30, -1, ConfigAction::PresetSeparate},
    {kPagePresets, ConfigKind::Button, "", L"16:9 와이드모드", 40, 112, 340, 30, -1, ConfigAction::PresetWide},
    {kPagePresets, ConfigKind::Button, "", L"비디오, 에니메이션 모드 (4:3)", 40, 148, 340, 30, -1, ConfigAction::PresetVideo43},
    {kPagePresets, ConfigKind::Button, "", L"저사양을 위한 설정", 40, 184, 340, 30, -1, ConfigAction::PresetLowEnd},
    // 재생
    {kPagePlay, ConfigKind::Button, "", L"이어보기 기록 초기화", 12, 220, 170, 26, -1, ConfigAction::ClearBookmarks},
    {kPagePlay, ConfigKind::Button, "", L"문서목록 초기화", 190, 220, 170, 26, -1, ConfigAction::ClearRecent},
    // 자막
    {kPageCaption, ConfigKind::Preview, "pntFont", L"", 232, 8, 200, 100},
    {kPageCaption, ConfigKind::Group, "", L"자막 위치", 168, 112, 264, 118},
    {kPageCaption, ConfigKind::Radio, "rdUpHeightRate", L"화면에 겹침", 176, 130, 120, 20, 0},
    {kPageCaption, ConfigKind::Radio, "rdUpHeightRate", L"반정도 걸침", 176, 154, 120, 20, 1},
    {kPageCaption, ConfigKind::Radio, "rdUpHeightRate", L"화면 아래로", 176, 178, 120, 20, 2},
    {kPageCaption, ConfigKind::Radio, "rdUpHeightRate", L"사용자 정의", 176, 202, 120, 20, 3},
    {kPageCaption, ConfigKind::Group, "", L"싱크", 168, 236, 264, 90},
    {kPageCaption, ConfigKind::Radio, "rdgSyncPlus", L"일찍 나오게", 176, 254, 110, 20, 0},
    {kPageCaption, ConfigKind::Radio, "rdgSyncPlus", L"늦게 나오게", 176, 278, 110, 20, 1},
    {kPageCaption, ConfigKind::Radio, "rdgSyncPlus", L"그대로", 176, 302, 110, 20, 2},
    {kPageCaption, ConfigKind::Edit, "edtSyncPlus", L"", 300, 266, 70, 22},
    {kPageCaption, ConfigKind::Label, "lblSyncPlus", L"초", 376, 270, 30, 18},
    // 전체화면
    {kPageFullScreen, ConfigKind::Check, "chkFullScreenDpi", L"전체화면에서 해상도와 컬러수를 변경", 12, 12, 400, 20},
    {kPageFullScreen, ConfigKind::Group, "", L"해상도", 12, 40, 200, 170},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenDpi", L"640 X 480", 24, 60, 180, 20, 0},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenDpi", L"800 X 600", 24, 84, 180, 20, 1},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenDpi", L"1024 X 768", 24, 108, 180, 20, 2},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenDpi", L"1152 X 864", 24, 132, 180, 20, 3},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenDpi", L"1280 X 1024", 24, 156, 180, 20, 4},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenDpi", L"1600 X 1200", 24, 180, 180, 20, 5},
    {kPageFullScreen, ConfigKind::Group, "", L"컬러", 224, 40, 200, 122},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenColor", L"8 비트", 236, 60, 180, 20, 0},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenColor", L"16 비트", 236, 84, 180, 20, 1},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenColor", L"24 비트", 236, 108, 180, 20, 2},
    {kPageFullScreen, ConfigKind::Radio, "rdgFullScreenColor", L"32 비트", 236, 132, 180, 20, 3},
    // 파일연결
    {kPageFileLink, ConfigKind::Check, "chkLinkAvi", L"비디오 파일 (avi)", 12, 12, 400, 20},
    {kPageFileLink, ConfigKind::Check, "chkLinkAsx", L"윈도우 미디어 파일 (asx,asf,wm,wmv,wmx)", 12, 36, 400, 20},
    {kPageFileLink, ConfigKind::Check, "chkLinkMpeg", L"MPEG 파일 (mpeg,mpg,mpe,mpa,m1v,m2v)", 12, 60, 400, 20},
    {kPageFileLink, ConfigKind::Check, "chkLinkDat", L"비디오 씨디 (dat)", 12, 84, 400, 20},
    {kPageFileLink, ConfigKind::Check, "chkLinkDivx", L"DivX 파일 (divx)", 12, 108, 400, 20},
    {kPageFileLink, ConfigKind::Check, "chkLinkVob", L"DVD 파일 (vob)", 12, 132, 400, 20},
    {kPageFileLink, ConfigKind::Check, "chkLinkOgm", L"오그 보비스 (ogm) ", 12, 156, 400, 20},
    {kPageFileLink, ConfigKind::Button, "", L"모두선택", 12, 190, 100, 26, -1, ConfigAction::LinkAll},
    {kPageFileLink, ConfigKind::Button, "", L"모두해제", 120, 190, 100, 26, -1, ConfigAction::LinkNone},
    {kPageFileLink, ConfigKind::Button, "", L"미리보기 사용", 12, 230, 130, 26, -1, ConfigAction::PreviewOn},
    {kPageFileLink, ConfigKind::Button, "", L"아이콘 사용", 150, 230, 130, 26, -1, ConfigAction::PreviewOff},
    // 기타 설정
    {kPageAdvanced, ConfigKind::Button, "btnSearchCaptionFolder", L"폴더찾기...", 332, 214, 90, 24, -1, ConfigAction::BrowseFolder},
    {kPageAdvanced, ConfigKind::Button, "", L"자막코덱 삭제", 12, 256, 130, 26, -1, ConfigAction::RemoveCaptionCodec},
    // Below the tabs.
    {kConfigFormPage, ConfigKind::Label, "lblVersion", L"", 8, 378, 180, 18},
    {kConfigFormPage, ConfigKind::Link, "", L"홈페이지", 8, 398, 60, 18, -1, ConfigAction::OpenHomePage},
};
// clang-format on

// Controls made together, placed by their main control.
struct Piece {
  int page;
  int line;
  int x;
  std::vector<ConfigControlSpec> controls;
};

// Controls a few pixels apart in height (a caption beside its edit) stand on
// one line.
constexpr int kLinePitch = 12;
int LineOf(int y) { return (y + kLinePitch / 2) / kLinePitch; }

// The form's own rows come after the pages'.
Piece PieceAt(int page, int x, int y) {
  return Piece{page == kConfigFormPage ? kConfigPageCount : page, LineOf(y), x, {}};
}

ConfigControlSpec OwnSpec(const OwnControl& c) {
  return {c.page, c.kind, c.name, c.text, c.x, c.y, c.w, c.h, c.item, c.action};
}

// The caption left of a spin or swatch, ending a few pixels before it.
ConfigControlSpec CaptionLeft(const DialogControl& c, ConfigKind kind, ConfigAction action) {
  const DialogPlace& p = c.place;
  return {p.page, kind, "",    Utf8ToWide(c.caption), p.x - c.captionWidth - 4, p.y + 2, c.captionWidth,
          18,     -1,   action};
}

Piece SettingPiece(const DialogSetting& s) {
  const DialogControl& c = *s.control;
  const DialogPlace& p = c.place;
  Piece piece = PieceAt(p.page, p.x, p.y);
  auto add = [&](ConfigKind kind, const std::wstring& text, ConfigAction action = ConfigAction::None) {
    piece.controls.push_back({p.page, kind, c.name, text, p.x, p.y, p.width, p.height, -1, action, &s});
  };
  switch (c.kind) {
    case ControlKind::Check:
      add(ConfigKind::Check, Utf8ToWide(c.caption));
      break;
    case ControlKind::Spin:
      if (c.captionWidth > 0) piece.controls.push_back(CaptionLeft(c, ConfigKind::Label, ConfigAction::None));
      add(ConfigKind::Spin, L"");
      break;
    case ControlKind::Radios: {
      piece.controls.push_back(
          {p.page, ConfigKind::Group, "", Utf8ToWide(c.caption), p.x, p.y, p.width, p.height});
      const int columns = std::max(c.columns, 1);
      const int columnWidth = (p.width - 24) / columns;
      for (size_t i = 0; i < c.choices.size(); ++i) {
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        piece.controls.push_back({p.page, ConfigKind::Radio, c.name, Utf8ToWide(c.choices[i].caption),
                                  p.x + 12 + column * columnWidth, p.y + 20 + row * 24,
                                  columns == 1 ? p.width - 20 : columnWidth, 20, c.choices[i].value,
                                  ConfigAction::None, &s});
      }
      break;
    }
    case ControlKind::Edit:
      add(ConfigKind::Edit, L"");
      break;
    case ControlKind::FontList:
      piece.controls.push_back(
          {p.page, ConfigKind::Label, "", Utf8ToWide(c.caption), p.x, p.y - 18, p.width, 18});
      add(ConfigKind::List, L"");
      break;
    case ControlKind::Swatch:
      piece.controls.push_back(CaptionLeft(c, ConfigKind::Link, ConfigAction::ChooseColour));
      add(ConfigKind::Swatch, L"", ConfigAction::ChooseColour);
      break;
    case ControlKind::NumberButton:
      add(ConfigKind::Button, L"", ConfigAction::AskNumber);
      break;
    case ControlKind::None:
      break;
  }
  return piece;
}

}  // namespace

std::vector<ConfigControlSpec> ConfigControls(std::span<const DialogSetting> settings) {
  std::vector<Piece> pieces;
  for (const OwnControl& c : kOwnControls) {
    // The radios of one group stay together.
    const bool sameGroup = c.kind == ConfigKind::Radio && !pieces.empty() &&
                           pieces.back().controls.back().kind == ConfigKind::Radio &&
                           std::strcmp(pieces.back().controls.back().name, c.name) == 0;
    if (!sameGroup) pieces.push_back(PieceAt(c.page, c.x, c.y));
    pieces.back().controls.push_back(OwnSpec(c));
  }
  for (const DialogSetting& s : settings) {
    if (s.control->Shown()) pieces.push_back(SettingPiece(s));
  }
  std::stable_sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
    return std::tie(a.page, a.line, a.x) < std::tie(b.page, b.line, b.x);
  });
  std::vector<ConfigControlSpec> controls;
  for (Piece& piece : pieces) {
    for (ConfigControlSpec& c : piece.controls) controls.push_back(std::move(c));
  }
  return controls;
}

}  // namespace orves
