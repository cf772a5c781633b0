#include "player/captions/CaptionSettings.h"

#include <array>
#include <variant>

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

}  // namespace

void TCaptionSettings::Read(const TSetup& setup) {
  for (const Key& key : kKeys) {
    std::visit(Overloaded{
                   [&](int32_t TCaptionSettings::*p) { this->*p = setup.ReadInteger(Section, key.name, this->*p); },
                   [&](bool TCaptionSettings::*p) { this->*p = setup.ReadFlag(Section, key.name, this->*p); },
                   [&](std::string TCaptionSettings::*p) {
                     this->*p = setup.ReadString(Section, key.name, this->*p);
                   },
               },
               key.field);
  }
}

void TCaptionSettings::Write(TSetup& setup) const {
  for (const Key& key : kKeys) {
    std::visit(Overloaded{
                   [&](int32_t TCaptionSettings::*p) { setup.WriteInteger(Section, key.name, this->*p); },
                   [&](bool TCaptionSettings::*p) { setup.WriteFlag(Section, key.name, this->*p); },
                   [&](std::string TCaptionSettings::*p) { setup.WriteString(Section, key.name, this->*p); },
               },
               key.field);
  }
}

}  // namespace orves
