#include "player/captions/CaptionView.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "player/core/Setup.h"
#include "player/core/TextCodec.h"
#include "tests/unit/captions/CaptionTestSupport.h"
#include "tests/unit/core/NullServices.h"

namespace orves {
namespace {

using test::ReadBytes;
using test::WriteBytes;

struct RecordingStateText : testing::NullStateText {
  void ShowState(const std::string& korean, const std::string& english) override {
    messages.emplace_back(korean, english);
  }
  std::string LastEnglish() const { return messages.empty() ? "" : messages.back().second; }
  std::string LastKorean() const { return messages.empty() ? "" : messages.back().first; }
  std::vector<std::pair<std::string, std::string>> messages;
};

struct FakeRenderer : ICaptionRenderer {
  void RenderCaption(const TCaptionEntry& entry) override { shown = entry.text; }
  void HideCaption() override { shown.reset(); }
  void ForgetLastWidth() override { ++forgotten; }
  std::optional<std::string> shown;
  int forgotten = 0;
};

struct FakeMedia : testing::NullMedia {
  int PictureWidth() const override { return width; }
  int PictureHeight() const override { return height; }
  double CurrentPosition() const override { return position; }
  bool CaptionsOn() const override { return enabled; }
  int width = 640;
  int height = 480;
  double position = 0;
  bool enabled = true;
};

struct FakeLayout : testing::NullLayout {
  bool CaptionPanelVisible() const override { return visible; }
  void HideMovieForResize() override { calls += "hide "; }
  void ResizeKeepingAspect() override { calls += "resize "; }
  void ShowMovieAfterResize() override {
    calls += "show ";
    if (view) view->UpdateCaption();
  }
  bool visible = true;
  std::string calls;
  TCaptionView* view = nullptr;
};

struct CountingMessageBox : IMessageBox {
  void ShowInformation(const std::string& title, const std::string& text) override {
    // The notice is shown before it is marked as shown.
    if (view != nullptr) warnedWhileShowing = view->Settings().warnedJapaness;
    ++shown;
    lastTitle = title;
    lastText = text;
  }
  int shown = 0;
  std::string lastTitle, lastText;
  const TCaptionView* view = nullptr;
  bool warnedWhileShowing = false;
};

class CaptionViewTest : public ::testing::Test {
 protected:
  CaptionViewTest() { MakeView(); }

  void MakeView() {
    view.reset();
    setup.reset();
    setup = std::make_unique<TSetup>(folder / "OrvesMP20.ini");
    view = std::make_unique<TCaptionView>(
        *setup, *codec, TCaptionViewServices{stateText, renderer, layout, media, messageBox});
    layout.view = view.get();
    messageBox.view = view.get();
  }

  void Load(const std::string& samiText) {
    WriteBytes(folder / "movie.smi", samiText);
    view->LoadCaptionFile(folder / "movie.smi");
  }

  // `korean` Korean entries at 1, 2, ... s, `english` English ones.
  static std::string Entries(int korean, int english) {
    std::string file = "<SAMI>";
    for (int i = 1; i <= korean; ++i)
      file += "<SYNC Start=" + std::to_string(i * 1000) + "><P Class=KRCC>k\r\n";
    for (int i = 1; i <= english; ++i)
      file += "<SYNC Start=" + std::to_string(i * 1000) + "><P Class=ENCC>e\r\n";
    return file;
  }

  std::optional<std::string> ShownAt(double position) {
    media.position = position;
    view->UpdateCaption();
    return renderer.shown;
  }

