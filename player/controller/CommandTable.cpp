#include "player/controller/CommandTable.h"

#include <array>
#include <cctype>
#include <utility>

namespace orves {
namespace {

constexpr const char* kFile = "파일";
constexpr const char* kPlayback = "재생";
constexpr const char* kLayout = "레이아웃";
constexpr const char* kCaption = "자막";
constexpr const char* kPlayList = "플레이리스트";
constexpr const char* kPreset = "프리셋";

std::vector<CommandSpec> BuildCommands() {
  return {
      {"actOpen", kFile, "동영상 열기...", {"F3", "ctrl+o", "l"}},
      {"actClose", kFile, "닫기", {"F4"}},
      {"actOpenCaption", kFile, "자막 열기...", {"Alt+F3", "alt+l"}},
      {"actOpenInternetFile", kFile, "실시간파일 열기...", {"Ctrl+F3", "ctrl+l"}},
      {"actEditConfig", kFile, "환경설정...", {"F2"}},
      {"actHelp", kFile, "도움말...", {"F1"}},
      {"actExit", kFile, "종료", {"Alt+X"}},
      {"actFontConfig", kCaption, "폰트설정...", {}},
      {"actProperty", kFile, "actProperty", {}},
      {"actPlayPause", kPlayback, "재생 / 일시멈춤", {"Space", "c"}},
      {"actPlay", kPlayback, "재생", {"X"}},
      {"actPause", kPlayback, "일시정지", {}},
      {"actStop", kPlayback, "정지", {"End", "v"}},
      {"actFastFind", kPlayback, "빨리감기", {"Right"}},
      {"actRewind", kPlayback, "되감기", {"Left"}},
      {"actFastFind2", kPlayback, "초 빨리감기", {"Alt+Right"}},
      {"actRewind2", kPlayback, "초 되감기", {"Alt+Left"}},
      {"actVolumeUp", kPlayback, "소리 크게", {"Up"}},
      {"actVolumeDown", kPlayback, "소리 작게", {"Down"}},
      {"actToggleMute", kPlayback, "음소거", {}},
      {"actBrightnessUp", kPlayback, "밝기 Up", {"Alt+Up"}},
      {"actBrightnessDown", kPlayback, "밝기 Down", {"Alt+Down"}},
      {"actSpeedUp", kPlayback, "속도 빠르게", {"="}},
      {"actSpeedDown", kPlayback, "속도 느리게", {"-"}},
      {"actChangeStream", kPlayback, "언어 바꾸기", {"Tab"}},
      {"actToggleFullScreen", kLayout, "전체화면", {"Esc", "Alt+Enter"}},
      {"actToggleFullScreenBar", kLayout, "컨트롤바 보기 (전체화면)", {"F10"}},
      {"actMinimize", kLayout, "최소화", {"F12"}},
      {"actScreenHalf", kLayout, "0.5 배 크기로", {"`"}},
      {"actScreenOne", kLayout, "1.0 배 크기로", {"1"}},
      {"actScreenOneHalf", kLayout, "1.5 배 크기로", {"2"}},
      {"actScreenTwo", kLayout, "2.0 배 크기로", {"3"}},
      {"actMinusCuttingBlock", kLayout, "양쪽 자르기 증가", {"["}},
      {"actAddCuttingBlock", kLayout, "actAddCuttingBlock", {"]"}},
      {"actToggleShowTime", kLayout, "재생시간 보기", {"T"}},
      {"actChangeSkin", kLayout, "다음 스킨으로 바꾸기", {"F11"}},
      {"actDownloadSkin", kLayout, "스킨 다운로드...", {}},
      {"actTogglePlayList", kLayout, "보기 / 감추기", {"F9"}},
      {"actPlayPre", kPlayList, "이전 동영상", {"Ctrl+Left", "z"}},
      {"actPlayNext", kPlayList, "다음 동영상", {"Ctrl+Right", "b"}},
      {"actPlayListAdd", kPlayList, "추가...", {"Ins"}},
      {"actPlayListDelete", kPlayList, "삭제", {"Del"}},
      {"actSavePlayList", kPlayList, "저장...", {"Ctrl+S"}},
      {"actClear", kPlayList, "모두 삭제", {}},
      {"actDeleteNotExist", kPlayList, "지워진 파일 삭제", {}},
      {"actAutoSort", kPlayList, "자동 정렬 (이름순)", {}},
      {"actShowCaptionToggle", kCaption, "자막 보기", {"F8"}},
      {"actPresetNormal", kPreset, "일반적인 설정", {"Ctrl+1"}},
      {"actPresetCaption", kPreset, "영상우선 모드", {"Ctrl+2"}},
      {"actPreset169", kPreset, "16:9 와이드 모드", {"Ctrl+3"}},
      {"actPreset43", kPreset, "비디오TV 모드", {"Ctrl+4"}},
      {"actPresetLow", kPreset, "저사양 모드", {"Ctrl+5"}},
      // Caption commands.
      {"actAddSyncPlus1cs", kCaption, "0.1초 늦게", {"Shift+Right"}},
      {"actMinusSyncPlus1cs", kCaption, "0.1초 일찍", {"Shift+Left"}},
      {"actAddSyncPlus1s", kCaption, "1.0초 늦게", {"Shift+Up"}},
      {"actMinusSyncPlus1s", kCaption, "1.0초 일찍", {"Shift+Down"}},
      {"actSyncPlusZero", kCaption, "그대로", {"Shift+Home"}},
      {"actChangeLanguage", kCaption, "언어 바꾸기 (통합자막)", {"F7"}},
      {"actChangeLanguageAndPlayPause", kCaption, "언어 바꾸기 && Play/Pause", {"Enter"}},
      {"actCaptionMoveUp", kCaption, "위로", {"Ctrl+Up"}},
      {"actCaptionMoveDown", kCaption, "아래로", {"Ctrl+Down"}},
      {"actUpHeightRateShortCut1", kCaption, "화면에 겹침", {"Q"}},
      {"actUpHeightRateShortCut2", kCaption, "반정도 겹침", {"W"}},
      {"actUpHeightRateShortCut3", kCaption, "화면 아래로", {"E"}},
      {"actCaptionSizeUp", kCaption, "자막창 크게", {"PgUp"}},
      {"actCaptionSizeDown", kCaption, "자막창 작게", {"PgDn"}},
      {"actOutLineRatePlus", kCaption, "외각선 굵게", {"Ctrl+PgUp"}},
      {"actOutLineRateMinus", kCaption, "외각선 얇게", {"Ctrl+PgDn"}},
      {"actShadowRatePlus", kCaption, "그림자 깊게", {"Alt+PgUp"}},
      {"actShadowRateMinus", kCaption, "그림자 얕게", {"Alt+PgDn"}},
      {"actToggleAntiAliase", kCaption, "가장자리 부드럽게", {"F6"}},
      {"actToggleFontBold", kCaption, "굵게", {"Ctrl+B"}},
      {"actSaveCaption", kCaption, "저장하기 (싱크적용)", {"Alt+S"}},
  };
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Virtual-key codes of the named keys (the values Windows uses).
std::optional<uint16_t> NamedKey(const std::string& name) {
  static const std::array<std::pair<const char*, uint16_t>, 20> kNames{{
      {"space", 0x20}, {"enter", 0x0D}, {"esc", 0x1B},  {"tab", 0x09},  {"left", 0x25},
      {"up", 0x26},    {"right", 0x27}, {"down", 0x28}, {"home", 0x24}, {"end", 0x23},
      {"pgup", 0x21},  {"pgdn", 0x22},  {"ins", 0x2D},  {"del", 0x2E},  {"`", 192},
      {"=", 187},      {"-", 189},      {"[", 219},     {"]", 221},     {"backspace", 0x08},
  }};
  for (const auto& [text, vk] : kNames) {
    if (name == text) return vk;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(name[0])));
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'f') {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) return std::nullopt;
      n = n * 10 + (name[i] - '0');
    }
    if (n >= 1 && n <= 12) return static_cast<uint16_t>(0x70 + n - 1);
  }
  return std::nullopt;
}

}  // namespace

