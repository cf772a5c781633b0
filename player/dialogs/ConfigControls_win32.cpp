#include "player/dialogs/ConfigControls_win32.h"

#include <algorithm>
#include <tuple>

#include "player/core/MediaFileTypes.h"
#include "player/core/TextConvert_win32.h"
#include "player/dialogs/ConfigModel.h"

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

// A column of the dialog's own controls of one kind, made together: each
// below the one before by `pitch` pixels, with its caption and, in turn, its
// name (all of a radio group share the one). Control k carries item
// `firstItem` + k (a radio's value, a preset's number).
struct OwnColumn {
  int page;
  ConfigKind kind;
  std::span<const char* const> names;
  std::span<const wchar_t* const> captions;
  short x, y, w, h, pitch;
  int firstItem = -1;
  ConfigAction action = ConfigAction::None;
};

// clang-format off
constexpr OwnControl kOwnControls[] = {
    {kPagePresets, ConfigKind::Label, "", L"원하는 설정을 누르면 곧바로 적용됩니다.", 12, 12, 400, 16},
    {kPagePlay, ConfigKind::Button, "", L"이어보기 기록 초기화", 12, 220, 170, 26, -1, ConfigAction::ClearBookmarks},
    {kPagePlay, ConfigKind::Button, "", L"문서목록 초기화", 190, 220, 170, 26, -1, ConfigAction::ClearRecent},
    {kPageCaption, ConfigKind::Preview, "pntFont", L"", 236, 8, 200, 100},
    {kPageCaption, ConfigKind::Group, "", L"자막 위치", 168, 112, 264, 118},
    {kPageCaption, ConfigKind::Group, "", L"싱크", 168, 236, 264, 90},
    {kPageCaption, ConfigKind::Edit, cfg::kSyncSeconds, L"", 300, 266, 70, 22},
    {kPageCaption, ConfigKind::Label, "lblSyncPlus", L"초", 376, 270, 30, 18},
    {kPageFullScreen, ConfigKind::Check, cfg::kFullScreenMode, L"전체화면에서 해상도와 컬러수를 변경", 12, 12, 400, 20},
    {kPageFullScreen, ConfigKind::Group, "", L"컬러", 224, 40, 200, 122},
    {kPageFileLink, ConfigKind::Button, "", L"모두선택", 12, 270, 100, 26, -1, ConfigAction::LinkAll},
    {kPageFileLink, ConfigKind::Button, "", L"모두해제", 120, 270, 100, 26, -1, ConfigAction::LinkNone},
    {kPageFileLink, ConfigKind::Button, "", L"미리보기 사용", 12, 302, 130, 26, -1, ConfigAction::PreviewOn},
    {kPageFileLink, ConfigKind::Button, "", L"아이콘 사용", 150, 302, 130, 26, -1, ConfigAction::PreviewOff},
    {kPageAdvanced, ConfigKind::Button, "btnSearchCaptionFolder", L"폴더찾기...", 332, 214, 90, 24, -1, ConfigAction::BrowseFolder},
    {kPageAdvanced, ConfigKind::Button, "", L"자막코덱 삭제", 12, 256, 130, 26, -1, ConfigAction::RemoveCaptionCodec},
    // Below the tabs.
    {kConfigFormPage, ConfigKind::Label, "lblVersion", L"", 8, 378, 180, 18},
    {kConfigFormPage, ConfigKind::Link, "", L"홈페이지", 8, 398, 60, 18, -1, ConfigAction::OpenHomePage},
};

// The preset buttons in the order of the preset numbers (1 to 5).
constexpr const char* kNoNames[] = {""};
constexpr const wchar_t* kPresetCaptions[] = {L"일반적인 설정", L"자막-영상 분리 모드", L"16:9 와이드모드",
                                              L"비디오, 에니메이션 모드 (4:3)", L"저사양을 위한 설정"};
constexpr const char* kPositionNames[] = {cfg::kPositionChoice};
constexpr const wchar_t* kPositionCaptions[] = {L"화면에 겹침", L"반정도 걸침", L"화면 아래로", L"사용자 정의"};
constexpr const char* kSyncNames[] = {cfg::kSyncChoice};
constexpr const wchar_t* kSyncCaptions[] = {L"일찍 나오게", L"늦게 나오게", L"그대로"};
constexpr const char* kColourNames[] = {cfg::kFullScreenColor};
constexpr const wchar_t* kColourCaptions[] = {L"8 비트", L"16 비트", L"24 비트", L"32 비트"};
constexpr OwnColumn kOwnColumns[] = {
    {kPagePresets, ConfigKind::Button, kNoNames, kPresetCaptions, 40, 40, 340, 30, 36, 1, ConfigAction::Preset},
    {kPageCaption, ConfigKind::Radio, kPositionNames, kPositionCaptions, 176, 130, 120, 20, 24, 0},
    {kPageCaption, ConfigKind::Radio, kSyncNames, kSyncCaptions, 176, 254, 110, 20, 24, 0},
    {kPageFullScreen, ConfigKind::Radio, kColourNames, kColourCaptions, 236, 60, 180, 20, 24, 0},
};
// clang-format on

// Controls made together, placed by their main control.
struct Piece {
  int page;
  int line;
  int x;
  std::vector<ConfigControlSpec> controls;
};

// A drop-down list's height with its list open: about ten entries.
constexpr int kDroppedListHeight = 200;

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

Piece ColumnPiece(const OwnColumn& c) {
  Piece piece = PieceAt(c.page, c.x, c.y);
  for (size_t k = 0; k < c.captions.size(); ++k) {
    const int item = c.firstItem < 0 ? -1 : c.firstItem + static_cast<int>(k);
    piece.controls.push_back({c.page, c.kind, c.names[std::min(k, c.names.size() - 1)], c.captions[k], c.x,
                              c.y + static_cast<int>(k) * c.pitch, c.w, c.h, item, c.action});
  }
  return piece;
}

// The association boxes, one per group of the file types table that has one.
Piece LinkPiece() {
  constexpr int kX = 12, kTop = 12, kPitch = 21;
  Piece piece = PieceAt(kPageFileLink, kX, kTop);
  const std::vector<const MediaFileGroup*> groups = LinkGroups();
  for (size_t k = 0; k < groups.size() && k < std::size(cfg::kLinkBoxes); ++k) {
    piece.controls.push_back({kPageFileLink, ConfigKind::Check, cfg::kLinkBoxes[k],
                              Utf8ToWide(groups[k]->linkCaption), kX, kTop + static_cast<int>(k) * kPitch,
                              400, 20});
  }
  return piece;
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
    case ControlKind::Choice:
      piece.controls.push_back(
          {p.page, ConfigKind::Group, "", Utf8ToWide(c.caption), p.x, p.y, p.width, p.height});
      piece.controls.push_back({p.page, ConfigKind::Choice, c.name, L"", p.x + 12, p.y + 22, p.width - 24,
                                kDroppedListHeight, -1, ConfigAction::None, &s});
      break;
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
    pieces.push_back(PieceAt(c.page, c.x, c.y));
    pieces.back().controls.push_back(OwnSpec(c));
  }
  for (const OwnColumn& c : kOwnColumns) pieces.push_back(ColumnPiece(c));
  pieces.push_back(LinkPiece());
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
