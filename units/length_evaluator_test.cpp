#include "FolianUtils/length_evaluator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "FolianUtils/length_formatter.h"
#include "units/length_parser_internal.h"
#include "units/length_test_support.h"

namespace velmar::units {
namespace {

using utils::CLengthFormatter;
using utils::velmar_ustring;
using utils::testing::InUserNotation;
using utils::testing::LengthSettings;
using utils::testing::MakeLengthInfo;
using Error = LengthExpressionError;

constexpr double kMm = 1 / 25.4;
constexpr int kDepth = kMaxLengthExpressionDepth;

// The settings a row names: bare numbers read as inches, millimetres or feet.
enum SettingsIndex { kIn, kMmBare, kFeetBare };
const LengthInfo& Settings(int index) {
  static const LengthInfo settings[] = {
      MakeLengthInfo({UnitsInfo::kArchitectural, UnitsInfo::kInches, 4}),
      MakeLengthInfo({UnitsInfo::kDecimal, UnitsInfo::kMillimeters, 2}),
      MakeLengthInfo({UnitsInfo::kEngineering, UnitsInfo::kInches, 2})};
  return settings[index];
}

std::string Repeat(const std::string& piece, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

// The longest arithmetic the evaluator takes: "1+1+...+1".
const std::string kLongest = "1" + Repeat("+1", (kMaxLengthExpressionLength - 1) / 2);

struct ValueCase {
  std::string text;  // "." in the user's notation
  double expected;
};

// Texts that all read as one value, in one of the settings.
struct SameValue {
  int settings;
  double inches;
  std::vector<std::string> texts;
};

// The shapes the evaluator reads one way where another reading is
// possible; plain arithmetic is checked against the length parser below.
TEST(LengthEvaluatorLocaleTest, ReadsEachShapeOneWay) {
  const SameValue cases[] = {
      {kIn, 140, {"(5'-6 1/2\" + 3 1/2\") * 2"}},
      {kIn, 3, {"((((3))))", " ( 1 + 2 ) ", "6\"/2", "12 / 4\""}},
      {kIn, 4, {"- - 4", "~ 3\" + 1\"", "10-6", "6\" \xE2\x88\x92 2\""}},
      {kIn, 5, {"2--3", "5-1/2 - 1/2"}},
      {kIn, -4, {"(~ -2\") * 2"}},
      {kIn, 6, {"5. + 1"}},
      {kIn, 8, {"12 / 3 * 2\""}},
      {kIn, 60, {"5'-6\" - 6\""}},
      {kIn, 12.0 / 72, {"10 PT + 2 pt"}},
      {kIn, 6.5, {"0005 01/002 + 1"}},
      // Bare numbers are in the settings' unit; factors stay numbers.
      {kMmBare, 60 + 7 * kMm, {"5' 6 + 1"}},
      {kMmBare, 6 * kMm + 1, {"2 * 3 mm + 1\""}},
      {kFeetBare, 12, {"2 * 6\""}},
      // A slash between two whole numbers is a fraction; a fraction of two
      // whole numbers is also their quotient.
      {kIn, 0.25, {"1/2/2", "1/2 / 2", "(1/2)/2", "1/2-1/4"}},
      {kIn, 1, {"8 / 4/2", "8/4 / 2", "12 / 4 / 3"}},
      {kIn, 1.5, {"1/2*3", "3 * 1/2"}},
      {kIn, 0.75, {"1/2 + 1/4", ".5 + .25"}},
      {kIn, 0.4, {"1/2.5"}},
      {kIn, 1.25, {"2.5/2"}},
      {kIn, 2.75, {"5 1/2 / 2", "5 1/2/2", "5 1/2\" / 2"}},
      {kIn, 3 * kMm, {"6 mm / 2"}},
      // A unit after the denominator belongs to the fraction.
      {kIn, kMm, {"3/4 mm + 1/4 mm"}},
      {kIn, 0.75 * kMm, {"3 / 4 mm", "3/4 mm"}},
      {kIn, 2.0 / 3, {"2 / 3\""}},
      // A whole number, one hyphen and a fraction make a mixed number, with
      // or without blanks, as the length parser reads them.
      {kIn, 5.5, {"5-1/2", "5 - 1/2"}},
      {kIn, 11, {"5 -1/2 * 2"}},
      {kIn, 4.5, {"5 - (1/2)", "5 \xE2\x88\x92 1/2"}},
      {kIn, 0.5, {"1 + -1/2", "1/2 - 5' + 60"}},
      {kIn, 13, {"10 - 6 / 2"}},
      {kIn, 7, {"10 - (6 / 2)"}},
      // A decimal part after a hyphen is subtracted (the length parser
      // alone would read «3-.5"» as 3").
      {kIn, 2.5, {"3-.5\"", "3 - .5\""}},
      // A second minus sign negates the whole length (the length parser
      // alone gives it to the feet: «~ -5'6"» would be -4'-6").
      {kIn, -66, {"~ -5'6\""}},
      {kIn, -0.5, {"~ -0 1/2"}},
      // A hyphen (or minus) after the feet joins the inches.
      {kIn, 66, {"5' + 6", "5'-6\"", "5' - 6\"", "6' - (6\")", "6' \xE2\x88\x92 6\"", "- -5'6\""}},
      {kIn, 67, {"5' 6 + 1", "5' - 6\" + 1\""}},
      {kIn, 132, {"5'-6\" * 2"}},
      // A slash right after the feet divides them (the length parser alone
      // would read an empty inch fraction there).
      {kIn, 36, {"2.5' - 6", "6'/2", "6' / 2", "6' \xC3\xB7 2", "6'-0\" / 2"}},
      {kIn, 37, {"6'/2 + 1", "1 + 6' / 2"}},
      // Text before the foot mark is read as arithmetic, not as the number
      // at its start.
      {kIn, 72, {"2 * 3'", "6' 0 / 2"}},
      {kIn, 17, {"5 + 1'"}},
      // As deep and as long as allowed.
      {kIn, 1, {Repeat("(", kDepth) + "1" + Repeat(")", kDepth)}},
      {kIn, static_cast<double>(kLongest.size() / 2 + 1), {kLongest}}};
  for (const SameValue& c : cases) {
    for (const std::string& text : c.texts) {
      double inches = -999.0;
      LengthExpressionStatus status;
      EXPECT_TRUE(EvaluateLength(velmar_ustring(InUserNotation(text)), Settings(c.settings), inches,
                                 &status))
          << text << ": " << DescribeLengthExpressionError(status.error) << " at "
          << status.position;
      EXPECT_NEAR(inches, c.inches, 1e-9) << text;
      EXPECT_EQ(status.error, Error::kNone) << text;
    }
  }
}

// Texts that all fail with one error, at the "@" (which is not part of
// the text) where there is one.
struct SameError {
  Error error;
  std::vector<std::string> texts;
};

TEST(LengthEvaluatorLocaleTest, ErrorsSayWhereAndWhy) {
  const SameError cases[] = {
      {Error::kUnexpectedCharacter,
       {"5 + @x", "5 @$ 3", "5 @3 + 1", "2 @(3)", "5@in + 1", "1@e3 + 1", "1/2@' + 1", "2' 3@' + 1",
        "- @'5", "(5 + 3@] * 2", "2 @abc'", "5 @.5", "1' * 1@e300 * 1e300"}},
      {Error::kMissingOperand,
       {"5 +@", "5 + @* 2", "@* 2 + 1", "(@)", "5'- @+ 1", "5 -@/2 + 1", "- -@"}},
      {Error::kUnbalancedParenthesis, {"@(5 + 3", "2 * @((5 + 3)", "5 + 3@)"}},
      {Error::kDivisionByZero, {"5\" @/ 0", "5\" @/ (2 - 2)", "1@/0 + 1", "5 1@/00 + 1"}},
      {Error::kIncompatibleDimensions,
       {"2\" @* 3\"", "2 @/ (3\")", "2.5 @/ 3\"", "6\" @/ 2\"", "6' @/ 2'", "6' @/ 18\" * 2"}},
      // 10^300 * 10^300 overflows at the second "*".
      {Error::kNotFinite,
       {"1" + Repeat("0", 300) + " @* 1" + Repeat("0", 300) + "\"", "1 + @" + Repeat("9", 400)}},
      {Error::kTooDeep,
       {"2*" + Repeat("(", kDepth) + "@(1" + Repeat(")", kDepth + 1),
        "1+" + Repeat("-", kDepth + 1) + "1"}},
      // Unclosed parentheses end with one error, not a stack overflow.
      {Error::kTooLong, {kLongest + "+@1", Repeat("(", 100000)}}};
  for (const SameError& c : cases) {
    for (std::string text : c.texts) {
      const std::size_t at = text.find('@');
      if (at != std::string::npos) text.erase(at, 1);
      const std::string shown = text.substr(0, 40);
      double inches = 42.0;
      LengthExpressionStatus status;
      EXPECT_FALSE(
          EvaluateLength(velmar_ustring(InUserNotation(text)), Settings(kIn), inches, &status))
          << shown;
      EXPECT_EQ(inches, 42.0) << shown;
      EXPECT_EQ(status.error, c.error)
          << shown << ": " << DescribeLengthExpressionError(status.error);
      EXPECT_TRUE(at == std::string::npos || status.position == at)
          << shown << " at " << status.position;
      EXPECT_NE(std::string(DescribeLengthExpressionError(status.error)), "") << shown;
    }
  }
}

TEST(LengthEvaluatorTest, RatiosOnlyWhereAsked) {
  const ValueCase cases[] = {{"6' \xC3\xB7 18\"", 4}, {"6' / 18\"", 4}, {"6'/2'", 3},
                             {"(6' + 6) / 6\"", 13},  {"6 / 2", 3},     {"3", 3},
                             {"1\" / 2\" + 1", 1.5}};
  for (const ValueCase& c : cases) {
    double ratio = -1;
    EXPECT_TRUE(EvaluateLengthRatio(velmar_ustring(c.text), Settings(kIn), ratio)) << c.text;
    EXPECT_DOUBLE_EQ(ratio, c.expected) << c.text;
  }
  const SameError errors[] = {{Error::kIncompatibleDimensions, {"6' * 2"}},
                              {Error::kDivisionByZero, {"1\" / 0\""}},
                              {Error::kMissingOperand, {""}}};
  for (const SameError& c : errors) {
    double ratio = -1;
    LengthExpressionStatus status;
    const std::string& text = c.texts[0];
    EXPECT_FALSE(EvaluateLengthRatio(velmar_ustring(text), Settings(kIn), ratio, &status));
    EXPECT_EQ(status.error, c.error) << text;
    EXPECT_EQ(ratio, -1) << text;
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
// alone, which arithmetic reads otherwise); in parentheses or multiplied by
// one it gives them again, or refuses a text whose parts are no operands.
// A text that is one operand reads as the parser reads it. Operators, in
// every spelling, act on such values as arithmetic does.
TEST(LengthEvaluatorLocaleTest, AgreesWithTheLengthParser) {
  std::mt19937 random(20260105);
  int read = 0;
  int readAsExpression = 0;
  int dropped = 0;
  int operands = 0;
  int combined = 0;
  std::string previous[3];  // per settings: the last text read in parentheses, and its value
  double previousValue[3] = {};
  for (int i = 0; i < 20000; ++i) {
    const int index = i % 3;
    const LengthInfo& info = Settings(index);
    const std::string text = RandomLengthText(random);
    const velmar_ustring typed(text);
    const utils::utf16_unit* end = typed.data() + typed.length();
    const auto readAs = [&](utils::LengthReading reading) {
      return utils::ReadLength(typed.data(), end, info.GetUnits(), utils::MatchLengthUnitText,
                               reading);
    };
    double single = 0.0;
    const bool parsed = CLengthFormatter(info).Parse(typed, single);
    const utils::LengthRead operand = readAs(utils::LengthReading::kOperand);
    if (operand.ec == std::errc() && operand.ptr == end) {
      ++operands;
      ASSERT_TRUE(parsed) << text;
      const double factor = operand.isLength ? 1 : GetFactorFromInches(info.GetUnits());
      ASSERT_EQ(operand.value / factor, single) << text;
    }
    if (!parsed) continue;
    double evaluated = -999.0;
    if (readAs(utils::LengthReading::kWholeText).passesOver) {
      ++dropped;
      // Read as arithmetic, or refused: either answer is allowed here.
      (void)EvaluateLength(velmar_ustring(text), info, evaluated);
      continue;
    }
    ++read;
    ASSERT_TRUE(EvaluateLength(velmar_ustring(text), info, evaluated)) << text;
    ASSERT_EQ(evaluated, single) << text;
    const std::string a = "(" + text + ")";
    for (const std::string& wrapped : {a, text + " * 1"}) {
      double again = 0.0;
      if (!EvaluateLength(velmar_ustring(wrapped), info, again)) continue;
      ++readAsExpression;
      ASSERT_NEAR(again, single, 1e-12 * std::fabs(single)) << wrapped;
      if (wrapped != a) continue;
      const std::string& b = previous[index];
      const double va = single;
      const double vb = previousValue[index];
      if (!b.empty()) {
        const struct {
          std::string text;
          double value;
        } sums[] = {{a + " + " + b, va + vb},
                    {a + " - " + b, va - vb},
                    {a + " \xE2\x88\x92 " + b, va - vb},
                    {a + " * 3", 3 * va},
                    {"3 \xC3\x97 " + a, 3 * va},
                    {a + " / 4", va / 4},
                    {a + " \xC3\xB7 4", va / 4},
                    {"-" + a, -va},
                    {b + " + 2 * " + a, vb + 2 * va},
                    {a + " - " + b + " - " + a, -vb},
                    {"(" + a + " + " + b + ") * 2", 2 * (va + vb)}};
        for (const auto& sum : sums) {
          double value = 0.0;
          LengthExpressionStatus status;
          ASSERT_TRUE(EvaluateLength(velmar_ustring(sum.text), info, value, &status))
              << sum.text << ": " << DescribeLengthExpressionError(status.error);
          ASSERT_NEAR(value, sum.value, 1e-12 * (std::fabs(va) + std::fabs(vb))) << sum.text;
          ++combined;
        }
      }
      previous[index] = a;
      previousValue[index] = single;
    }
  }
  // The generator reaches every path often enough to mean something.
  EXPECT_GT(read, 2000);
  EXPECT_GT(readAsExpression, 1000);
  EXPECT_GT(dropped, 100);
  EXPECT_GT(operands, 2000);
  EXPECT_GT(combined, 5000);
}

}  // namespace
}  // namespace velmar::units
