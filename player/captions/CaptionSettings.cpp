#include "player/captions/CaptionSettings.h"

namespace orves {

const SettingsTable<TCaptionSettings>& TCaptionSettings::SettingsKeys() {
  using S = TCaptionSettings;
  static constexpr SettingKey<S> keys[] = {
      IntegerKey("UpHeightRate", &S::upHeightRate, 120),
      IntegerKey("UpHeightRateShortCut1", &S::upHeightRateShortCut1, 120),
      IntegerKey("UpHeightRateShortCut2", &S::upHeightRateShortCut2, 25),
      IntegerKey("UpHeightRateShortCut3", &S::upHeightRateShortCut3, 0),
      IntegerKey("HeightRate", &S::heightRate, 100),
      IntegerKey("OutLineRate", &S::outLineRate, 4),
      IntegerKey("ShadowRate", &S::shadowRate, 2),
      IntegerKey("LineHeightRate", &S::lineHeightRate, 20),
      IntegerKey("FontWidthRate", &S::fontWidthRate, 90),
      TextKey("FontName2", &S::fontName2, "MD개성체"),
      FlagKey("FontBold", &S::fontBold, false),
      IntegerKey("FontColor", &S::fontColor, 14737632),  // light grey
      FlagKey("WarnedJapaness", &S::warnedJapaness, false),
      FlagKey("AntiAliase", &S::antiAliase, true),
      FlagKey("ParseColorTag", &S::parseColorTag, true),
      FlagKey("SmartCaptionFinding", &S::smartCaptionFinding, true),
  };
  static constexpr SettingsTable<S> table("OrveCaption", keys);
  return table;
}

}  // namespace orves
