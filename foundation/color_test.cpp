#include "FolianUtils/color.h"

#include <gtest/gtest.h>

#include <limits>

namespace velmar::utils {
namespace {

TEST(ColorTest, FractionsTruncateAndClamp) {
  struct Case {
    double fraction;
    int channel;
  };
  for (const Case& c :
       {Case{-1.0, 0}, Case{0.0, 0}, Case{0.5, 127}, Case{0.999, 254}, Case{1.0, 255},
        Case{7.0, 255}, Case{std::numeric_limits<double>::quiet_NaN(), 0}}) {
    const CColor color(c.fraction, c.fraction, c.fraction, c.fraction);
    EXPECT_EQ(color.Red(), c.channel) << c.fraction;
    EXPECT_EQ(color.Alpha(), c.channel) << c.fraction;
  }
}

TEST(ColorTest, PackingPutsRedInTheLowByte) {
  const CColor color(std::uint8_t{0x11}, std::uint8_t{0x22}, std::uint8_t{0x33},
                     std::uint8_t{0x44});
  EXPECT_EQ(color.Packed(), 0x44332211u);
  EXPECT_EQ(CColor::FromPacked(0x44332211u), color);
  EXPECT_EQ(CColor::FromPacked(0xFFFFFFFFu).Alpha(), 255);
}

}  // namespace
}  // namespace velmar::utils
