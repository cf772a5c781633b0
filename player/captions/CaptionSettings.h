#pragma once
// The caption settings of section OrveCaption, read when the caption view is
// created and written back when it is destroyed, key by key in one fixed order.
#include <string>

#include "player/core/SettingsTable.h"

namespace orves {

class TCaptionView;

struct TCaptionSettings {
  // The options dialog applies some of these through the caption view's
  // commands, which report the change.
  using SettingCommands = TCaptionView;

  // Every field at its default.
  TCaptionSettings() { SettingsKeys().SetDefaults(*this); }

  static const SettingsTable<TCaptionSettings>& SettingsKeys();

  void Read(const TSetup& setup) { SettingsKeys().Read(setup, *this); }
  void Write(TSetup& setup) const { SettingsKeys().Write(setup, *this); }

  int upHeightRate;           // position, 0..200
  int upHeightRateShortCut1;  // position presets of the three position commands
  int upHeightRateShortCut2;
  int upHeightRateShortCut3;
  int heightRate;         // size in percent, 0..200
  int outLineRate;        // outline, percent of the line height, 0..100
  int shadowRate;         // shadow offset, percent of the line height, 0..100
  int lineHeightRate;     // share of the block height for the gaps between lines
  int fontWidthRate;      // glyph width in percent of half the line height
  std::string fontName2;  // UTF-8
  bool fontBold;
  int fontColor;        // 0x00BBGGRR
  bool warnedJapaness;  // the Japanese notice has been shown
  bool antiAliase;
  bool parseColorTag;
  bool smartCaptionFinding;
};

}  // namespace orves
