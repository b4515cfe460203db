#include "units/fixed_decimal.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace velmar::utils {
namespace {

std::string Fixed(double value, int decimals) {
  char out[kFixedDecimalCapacity];
  return std::string(out, WriteFixedDecimal(out, value, decimals));
}

// The exact conversion, as printf does it in the "C" locale.
std::string Reference(double value, int decimals) {
  char out[kFixedDecimalCapacity];
  const auto result =
      std::to_chars(out, out + sizeof out, value, std::chars_format::fixed, decimals);
  return std::string(out, result.ptr);
}

struct FixedCase {
  double value;
  int decimals;
  const char* text;
};

TEST(FixedDecimalTest, WritesLikePrintf) {
  const FixedCase cases[] = {
      {0.0, 0, "0"},
      {0.0, 2, "0.00"},
      {1.0, 4, "1.0000"},
      {0.05, 1, "0.1"},    // 0.05 is stored just above one half
      {0.125, 2, "0.12"},  // an exact tie goes to even
      {0.375, 2, "0.38"},
      {2.5, 0, "2"},
      {3.5, 0, "4"},
      {0.001, 2, "0.00"},
      {9.995, 2, "9.99"},  // stored below the tie
      {9.999, 2, "10.00"},
      {123456789.0, 1, "123456789.0"},
      {1e15, 2, "1000000000000000.00"},
      {-1.25, 1, "-1.2"},
      {1.5, -3, "2"},
      {std::numeric_limits<double>::infinity(), 2, "inf"},
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
  }
}

TEST(FixedDecimalTest, AgreesWithTheExactConversion) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> exponent(-6.0, 14.0);
  for (int i = 0; i < 200000; ++i) {
    const int decimals = static_cast<int>(random() % 9);
    double value = std::pow(10.0, exponent(random));
    // Every few values sits on or next to a decimal tie.
    if (i % 4 == 0) {
      const double scale = std::pow(10.0, decimals);
      value = (std::floor(value * scale) + 0.5) / scale;
      if (i % 8 == 0) value = std::nextafter(value, 0.0);
    }
    ASSERT_EQ(Fixed(value, decimals), Reference(value, decimals)) << value << " " << decimals;
  }
}

TEST(FixedDecimalTest, LargestValuesFit) {
  const double largest = std::numeric_limits<double>::max();
  const std::string text = Fixed(largest, 64);
  EXPECT_EQ(text.size(), 309u + 1u + 64u);
  EXPECT_EQ(Fixed(-largest, 64).size(), text.size() + 1);
}

}  // namespace
}  // namespace velmar::utils
