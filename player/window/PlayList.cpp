#include "player/window/PlayList.h"

#include <algorithm>

#include "player/core/CaptionNames.h"
#include "player/core/Paths.h"
#include "player/core/ProfileFile.h"
#include "player/core/SettingsTable.h"

namespace orves {

namespace {

// The extension test of Add looks at no more than this many characters.
constexpr size_t kExtensionLimit = 100;

// Text after the last "." (or the whole path when it has none), cut to 100
// characters, lower-cased: what Add decides a path's kind by.
std::string AddKindOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  const std::string tail = dot == std::string::npos ? path : path.substr(dot + 1);
  return LowerAscii(tail.substr(0, kExtensionLimit));
}

// The entry numbers that have a section of their own, ascending. Only these
// can yield a file name, so a list claiming a huge NUM costs nothing extra.
std::vector<int> NumberedSections(const ProfileFile& list) {
  std::vector<int> numbers;
  for (const std::string& name : list.SectionNames()) {
    const auto number = ParseProfileInteger(name);
    if (number && *number >= 0 && std::to_string(*number) == name) {
      numbers.push_back(*number);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace

const SettingsTable<TPlayList>& TPlayList::SettingsKeys() {
  using P = TPlayList;
  static constexpr SettingKey<P> keys[] = {
      FlagKey("AutoSort", &P::autoSort, true)
          .AppliedBy(&P::ToggleAutoSort)
          .Shown(Check("chkAutoSort", "자동 정렬", {kPagePlayList, 12, 36, 200, 20}, 305)),
      FlagKey("AutoRewind", &P::autoRewind, false)
          .Shown(Check("chkAutoRewind", "반복재생 켜기", {kPagePlay, 12, 156, 200, 20}, 302)),
      FlagKey("Enabled", &P::enabled, false)
          .AppliedBy(&P::TogglePanel)
          .Shown(Check("chkPlayListEnabled", "플레이리스트 보기", {kPagePlayList, 12, 12, 200, 20}, 304)),
      IntegerKey("Width", &P::width, 150),
      FlagKey("UseCaptionFolder", &P::useCaptionFolder, false)
          .Shown(Check("chkUseCaptionFolder", "자막폴더 지정", {kPageAdvanced, 12, 216, 110, 20}, 810)),
      TextKey("CaptionFolder", &P::captionFolder, "c:\\")
          .Shown(TextEdit("edtCaptionFolder", {kPageAdvanced, 126, 215, 200, 22}, 811)),
  };
  static constexpr SettingsTable<P> table("PlayList", keys);
  return table;
}

TPlayList::TPlayList(TSetup& setup, std::string defaultList, TPlayListServices services)
    : setup_(setup),
      defaultList_(std::move(defaultList)),
      files_(services.files),
      media_(services.media),
      panel_(services.panel),
      stateText_(services.stateText),
      captionSearch_(services.files) {
  SettingsKeys().Read(setup_, *this);
}

TPlayList::~TPlayList() {
  SaveList(defaultList_);
  SettingsKeys().Write(setup_, *this);
}

void TPlayList::LoadDefaultList() {
  Clear();
  LoadList(defaultList_);
}

void TPlayList::Add(const std::string& path) {
  AddPath(path);
  Refresh();
}

void TPlayList::AddPath(const std::string& path) {
  const auto place = std::lower_bound(entries_.begin(), entries_.end(), path);
  if (place != entries_.end() && *place == path) {
    return;
  }
  const std::string kind = AddKindOf(path);
  if (kind == "smi" || IsTimedCaptionExtension(kind)) {
    return;
  }
  if (kind == "list") {
    LoadEntries(path);
    return;
  }
  if (path.empty() || Count() >= kCapacity) {
    return;
  }
  const int index = static_cast<int>(place - entries_.begin());
  const bool hadEntries = !entries_.empty();
  entries_.insert(place, path);
  // The current entry keeps being current when the new one sorts before it.
  if (hadEntries && index <= current_) {
    ++current_;
  }
}

void TPlayList::LoadList(const std::string& path) {
  LoadEntries(path);
  Refresh();
}

void TPlayList::LoadEntries(const std::string& path) {
  if (!files_.FileExists(path)) {
    return;
  }
  // Loading a list again within the same expansion could only add entries
  // that are already there.
  if (!listsLoaded_.insert(path).second) {
    return;
  }
  ++listDepth_;
  const ProfileFile list(files_.ToFsPath(path));
  const int num = ParseProfileInteger(list.ReadString("NUM", "NUM", "0")).value_or(0);
  for (const int i : NumberedSections(list)) {
    if (i >= num || Count() >= kCapacity) {
      break;
    }
    const std::string entry = list.ReadString(std::to_string(i), "FileName", "");
    // A section without a file name names nothing to play.
    if (!entry.empty()) {
      AddPath(entry);
    }
  }
  if (--listDepth_ == 0) {
    listsLoaded_.clear();
  }
}

void TPlayList::SaveList(const std::string& path) const {
  ProfileFile list(files_.ToFsPath(path));
  list.WriteString("NUM", "NUM", std::to_string(Count()));
  for (int i = 0; i < Count(); ++i) {
    list.WriteString(std::to_string(i), "FileName", Entry(i));
  }
}

void TPlayList::Clear() {
  while (!entries_.empty()) {
    DeleteEntry(Count() - 1);
  }
  current_ = 0;
  Refresh();
}

void TPlayList::Delete(int index) {
  if (index < 0 || index >= Count()) {
    return;
  }
  DeleteEntry(index);
  Refresh();
}

void TPlayList::DeleteEntry(int index) {
  if (index == current_) {
    media_.CloseMedia();
  }
  entries_.erase(entries_.begin() + index);
  if (index < current_) {
    --current_;
  }
}

void TPlayList::DeleteMissing() {
  for (int i = Count() - 1; i >= 0; --i) {
    if (!files_.FileExists(Entry(i))) {
      DeleteEntry(i);
    }
  }
  Refresh();
}

// Each entry is tried at most once, so a list of files that cannot be
// played ends instead of going round for ever with AutoRewind.
void TPlayList::PlayIndex(int index) {
  if (index < 0 || index > Count() - 1) {
    return;
  }
  for (int tried = 1;; ++tried) {
    current_ = index;
    if (media_.OpenMovie(Entry(index), FindCaptions(Entry(index))) || tried == Count()) {
      break;
    }
    index = NextIndex();
    if (index < 0) {
      break;
    }
  }
  Refresh();
}

int TPlayList::NextIndex() const {
  if (current_ < Count() - 1) {
    return current_ + 1;
  }
  return autoRewind ? 0 : -1;
}

void TPlayList::PlayNext() {
  const int next = NextIndex();
  if (next >= 0) {
    PlayIndex(next);
  }
}

void TPlayList::PlayPrevious() {
  if (current_ > 0) {
    PlayIndex(current_ - 1);
  }
}

// ---- the panel ---------------------------------------------------------------

void TPlayList::Refresh() {
  std::vector<std::string> captions;
  captions.reserve(entries_.size());
  for (int i = 0; i < Count(); ++i) {
    captions.push_back(PlayListCaption(i, i == current_, DisplayName(i)));
  }
  widest_ = panel_.SetRows(captions);
  ArrangePanel();
}

void TPlayList::ArrangePanel() {
  const PlayListFrame frame = panel_.Frame();
  place_ = ArrangePlayList(widest_, Count(), frame);
  panel_.Place(place_);
  // A window not laid out yet has no width to remember.
  if (frame.mediaWidth > 0) {
    width = place_.panel.width;
  }
}

void TPlayList::TickPanel(int cursorX, int cursorY) {
  const bool inZone = InPlayListZone(place_, panel_.Frame(), cursorX, cursorY);
  panel_.SetVisible(PlayListShownThisTick(enabled, inZone, showTicks_));
}

void TPlayList::TogglePanel() {
  enabled = !enabled;
  ArrangePanel();
  if (enabled) {
    showTicks_ = kPlayListShowTicks;
    stateText_.ShowState("플레이리스트 : ON", "PLAYLIST : ON");
  } else {
    stateText_.ShowState("플레이리스트 : OFF", "PLAYLIST : OFF");
  }
}

// The entries are kept sorted whatever AutoSort says (every Add sorts), so
// switching it on finds the list in order already.
void TPlayList::ToggleAutoSort() {
  autoSort = !autoSort;
  if (autoSort) {
    stateText_.ShowState("자동정렬 : ON", "PLAYLIST AUTO SORT : ON");
  } else {
    stateText_.ShowState("자동정렬 : OFF", "PLAYLIST AUTO SORT : OFF");
  }
}

std::string TPlayList::DisplayName(int index) const { return FileNameOf(Entry(index)); }

TCaptionSearchOptions TPlayList::CaptionSearchOptions() const {
  return {useCaptionFolder, captionFolder, media_.SmartCaptionFinding()};
}

std::string TPlayList::FindCaption(const std::string& moviePath) const {
  return captionSearch_.FindCaption(moviePath, CaptionSearchOptions());
}

std::vector<std::string> TPlayList::FindCaptions(const std::string& moviePath) const {
  return captionSearch_.FindCaptions(moviePath, CaptionSearchOptions());
}

}  // namespace orves
