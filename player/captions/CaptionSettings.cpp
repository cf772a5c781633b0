#include "player/captions/CaptionSettings.h"

#include <array>
#include <variant>

#include "player/captions/TextCodec.h"
#include "player/captions/UnicodeText.h"
#include "player/shell/Setup.h"

namespace orves {
namespace {

using Field = std::variant<int32_t TCaptionSettings::*, bool TCaptionSettings::*, std::string TCaptionSettings::*>;

struct Key {
  const char* name;
  Field field;
};

// The order in which the keys are read and written.
const std::array<Key, 16> kKeys = {{
    {"UpHeightRate", &TCaptionSettings::upHeightRate},
    {"UpHeightRateShortCut1", &TCaptionSettings::upHeightRateShortCut1},
    {"UpHeightRateShortCut2", &TCaptionSettings::upHeightRateShortCut2},
    {"UpHeightRateShortCut3", &TCaptionSettings::upHeightRateShortCut3},
    {"HeightRate", &TCaptionSettings::heightRate},
    {"OutLineRate", &TCaptionSettings::outLineRate},
    {"ShadowRate", &TCaptionSettings::shadowRate},
    {"LineHeightRate", &TCaptionSettings::lineHeightRate},
    {"FontWidthRate", &TCaptionSettings::fontWidthRate},
    {"FontName2", &TCaptionSettings::fontName2},
    {"FontBold", &TCaptionSettings::fontBold},
    {"FontColor", &TCaptionSettings::fontColor},
    {"WarnedJapaness", &TCaptionSettings::warnedJapaness},
    {"AntiAliase", &TCaptionSettings::antiAliase},
    {"ParseColorTag", &TCaptionSettings::parseColorTag},
    {"SmartCaptionFinding", &TCaptionSettings::smartCaptionFinding},
}};

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// A text of the settings file: CP949 as the file was always written, or
// UTF-8 where it already is (CP949 Hangul is never valid UTF-8).
std::string FromProfileText(const std::string& bytes, ITextCodec& codec) {
  return IsValidUtf8(bytes) ? bytes : codec.Cp949ToUtf8(bytes);
}

// CP949 when it holds the text; UTF-8 rather than losing characters.
std::string ToProfileText(const std::string& utf8, ITextCodec& codec) {
  return codec.Utf8ToCp949(utf8).value_or(utf8);
}

}  // namespace

void TCaptionSettings::Read(const TSetup& setup, ITextCodec& codec) {
  for (const Key& key : kKeys) {
    std::visit(Overloaded{
                   [&](int32_t TCaptionSettings::*p) { this->*p = setup.ReadInteger(Section, key.name, this->*p); },
                   [&](bool TCaptionSettings::*p) { this->*p = setup.ReadFlag(Section, key.name, this->*p); },
                   [&](std::string TCaptionSettings::*p) {
                     const std::string def = ToProfileText(this->*p, codec);
                     this->*p = FromProfileText(setup.ReadString(Section, key.name, def), codec);
                   },
               },
               key.field);
  }
}

void TCaptionSettings::Write(TSetup& setup, ITextCodec& codec) const {
  for (const Key& key : kKeys) {
    std::visit(Overloaded{
                   [&](int32_t TCaptionSettings::*p) { setup.WriteInteger(Section, key.name, this->*p); },
                   [&](bool TCaptionSettings::*p) { setup.WriteFlag(Section, key.name, this->*p); },
                   [&](std::string TCaptionSettings::*p) {
                     setup.WriteString(Section, key.name, ToProfileText(this->*p, codec));
                   },
               },
               key.field);
  }
}

}  // namespace orves
