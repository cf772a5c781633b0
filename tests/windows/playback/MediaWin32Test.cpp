// TMedia over the real control and panels: the picture layout in a window,
// bookmarks written before the movie stops and read back (garbage reads as
// 0), and every command with nothing open doing nothing.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include <gtest/gtest.h>

#include "player/playback/DirectShowPlayer_win32.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "player/playback/MoviePanel_win32.h"
#include "player/playback/StateText.h"
#include "player/playback/StateTextPanel_win32.h"
#include "player/core/Setup.h"
#include "tests/unit/core/NullServices.h"
#include "tests/windows/playback/PlaybackHost.h"

namespace orves {
namespace {

using testing::ComApartment;
using testing::HostWindow;
using testing::MediaPath;
using testing::PumpFor;
using testing::PumpUntil;

std::filesystem::path FreshFolder() {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::filesystem::path folder = std::filesystem::path(dir) / L"orves-media-win32";
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::create_directories(folder, ec);
  return folder;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

RECT ChildRect(HWND child) {
  RECT rc{};
  GetWindowRect(child, &rc);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

class MediaWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(com_.Result()));
    ASSERT_TRUE(panelsCreated_);
    lateMovie_.Bind(movie_);
  }
  void TearDown() override { media_.Close(); }

  // Runs among the member initialisers: MediaPanels takes the state text's
  // window when it is made.
  bool CreatePanels() {
    const bool created = pnlMedia_.Create(host_.Handle(), 1) && pnlMovie_.Create(pnlMedia_.Handle(), 2) &&
                         pnlInnerMovie_.Create(pnlMovie_.Handle(), 3, true) &&
                         mpMovie_.Create(pnlInnerMovie_.Handle()) &&
                         pnlStateText_.Create(pnlMedia_.Handle(), 4);
    pnlMedia_.SetBounds(0, 0, 646, 486);
    return created;
  }

  ComApartment com_;
  HostWindow host_{660, 500};
  MoviePanel pnlMedia_;
  MoviePanel pnlMovie_;
  MoviePanel pnlInnerMovie_;
  DirectShowPlayer mpMovie_;
  StateTextPanel pnlStateText_;
  bool panelsCreated_ = CreatePanels();
  MoviePanels moviePanels_{pnlMovie_, pnlInnerMovie_, &mpMovie_};
  MediaPanels mediaPanels_{pnlMedia_, pnlMovie_, nullptr, pnlStateText_.Handle()};
  testing::NullLayout layout_;
  testing::NullSkin skin_;
  testing::NullCaptions captions_;
  testing::NullPlayList playList_;
  std::filesystem::path folder_ = FreshFolder();
  std::filesystem::path bookmarks_ = folder_ / L"Bookmark.ini";
  TSetup setup_{folder_ / L"OrvesMP20.ini"};
  // Made in this order, taken apart the other way: TMedia goes first.
  TStateText state_{setup_, pnlStateText_, media_};
  TMovie movie_{setup_, {mpMovie_, moviePanels_, layout_, skin_, media_, state_}};
  LateBound<TMovie> lateMovie_;
  TMedia media_{setup_, {mpMovie_, state_, captions_, skin_, playList_, layout_, mediaPanels_, lateMovie_}};
};

TEST_F(MediaWin32Test, PictureFillsTheMediaPanelInsideTheMargin) {
  media_.Open(MediaPath("test-mpeg4-pcm.avi"));  // 320 x 240 in a 640 x 480 free area
  media_.FitPicture();
  const RECT movie = ChildRect(pnlMovie_.Handle());
  EXPECT_EQ(movie.left, 3);
  EXPECT_EQ(movie.top, 3);
  EXPECT_EQ(movie.right, 643);
  EXPECT_EQ(movie.bottom, 483);
  const RECT text = ChildRect(pnlStateText_.Handle());
  EXPECT_EQ(text.left, 3);
  EXPECT_EQ(text.top, 3);
  EXPECT_EQ(text.bottom - text.top, 20);
  EXPECT_TRUE(pnlStateText_.IsVisible());  // the playing message
  // Over the picture, although created after it (new children start below).
  EXPECT_EQ(GetTopWindow(pnlMedia_.Handle()), pnlStateText_.Handle());
  media_.Close();
  EXPECT_EQ(ChildRect(pnlMovie_.Handle()).right, 3 + 1);  // one pixel without a picture
}

TEST_F(MediaWin32Test, CloseStoresTheRunningPositionAndResumeGoesBackFiveSeconds) {
  const std::string file = MediaPath("test-mpeg4-pcm.avi");
  media_.Open(file);
  ASSERT_TRUE(PumpUntil([&] { return media_.CurrentPosition() > 0.3; }, 10000));
  media_.Close();
  // Written while the movie still ran, not after it was stopped at 0.
  const std::string stored = ReadAll(bookmarks_);
  ASSERT_NE(stored.find('='), std::string::npos) << stored;
  EXPECT_GT(ParseBookmarkValue(stored.substr(stored.find('=') + 1,
                                             stored.find('\r', stored.find('=')) - stored.find('=') - 1)),
            0.3)
      << stored;
  std::ofstream(bookmarks_, std::ios::binary) << "[Bookmark]\r\n" << file << "=8.5\r\n";
  media_.Open(file);
  PumpFor(300);
  media_.ResumeBookmark();  // a running graph: the seek stops and restarts it
  EXPECT_NEAR(media_.CurrentPosition(), 3.5, 0.5);
  EXPECT_EQ(media_.PlayState(), kPlayStatePlaying);
}

TEST_F(MediaWin32Test, GarbageBookmarkResumesAtZero) {
  const std::string file = MediaPath("test-mpeg4-pcm.avi");
  std::ofstream(bookmarks_, std::ios::binary) << "[Bookmark]\r\n" << file << "=1O.5x\r\n";
  media_.Open(file);
  media_.Pause();
  media_.SeekTo(6);
  media_.ResumeBookmark();
  EXPECT_LT(media_.CurrentPosition(), 0.5);
  EXPECT_EQ(pnlStateText_.Text(), L"MOVE TO : 00:00:00 / 00:00:10");
}

TEST_F(MediaWin32Test, CommandsWithNothingOpenDoNothing) {
  media_.Pause();
  media_.Stop();
  media_.SeekTo(5);
  media_.FastFind();
  media_.Rewind();
  media_.FastFind2();
  media_.Rewind2();
  media_.ResumeBookmark();
  media_.SaveBookmark();
  media_.Reload();
  media_.Play();
  media_.FitPicture(true);
  EXPECT_TRUE(state_.CurrentText().empty());  // no message from any of them
  EXPECT_FALSE(media_.HasPicture());
  media_.SetSpeed(150);  // the speed is kept for the next movie
  EXPECT_EQ(state_.CurrentText(), "PLAYING SPEED : 150 %");
  media_.Close();
  EXPECT_FALSE(std::filesystem::exists(bookmarks_));
  // A file the control cannot play: nothing open, and the state text says so.
  EXPECT_FALSE(media_.Open(MediaPath("no-such-movie.avi")));
  EXPECT_FALSE(media_.HasPicture());
  media_.SeekTo(3);
  EXPECT_EQ(state_.CurrentText(), "CANNOT PLAY THIS FILE : \"no-such-movie.avi\"");
  EXPECT_EQ(mpMovie_.PlayState(), kPlayStateStopped);
  media_.Close();
  EXPECT_FALSE(std::filesystem::exists(bookmarks_));
}

}  // namespace
}  // namespace orves
