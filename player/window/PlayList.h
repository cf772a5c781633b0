#pragma once
// TPlayList: the ordered list of movie files the player works through, the
// current entry, its options (section `PlayList`) and the `.list` file.
// Entries are full paths as UTF-8 text. The file
// system and the media object are reached through small interfaces so the
// list's rules are testable without Windows.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "player/core/Services.h"
#include "player/window/CaptionSearch.h"
#include "player/window/FileSystem.h"
#include "player/window/PlayListPanel.h"

namespace orves {

class TSetup;
template <class Owner>
class SettingsTable;

// How the list plays its entries (UTF-8 paths) with the caption files found
// for them, and the caption view's SmartCaptionFinding: whether a folder's
// movies and captions are paired by order.
class IPlayListMedia {
 public:
  virtual ~IPlayListMedia() = default;
  // False when the movie cannot be played.
  virtual bool OpenMovie(const std::string& movie, const std::vector<std::string>& captions) = 0;
  virtual void CloseMedia() = 0;
  virtual bool SmartCaptionFinding() const = 0;
};

// What the list works with besides its settings: the file system, the media
// object, its panel on screen and the state text for its messages.
struct TPlayListServices {
  const IFileSystem& files;
  IPlayListMedia& media;
  IPlayListPanel& panel;
  IStateText& stateText;
};

class TPlayList final : public IPlayList {
 public:
  static constexpr int kCapacity = 10000;
  static constexpr const char* kDefaultListName = "OrvesMP.list";

  // `defaultList` is program folder + "\\OrvesMP.list".
  TPlayList(TSetup& setup, std::string defaultList, TPlayListServices services);
  ~TPlayList() override;  // saves the default list, then writes the six settings

  static const SettingsTable<TPlayList>& SettingsKeys();
  TPlayList(const TPlayList&) = delete;
  TPlayList& operator=(const TPlayList&) = delete;

  // Start-up: Clear, then load the default list.
  void Start() { LoadDefaultList(); }
  void LoadDefaultList();

  // Adds a movie, or every entry of a `.list` file; caption files, entries
  // already listed and anything past the capacity are skipped. Each call
  // ends with one Refresh, however many entries a list brings.
  void Add(const std::string& path) override;
  void LoadList(const std::string& path);
  void SaveList(const std::string& path) const override;
  void Clear() override;
  void Delete(int index) override;
  void DeleteMissing() override;

  // Makes the entry current and opens it with its caption. An entry that
  // cannot be played hands on to the next one, as the end of a movie does.
  void PlayIndex(int index) override;
  void PlayCurrent() override { PlayIndex(current_); }
  void PlayNext() override;
  void PlayPrevious() override;
  bool HasNext() const { return current_ < Count() - 1; }
  bool HasPrevious() const { return current_ > 0; }

  // The caption file for a movie, and every caption file to load with it
  // (see TCaptionSearch).
  std::string FindCaption(const std::string& moviePath) const;
  std::vector<std::string> FindCaptions(const std::string& moviePath) const;

  int Count() const override { return static_cast<int>(entries_.size()); }
  int ItemIndex() const override { return entries_.empty() ? -1 : current_; }
  int Current() const override { return current_; }
  const std::string& Entry(int index) const { return entries_.at(static_cast<size_t>(index)); }
  std::string DisplayName(int index) const override;
  bool AutoSort() const override { return autoSort; }
  bool PanelEnabled() const override { return enabled; }
  void ToggleAutoSort() override;
  void TogglePanel() override;
  void TickPanel(int cursorX, int cursorY) override;
  void ArrangePanel() override;
  // Rebuilds the panel's rows (the current entry marked) and lays it out.
  void Refresh();
  const PlayListPlace& PanelPlace() const { return place_; }

  bool autoSort{};
  bool autoRewind{};
  bool enabled{};
  int width{};
  bool useCaptionFolder{};
  std::string captionFolder;

 private:
  void AddPath(const std::string& path);
  void LoadEntries(const std::string& path);
  void DeleteEntry(int index);
  TCaptionSearchOptions CaptionSearchOptions() const;
  // The entry after the current one: the next, the first again with
  // AutoRewind, or -1.
  int NextIndex() const;

  TSetup& setup_;
  std::string defaultList_;
  const IFileSystem& files_;
  IPlayListMedia& media_;
  IPlayListPanel& panel_;
  IStateText& stateText_;
  TCaptionSearch captionSearch_;
  // Kept in unsigned byte order (of the UTF-8 text: code point order) at all
  // times: every Add sorts the whole list and nothing else reorders it, so
  // inserting in place gives the same order in O(n) instead of a full sort
  // per entry.
  std::vector<std::string> entries_;
  int current_ = 0;
  int widest_ = 0;
  int showTicks_ = 0;
  PlayListPlace place_;
  // The `.list` files loaded by the outermost LoadList in progress, each
  // loaded once: lists that name themselves or each other would otherwise
  // recurse without end, and lists naming many others in a web would
  // expand exponentially often.
  std::set<std::string> listsLoaded_;
  int listDepth_ = 0;
};

}  // namespace orves
