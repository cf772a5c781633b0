#include "player/shell/WindowTitle.h"

#include "player/core/AppInfo.h"

namespace orves {

// An address names its file after the last slash, a path after the last
// backslash; an address that ends in a slash keeps its whole text.
std::string MainWindowTitle(std::string_view movie) {
  std::string_view name = movie;
  if (const size_t cut = name.find_last_of("\\/"); cut != std::string_view::npos && cut + 1 < name.size()) {
    name.remove_prefix(cut + 1);
  }
  if (name.empty()) return kApplicationTitle;
  return std::string(name) + " - " + kApplicationTitle;
}

}  // namespace orves
