#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "player/core/TimeText.h"

namespace orves {
namespace {

TEST(TimeTextTest, FieldsAreTwoDigitsZeroPadded) {
  EXPECT_EQ(TimeText(0LL), "00:00:00");
  EXPECT_EQ(TimeText(59LL), "00:00:59");
  EXPECT_EQ(TimeText(61LL), "00:01:01");
  EXPECT_EQ(TimeText(3600LL + 23 * 60 + 45), "01:23:45");
}

TEST(TimeTextTest, HoursWrapAtNinetyNine) {
  EXPECT_EQ(TimeText(98LL * 3600 + 3599), "98:59:59");
  EXPECT_EQ(TimeText(99LL * 3600), "00:00:00");
  EXPECT_EQ(TimeText(100LL * 3600), "01:00:00");
}

TEST(TimeTextTest, NegativeSecondsShowAsZero) {
  EXPECT_EQ(TimeText(-1LL), "00:00:00");
  EXPECT_EQ(TimeText(-3661LL), "00:00:00");
}

TEST(TimeTextTest, PositionsTruncateTowardZero) {
  EXPECT_EQ(PositionText(59.999), "00:00:59");
  EXPECT_EQ(PositionText(-0.5), "00:00:00");
  EXPECT_EQ(PositionText(600.0), "00:10:00");
}

TEST(TimeTextTest, NonFiniteOrHugePositionsShowAsZero) {
  EXPECT_EQ(PositionText(std::nan("")), "00:00:00");
  EXPECT_EQ(PositionText(std::numeric_limits<double>::infinity()), "00:00:00");
  EXPECT_EQ(PositionText(1e300), "00:00:00");
  // Large but representable: still the modulo rule, no overflow.
  EXPECT_EQ(PositionText(1e15), TimeText(1000000000000000LL));
}

}  // namespace
}  // namespace orves
