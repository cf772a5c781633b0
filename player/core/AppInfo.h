#pragma once
// Process-wide constants of the player: the version text shown in the start
// message and stored under `Orve's MP`/`Version`, the application title used
// for the main window and the message boxes, and the pages of the web host
// (the `WebHost` setting) that the help and skin download commands open.
#include <string>
#include <string_view>

#include "OrvesVersion.h"

namespace orves {

inline constexpr const char* kVersionText = ORVES_VERSION_TEXT;
inline constexpr const char* kApplicationTitle = "Orve's MP";
inline constexpr const wchar_t* kApplicationTitleW = L"Orve's MP";

inline constexpr const char* kHelpPage = "/program/orvesmphelp.php";
inline constexpr const char* kSkinDownloadPage = "/program/orvesmpdownloadskin.php";

// The address of `page` on `webHost` (a host, optionally ":port").
inline std::string WebAddress(std::string_view webHost, std::string_view page) {
  return "http://" + std::string(webHost) + std::string(page);
}

}  // namespace orves
