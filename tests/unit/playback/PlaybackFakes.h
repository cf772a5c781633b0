#pragma once
// Recording stand-ins for the control and the objects around TMovie, TMedia
// and TStateText. Every call that matters is appended to a shared log, so the
// tests can check order as well as effect.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "player/core/MediaPlayer.h"
#include "player/core/Setup.h"
#include "player/playback/Media.h"
#include "player/playback/Movie.h"
#include "tests/unit/core/NullServices.h"

namespace orves::testing {

using Log = std::vector<std::string>;

class FakePlayer : public IMediaPlayer {
 public:
  explicit FakePlayer(Log& log) : log_(log) {}
  // What a successfully opened file reports, now and at every later open.
  void Loaded(int width, int height, double duration) {
    width_ = openWidth_ = width;
    height_ = openHeight_ = height;
    duration_ = openDuration_ = duration;
  }
  // An empty name closes, and a name in `unplayable` opens nothing: no
  // picture, no duration, as the real control.
  void SetFileName(const std::string& name) override {
    log_.push_back("FileName=" + name);
    name_ = name;
    position_ = 0;
    open_ = !name.empty() && unplayable.count(name) == 0;
    const bool open = open_;
    width_ = open ? openWidth_ : 0;
    height_ = open ? openHeight_ : 0;
    duration_ = open ? openDuration_ : 0;
  }
  std::string FileName() const override { return name_; }
  bool IsOpen() const override { return open_; }
  void Play() override { log_.push_back("Play"); }
  void Pause() override { log_.push_back("Pause"); }
  double CurrentPosition() const override { return position_; }
  void SetCurrentPosition(double seconds) override {
    log_.push_back("Position=" + std::to_string(seconds));
    position_ = seconds;
  }
  double Duration() const override { return duration_; }
  int ImageSourceWidth() const override { return width_; }
  int ImageSourceHeight() const override { return height_; }
  void SetVolume(int volume) override { volume_ = volume; }
  int Volume() const override { return volume_; }
  void SetMute(bool mute) override { mute_ = mute; }
  bool Mute() const override { return mute_; }
  void SetRate(double rate) override { rate_ = rate; }
  double Rate() const override { return rate_; }
  int PlayState() const override { return kPlayStateStopped; }
  int StreamCount() const override { return static_cast<int>(streams_.size()); }
  void StreamSelect(int stream) override { log_.push_back("StreamSelect=" + std::to_string(stream)); }
  std::string GetStreamName(int stream) const override {
    return stream >= 0 && stream < StreamCount() ? streams_[stream] : std::string();
  }
  bool GetStreamSelected(int) const override { return false; }
  int TextTrackCount() const override { return static_cast<int>(textTracks_.size()); }
  TMovieTextTrack TextTrack(int track) const override { return textTracks_.at(static_cast<size_t>(track)); }
  // A track's cues once `cuesRead_` holds them, nothing before.
  std::optional<std::vector<TMovieTextCue>> TextTrackCues(int track) override {
    const auto read = cuesRead_.find(track);
    if (read == cuesRead_.end()) return std::nullopt;
    return read->second;
  }
  void SetOwnDecoders(bool on) override { ownDecoders_ = on; }
  void SetEvents(IMediaPlayerEvents*) override {}

  std::vector<std::string> streams_;
  std::vector<TMovieTextTrack> textTracks_;
  std::map<int, std::vector<TMovieTextCue>> cuesRead_;
  std::set<std::string> unplayable;
  double position_ = 0;
  int volume_ = 1;  // never a value TMovie would send, so a missed call shows
  bool mute_ = true;
  double rate_ = 1;
  bool ownDecoders_ = false;  // never the default, so a missed call shows

 private:
  Log& log_;
  std::string name_;
  bool open_ = false;
  int width_ = 0, openWidth_ = 0;
  int height_ = 0, openHeight_ = 0;
  double duration_ = 0, openDuration_ = 0;
};

class FakePanels : public IMoviePanels {
 public:
  explicit FakePanels(Log& log) : log_(log) {}
  int MoviePanelWidth() const override { return width; }
  int MoviePanelHeight() const override { return height; }
  void SetInnerPosition(int l, int t) override {
    left = l;
    top = t;
    log_.push_back("InnerPosition");
  }
  void SetInnerSize(int w, int h) override {
    innerWidth = w;
    innerHeight = h;
    log_.push_back("InnerSize");
  }
  void RepaintInner() override { log_.push_back("Repaint"); }

  int width = 0, height = 0;
  int left = 0, top = 0, innerWidth = 0, innerHeight = 0;

 private:
  Log& log_;
};

class FakeLayout : public NullLayout {
 public:
  explicit FakeLayout(Log& log) : log_(log) {}
  bool IsFullScreen() const override { return fullScreen; }
  bool AlwaysShowFullScreenBar() const override { return barAlwaysShown; }
  void HideMovieForResize() override { log_.push_back("Hide"); }
  void ShowMovieAfterResize() override { log_.push_back("Show"); }
  void ResizeFromCurrentHeight() override { log_.push_back("ResizeFromHeight"); }
  void ResizeKeepingAspect() override { log_.push_back("ResizeKeepingAspect"); }
  bool fullScreen = false;
  bool barAlwaysShown = false;

