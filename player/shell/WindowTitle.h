#pragma once
// The main window's title, which the taskbar button and Alt+Tab show: the
// open movie's file name before the application title, or the application
// title alone.
#include <string>
#include <string_view>

namespace orves {

// `movie` is the open movie's path or address (UTF-8), empty when none.
std::string MainWindowTitle(std::string_view movie);

}  // namespace orves
