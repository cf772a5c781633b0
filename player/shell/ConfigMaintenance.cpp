#include "player/shell/ConfigMaintenance.h"

#include <system_error>

namespace orves {

// A missing or busy file is left as it is.
void TConfigMaintenance::ClearBookmarks() {
  std::error_code ignored;
  std::filesystem::remove(bookmarkFile_, ignored);
}

void TConfigMaintenance::ClearRecentDocuments() {
  registry_.DeleteKey(RegistryRoot::CurrentUser, kRecentDocumentsKey);
}

void TConfigMaintenance::SetShellPreview(bool on) { RegisterShellPreview(system_, on); }

void TConfigMaintenance::RemoveCaptionCodecs() { UnregisterCaptionCodecs(registry_, system_); }

}  // namespace orves
