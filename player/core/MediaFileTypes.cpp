#include "player/core/MediaFileTypes.h"

namespace orves {

namespace {

constexpr MediaKind M = MediaKind::Movie;

std::string Patterns(const std::vector<std::string_view>& extensions) {
  std::string patterns;
  for (std::string_view ext : extensions) {
    if (!patterns.empty()) patterns += ';';
    patterns += "*.";
    patterns += ext;
  }
  return patterns;
}

}  // namespace

std::span<const MediaFileGroup> MediaFileGroups() {
  static const MediaFileGroup groups[] = {
      {"avi", M, "비디오 파일 (avi)", "비디오 파일 (avi)", {"avi"}},
      {"asx",
       M,
       "윈도우 미디어 파일 (asx,asf,wm,wmv,wmx)",
       "윈도우 미디어 파일 (asf,asx,wm,wmv,wmx)",
       {"asx", "asf", "wm", "wmv", "wmx"}},
      {"mpeg",
       M,
       "MPEG 파일 (mpeg,mpg,mpe,mpa,m1v,m2v)",
       "MPEG 파일 (mpeg,mpe,mpe,mpa)",
       {"mpeg", "mpe", "mpg", "mpa", "m1v", "m2v"}},
      {"dat", M, "비디오 씨디 (dat)", "비디오 씨디 (dat)", {"dat"}},
      {"divx", M, "DivX 파일 (divx)", "DivX 파일 (divx)", {"divx"}},
      {"vob", M, "DVD 파일 (vob)", "DVD 파일 (vob)", {"vob"}},
      {"ogm", M, "오그 보비스 (ogm) ", "오그보비스 (ogm)", {"ogm"}},
      {"mp4", M, "MP4 파일 (mp4,m4v,mov,3gp)", "MP4 파일 (mp4,m4v,mov,3gp)", {"mp4", "m4v", "mov", "3gp"}},
      {"mkv", M, "마트료시카 파일 (mkv,webm)", "마트료시카 파일 (mkv,webm)", {"mkv", "webm"}},
      {"ts", M, "MPEG-TS 파일 (ts,m2ts)", "MPEG-TS 파일 (ts,m2ts)", {"ts", "m2ts"}},
      {"flv", M, "플래시 비디오 (flv)", "플래시 비디오 (flv)", {"flv"}},
      {"ogv", M, "오그 비디오 (ogv)", "오그 비디오 (ogv)", {"ogv"}},
      // Opened from the dialog's movie line but never associated.
      {"ivf", M, nullptr, nullptr, {"ivf"}},
      {"mp3",
       MediaKind::Audio,
       nullptr,
       "오디오 파일 (mp3,flac,m4a,opus,ogg,wav)",
       {"mp3", "flac", "m4a", "opus", "ogg", "wav"}},
  };
  return groups;
}

std::vector<const MediaFileGroup*> LinkGroups() {
  std::vector<const MediaFileGroup*> linked;
  for (const MediaFileGroup& group : MediaFileGroups()) {
    if (group.linkCaption) linked.push_back(&group);
  }
  return linked;
}

std::string OpenDialogFilter() {
  std::vector<std::string_view> movies;
  for (const MediaFileGroup& group : MediaFileGroups()) {
    if (group.kind == MediaKind::Movie)
      movies.insert(movies.end(), group.extensions.begin(), group.extensions.end());
  }
  movies.push_back("list");
  std::string filter = "모든 비디오 파일 (여러개 선택 가능!)|" + Patterns(movies) + ";";
  for (const MediaFileGroup& group : MediaFileGroups()) {
    if (group.filterCaption)
      filter += std::string("|") + group.filterCaption + "|" + Patterns(group.extensions);
  }
  return filter + "|모든파일|*.*";
}

}  // namespace orves
