// The DirectShow movie control against real files in Wine's graph.
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "player/playback/ComPtr_win32.h"
#include "player/playback/DirectShowPlayer_win32.h"
#include "tests/windows/playback/PlaybackHost.h"

namespace orves {
namespace {

using testing::ComApartment;
using testing::HostWindow;
using testing::MediaPath;
using testing::PumpFor;
using testing::PumpUntil;

class RecordingEvents : public IMediaPlayerEvents {
 public:
  void OnPlayStateChange(int oldState, int newState) override { changes.emplace_back(oldState, newState); }
  void OnBuffering(bool start) override { buffering.push_back(start); }
  std::vector<std::pair<int, int>> changes;
  std::vector<bool> buffering;
};

struct MediaCase {
  const char* file;
  int width;
  int height;
};

class DirectShowPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(com_.Result()));
    ASSERT_TRUE(host_.Handle());
    ASSERT_TRUE(player_.Create(host_.Handle()));
    player_.SetEvents(&events_);
  }
  void TearDown() override { player_.SetFileName(""); }

  // Opens and plays until the position moves; false when it never does.
  bool PlayUntilMoving(const std::string& file) {
    player_.SetFileName(file);
    player_.Play();
    return PumpUntil([&] { return player_.CurrentPosition() > 0.2; }, 10000);
  }
  bool WaitForChange(std::pair<int, int> change) {
    return PumpUntil(
        [&] {
          for (const auto& c : events_.changes) {
            if (c == change) return true;
          }
          return false;
        },
        5000);
  }

  ComApartment com_;
  HostWindow host_;
  RecordingEvents events_;
  DirectShowPlayer player_;  // destroyed before the window and the apartment
};

TEST_F(DirectShowPlayerTest, OpensTheTestMediaWithDurationAndSize) {
  const MediaCase cases[] = {
      {"test-mpeg4-pcm.avi", 320, 240}, {"test-mjpeg-mp3.avi", 320, 240}, {"test-mpeg1.mpg", 352, 288}};
  for (const MediaCase& c : cases) {
    SCOPED_TRACE(c.file);
    player_.SetFileName(MediaPath(c.file));
    EXPECT_EQ(player_.LastOpenResult(), S_OK);
    EXPECT_EQ(player_.FileName(), MediaPath(c.file));
    EXPECT_NEAR(player_.Duration(), 10.0, 0.5);
    EXPECT_EQ(player_.ImageSourceWidth(), c.width);
    EXPECT_EQ(player_.ImageSourceHeight(), c.height);
    EXPECT_EQ(player_.PlayState(), kPlayStateStopped);
    EXPECT_EQ(player_.CurrentPosition(), 0.0);
    // Our source lists the one audio track; past it there is nothing.
    EXPECT_EQ(player_.StreamCount(), 1);
    EXPECT_TRUE(player_.GetStreamSelected(0));
    EXPECT_EQ(player_.GetStreamName(1), "");
    EXPECT_FALSE(player_.GetStreamSelected(1));
    player_.StreamSelect(1);  // harmless
  }
}

TEST_F(DirectShowPlayerTest, VideoWindowIsAChildOfTheControl) {
  player_.SetFileName(MediaPath("test-mpeg4-pcm.avi"));
  ASSERT_TRUE(player_.Graph());
  auto window = ComPtr<IGraphBuilder>::Share(player_.Graph()).As<IVideoWindow>(IID_IVideoWindow);
  ASSERT_TRUE(window);
  OAHWND owner = 0;
  ASSERT_EQ(window->get_Owner(&owner), S_OK);
  EXPECT_EQ(reinterpret_cast<HWND>(owner), player_.Window());
  RECT host{}, control{};
  GetClientRect(host_.Handle(), &host);
  GetClientRect(player_.Window(), &control);
  EXPECT_EQ(control.right, host.right);
  EXPECT_EQ(control.bottom, host.bottom);
}

TEST_F(DirectShowPlayerTest, PlaysPausesAndReportsTheStates) {
  ASSERT_TRUE(PlayUntilMoving(MediaPath("test-mpeg4-pcm.avi")));
  EXPECT_EQ(player_.PlayState(), kPlayStatePlaying);
  EXPECT_TRUE(WaitForChange({kPlayStateStopped, kPlayStatePlaying}));
  player_.Pause();
  EXPECT_EQ(player_.PlayState(), kPlayStatePaused);
  EXPECT_TRUE(WaitForChange({kPlayStatePlaying, kPlayStatePaused}));
  PumpFor(300);
  const double paused = player_.CurrentPosition();
  PumpFor(700);
  EXPECT_NEAR(player_.CurrentPosition(), paused, 0.05);
  player_.Play();
  EXPECT_TRUE(PumpUntil([&] { return player_.CurrentPosition() > paused + 0.3; }, 5000));
}