  test::TempFolder folder;
  std::unique_ptr<ITextCodec> codec = MakeSystemTextCodec();
  RecordingStateText stateText;
  FakeRenderer renderer;
  FakeMedia media;
  FakeLayout layout;
  CountingMessageBox messageBox;
  std::unique_ptr<TSetup> setup;
  std::unique_ptr<TCaptionView> view;
};

TEST_F(CaptionViewTest, EntryIsShownFromJustBeforeItsStartUntilJustBeforeTheNext) {
  Load("<SAMI><SYNC Start=10000><P>first<SYNC Start=12000><P>second<SYNC Start=14000><P>&nbsp;");
  EXPECT_EQ(ShownAt(9.69), std::nullopt);
  EXPECT_EQ(ShownAt(9.7), "first");
  EXPECT_EQ(ShownAt(11.69), "first");
  EXPECT_EQ(ShownAt(11.7), "second");
  EXPECT_EQ(ShownAt(13.7), std::nullopt);  // the last entry is never current
  EXPECT_EQ(ShownAt(1e9), std::nullopt);

  view->SetSyncOffset(1.0);
  EXPECT_EQ(stateText.LastEnglish(), "SYNC MOVE : 1.0s LATER");
  EXPECT_EQ(stateText.LastKorean(), "싱크이동 : 1.0초 늦게");
  EXPECT_EQ(ShownAt(10.69), std::nullopt);
  EXPECT_EQ(ShownAt(10.7), "first");
}

TEST_F(CaptionViewTest, LookupOverManyEntries) {
  std::vector<TCaptionEntry> table(1000);
  for (int i = 0; i < 1000; ++i) table[i].start = i * 2.0;
  for (int i = 0; i < 999; ++i) {
    ASSERT_EQ(FindCurrentEntry(table, i * 2.0 - 0.3, 0), i);
    ASSERT_EQ(FindCurrentEntry(table, i * 2.0 + 1.69, 0), i);
  }
  EXPECT_EQ(FindCurrentEntry(table, -0.31, 0), -1);
  EXPECT_EQ(FindCurrentEntry(table, 5000, 0), -1);
  EXPECT_EQ(FindCurrentEntry(table, 10.0, -4.0), 7);
  EXPECT_EQ(FindCurrentEntry({}, 1, 0), -1);
  EXPECT_EQ(FindCurrentEntry(std::vector<TCaptionEntry>(1), 1, 0), -1);
}

TEST_F(CaptionViewTest, NothingIsShownWithoutVideoPanelOrCaptionSetting) {
  Load(Entries(3, 0));
  ASSERT_EQ(ShownAt(1.0), "k");
  media.width = 0;
  EXPECT_EQ(ShownAt(1.0), std::nullopt);
  media.width = 640;
  layout.visible = false;
  EXPECT_EQ(ShownAt(1.0), std::nullopt);
  layout.visible = true;
  media.enabled = false;
  EXPECT_EQ(ShownAt(1.0), std::nullopt);
  media.enabled = true;
  EXPECT_EQ(ShownAt(1.0), "k");
  view->ClearCaptions();
  EXPECT_EQ(renderer.shown, std::nullopt);
  EXPECT_FALSE(view->HasCaptions());
}

TEST_F(CaptionViewTest, SyncMessagesAndClamping) {
  view->ShiftSync(-0.1);
  EXPECT_EQ(stateText.LastEnglish(), "SYNC MOVE : 0.1s EARLIER");
  EXPECT_EQ(stateText.LastKorean(), "싱크이동 : 0.1초 일찍");
  view->SetSyncOffset(0.04);
  EXPECT_EQ(stateText.LastEnglish(), "SYNC MOVE : NO");
  view->SetSyncOffset(-0.04);
  EXPECT_EQ(stateText.LastEnglish(), "SYNC MOVE : NO");
  EXPECT_EQ(stateText.LastKorean(), "싱크이동 : 그대로");
  view->SetSyncOffset(0);
  for (int i = 0; i < 3; ++i) view->ShiftSync(+0.1);
  EXPECT_EQ(stateText.LastEnglish(), "SYNC MOVE : 0.3s LATER");
  view->SetSyncOffset(-5e9);
  EXPECT_DOUBLE_EQ(view->SyncOffset(), -9999999);
  EXPECT_EQ(stateText.LastEnglish(), "SYNC MOVE : 9999999.0s EARLIER");
  view->ShiftSync(1.0);
  EXPECT_DOUBLE_EQ(view->SyncOffset(), -9999998);
  // The offset survives loading another file.
  Load(Entries(2, 0));
  EXPECT_DOUBLE_EQ(view->SyncOffset(), -9999998);
}

TEST_F(CaptionViewTest, LanguageFollowsTheThresholdOfTen) {
  Load(Entries(5, 20));
  EXPECT_EQ(view->Language(), TCaptionLanguage::English);
  Load(Entries(11, 20));
  EXPECT_EQ(view->Language(), TCaptionLanguage::Korean);
  view->SwitchLanguage();
  EXPECT_EQ(view->Language(), TCaptionLanguage::English);
  EXPECT_EQ(stateText.LastEnglish(), "CAPTION LANGUAGE : English");
  EXPECT_EQ(stateText.LastKorean(), "자막언어설정 : English");
  EXPECT_EQ(ShownAt(1.0), "e");

  Load(Entries(3, 8));
  EXPECT_EQ(view->Language(), TCaptionLanguage::Korean);
  view->SwitchLanguage();
  EXPECT_EQ(view->Language(), TCaptionLanguage::Korean);
  EXPECT_EQ(stateText.LastEnglish(), "CAPTION LANGUAGE : Korean");
}

TEST_F(CaptionViewTest, ShortEnglishOnlyFileIsShown) {
  Load(Entries(0, 8));
  EXPECT_EQ(view->Language(), TCaptionLanguage::English);
  EXPECT_EQ(ShownAt(2.0), "e");
}

TEST_F(CaptionViewTest, PositionAndSizeAreClampedAndRelaidOut) {
  view->SetCaptionPosition(205);
  EXPECT_EQ(view->Settings().upHeightRate, 200);
  EXPECT_EQ(stateText.LastEnglish(), "CAPTION POSITION : 200%");
  EXPECT_EQ(stateText.LastKorean(), "자막 위치 : 200%");
  EXPECT_EQ(layout.calls, "hide resize show ");
  view->CaptionMoveDown();
  EXPECT_EQ(view->Settings().upHeightRate, 195);
  view->CaptionMoveUp();
  view->CaptionMoveUp();
  EXPECT_EQ(stateText.LastEnglish(), "CAPTION POSITION : 200%");
  view->SetCaptionSize(-3);
  EXPECT_EQ(view->Settings().heightRate, 0);
  EXPECT_EQ(stateText.LastEnglish(), "CAPTION SIZE : 0%");
  EXPECT_EQ(stateText.LastKorean(), "자막 크기 : 0%");

  stateText.messages.clear();
  view->ApplyPositionPreset(2);
  EXPECT_EQ(view->Settings().upHeightRate, 25);
  ASSERT_EQ(stateText.messages.size(), 2u);
  EXPECT_EQ(stateText.messages[0].second, "CAPTION POSITION : 25%");
  EXPECT_EQ(stateText.messages[1],
            std::make_pair(std::string("자막위치 : 반 걸치게"), std::string("CAPTION POSITION 2")));
  view->ApplyPositionPreset(3);
  EXPECT_EQ(view->Settings().upHeightRate, 0);
  EXPECT_EQ(stateText.LastKorean(), "자막위치 : 아래로");
}

TEST_F(CaptionViewTest, OutlineShadowAndTogglesRedraw) {
  view->SetShadowRate(-1);
  EXPECT_EQ(view->Settings().shadowRate, 0);
  EXPECT_EQ(stateText.LastEnglish(), "SHADOW : 0%");
  EXPECT_EQ(stateText.LastKorean(), "자막 그림자 : 0%");
  view->SetOutLineRate(101);
  EXPECT_EQ(view->Settings().outLineRate, 100);
  EXPECT_EQ(stateText.LastKorean(), "자막 외각선 굵기 : 100%");
  view->ToggleAntiAliase();
  EXPECT_FALSE(view->Settings().antiAliase);
  EXPECT_EQ(stateText.LastEnglish(), "CAPTION ANTIALIASE : OFF");
  EXPECT_EQ(stateText.LastKorean(), "자막 가장자리 다듭기 : OFF");
  view->ToggleFontBold();
  EXPECT_EQ(stateText.LastEnglish(), "CAPTION BOLD : ON");
  EXPECT_EQ(stateText.LastKorean(), "자막 굵게 : ON");
  EXPECT_EQ(renderer.forgotten, 4);
}

TEST_F(CaptionViewTest, JapaneseNoticeIsShownOncePerInstallation) {
  Load("<SAMI><SYNC Start=1><P>日本の");
  EXPECT_EQ(messageBox.shown, 1);
  EXPECT_FALSE(messageBox.warnedWhileShowing);
  EXPECT_TRUE(view->Settings().warnedJapaness);
  EXPECT_EQ(messageBox.lastTitle, "Orve's MP");
  EXPECT_EQ(messageBox.lastText.rfind("자막에서 일어를 발견하였습니다.\n\n일부글꼴의", 0), 0u);
  Load("<SAMI><SYNC Start=1><P>\xAA\xCE");  // の in CP949
  EXPECT_EQ(messageBox.shown, 1);
  MakeView();  // settings written and read again
  EXPECT_TRUE(view->Settings().warnedJapaness);
  Load("<SAMI><SYNC Start=1><P>日本の");
  EXPECT_EQ(messageBox.shown, 1);
}

TEST_F(CaptionViewTest, TheFileNameGoesWithTheDocument) {
  const std::filesystem::path korean = folder.path() / std::filesystem::path(u8"영화 자막.smi");
  WriteBytes(korean, Entries(2, 0));
  view->LoadCaptionFile(korean);
  EXPECT_TRUE(view->HasCaptions());
  EXPECT_EQ(view->CaptionFileName(), korean);
  view->ClearCaptions();
  EXPECT_FALSE(view->HasCaptions());
  EXPECT_TRUE(view->CaptionFileName().empty());
  view->LoadCaptionFile(korean);
  view->LoadCaptionFile(folder / "missing.smi");
  EXPECT_FALSE(view->HasCaptions());
  EXPECT_TRUE(view->CaptionFileName().empty());
}

TEST_F(CaptionViewTest, AnEmptyDocumentIsNeverSavedOverAFile) {
  WriteBytes(folder / "a.smi", Entries(2, 0));
  const TSaveResult refused = view->SaveCaptionFile(folder / "a.smi");
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.error.find("a.smi"), std::string::npos);
  EXPECT_EQ(ReadBytes(folder / "a.smi"), Entries(2, 0));
  EXPECT_TRUE(view->SaveCaptionFile(folder / "new.smi").ok);  // nothing there to lose
}

// The face survives the settings file whatever the code page; an older file
// in a code page that has the face (the Korean one natively) still reads.
TEST_F(CaptionViewTest, FontNameIsKeptInTheSettingsFileInItsCodePage) {
  MakeView();
  EXPECT_EQ(view->Settings().fontName2, "MD개성체");
  if (const std::optional<std::string> gulim = Utf8ToAnsi("굴림")) {
    view.reset();
    setup.reset();
    WriteBytes(folder / "OrvesMP20.ini", "[OrveCaption]\r\nFontName2=" + *gulim + "\r\n");
    MakeView();
    EXPECT_EQ(view->Settings().fontName2, "굴림");
  }
  view->Settings().fontName2 = "Noto ก";  // no form in any Korean or Western code page
  MakeView();
  EXPECT_EQ(view->Settings().fontName2, "Noto ก");
}

// `count` SubRip cues of `text`, one a second from 1 s.
std::string SubRipCues(int count, const std::string& text) {
  std::string file;
  for (int i = 1; i <= count; ++i) {
    file += std::to_string(i) + "\n00:00:" + (i < 10 ? "0" : "") + std::to_string(i) +
            ",000 --> 00:00:" + (i < 10 ? "0" : "") + std::to_string(i) + ",500\n" + text + "\n\n";
  }
  return file;
}

TEST_F(CaptionViewTest, FilesGoToTheTableOfTheirSuffixOrByHangul) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> files;  // name, content
    int korean, english;
    const char* shown;  // at 1.0 s
  };
  const Case cases[] = {
      // One table each; more than 10 entries each, so Korean first.
      {{{"m.ko.srt", SubRipCues(6, "한")}, {"m.en.srt", SubRipCues(6, "e")}}, 12, 12, "한"},
      // No suffix: Hangul decides. An English-only file shows English.
      {{{"m.srt", SubRipCues(2, "한국어 text")}}, 4, 0, "한국어 text"},
      {{{"m.srt", SubRipCues(2, "text")}}, 0, 4, "text"},
      // A suffix wins over the text; a table already filled keeps its file.
      {{{"m.en.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\n한"}}, 0, 2, "한"},
      {{{"m.srt", SubRipCues(2, "한")}, {"m.kor.srt", SubRipCues(2, "other")}}, 4, 0, "한"},
      // A SAMI file named for a language fills that table.
      {{{"m.ko.srt", SubRipCues(2, "한")}, {"m.en.smi", "<SAMI><SYNC Start=900><P Class=KRCC>sami"}},
       4,
       1,
       "한"},
  };
  for (const Case& c : cases) {
    std::vector<std::filesystem::path> paths;
    for (const auto& [name, content] : c.files) {
      WriteBytes(folder / name, content);
      paths.push_back(folder / name);
    }
    view->LoadCaptionFiles(paths);
    const TSamiDocument& document = view->Document();
    EXPECT_EQ(document.Count(TCaptionLanguage::Korean), c.korean) << c.files[0].first;
    EXPECT_EQ(document.Count(TCaptionLanguage::English), c.english) << c.files[0].first;
    EXPECT_EQ(ShownAt(1.0), c.shown) << c.files[0].first;
  }
  // F7 switches between the two files of the first case.
  view->LoadCaptionFiles({folder / "m.ko.srt", folder / "m.en.srt"});
  view->SwitchLanguage();
  EXPECT_EQ(view->Language(), TCaptionLanguage::English);
  EXPECT_EQ(ShownAt(1.0), "e");
  EXPECT_EQ(view->CaptionFileName(), folder / "m.en.srt");
}

