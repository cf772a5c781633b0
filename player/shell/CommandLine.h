#pragma once
// The player's command line: only the first argument is looked at. It is
// compared with the five words exactly, case included, so "install" is a file
// name like any other.
#include <string_view>

namespace orves {

enum class StartWord {
  None,                // no first argument: normal use, nothing to play
  Help,                // open the help page, then end
  Install,             // drop old registration, register file types, then end
  InstallWithCodec,    // as Install, then register the codec list, then end
  UnInstall,           // drop registration restoring old associations, then end
  UnInstallWithCodec,  // as UnInstall, then offer to remove the codecs, then end
  PlayFile,            // anything else: a file to play once the window is shown
};

StartWord ClassifyFirstArgument(std::string_view firstArgument);

// True for the words that end the program while the main window is created.
bool EndsProgram(StartWord word);

}  // namespace orves
