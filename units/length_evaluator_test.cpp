#include "FolianUtils/length_evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <system_error>
#include <tuple>
#include <type_traits>
#include <vector>

#include "FolianUtils/length_formatter.h"
#include "units/length_parser_internal.h"
#include "units/length_test_support.h"

namespace velmar::units {
namespace {

using utils::CLengthFormatter;
using utils::velmar_ustring;
using utils::testing::InUserNotation;
using utils::testing::MakeLengthInfo;
using Error = LengthExpressionError;

// What a host calls where no exception may pass.
using Evaluation = bool (*)(const velmar_ustring&, const LengthInfo&, double&,
                            LengthExpressionStatus*) noexcept;
static_assert(std::is_convertible_v<decltype(&EvaluateLength), Evaluation>);
static_assert(std::is_convertible_v<decltype(&EvaluateLengthRatio), Evaluation>);
static_assert(noexcept(DescribeLengthExpressionError(Error::kNone)));

constexpr double kMm = 1 / 25.4;
constexpr int kDepth = kMaxLengthExpressionDepth;

// The settings a row names: bare numbers read as inches, millimetres or
// feet; kRatio reads a ratio in the first.
enum SettingsIndex { kIn, kMmBare, kFeetBare, kRatio };
const LengthInfo& Settings(int index) {
  static const LengthInfo settings[] = {
      MakeLengthInfo({UnitsInfo::kArchitectural, UnitsInfo::kInches, 4}),
      MakeLengthInfo({UnitsInfo::kDecimal, UnitsInfo::kMillimeters, 2}),
      MakeLengthInfo({UnitsInfo::kEngineering, UnitsInfo::kInches, 2})};
  return settings[index % 3];
}

std::string Repeat(const std::string& piece, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// The longest arithmetic the evaluator takes: "1+1+...+1".
const std::string kLongest = "1" + Repeat("+1", (kMaxLengthExpressionLength - 1) / 2);

// Shapes with more than one possible reading: bare numbers are in the
// settings' unit, factors stay numbers; a slash between whole numbers is a
// fraction, and a following unit belongs to it; a second minus negates the
// whole length; after the feet a hyphen joins the inches, a slash divides.
// Errors say why, and where the "@" (not part of the text) stands.
TEST(LengthEvaluatorLocaleTest, ReadsEachShapeOneWay) {
  const std::string huge = "1" + std::string(300, '0');
  const std::string open(kDepth, '(');
  const std::string close(kDepth, ')');
  // texts: "." in the user's notation
  const std::tuple<int, Error, double, std::vector<std::string>> cases[] = {
      {kIn, Error::kNone, 140, {"(5'-6 1/2\" + 3 1/2\") * 2"}},
      {kIn, Error::kNone, 4, {"- - 4", "~ 3\" + 1\"", "6\" \xE2\x88\x92 2\"", "2 \xC3\x97 2"}},
      {kMmBare, Error::kNone, 60 + 7 * kMm, {"5' 6 + 1"}},
      {kMmBare, Error::kNone, 6 * kMm + 1, {"2 * 3 mm + 1\""}},
      {kFeetBare, Error::kNone, 12, {"2 * 6\""}},
      {kIn, Error::kNone, 2.75, {"5 1/2 / 2"}},
      {kIn, Error::kNone, kMm, {"3/4 mm + 1/4 mm"}},
      {kIn, Error::kNone, 5.5, {"5 - 1/2"}},
      {kIn, Error::kNone, 4.5, {"5 \xE2\x88\x92 1/2"}},
      {kIn, Error::kNone, 2.5, {"3-.5\""}},
      {kIn, Error::kNone, -66, {"~ -5'6\""}},
      {kIn, Error::kNone, 66, {"5' - 6\"", "6' \xE2\x88\x92 6\"", "- -5'6\""}},
      {kIn, Error::kNone, 36, {"2.5' - 6", "6'/2", "6' \xC3\xB7 2"}},
      {kIn, Error::kNone, 72, {"2 * 3'", "6' 0 / 2"}},
      {kRatio, Error::kNone, 4, {"6' \xC3\xB7 18\"", "1\" / 2\" + 3.5", "12 / 3"}},
      {kIn, Error::kNone, 1, {open + "1" + close}},
      {kIn, Error::kNone, (kLongest.size() + 1) / 2.0, {kLongest}},
      {kIn, Error::kUnexpectedCharacter, 0, {"5 + @x", "5@in + 1", "1/2@' + 1", "- @'5", "5 @.5"}},
      {kIn, Error::kMissingOperand, 0, {"5 +@", "@* 2 + 1", "(@)", "5 -@/2 + 1"}},
      {kIn, Error::kUnbalancedParenthesis, 0, {"2 * @((5 + 3)", "5 + 3@)"}},
      {kIn, Error::kDivisionByZero, 0, {"5\" @/ (2 - 2)", "5 1@/00 + 1"}},
      {kIn, Error::kIncompatibleDimensions, 0, {"2\" @* 3\"", "2.5 @/ 3\"", "6' @/ 18\" * 2"}},
      // 10^300 * 10^300 overflows at the second "*".
      {kIn, Error::kNotFinite, 0, {huge + " @* " + huge + "\"", "1 + @" + huge + huge}},
      {kIn,
       Error::kTooDeep,
       0,
       {"2*" + open + "@(1)" + close, "1+" + std::string(kDepth + 1, '-') + "1"}},
      // Unclosed parentheses end with one error, not a stack overflow.
      {kIn, Error::kTooLong, 0, {kLongest + "+@1", std::string(100000, '(')}},
      {kRatio, Error::kIncompatibleDimensions, 0, {"6' * 2"}}};
  for (const auto& [settings, error, expected, texts] : cases) {
    for (std::string text : texts) {
      const std::size_t at = text.find('@');
      if (at != std::string::npos) text.erase(at, 1);
      const std::string shown = text.substr(0, 40);
      const velmar_ustring typed(InUserNotation(text));
      const LengthInfo& info = Settings(settings);
      double inches = 42.0;
      LengthExpressionStatus status;
      EXPECT_EQ(settings == kRatio ? EvaluateLengthRatio(typed, info, inches, &status)
                                   : EvaluateLength(typed, info, inches, &status),
                error == Error::kNone)
          << shown;
      EXPECT_NEAR(inches, error == Error::kNone ? expected : 42.0, 1e-9) << shown;
      EXPECT_EQ(status.error, error) << shown;
      EXPECT_TRUE(at == std::string::npos || status.position == at) << shown;
      EXPECT_NE(std::string(DescribeLengthExpressionError(status.error)), "") << shown;
      if (error == Error::kNone || error == Error::kIncompatibleDimensions) continue;
      EXPECT_FALSE(EvaluateLengthRatio(typed, info, inches, &status)) << shown;
      EXPECT_EQ(status.error, error) << shown;
    }
  }
}

// Texts of the length parser's notations, valid and not: feet, hyphens,
// fractions, decimals, suffixes, marks and signs in random order.
std::string RandomLengthText(std::mt19937& random) {
  static const char* const kPieces[] = {"5",  "12", "0", "3",   "1/2",   "3/4", "/",  "-",
                                        " ",  " ",  "'", "\"",  ".",     ".5",  "mm", " cm",
                                        " m", "pt", "~", "2.5", "7 1/8", "64"};
  std::uniform_int_distribution<int> count(1, 6);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::string text;
  for (int n = count(random); n > 0; --n) text += kPieces[piece(random)];
  return InUserNotation(text);
}

// For every text the length parser reads, the evaluator gives the same
// inches (but where the parser passes over text or gives a sign to one part
// alone, which arithmetic reads otherwise), also in parentheses; a text that
// ReadLength reads whole reads as the parser reads it.
TEST(LengthEvaluatorLocaleTest, AgreesWithTheLengthParser) {
  std::mt19937 random(20260105);
  int read = 0;
  int operands = 0;
  int wrappedRead = 0;
  for (int i = 0; i < 20000; ++i) {
    const int index = i % 3;
    const LengthInfo& info = Settings(index);
    const std::string text = RandomLengthText(random);
    const velmar_ustring typed(text);
    const utils::utf16_unit* end = typed.data() + typed.length();
    double single = 0.0;
    const bool parsed = CLengthFormatter(info).Parse(typed, single);
    double length = 0.0;
    const utils::LengthReadResult whole =
        CLengthFormatter::ReadLength(typed.data(), end, length, info.GetUnits());
    if (whole.ec == std::errc() && whole.ptr == end) {
      ++operands;
      ASSERT_TRUE(parsed) << text;
      ASSERT_EQ(length, single) << text;
    }
    const utils::LengthRead all =
        utils::ReadLength(typed.data(), end, info.GetUnits(), utils::MatchLengthUnitText,
                          utils::LengthReading::kWholeText);
    if (!parsed || all.passesOver) continue;
    ++read;
    double evaluated = -999.0;
    ASSERT_TRUE(EvaluateLength(velmar_ustring(text), info, evaluated)) << text;
    ASSERT_EQ(evaluated, single) << text;
    const std::string wrapped = "(" + text + ") * 1";
    if (!EvaluateLength(velmar_ustring(wrapped), info, evaluated)) continue;
    ++wrappedRead;
    ASSERT_NEAR(evaluated, single, 1e-12 * std::fabs(single)) << wrapped;
  }
  EXPECT_GT(read, 2000);
  EXPECT_GT(operands, 2000);
  EXPECT_GT(wrappedRead, 1000);
}

}  // namespace
}  // namespace velmar::units
