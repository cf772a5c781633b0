#pragma once
// Process-wide constants of the player: the version text shown in the start
// message and stored under `Orve's MP`/`Version`, and the application title
// used for the main window and the message boxes, and the maker's web site.

namespace orves {

inline constexpr const char* kVersionText = "2.33";
inline constexpr const char* kApplicationTitle = "Orve's MP";
inline constexpr const wchar_t* kApplicationTitleW = L"Orve's MP";

// The maker's web site: help, skin download and the update check.
inline constexpr const char* kMakerWebHost = "www.orvesmp.example";
inline constexpr const char* kHelpPagePath = "/program/orvesmphelp.php";

}  // namespace orves