TEST_F(DirectShowPlayerTest, SeeksWhilePlayingAndPausedWithoutReportingAStop) {
  for (const char* file : {"test-mpeg4-pcm.avi", "test-mjpeg-mp3.avi", "test-mpeg1.mpg"}) {
    SCOPED_TRACE(file);
    events_.changes.clear();
    ASSERT_TRUE(PlayUntilMoving(MediaPath(file)));
    player_.SetCurrentPosition(5.0);
    EXPECT_EQ(player_.PlayState(), kPlayStatePlaying);
    EXPECT_NEAR(player_.CurrentPosition(), 5.0, 0.5);
    EXPECT_TRUE(PumpUntil([&] { return player_.CurrentPosition() > 5.3; }, 5000));
    player_.Pause();
    player_.SetCurrentPosition(2.0);
    EXPECT_EQ(player_.PlayState(), kPlayStatePaused);
    PumpFor(300);
    EXPECT_NEAR(player_.CurrentPosition(), 2.0, 0.1);
    player_.SetCurrentPosition(-4.0);  // clamped to the start
    EXPECT_NEAR(player_.CurrentPosition(), 0.0, 0.1);
    PumpFor(200);
    const std::vector<std::pair<int, int>> expected = {{kPlayStateStopped, kPlayStatePlaying},
                                                       {kPlayStatePlaying, kPlayStatePaused}};
    EXPECT_EQ(events_.changes, expected);
    // Stopping and closing after those seeks must not hang.
    player_.SetFileName("");
    EXPECT_EQ(player_.PlayState(), kPlayStateStopped);
    EXPECT_TRUE(WaitForChange({kPlayStatePaused, kPlayStateStopped}));
  }
}

TEST_F(DirectShowPlayerTest, EndOfMovieStopsAtTheDurationExactly) {
  ASSERT_TRUE(PlayUntilMoving(MediaPath("test-mpeg1.mpg")));
  player_.SetCurrentPosition(player_.Duration() - 0.8);
  ASSERT_TRUE(PumpUntil([&] { return player_.PlayState() == kPlayStateStopped; }, 10000));
  EXPECT_EQ(player_.CurrentPosition(), player_.Duration());
  EXPECT_TRUE(WaitForChange({kPlayStatePlaying, kPlayStateStopped}));
  // Playing again starts over.
  player_.Play();
  EXPECT_EQ(player_.PlayState(), kPlayStatePlaying);
  EXPECT_LT(player_.CurrentPosition(), 2.0);
}

TEST_F(DirectShowPlayerTest, VolumeAndMuteReachTheGraph) {
  player_.SetVolume(-2000);
  player_.SetFileName(MediaPath("test-mpeg4-pcm.avi"));
  auto audio = ComPtr<IGraphBuilder>::Share(player_.Graph()).As<IBasicAudio>(IID_IBasicAudio);
  ASSERT_TRUE(audio);
  long volume = 0;
  ASSERT_EQ(audio->get_Volume(&volume), S_OK);
  EXPECT_EQ(volume, -2000);  // kept across opens
  player_.SetVolume(-700);
  ASSERT_EQ(audio->get_Volume(&volume), S_OK);
  EXPECT_EQ(volume, -700);
  player_.SetMute(true);
  ASSERT_EQ(audio->get_Volume(&volume), S_OK);
  EXPECT_EQ(volume, -10000);
  EXPECT_EQ(player_.Volume(), -700);
  player_.SetMute(false);
  player_.SetVolume(500);  // above full: clamped
  ASSERT_EQ(audio->get_Volume(&volume), S_OK);
  EXPECT_EQ(volume, 0);
}

TEST_F(DirectShowPlayerTest, OpensAFileWithAKoreanName) {
  wchar_t source[MAX_PATH], dir[MAX_PATH];
  MultiByteToWideChar(CP_UTF8, 0, MediaPath("test-mpeg1.mpg").c_str(), -1, source, MAX_PATH);
  GetTempPathW(MAX_PATH, dir);
  const std::wstring copy = std::wstring(dir) + L"영화 자막 테스트.mpg";
  ASSERT_TRUE(CopyFileW(source, copy.c_str(), FALSE));
  char name[MAX_PATH * 3];
  WideCharToMultiByte(CP_UTF8, 0, copy.c_str(), -1, name, sizeof name, nullptr, nullptr);
  player_.SetFileName(name);
  EXPECT_EQ(player_.LastOpenResult(), S_OK);
  EXPECT_EQ(player_.ImageSourceWidth(), 352);
  player_.SetFileName("");
  DeleteFileW(copy.c_str());
}

