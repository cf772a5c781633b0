#pragma once
// The caption settings of section OrveCaption, read when the caption view is
// created and written back when it is destroyed, key by key in one fixed order.
#include <cstdint>
#include <string>

namespace orves {

class ITextCodec;
class TSetup;

struct TCaptionSettings {
  int32_t upHeightRate = 120;           // position, 0..200
  int32_t upHeightRateShortCut1 = 120;  // position presets of the three position commands
  int32_t upHeightRateShortCut2 = 25;
  int32_t upHeightRateShortCut3 = 0;
  int32_t heightRate = 100;             // size in percent, 0..200
  int32_t outLineRate = 4;              // outline, percent of the line height, 0..100
  int32_t shadowRate = 2;               // shadow offset, percent of the line height, 0..100
  int32_t lineHeightRate = 20;          // share of the block height for the gaps between lines
  int32_t fontWidthRate = 90;           // glyph width in percent of half the line height
  std::string fontName2 = "MD개성체";   // UTF-8
  bool fontBold = false;
  int32_t fontColor = 14737632;         // 0x00BBGGRR, light grey
  bool warnedJapaness = false;          // the Japanese notice has been shown
  bool antiAliase = true;
  bool parseColorTag = true;
  bool smartCaptionFinding = true;

  static constexpr const char* Section = "OrveCaption";

  // Reads every key, the current value serving as its default. The settings
  // file keeps texts in CP949 like the rest of its bytes; here they are UTF-8.
  void Read(const TSetup& setup, ITextCodec& codec);
  void Write(TSetup& setup, ITextCodec& codec) const;
};

}  // namespace orves
