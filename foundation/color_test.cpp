#include "FolianUtils/color.h"

#include <gtest/gtest.h>

#include <limits>

namespace velmar::utils {
namespace {

TEST(ColorTest, FractionsTruncateAndClampAndRedPacksLowest) {
  struct Case {
    double fraction;
    int channel;
  };
  for (const Case& c : {Case{0.0, 0}, Case{0.999, 254}, Case{1.0, 255}, Case{7.0, 255},
                        Case{std::numeric_limits<double>::quiet_NaN(), 0}}) {
    const CColor color(c.fraction, 0.5, -1.0, c.fraction);
    EXPECT_EQ(color.Packed(), (unsigned(c.channel) << 24 | 0x7F00u | unsigned(c.channel)))
        << c.fraction;
    EXPECT_EQ(CColor::FromPacked(color.Packed()), color);
  }
}

}  // namespace
}  // namespace velmar::utils