// Graph events as a network source or a failing decoder would raise them,
// sent through the graph's own event sink.
TEST_F(DirectShowPlayerTest, BufferingAndAbortEventsReachThePlayer) {
  ASSERT_TRUE(PlayUntilMoving(MediaPath("test-mpeg4-pcm.avi")));
  auto sink = ComPtr<IGraphBuilder>::Share(player_.Graph()).As<IMediaEventSink>(IID_IMediaEventSink);
  ASSERT_TRUE(sink);
  ASSERT_EQ(sink->Notify(EC_BUFFERING_DATA, TRUE, 0), S_OK);
  ASSERT_EQ(sink->Notify(EC_BUFFERING_DATA, FALSE, 0), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return events_.buffering.size() == 2; }, 5000));
  EXPECT_EQ(events_.buffering, (std::vector<bool>{true, false}));
  ASSERT_EQ(sink->Notify(EC_ERRORABORT, E_FAIL, 0), S_OK);
  EXPECT_TRUE(WaitForChange({kPlayStatePlaying, kPlayStateStopped}));
  EXPECT_EQ(player_.PlayState(), kPlayStateStopped);
}

class RecordingMouse : public IMovieWindowEvents {
 public:
  void OnMovieMouse(UINT message, WPARAM, POINT screen) override {
    messages.push_back(message);
    last = screen;
  }
  void OnMovieFocus() override { ++focus; }
  std::vector<UINT> messages;
  POINT last{};
  int focus = 0;
};

TEST_F(DirectShowPlayerTest, MouseAndFocusGoToTheMainWindowHandlers) {
  RecordingMouse mouse;
  player_.SetWindowEvents(&mouse);
  player_.SetFileName(MediaPath("test-mpeg4-pcm.avi"));
  SendMessageW(player_.Window(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 40));
  SendMessageW(player_.Window(), WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
  SetFocus(player_.Window());
  EXPECT_EQ(mouse.messages, (std::vector<UINT>{WM_LBUTTONDBLCLK, WM_RBUTTONUP}));
  POINT expected{5, 6};
  ClientToScreen(player_.Window(), &expected);
  EXPECT_EQ(mouse.last.x, expected.x);
  EXPECT_EQ(mouse.last.y, expected.y);
  EXPECT_EQ(mouse.focus, 1);
  player_.SetWindowEvents(nullptr);
}

void ExpectNothingOpen(DirectShowPlayer& player) {
  EXPECT_TRUE(FAILED(player.LastOpenResult()));
  EXPECT_EQ(player.Graph(), nullptr);
  EXPECT_EQ(player.ImageSourceWidth(), 0);
  EXPECT_EQ(player.ImageSourceHeight(), 0);
  EXPECT_EQ(player.Duration(), 0.0);
  player.Play();
  player.Pause();
  player.SetCurrentPosition(3);
  EXPECT_EQ(player.PlayState(), kPlayStateStopped);
  EXPECT_EQ(player.CurrentPosition(), 0.0);
  EXPECT_EQ(player.StreamCount(), 0);
}

std::string TempFile(const wchar_t* name, const std::string& bytes) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + name;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  char narrow[MAX_PATH * 3];
  WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

TEST_F(DirectShowPlayerTest, MissingFileLeavesNothingOpen) {
  player_.SetFileName(MediaPath("test-mpeg4-pcm.avi"));
  player_.SetFileName(MediaPath("no-such-movie.avi"));
  ExpectNothingOpen(player_);
  EXPECT_EQ(player_.FileName(), MediaPath("no-such-movie.avi"));
}

TEST_F(DirectShowPlayerTest, BinaryFileLeavesNothingOpen) {
  std::string noise(256 * 1024, '\0');
  unsigned state = 12345;
  for (char& c : noise) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  for (const wchar_t* name : {L"orves-noise.avi", L"orves-noise.mpg", L"orves-empty.avi"}) {
    const std::string path = TempFile(name, std::wstring(name) == L"orves-empty.avi" ? std::string() : noise);
    player_.SetFileName(path);
    ExpectNothingOpen(player_);
    DeleteFileA(path.c_str());
  }
}

TEST_F(DirectShowPlayerTest, UnreadableFileLeavesNothingOpen) {
  // Another process holding the file without sharing makes it unreadable.
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_UTF8, 0, MediaPath("test-mjpeg-mp3.avi").c_str(), -1, wide, MAX_PATH);
  HANDLE lock = CreateFileW(wide, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  player_.SetFileName(MediaPath("test-mjpeg-mp3.avi"));
  ExpectNothingOpen(player_);
  CloseHandle(lock);
  player_.SetFileName(MediaPath("test-mjpeg-mp3.avi"));
  EXPECT_EQ(player_.LastOpenResult(), S_OK);
}

TEST_F(DirectShowPlayerTest, ClosingReportsStopAndClearsThePicture) {
  ASSERT_TRUE(PlayUntilMoving(MediaPath("test-mjpeg-mp3.avi")));
  player_.SetFileName("");
  EXPECT_EQ(player_.FileName(), "");
  EXPECT_EQ(player_.ImageSourceWidth(), 0);
  EXPECT_EQ(player_.Duration(), 0.0);
  EXPECT_TRUE(WaitForChange({kPlayStatePlaying, kPlayStateStopped}));
}

}  // namespace
}  // namespace orves
