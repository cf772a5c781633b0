#include <gtest/gtest.h>

#include "player/shell/UpdateCheck.h"

namespace orves {
namespace {

TEST(UpdateCheck, RepliesOfferANewerVersionWithItsNotes) {
  struct Case {
    const char* name;
    std::string reply;
    std::optional<std::string> version;  // offered to a user of 2.33
    std::string notes;
  };
  const Case cases[] = {
      {"CR LF lines", "version\r\n2.40\r\nFaster captions.\r\n", "2.40", "Faster captions.\r\n"},
      {"rest of line 1 ignored, blanks trimmed", "version: 1\n  2.5 \t\nA\nB", "2.5", "A\nB"},
      {"no notes", "version\n3.0", "3.0", ""},
      {"capital V", "Version\r\n2.40\r\nnotes\r\n", std::nullopt, ""},
      {"same version", "version\r\n2.33\r\nnotes\r\n", std::nullopt, ""},
      {"older version", "version\n2.3\n", std::nullopt, ""},
      {"error page", "<html><body>404</body></html>", std::nullopt, ""},
      {"empty body", "", std::nullopt, ""},
      {"first line only", "version", std::nullopt, ""},
      {"empty version line", "version\n\nnotes", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<UpdateOffer> offer = OfferToShow(c.reply, "2.33");
    ASSERT_EQ(offer.has_value(), c.version.has_value());
    if (offer) {
      EXPECT_EQ(offer->version, *c.version);
      EXPECT_EQ(offer->notes, c.notes);
    }
  }
}

TEST(UpdateCheck, VersionsCompareAsDottedNumbers) {
  const struct {
    const char* offered;
    const char* running;
    bool newer;
  } cases[] = {
      {"10.0", "2.33", true},   {"2.4", "2.33", true},
      {"2.40", "2.33", true},   {"2.34", "2.33", true},
      {"3", "2.33", true},      {"2.33.1", "2.33", true},
      {"2.33", "2.33", false},  {"2.330", "2.33", false},
      {"2.3", "2.33", false},   {"1.99", "2.33", false},
      {"02.33", "2.33", false}, {"", "2.33", false},
      {"2.33b", "2.33", true},  {"99999999999999999999999.0", "2.33", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNewerVersion(c.offered, c.running), c.newer) << c.offered << " vs " << c.running;
  }
}

}  // namespace
}  // namespace orves
