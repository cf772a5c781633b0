#include "player/dialogs/ConfigControls_win32.h"

namespace orves {

const wchar_t* const kConfigTabCaptions[kConfigPageCount] = {
    L"프리셋", L"보기", L"재생", L"플레이리스트", L"자막", L"전체화면", L"파일연결", L"기타 설정"};

namespace {

// clang-format off
constexpr ConfigControlSpec kControls[] = {
    // 프리셋
    {0, ConfigKind::Label, "", L"원하는 설정을 누르면 곧바로 적용됩니다.", 12, 12, 400, 16},
    {0, ConfigKind::Button, "", L"일반적인 설정", 40, 40, 340, 30, -1, ConfigAction::PresetNormal},
    {0, ConfigKind::Button, "", L"자막-영상 분리 모드", 40, 76, 340, 30, -1, ConfigAction::PresetSeparate},
    {0, ConfigKind::Button, "", L"16:9 와이드모드", 40, 112, 340, 30, -1, ConfigAction::PresetWide},
    {0, ConfigKind::Button, "", L"비디오, 에니메이션 모드 (4:3)", 40, 148, 340, 30, -1, ConfigAction::PresetVideo43},
    {0, ConfigKind::Button, "", L"저사양을 위한 설정", 40, 184, 340, 30, -1, ConfigAction::PresetLowEnd},
    {0, ConfigKind::Check, "chkShowTab", L"자세한 설정을 하기 위해서는 이곳을 체크하세요", 12, 240, 400, 20},
    // 보기
    {1, ConfigKind::Check, "chkAlwaysTop", L"항상위 켜기", 12, 12, 200, 20},
    {1, ConfigKind::Check, "chkShowStatus", L"상태표시 켜기", 12, 36, 200, 20},
    {1, ConfigKind::Check, "chkShowTime", L"재생시간 표시", 12, 60, 200, 20},
    {1, ConfigKind::Group, "", L"시작할 때 창 크기", 12, 90, 200, 170},
    {1, ConfigKind::Radio, "rdgStartMode", L"창크기에 맞춤", 24, 110, 180, 20, 0},
    {1, ConfigKind::Radio, "rdgStartMode", L"0.5배 크기", 24, 134, 180, 20, 1},
    {1, ConfigKind::Radio, "rdgStartMode", L"1.0배 크기", 24, 158, 180, 20, 2},
    {1, ConfigKind::Radio, "rdgStartMode", L"1.5배 크기", 24, 182, 180, 20, 3},
    {1, ConfigKind::Radio, "rdgStartMode", L"2.0배 크기", 24, 206, 180, 20, 4},
    {1, ConfigKind::Radio, "rdgStartMode", L"전체 화면", 24, 230, 180, 20, 5},
    // 재생
    {2, ConfigKind::Label, "", L"◀ ▶ 키로 이동 (초)", 12, 14, 150, 18},
    {2, ConfigKind::Spin, "spinFFTime", L"", 170, 12, 70, 22},
    {2, ConfigKind::Label, "", L"Alt + ◀ ▶ 키로 이동 (초)", 12, 42, 150, 18},
    {2, ConfigKind::Spin, "spinFFTime2", L"", 170, 40, 70, 22},
    {2, ConfigKind::Label, "", L"밝기", 12, 70, 150, 18},
    {2, ConfigKind::Spin, "spinDivxBrightness", L"", 170, 68, 70, 22},
    {2, ConfigKind::Label, "", L"화질", 12, 98, 150, 18},
    {2, ConfigKind::Spin, "spinDivxProcess", L"", 170, 96, 70, 22},
    {2, ConfigKind::Check, "chkBookmark", L"이어보기기능 켜기", 12, 132, 200, 20},
    {2, ConfigKind::Check, "chkAutoRewind", L"반복재생 켜기", 12, 156, 200, 20},
    {2, ConfigKind::Check, "chkAddToRecent", L"문서목록에 남기기", 12, 180, 200, 20},
    {2, ConfigKind::Button, "", L"이어보기 기록 초기화", 12, 220, 170, 26, -1, ConfigAction::ClearBookmarks},
    {2, ConfigKind::Button, "", L"문서목록 초기화", 190, 220, 170, 26, -1, ConfigAction::ClearRecent},
    // 플레이리스트
    {3, ConfigKind::Check, "chkPlayListEnabled", L"플레이리스트 보기", 12, 12, 200, 20},
    {3, ConfigKind::Check, "chkAutoSort", L"자동 정렬", 12, 36, 200, 20},
    // 자막
    {4, ConfigKind::Label, "", L"자막 크기 (%)", 8, 12, 80, 18},
    {4, ConfigKind::Spin, "spinHeightRate", L"", 92, 10, 64, 22},
    {4, ConfigKind::Label, "", L"줄간격 (%)", 8, 38, 80, 18},
    {4, ConfigKind::Spin, "spinLineHeightRate", L"", 92, 36, 64, 22},
    {4, ConfigKind::Label, "", L"외각선 (%)", 8, 64, 80, 18},
    {4, ConfigKind::Spin, "spinOutLineRate", L"", 92, 62, 64, 22},
    {4, ConfigKind::Label, "", L"그림자 (%)", 8, 90, 80, 18},
    {4, ConfigKind::Spin, "spinShadowRate", L"", 92, 88, 64, 22},
    {4, ConfigKind::Label, "", L"장평 (%)", 8, 116, 80, 18},
    {4, ConfigKind::Spin, "spinFontWidthRate", L"", 92, 114, 64, 22},
    {4, ConfigKind::Label, "", L"폰트이름", 8, 144, 80, 18},
    {4, ConfigKind::List, "lstFontName", L"", 8, 162, 150, 160},
    {4, ConfigKind::Link, "", L"색", 164, 12, 20, 18, -1, ConfigAction::ChooseColour},
    {4, ConfigKind::Swatch, "pnlFontColor", L"", 186, 10, 26, 22, -1, ConfigAction::ChooseColour},
    {4, ConfigKind::Check, "chkFontBold", L"굵게", 164, 40, 68, 20},
    {4, ConfigKind::Check, "chkAntiAliase", L"가장자리 부드럽게", 164, 64, 70, 36},
    {4, ConfigKind::Preview, "pntFont", L"", 236, 8, 200, 100},
    {4, ConfigKind::Group, "", L"자막 위치", 168, 112, 264, 118},
    {4, ConfigKind::Radio, "rdUpHeightRate", L"화면에 겹침", 176, 130, 120, 20, 0},
    {4, ConfigKind::Radio, "rdUpHeightRate", L"반정도 걸침", 176, 154, 120, 20, 1},
    {4, ConfigKind::Radio, "rdUpHeightRate", L"화면 아래로", 176, 178, 120, 20, 2},
    {4, ConfigKind::Radio, "rdUpHeightRate", L"사용자 정의", 176, 202, 120, 20, 3},
    {4, ConfigKind::Button, "btnUpHeightRateShortCut1", L"", 310, 128, 50, 22, -1, ConfigAction::AskPreset1},
    {4, ConfigKind::Button, "btnUpHeightRateShortCut2", L"", 310, 152, 50, 22, -1, ConfigAction::AskPreset2},
    {4, ConfigKind::Button, "btnUpHeightRateShortCut3", L"", 310, 176, 50, 22, -1, ConfigAction::AskPreset3},
    {4, ConfigKind::Spin, "spinUpHeightRate", L"", 310, 200, 70, 22},
    {4, ConfigKind::Group, "", L"싱크", 168, 236, 264, 90},
    {4, ConfigKind::Radio, "rdgSyncPlus", L"일찍 나오게", 176, 254, 110, 20, 0},
    {4, ConfigKind::Radio, "rdgSyncPlus", L"늦게 나오게", 176, 278, 110, 20, 1},
    {4, ConfigKind::Radio, "rdgSyncPlus", L"그대로", 176, 302, 110, 20, 2},
    {4, ConfigKind::Edit, "edtSyncPlus", L"", 300, 266, 70, 22},
    {4, ConfigKind::Label, "lblSyncPlus", L"초", 376, 270, 30, 18},
    // 전체화면
    {5, ConfigKind::Check, "chkFullScreenDpi", L"전체화면에서 해상도와 컬러수를 변경", 12, 12, 400, 20},
    {5, ConfigKind::Group, "", L"해상도", 12, 40, 200, 122},
    {5, ConfigKind::Choice, "rdgFullScreenDpi", L"", 24, 62, 176, 200},
    {5, ConfigKind::Group, "", L"컬러", 224, 40, 200, 122},
    {5, ConfigKind::Radio, "rdgFullScreenColor", L"8 비트", 236, 60, 180, 20, 0},
    {5, ConfigKind::Radio, "rdgFullScreenColor", L"16 비트", 236, 84, 180, 20, 1},
    {5, ConfigKind::Radio, "rdgFullScreenColor", L"24 비트", 236, 108, 180, 20, 2},
    {5, ConfigKind::Radio, "rdgFullScreenColor", L"32 비트", 236, 132, 180, 20, 3},
    {5, ConfigKind::Group, "", L"화면 비율", 12, 218, 412, 48},
    {5, ConfigKind::Radio, "rdoDoFixRate", L"그대로", 24, 238, 120, 20, 0},
    {5, ConfigKind::Radio, "rdoDoFixRate", L"16:9", 150, 238, 120, 20, 169},
    {5, ConfigKind::Radio, "rdoDoFixRate", L"4:3", 276, 238, 120, 20, 43},
    {5, ConfigKind::Check, "chkAlwaysShowFullScreenBar", L"전체화면에서 컨트롤바를 항상 보이게", 12, 278, 400, 20},
    // 파일연결
    {6, ConfigKind::Check, "chkLinkAvi", L"비디오 파일 (avi)", 12, 12, 400, 20},
    {6, ConfigKind::Check, "chkLinkAsx", L"윈도우 미디어 파일 (asx,asf,wm,wmv,wmx)", 12, 36, 400, 20},
    {6, ConfigKind::Check, "chkLinkMpeg", L"MPEG 파일 (mpeg,mpg,mpe,mpa,m1v,m2v)", 12, 60, 400, 20},
    {6, ConfigKind::Check, "chkLinkDat", L"비디오 씨디 (dat)", 12, 84, 400, 20},
    {6, ConfigKind::Check, "chkLinkDivx", L"DivX 파일 (divx)", 12, 108, 400, 20},
    {6, ConfigKind::Check, "chkLinkVob", L"DVD 파일 (vob)", 12, 132, 400, 20},
    {6, ConfigKind::Check, "chkLinkOgm", L"오그 보비스 (ogm) ", 12, 156, 400, 20},
    {6, ConfigKind::Button, "", L"모두선택", 12, 190, 100, 26, -1, ConfigAction::LinkAll},
    {6, ConfigKind::Button, "", L"모두해제", 120, 190, 100, 26, -1, ConfigAction::LinkNone},
    {6, ConfigKind::Button, "", L"미리보기 사용", 12, 230, 130, 26, -1, ConfigAction::PreviewOn},
    {6, ConfigKind::Button, "", L"아이콘 사용", 150, 230, 130, 26, -1, ConfigAction::PreviewOff},
    // 기타 설정
    {7, ConfigKind::Check, "chkStateTextKorean", L"상태표시 한글로 보기", 12, 8, 400, 20},
    {7, ConfigKind::Check, "chkCheckNewVersion", L"시작할 때 새 버전 체크", 12, 30, 400, 20},
    {7, ConfigKind::Check, "chkPauseAtMinimize", L"창크기 최소화시 동영상 일시정지", 12, 52, 400, 20},
    {7, ConfigKind::Check, "chkParseColorTag", L"컬러태그 적용하기", 12, 74, 400, 20},
    {7, ConfigKind::Check, "chkShowMovieWhenHide", L"창이동, 크기변환 시 화면표시", 12, 96, 400, 20},
    {7, ConfigKind::Check, "chkCheckCaptionCodec", L"시작할 때 자막코덱 알림", 12, 118, 400, 20},
    {7, ConfigKind::Check, "chkCutWhenWindow", L"창화면에서도 강제비율설정, 팬스캔(양쪽자르기) 적용", 12, 140, 420, 20},
    {7, ConfigKind::Check, "chkForce43", L"4:3 모드에서 무조건 꽉차게", 12, 162, 400, 20},
    {7, ConfigKind::Check, "chkSmartCaptionFinding", L"인공지능 자막파일 찾기 사용", 12, 184, 400, 20},
    {7, ConfigKind::Check, "chkUseCaptionFolder", L"자막폴더 지정", 12, 216, 110, 20},
    {7, ConfigKind::Edit, "edtCaptionFolder", L"", 126, 215, 200, 22},
    {7, ConfigKind::Button, "btnSearchCaptionFolder", L"폴더찾기...", 332, 214, 90, 24, -1, ConfigAction::BrowseFolder},
    {7, ConfigKind::Button, "", L"자막코덱 삭제", 12, 256, 130, 26, -1, ConfigAction::RemoveCaptionCodec},
    // Below the tabs.
    {kConfigFormPage, ConfigKind::Label, "lblVersion", L"", 8, 378, 180, 18},
    {kConfigFormPage, ConfigKind::Link, "", L"홈페이지", 8, 398, 60, 18, -1, ConfigAction::OpenHomePage},
};
// clang-format on

}  // namespace

std::span<const ConfigControlSpec> ConfigControls() { return kControls; }

}  // namespace orves
