#pragma once
// TPlayList: the ordered list of movie files the player works through, the
// current entry, its options (section `PlayList`) and the `.list` file.
// Entries are full paths as byte text in the system's ANSI code page. The file
// system and the media object are reached through small interfaces so the
// list's rules are testable without Windows.
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "player/playback/PlaybackLinks.h"

namespace orves {

class TSetup;

class IPlayListFiles {
 public:
  virtual ~IPlayListFiles() = default;
  virtual bool FileExists(const std::string& path) const = 0;
  // Names (no folder) of the entries of `folder`, hidden and system ones left out.
  virtual std::vector<std::string> ListFolder(const std::string& folder) const = 0;
  // Case-insensitive comparison in the system's string order (<0, 0, >0).
  virtual int CompareNoCase(const std::string& a, const std::string& b) const = 0;
  // The same path as the file functions take it.
  virtual std::filesystem::path ToFsPath(const std::string& path) const = 0;
};

class IPlayListMedia {
 public:
  virtual ~IPlayListMedia() = default;
  virtual void OpenMovie(const std::string& movie, const std::string& caption) = 0;
  virtual void CloseMedia() = 0;
};

class TPlayList : public IPlayListPosition {
 public:
  static constexpr int kCapacity = 10000;
  static constexpr const char* kDefaultListName = "OrvesMP.list";

  // `defaultList` is program folder + "\\OrvesMP.list".
  TPlayList(TSetup& setup, const IPlayListFiles& files, std::string defaultList);
  ~TPlayList() override;  // saves the default list, then writes the six settings
  TPlayList(const TPlayList&) = delete;
  TPlayList& operator=(const TPlayList&) = delete;

  // The media object arrives after the list is constructed.
  void SetMedia(IPlayListMedia* media) { media_ = media; }
  // Asked at each caption search: whether a folder's movies and captions are
  // paired by order (the caption view's SmartCaptionFinding; on when unset).
  void SetSmartCaptionFinding(std::function<bool()> setting) { smartCaptionFinding_ = std::move(setting); }

  // Start-up: Clear, then load the default list.
  void Start() { LoadDefaultList(); }
  void LoadDefaultList();

  // Adds a movie, or every entry of a `.list` file; caption files, entries
  // already listed and anything past the capacity are skipped.
  void Add(const std::string& path);
  void LoadList(const std::string& path);
  void SaveList(const std::string& path) const;
  void Clear();
  void Delete(int index);
  void DeleteMissing();

  void PlayIndex(int index);
  void PlayCurrent() { PlayIndex(current_); }
  void PlayNext();
  void PlayPrevious();
  bool HasNext() const { return current_ < Count() - 1; }
  bool HasPrevious() const { return current_ > 0; }

  std::string FindCaption(const std::string& moviePath) const;

  int Count() const override { return static_cast<int>(entries_.size()); }
  int ItemIndex() const override { return entries_.empty() ? -1 : current_; }
  int Current() const { return current_; }
  const std::string& Entry(int index) const { return entries_.at(static_cast<size_t>(index)); }
  std::string DisplayName(int index) const;

  bool autoSort = true;
  bool autoRewind = false;
  bool enabled = false;
  int width = 150;
  bool useCaptionFolder = false;
  std::string captionFolder = "c:\\";

 private:
  std::string TryCaption(const std::string& candidate) const;
  std::string PairedCaption(const std::string& moviePath) const;

  TSetup& setup_;
  const IPlayListFiles& files_;
  std::string defaultList_;
  IPlayListMedia* media_ = nullptr;
  std::function<bool()> smartCaptionFinding_;
  // Kept in unsigned byte order at all times: every Add sorts the whole list
  // and nothing else reorders it, so inserting in place gives the same order
  // in O(n) instead of a full sort per entry.
  std::vector<std::string> entries_;
  int current_ = 0;
  // The `.list` files loaded by the outermost LoadList in progress, each
  // loaded once: lists that name themselves or each other would otherwise
  // recurse without end, and lists naming many others in a web would
  // expand exponentially often.
  std::set<std::string> listsLoaded_;
  int listDepth_ = 0;
};

}  // namespace orves