TEST_F(CaptionViewTest, AMoviesTracksFillTheTablesOfTheirTagsUnlessAFileIsLoaded) {
  auto track = [](const char* language, const char* title, TTrackMarkup markup, const char* text) {
    return TLoadedTextTrack{{title, language, title, markup}, {{900, 2000, text}, {2000, 3000, text}}};
  };
  const TLoadedTextTrack korean = track("kor", "k", TTrackMarkup::Ass, "{\\i1}한{\\i0}");
  const TLoadedTextTrack english = track("eng", "e", TTrackMarkup::SubRip, "<b>e</b>");
  const TLoadedTextTrack untagged = track("", "u", TTrackMarkup::WebVtt, "<v Ann>word");

  view->LoadMovieTracks({korean, english}, false);
  EXPECT_EQ(view->Document().Count(TCaptionLanguage::Korean), 3);
  EXPECT_EQ(view->Document().Count(TCaptionLanguage::English), 3);
  EXPECT_EQ(ShownAt(1.0), "한");
  view->LoadMovieTracks({untagged}, false);
  EXPECT_EQ(ShownAt(1.0), "word");  // no Hangul: the English table

  // Chosen from the menu: first in the list, it takes its table and is shown.
  view->LoadMovieTracks({english, korean}, true);
  EXPECT_EQ(view->Language(), TCaptionLanguage::English);
  EXPECT_EQ(ShownAt(1.0), "e");

  // A caption file loaded first is not replaced by the movie's tracks at open.
  WriteBytes(folder / "m.srt", SubRipCues(2, "file"));
  view->LoadCaptionFile(folder / "m.srt");
  view->LoadMovieTracks({korean}, false);
  EXPECT_EQ(ShownAt(1.0), "file");
}