 private:
  Log& log_;
};

class FakeSkin : public NullSkin {
 public:
  explicit FakeSkin(Log& log) : log_(log) {}
  void PlaceThumbs() override { log_.push_back("PlaceThumbs"); }
  int FullScreenBarHeight() const override { return barHeight; }
  int barHeight = 0;

 private:
  Log& log_;
};

// Records the pairs; the last one is what the user would see.
class FakeStateText : public NullStateText {
 public:
  void ShowState(const std::string& korean, const std::string& english) override {
    shown.emplace_back(korean, english);
  }
  std::pair<std::string, std::string> Last() const {
    return shown.empty() ? std::pair<std::string, std::string>() : shown.back();
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

class FakeCaptions : public NullCaptions {
 public:
  explicit FakeCaptions(Log& log) : log_(log) {}
  void LoadCaptionFile(const std::filesystem::path& file) override {
    log_.push_back("LoadCaption=" + file.string());
    fileName = file;
    has = true;
  }
  void LoadCaptionFiles(const std::vector<std::filesystem::path>& files) override {
    for (const auto& file : files) LoadCaptionFile(file);
  }
  // "LoadMovieTracks=first,second" with "(chosen)" after a menu choice.
  void LoadMovieTracks(const std::vector<TLoadedTextTrack>& tracks, bool chosen) override {
    std::string names;
    for (const TLoadedTextTrack& loaded : tracks) names += (names.empty() ? "" : ",") + loaded.track.title;
    log_.push_back("LoadMovieTracks=" + names + (chosen ? " (chosen)" : ""));
  }
  void ClearCaptions() override {
    log_.push_back("ClearCaptions");
    fileName.clear();
    has = false;
  }
  std::filesystem::path CaptionFileName() const override { return fileName; }
  bool HasCaptions() const override { return has; }
  int CaptionRise() const override { return rise; }
  int CaptionBand() const override { return band; }
  void UpdateCaption() override { log_.push_back("UpdateCaption"); }

  std::filesystem::path fileName;
  bool has = false;
  int rise = 0, band = 0;

 private:
  Log& log_;
};

class FakePlayList : public NullPlayList {
 public:
  explicit FakePlayList(Log& log) : log_(log) {}
  int ItemIndex() const override { return index; }
  int Count() const override { return count; }
  void ArrangePanel() override { log_.push_back("ArrangePlayList"); }
  int index = 0;
  int count = 1;

 private:
  Log& log_;
};

class FakeMediaPanels : public IMediaPanels {
 public:
  explicit FakeMediaPanels(Log& log) : log_(log) {}
  int MediaPanelWidth() const override { return width; }
  int MediaPanelHeight() const override { return height; }
  bool MovieVisible() const override { return movieVisible; }
  void SetMovieBounds(int l, int t, int w, int h) override { Place("Movie", l, t, w, h); }
  void SetCaptionBounds(int l, int t, int w, int h) override { Place("Caption", l, t, w, h); }
  void SetStateTextBounds(int l, int t, int w, int h) override { Place("StateText", l, t, w, h); }

  int width = 0, height = 0;
  bool movieVisible = true;

 private:
  void Place(const std::string& what, int l, int t, int w, int h) {
    log_.push_back(what + "=" + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(w) + "," +
                   std::to_string(h));
  }
  Log& log_;
};

// A settings file in a fresh folder of its own.
class TempSettings {
 public:
  explicit TempSettings(const std::string& name) {
    dir_ =
        std::filesystem::temp_directory_path() /
        ("orves-playback-" + name + "-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~TempSettings() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::filesystem::path Path() const { return dir_ / "OrvesMP20.ini"; }
  std::filesystem::path Folder() const { return dir_; }
  void Put(const std::string& text) const { std::ofstream(Path(), std::ios::binary) << text; }
  std::string Text() const {
    std::ifstream in(Path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path dir_;
};

// TMovie and TMedia over fakes, made and bound as the main window does, and
// destroyed in the same order. The control, the inner panels and the skin
// report to `log`; the media panels, the layout, the captions and the
// playlist to `around`.
struct MediaRig {
  MediaRig(TSetup& setup, Log& log, Log& around)
      : player(log),
        innerPanels(log),
        skin(log),
        panels(around),
        layout(around),
        captions(around),
        playList(around),
        media_(std::in_place, setup,
               TMediaServices{player, state, captions, skin, playList, layout, panels, lateMovie_}),
        movie_(std::in_place, setup, TMovieServices{player, innerPanels, layout, skin, *media_, state}),
        media(*media_),
        movie(*movie_) {
    lateMovie_.Bind(movie);
  }
  ~MediaRig() {
    media_.reset();
    movie_.reset();
  }

  FakePlayer player;
  FakePanels innerPanels;
  FakeSkin skin;
  FakeMediaPanels panels;
  FakeLayout layout;
  FakeCaptions captions;
  FakePlayList playList;
  FakeStateText state;

 private:
  LateBound<TMovie> lateMovie_;
  std::optional<TMedia> media_;
  std::optional<TMovie> movie_;

 public:
  TMedia& media;
  TMovie& movie;
};

}  // namespace orves::testing
