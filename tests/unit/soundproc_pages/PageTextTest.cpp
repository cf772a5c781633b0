// The status page's texts: format lines with their speaker lines, the stage
// states, meter row labels, and which form (language) a page takes.
#include <gtest/gtest.h>

#include "soundproc/frame/pages/ObjectPageText.h"
#include "soundproc/frame/pages/PageForms.h"
#include "soundproc/frame/pages/PageText.h"

namespace zmsp::pages {
namespace {

PcmFormat Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
  PcmFormat f;
  f.parsed = true;
  f.formatTag = 1;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  return f;
}

PcmFormat Extensible(std::uint16_t channels, std::uint32_t mask, std::uint16_t validBits) {
  PcmFormat f = Pcm(channels, 48000, 32);
  f.formatTag = 0xFFFE;
  f.extensible = true;
  f.channelMask = mask;
  f.validBitsPerSample = validBits;
  return f;
}

TEST(PageText, FormatLines) {
  struct Case {
    PcmFormat format;
    const char* text;
  };
  PcmFormat spdif = Pcm(2, 48000, 16);
  spdif.formatTag = 0x92;
  PcmFormat other = Pcm(2, 48000, 16);
  other.formatTag = 3;
  const Case cases[] = {
      {Pcm(2, 44100, 16), "2Ch / 44100Hz / 16bit"},
      {Extensible(6, 0x3F, 24), "6Ch / 48000Hz / 24bit\r\r\nFL FR FC LF BL BR "},
      {Extensible(8, 0x3FFFF, 32),
       "8Ch / 48000Hz / 32bit\r\r\nFL FR FC LF BL BR FLC FRC BC SL SR TC TFL TFC TFR TBL TBC TBR "},
      {Extensible(1, 0, 16), "1Ch / 48000Hz / 16bit\r\r\nAll Mono"},
      {Extensible(2, 0x80000003, 16), "2Ch / 48000Hz / 16bit\r\r\nAny Configuration"},
      {Extensible(2, 0x00040003, 16), "2Ch / 48000Hz / 16bit\r\r\nUnknown(00040003)"},
      {Extensible(2, 0x40000000, 16), "2Ch / 48000Hz / 16bit\r\r\nUnknown(40000000)"},
      {spdif, "AC3 S/PDIF"},
      {other, "???"},
      {Pcm(65535, 4294967295u, 65535), "65535Ch / 4294967295Hz / 65535bit"},
  };
  for (const Case& c : cases) {
    const auto text = FormatText(c.format);
    ASSERT_TRUE(text.has_value()) << c.text;
    EXPECT_EQ(*text, c.text);
  }
  EXPECT_FALSE(FormatText(PcmFormat{}).has_value()) << "no format read: the field keeps its text";
}

TEST(PageText, ExpansionStates) {
  struct Case {
    bool enabled, accepted;
    std::uint32_t algorithm, mode, autoMode;
    const char* text;
  };
  const Case cases[] = {
      {true, true, 0, 3, 0, "InterVideo ICE"},
      {true, true, 1, 3, 1, "Pro Logic"},
      {true, true, 2, 0, 0, "Pro Logic II Pro Logic Emulation"},
      {true, true, 2, 1, 0, "Pro Logic II Virtual Compatible"},
      {true, true, 2, 2, 1, "Pro Logic II Music*"},
      {true, true, 2, 3, 2, "Pro Logic II Movie*"},
      {true, true, 2, 4, 3, "Pro Logic II Matrix"},
      {true, true, 2, 5, 0, "Pro Logic II Custom"},
      {true, true, 2, 6, 0, "Pro Logic II"},
      {true, true, 7, 0, 0, "???"},
      {false, true, 2, 3, 0, "OFF"},
      {true, false, 2, 3, 0, "OFF"},
  };
  for (const Case& c : cases) {
    ExpanderFacts facts;
    facts.enabled = c.enabled;
    facts.typesAccepted = c.accepted;
    facts.algorithm = c.algorithm;
    facts.proLogic2Mode = c.mode;
    facts.autoMode = c.autoMode;
    EXPECT_EQ(ExpansionText(facts), c.text);
  }
}

TEST(PageText, SpeedStates) {
  StretcherFacts facts;
  facts.enabled = facts.typesAccepted = true;
  for (auto [speed, text] :
       {std::pair{1588u, "1.588X"}, {563u, "0.563X"}, {10000u, "10.000X"}, {1000u, "1.000X"}}) {
    facts.speed = speed;
    EXPECT_EQ(SpeedText(facts), text);
  }
  facts.typesAccepted = false;
  EXPECT_EQ(SpeedText(facts), "OFF");
}

TEST(PageText, ChannelControlStates) {
  ChannelControlFacts all;
  all.enabled = all.volAdjust = all.balance = all.lfeMixer = all.boost = true;
  all.centerLevel = -20;
  all.lfeLevel = 0;
  all.frontLevel = 5;
  all.rearLevel = 20;
  all.balanceLevel = -20;
  all.lfeMixLevel = 50;
  all.boostLevel = 10;
  EXPECT_EQ(ChannelControlText(all), "C-20 L+0 F+5 R+20\n-20 / 50% / +10dB");

  ChannelControlFacts boostOnly;
  boostOnly.enabled = boostOnly.boost = true;
  boostOnly.boostLevel = 20;
  EXPECT_EQ(ChannelControlText(boostOnly), "OFF\nOFF / OFF / +20dB");

  ChannelControlFacts nothingApplies;  // switched on, but no operation fits the format
  nothingApplies.enabled = true;
  EXPECT_EQ(ChannelControlText(nothingApplies), "OFF");
  all.enabled = false;
  EXPECT_EQ(ChannelControlText(all), "OFF");
}

TEST(PageText, MeterRowLabels) {
  EXPECT_EQ(MeterRowLabel(1, 0x3F), "CH1 (FL)");
  EXPECT_EQ(MeterRowLabel(6, 0x3F), "CH6 (BR)");
  EXPECT_EQ(MeterRowLabel(5, 0x13F), "CH5 (BL)");
  EXPECT_EQ(MeterRowLabel(7, 0x13F), "CH7 (BC)");
  EXPECT_EQ(MeterRowLabel(3, 0x3), "CH3 ") << "fewer set bits than the row";
  EXPECT_EQ(MeterRowLabel(1, 0), "CH1 ") << "no mask";
  EXPECT_EQ(MeterRowLabel(1, 0x40001), "CH1 ") << "a bit beyond the named speakers";
  EXPECT_EQ(MeterRowLabel(2, 0x80000003), "CH2 ");
}

TEST(ObjectPageText, SpeedReadsBackAsShown) {
  for (std::uint32_t speed : {563u, 1000u, 1588u, 10000u}) {
    EXPECT_EQ(ParseSpeedEditText(SpeedEditText(speed)), speed);
  }
  EXPECT_EQ(SpeedEditText(563), "0.563");
}

TEST(ObjectPageText, TypedSpeeds) {
  struct Case {
    const char* text;
    std::optional<std::uint32_t> speed;
  };
  const Case cases[] = {
      {"1.5", 1500},
      {" 2 ", 2000},
      {".75", 750},
      {"3.", 3000},
      {"1.23456", 1234},
      {"0.562", {}},
      {"10.001", {}},
      {"", {}},
      {".", {}},
      {"1,5", {}},
      {"-1", {}},
      {"1.5x", {}},
      {"99999999999999999999", {}},
      {"1..5", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSpeedEditText(c.text), c.speed) << "'" << c.text << "'";
}

TEST(PageForms, LanguageFollowsTheSettingThenTheThread) {
  EXPECT_EQ(ChoosePageLanguage(1, 0x0409), PageLanguage::Korean);
  EXPECT_EQ(ChoosePageLanguage(2, 0x0412), PageLanguage::English);
  EXPECT_EQ(ChoosePageLanguage(0, 0x0412), PageLanguage::Korean);
  EXPECT_EQ(ChoosePageLanguage(0, 0x0409), PageLanguage::English);
  EXPECT_EQ(ChoosePageLanguage(0, 0x0812), PageLanguage::English) << "only the Korean identifier itself";
}

TEST(PageForms, EachFormHasItsDialogAndTitle) {
  struct Case {
    PageKind kind;
    PageLanguage language;
    int dialog;
    const char* title;
  };
  const Case cases[] = {
      {PageKind::Status, PageLanguage::English, 114, "Sound Processor"},
      {PageKind::Status, PageLanguage::Korean, 110, "소리 처리기"},
      {PageKind::About, PageLanguage::English, 112, "About"},
      {PageKind::About, PageLanguage::Korean, 111, "정보"},
  };
  for (const Case& c : cases) {
    const PageForm form = FormOf(c.kind, c.language);
    EXPECT_EQ(form.dialogId, c.dialog);
    EXPECT_STREQ(form.title, c.title);
  }
}

}  // namespace
}  // namespace zmsp::pages