TEST_F(CaptionViewTest, TheShownTableIsSavedInTheFormatItWasReadIn) {
  WriteBytes(folder / "m.ko.srt", SubRipCues(2, "한"));
  WriteBytes(folder / "m.en.srt", SubRipCues(2, "e"));
  view->LoadCaptionFiles({folder / "m.ko.srt", folder / "m.en.srt"});
  view->ShiftSync(1.0);
  ASSERT_TRUE(view->SaveCaptionFile(folder / "m.ko.srt").ok);
  EXPECT_EQ(ReadBytes(folder / "m.ko.srt"),
            "1\n00:00:02,000 --> 00:00:02,500\n한\n\n2\n00:00:03,000 --> 00:00:03,500\n한\n\n");
  EXPECT_EQ(ReadBytes(folder / "m.en.srt"), SubRipCues(2, "e"));
}

TEST_F(CaptionViewTest, CaptionBlockExtent) {
  // 640 x 480, size 100: S x r = 112000.
  EXPECT_EQ(CaptionRiseFor(640, 480, 0, 100), 0);
  EXPECT_EQ(CaptionBandFor(640, 480, 0, 100), 86);
  EXPECT_EQ(CaptionRiseFor(640, 480, 25, 100), 21);
  EXPECT_EQ(CaptionBandFor(640, 480, 25, 100), 64);
  EXPECT_EQ(CaptionRiseFor(640, 480, 100, 100), 86);
  EXPECT_EQ(CaptionBandFor(640, 480, 100, 100), 0);
  EXPECT_EQ(CaptionRiseFor(640, 480, 120, 100), 110);
  EXPECT_EQ(CaptionRiseFor(640, 480, 200, 100), 209);
  // A very flat movie: the climb would go below the base, the base holds.
  EXPECT_EQ(CaptionRiseFor(2000, 10, 200, 200), 309);
  EXPECT_EQ(CaptionRiseFor(640, 0, 100, 100), CaptionRiseFor(640, 1, 100, 100));
  EXPECT_EQ(view->CaptionRise(), 110);  // the defaults: position 120, size 100
  EXPECT_EQ(view->CaptionBand(), 0);
}

}  // namespace
}  // namespace orves
