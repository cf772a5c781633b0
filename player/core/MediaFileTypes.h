#pragma once
// The file types the player plays, in one table: the groups of extensions
// with their kind, the caption of the options dialog's association box and
// the caption of the open dialog's filter line. The association list, the
// association boxes, the open dialog's filter, and the caption search and
// playlist's idea of a movie all come from it.
//
// Extensions are written without the dot, in lower case.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orves {

enum class MediaKind {
  Movie,  // associated through a box of the options dialog, paired with captions
  Audio,  // opened and played, never associated
};

struct MediaFileGroup {
  const char* name;  // its first extension: "avi", "asx", ..., "mp4"
  MediaKind kind;
  const char* linkCaption;    // the association box; nullptr for a group without one
  const char* filterCaption;  // the open dialog's line; nullptr for none of its own
  std::vector<std::string_view> extensions;
};

// Every group, movies first in the order of their association boxes.
std::span<const MediaFileGroup> MediaFileGroups();

// The groups that have an association box, in the boxes' order.
std::vector<const MediaFileGroup*> LinkGroups();

// The open and add dialogs' filter: every movie type (and playlists), each
// group with a line of its own, the audio files, then every file. "|"
// separates descriptions and patterns. UTF-8.
std::string OpenDialogFilter();

}  // namespace orves
