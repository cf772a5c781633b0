#pragma once
// The update check's rules: where the version page is, what its reply says,
// and whether the version it offers is newer than the running one.
//
// A reply is plain text: a first line beginning with "version" (exactly so,
// case included), the newest version on the second line, and the notes on
// the update after it, kept unchanged. Each of the first two lines is
// trimmed of blanks and control characters, so CR LF line ends are harmless.
#include <optional>
#include <string>
#include <string_view>

namespace orves {

inline constexpr const char* kVersionPage = "/program/version_orvesmp.php";
inline constexpr const char* kDownloadPage = "/program/download_orvesmp.php";
inline constexpr const char* kDownloadWithCodecPage = "/program/download_orvesmp_with_codec.php";
// How long the request may take before it counts as failed.
inline constexpr unsigned kUpdateTimeoutMs = 20000;

struct UpdateOffer {
  std::string version;  // the newest version, trimmed
  std::string notes;    // everything after the version line
};

// The offer a reply makes; nothing for a reply that is not a version reply
// (an error page, an empty body).
std::optional<UpdateOffer> ParseVersionReply(std::string_view reply);

// Compares dotted versions as numbers: the first part as a whole number,
// each later part as the digits after a decimal point, so "10.0" > "2.33",
// "2.4" > "2.33" and "2.40" > "2.33" while "2.330" equals "2.33". A part's
// non-digit tail ("2.4b") is compared as text when the digits are equal.
bool IsNewerVersion(std::string_view offered, std::string_view running);

// The offer to show to a user running `running`, if any.
std::optional<UpdateOffer> OfferToShow(std::string_view reply, std::string_view running);

}  // namespace orves