const std::vector<CommandSpec>& Commands() {
  static const std::vector<CommandSpec> commands = BuildCommands();
  return commands;
}

const CommandSpec* FindCommand(std::string_view name) {
  for (const auto& c : Commands()) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

std::optional<KeyStroke> ParseShortcut(std::string_view text) {
  KeyStroke key;
  std::string rest = Lower(text);
  // Modifiers come first, each followed by '+'; a lone "-" or "=" is a key.
  for (;;) {
    const size_t plus = rest.find('+');
    if (plus == std::string::npos || plus == 0) break;
    const std::string mod = rest.substr(0, plus);
    if (mod == "ctrl")
      key.modifiers |= kModCtrl;
    else if (mod == "alt")
      key.modifiers |= kModAlt;
    else if (mod == "shift")
      key.modifiers |= kModShift;
    else
      return std::nullopt;
    rest = rest.substr(plus + 1);
  }
  const auto vk = NamedKey(rest);
  if (!vk) return std::nullopt;
  key.virtualKey = *vk;
  return key;
}

const CommandSpec* CommandForKey(KeyStroke key) {
  // Parsed once: a key press then costs a scan of about a hundred pairs.
  static const std::vector<std::pair<KeyStroke, const CommandSpec*>> keys = [] {
    std::vector<std::pair<KeyStroke, const CommandSpec*>> all;
    for (const auto& c : Commands()) {
      for (const char* s : c.shortcuts) {
        if (const auto stroke = ParseShortcut(s)) all.emplace_back(*stroke, &c);
      }
    }
    return all;
  }();
  for (const auto& [stroke, command] : keys) {
    if (stroke == key) return command;
  }
  return nullptr;
}

}  // namespace orves
