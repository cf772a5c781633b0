#include "player/shell/CommandLine.h"

namespace orves {

StartWord ClassifyFirstArgument(std::string_view firstArgument) {
  if (firstArgument.empty()) {
    return StartWord::None;
  }
  if (firstArgument == "Help") {
    return StartWord::Help;
  }
  if (firstArgument == "Install") {
    return StartWord::Install;
  }
  if (firstArgument == "InstallWithCodec") {
    return StartWord::InstallWithCodec;
  }
  if (firstArgument == "UnInstall") {
    return StartWord::UnInstall;
  }
  if (firstArgument == "UnInstallWithCodec") {
    return StartWord::UnInstallWithCodec;
  }
  return StartWord::PlayFile;
}

bool EndsProgram(StartWord word) { return word != StartWord::None && word != StartWord::PlayFile; }

}  // namespace orves
