#include "player/captions/CaptionSettings.h"

#include "player/captions/CaptionView.h"

namespace orves {

const SettingsTable<TCaptionSettings>& TCaptionSettings::SettingsKeys() {
  using S = TCaptionSettings;
  using V = TCaptionView;
  static constexpr SettingKey<S> keys[] = {
      IntegerKey("UpHeightRate", &S::upHeightRate, 120, 0, 200)
          .AppliedBy(&V::SetCaptionPosition)
          .Shown(Spin("spinUpHeightRate", "", 0, {kPageCaption, 310, 200, 70, 22}, 401, 5)),
      IntegerKey("UpHeightRateShortCut1", &S::upHeightRateShortCut1, 120, 0, 200)
          .Shown(NumberButton("btnUpHeightRateShortCut1", "(고급설정) 자막위치1을 정합니다",
                              {kPageCaption, 310, 128, 50, 22}, 402)),
      IntegerKey("UpHeightRateShortCut2", &S::upHeightRateShortCut2, 25, 0, 200)
          .Shown(NumberButton("btnUpHeightRateShortCut2", "(고급설정) 자막위치2을 정합니다",
                              {kPageCaption, 310, 152, 50, 22}, 403)),
      IntegerKey("UpHeightRateShortCut3", &S::upHeightRateShortCut3, 0, 0, 200)
          .Shown(NumberButton("btnUpHeightRateShortCut3", "(고급설정) 자막위치3을 정합니다",
                              {kPageCaption, 310, 176, 50, 22}, 404)),
      IntegerKey("HeightRate", &S::heightRate, 100, 0, 200)
          .AppliedBy(&V::SetCaptionSize)
          .Shown(Spin("spinHeightRate", "자막 크기 (%)", 80, {kPageCaption, 92, 10, 64, 22}, 405, 10)),
      IntegerKey("OutLineRate", &S::outLineRate, 4, 0, 100)
          .AppliedBy(&V::SetOutLineRate)
          .Shown(Spin("spinOutLineRate", "외각선 (%)", 80, {kPageCaption, 92, 62, 64, 22}, 407)),
      IntegerKey("ShadowRate", &S::shadowRate, 2, 0, 100)
          .Shown(Spin("spinShadowRate", "그림자 (%)", 80, {kPageCaption, 92, 88, 64, 22}, 406)),
      IntegerKey("LineHeightRate", &S::lineHeightRate, 20, 0, 100)
          .Shown(Spin("spinLineHeightRate", "줄간격 (%)", 80, {kPageCaption, 92, 36, 64, 22}, 412)),
      IntegerKey("FontWidthRate", &S::fontWidthRate, 90, 1, 200)
          .Shown(Spin("spinFontWidthRate", "장평 (%)", 80, {kPageCaption, 92, 114, 64, 22}, 408)),
      TextKey("FontName2", &S::fontName2, "MD개성체")
          .Shown(FontList("lstFontName", "폰트이름", {kPageCaption, 8, 162, 150, 160}, 411)),
      FlagKey("FontBold", &S::fontBold, false)
          .Shown(Check("chkFontBold", "굵게", {kPageCaption, 164, 40, 68, 20}, 410)),
      IntegerKey("FontColor", &S::fontColor, 14737632)  // light grey
          .Shown(Swatch("pnlFontColor", "색", 20, {kPageCaption, 186, 10, 26, 22}, 409)),
      FlagKey("WarnedJapaness", &S::warnedJapaness, false),
      FlagKey("AntiAliase", &S::antiAliase, true)
          .Shown(Check("chkAntiAliase", "가장자리 부드럽게", {kPageCaption, 164, 64, 70, 36}, 413)),
      FlagKey("ParseColorTag", &S::parseColorTag, true)
          .Shown(Check("chkParseColorTag", "컬러태그 적용하기", {kPageAdvanced, 12, 74, 400, 20}, 804)),
      FlagKey("SmartCaptionFinding", &S::smartCaptionFinding, true)
          .Shown(Check("chkSmartCaptionFinding", "인공지능 자막파일 찾기 사용",
                       {kPageAdvanced, 12, 184, 400, 20}, 809)),
  };
  static constexpr SettingsTable<S> table("OrveCaption", keys);
  return table;
}

}  // namespace orves
