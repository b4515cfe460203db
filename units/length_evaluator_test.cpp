#include "FolianUtils/length_evaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <system_error>

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

LengthInfo Inches() { return MakeLengthInfo({UnitsInfo::kArchitectural, UnitsInfo::kInches, 4}); }
LengthInfo Millimeters() {
  return MakeLengthInfo({UnitsInfo::kDecimal, UnitsInfo::kMillimeters, 2});
}

struct ValueCase {
  const char* text;  // "." in the user's notation
  double expected;
};

void ExpectValues(const ValueCase* begin, const ValueCase* end, const LengthInfo& info) {
  for (const ValueCase* c = begin; c != end; ++c) {
    const velmar_ustring text(InUserNotation(c->text));
    double inches = -999.0;
    LengthExpressionStatus status;
    EXPECT_TRUE(EvaluateLength(text, info, inches, &status))
        << c->text << ": " << DescribeLengthExpressionError(status.error) << " at "
        << status.position;
    EXPECT_NEAR(inches, c->expected, 1e-9) << c->text;
    EXPECT_EQ(status.error, Error::kNone) << c->text;
  }
}

TEST(LengthEvaluatorLocaleTest, Arithmetic) {
  const ValueCase cases[] = {
      {"(5'-6 1/2\" + 3 1/2\") * 2", 140},
      {"5'-6 1/2\" + 3 1/2\"", 70},
      {"1 + 2 * 3", 7},
      {"(1 + 2) * 3", 9},
      {"10 - 4 - 3", 3},
      {"12 / 3 * 2\"", 8},
      {"2 * 3 + 4 * 5", 26},
      {"-(2 + 3)", -5},
      {"- - 4", 4},
      {"2 * -3", -6},
      {"2--3", 5},
      {"1 + -1/2", 0.5},
      {"5' + 6", 66},
      {"5' 6 + 1", 67},
      {"1' * 2 + 3\"", 27},
      {"3 \xC3\x97 4\"", 12},
      {"1' \xC3\xB7 4", 3},
      {"10\" \xE2\x88\x92 6\"", 4},
      {"2.5 mm + 1.5 mm", 4 * kMm},
      {"1\" + 25.4 mm", 2},
      {"2.5cm * 2", 5 / 2.54},
      {"1 m / 4", 0.25 / 0.0254},
      {"10 PT + 2 pt", 12.0 / 72},
      {"((((3))))", 3},
      {" ( 1 + 2 ) ", 3},
      {"~ 3\" + 1\"", 4},
      {"(~ -2\") * 2", -4},
      {"5'-6\" - 6\"", 60},
      {"6' - (6\")", 66},
      {"6' \xE2\x88\x92 6\"", 66},
      {"(6') / 2", 36},
      {".5 + .25", 0.75},
      {"5. + 1", 6},
      {"10 - 6", 4},
      {"10-6", 4},
      {"0005 01/002 + 1", 6.5},
  };
  ExpectValues(std::begin(cases), std::end(cases), Inches());
}

TEST(LengthEvaluatorLocaleTest, BareNumbersAreInTheSettingsUnits) {
  const ValueCase mm[] = {
      {"5 + 3", 8 * kMm},         {"1\" + 5", 1 + 5 * kMm},
      {"5' 6 + 1", 60 + 7 * kMm}, {"2 * 3 mm + 1\"", 6 * kMm + 1},
      {"10 / 4", 2.5 * kMm},
  };
  ExpectValues(std::begin(mm), std::end(mm), Millimeters());
  // Engineering settings read bare numbers as feet.
  const ValueCase feet[] = {{"1 + 1", 24}, {"2 * 6\"", 12}};
  ExpectValues(std::begin(feet), std::end(feet),
               MakeLengthInfo({UnitsInfo::kEngineering, UnitsInfo::kInches, 2}));
}

// Every shape where a slash or a hyphen could be read two ways.
TEST(LengthEvaluatorLocaleTest, SlashAndHyphenRule) {
  const ValueCase cases[] = {
      // A slash between two whole numbers is a fraction; a fraction of two
      // whole numbers is also their quotient.
      {"1/2/2", 0.25},
      {"1/2 / 2", 0.25},
      {"(1/2)/2", 0.25},
      {"8 / 4/2", 1},
      {"8/4 / 2", 1},
      {"12 / 4 / 3", 1},
      {"1/2*3", 1.5},
      {"3 * 1/2", 1.5},
      {"1/2 + 1/4", 0.75},
      {"1/2-1/4", 0.25},
      {"1/2.5", 0.4},
      {"2.5/2", 1.25},
      {"5 1/2 / 2", 2.75},
      {"5 1/2/2", 2.75},
      {"5 1/2\" / 2", 2.75},
      {"6\"/2", 3},
      {"6 mm / 2", 3 * kMm},
      // A unit after the denominator belongs to the fraction.
      {"3/4 mm + 1/4 mm", kMm},
      {"3 / 4 mm", 0.75 * kMm},
      {"12 / 4\"", 3},
      {"2 / 3\"", 2.0 / 3},
      // A whole number, one hyphen and a fraction make a mixed number, with
      // or without blanks, as the length parser reads them.
      {"5-1/2", 5.5},
      {"5 - 1/2", 5.5},
      {"5 -1/2 * 2", 11},
      {"5-1/2 - 1/2", 5},
      {"5 - (1/2)", 4.5},
      {"5 \xE2\x88\x92 1/2", 4.5},
      {"3/4 mm", 0.75 * kMm},
      // A decimal part after a hyphen is subtracted (the length parser
      // alone would read «3-.5"» as 3").
      {"3-.5\"", 2.5},
      {"3 - .5\"", 2.5},
      // A second minus sign negates the whole length (the length parser
      // alone gives it to the feet: «~ -5'6"» would be -4'-6").
      {"~ -5'6\"", -66},
      {"- -5'6\"", 66},
      {"~ -0 1/2", -0.5},
      {"10 - 6 / 2", 13},
      {"10 - (6 / 2)", 7},
      // A hyphen after the feet joins the inches.
      {"5'-6\"", 66},
      {"5' - 6\"", 66},
      {"5' - 6\" + 1\"", 67},
      {"2.5' - 6", 36},
      {"5'-6\" * 2", 132},
      // A slash right after the feet divides them (the length parser alone
      // would read an empty inch fraction there).
      {"6'/2", 36},
      {"6' / 2", 36},
      {"6'/2 + 1", 37},
      {"1 + 6' / 2", 37},
      {"6' \xC3\xB7 2", 36},
      {"6'-0\" / 2", 36},
      {"6' 0 / 2", 72},
      // Text before the foot mark is read as arithmetic, not as the number
      // at its start.
      {"2 * 3'", 72},
      {"5 + 1'", 17},
      {"1/2 - 5' + 60", 0.5},
  };
  ExpectValues(std::begin(cases), std::end(cases), Inches());
}

struct ErrorCase {
  const char* text;
  Error error;
  std::size_t position;
};

TEST(LengthEvaluatorLocaleTest, ErrorsSayWhereAndWhy) {
  const ErrorCase cases[] = {
      {"5 + x", Error::kUnexpectedCharacter, 4},
      {"5 $ 3", Error::kUnexpectedCharacter, 2},
      {"5 3 + 1", Error::kUnexpectedCharacter, 2},
      {"2 (3)", Error::kUnexpectedCharacter, 2},
      {"5in + 1", Error::kUnexpectedCharacter, 1},
      {"1e3 + 1", Error::kUnexpectedCharacter, 1},
      {"1/2' + 1", Error::kUnexpectedCharacter, 3},
      {"2' 3' + 1", Error::kUnexpectedCharacter, 4},
      {"5 +", Error::kMissingOperand, 3},
      {"5 + * 2", Error::kMissingOperand, 4},
      {"* 2 + 1", Error::kMissingOperand, 0},
      {"()", Error::kMissingOperand, 1},
      {"5'- + 1", Error::kMissingOperand, 4},
      {"5 -/2 + 1", Error::kMissingOperand, 3},
      {"- -", Error::kMissingOperand, 3},
      {"- '5", Error::kUnexpectedCharacter, 2},
      {"(5 + 3", Error::kUnbalancedParenthesis, 0},
      {"2 * ((5 + 3)", Error::kUnbalancedParenthesis, 4},
      {"5 + 3)", Error::kUnbalancedParenthesis, 5},
      {"(5 + 3] * 2", Error::kUnexpectedCharacter, 6},
      {"5\" / 0", Error::kDivisionByZero, 3},
      {"5\" / (2 - 2)", Error::kDivisionByZero, 3},
      {"1/0 + 1", Error::kDivisionByZero, 1},
      {"5 1/00 + 1", Error::kDivisionByZero, 3},
      {"2\" * 3\"", Error::kIncompatibleDimensions, 3},
      {"2 / (3\")", Error::kIncompatibleDimensions, 2},
      {"2.5 / 3\"", Error::kIncompatibleDimensions, 4},
      {"6\" / 2\"", Error::kIncompatibleDimensions, 3},
      {"6' / 2'", Error::kIncompatibleDimensions, 3},
      {"2 abc'", Error::kUnexpectedCharacter, 2},
      {"5 .5", Error::kUnexpectedCharacter, 2},
      {"1' * 1e300 * 1e300", Error::kUnexpectedCharacter, 6},
      {"6' / 18\" * 2", Error::kIncompatibleDimensions, 3},
  };
  for (const ErrorCase& c : cases) {
    const velmar_ustring text(InUserNotation(c.text));
    double inches = 42.0;
    LengthExpressionStatus status;
    EXPECT_FALSE(EvaluateLength(text, Inches(), inches, &status)) << c.text;
    EXPECT_EQ(inches, 42.0) << c.text;
    EXPECT_EQ(status.error, c.error)
        << c.text << ": " << DescribeLengthExpressionError(status.error);
    EXPECT_EQ(status.position, c.position) << c.text;
  }
}

TEST(LengthEvaluatorTest, ResultsThatAreNotFinite) {
  const std::string huge(300, '9');
  LengthExpressionStatus status;
  double inches = 0.0;
  // 10^300 * 10^300 overflows at the second "*".
  const velmar_ustring product("1" + std::string(300, '0') + " * 1" + std::string(300, '0') + "\"");
  EXPECT_FALSE(EvaluateLength(product, Inches(), inches, &status));
  EXPECT_EQ(status.error, Error::kNotFinite);
  EXPECT_EQ(status.position, 302u);
  // A digit run past the range of a double is no length.
  const velmar_ustring digits("1 + " + std::string(400, '9'));
  EXPECT_FALSE(EvaluateLength(digits, Inches(), inches, &status));
  EXPECT_EQ(status.error, Error::kNotFinite);
  EXPECT_EQ(status.position, 4u);
  EXPECT_FALSE(DescribeLengthExpressionError(Error::kNotFinite) == std::string());
}

TEST(LengthEvaluatorTest, RatiosOnlyWhereAsked) {
  const LengthInfo info = Inches();
  const ValueCase cases[] = {
      {"6' \xC3\xB7 18\"", 4}, {"6' / 18\"", 4}, {"6'/2'", 3}, {"(6' + 6) / 6\"", 13}, {"6 / 2", 3},
      {"1\" / 2\" + 1", 1.5},  {"3", 3},
  };
  for (const ValueCase& c : cases) {
    double ratio = -1;
    LengthExpressionStatus status;
    EXPECT_TRUE(EvaluateLengthRatio(velmar_ustring(c.text), info, ratio, &status))
        << c.text << ": " << DescribeLengthExpressionError(status.error);
    EXPECT_DOUBLE_EQ(ratio, c.expected) << c.text;
  }
  double ratio = -1;
  LengthExpressionStatus status;
  EXPECT_FALSE(EvaluateLengthRatio(velmar_ustring("6' * 2"), info, ratio, &status));
  EXPECT_EQ(status.error, Error::kIncompatibleDimensions);
  EXPECT_FALSE(EvaluateLengthRatio(velmar_ustring("1\" / 0\""), info, ratio, &status));
  EXPECT_EQ(status.error, Error::kDivisionByZero);
  EXPECT_FALSE(EvaluateLengthRatio(velmar_ustring(""), info, ratio, &status));
  EXPECT_EQ(status.error, Error::kMissingOperand);
  EXPECT_EQ(ratio, -1);
}

TEST(LengthEvaluatorTest, NestingAndLengthAreBounded) {
  double inches = 0.0;
  LengthExpressionStatus status;
  const int depth = kMaxLengthExpressionDepth;
  const std::string fits = std::string(depth, '(') + "1" + std::string(depth, ')');
  EXPECT_TRUE(EvaluateLength(velmar_ustring(fits), Inches(), inches, &status));
  EXPECT_EQ(inches, 1);
  const std::string deep = "2*" + std::string(depth + 1, '(') + "1" + std::string(depth + 1, ')');
  EXPECT_FALSE(EvaluateLength(velmar_ustring(deep), Inches(), inches, &status));
  EXPECT_EQ(status.error, Error::kTooDeep);
  EXPECT_EQ(status.position, 2u + depth);
  const std::string signs = "1+" + std::string(depth + 1, '-') + "1";
  EXPECT_FALSE(EvaluateLength(velmar_ustring(signs), Inches(), inches, &status));
  EXPECT_EQ(status.error, Error::kTooDeep);

  std::string longest = "1";
  while (longest.size() + 2 <= kMaxLengthExpressionLength) longest += "+1";
  EXPECT_TRUE(EvaluateLength(velmar_ustring(longest), Inches(), inches, &status));
  EXPECT_EQ(inches, static_cast<double>(longest.size() / 2 + 1));
  const std::string tooLong = longest + "+1";
  EXPECT_FALSE(EvaluateLength(velmar_ustring(tooLong), Inches(), inches, &status));
  EXPECT_EQ(status.error, Error::kTooLong);
  EXPECT_EQ(status.position, kMaxLengthExpressionLength);
  // Unclosed parentheses everywhere end with one error, not a stack
  // overflow, however long the text.
  const std::string opens(100000, '(');
  EXPECT_FALSE(EvaluateLength(velmar_ustring(opens), Inches(), inches, &status));
  EXPECT_EQ(status.error, Error::kTooLong);
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
// A text that is one operand reads as the parser reads it.
TEST(LengthEvaluatorLocaleTest, AgreesWithTheLengthParser) {
  std::mt19937 random(20260105);
  const LengthInfo settings[] = {Inches(), Millimeters(),
                                 MakeLengthInfo({UnitsInfo::kEngineering, UnitsInfo::kInches, 2})};
  int read = 0;
  int readAsExpression = 0;
  int dropped = 0;
  int operands = 0;
  for (int i = 0; i < 20000; ++i) {
    const LengthInfo& info = settings[i % std::size(settings)];
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
    for (const std::string& wrapped : {"(" + text + ")", text + " * 1"}) {
      double again = 0.0;
      if (!EvaluateLength(velmar_ustring(wrapped), info, again)) continue;
      ++readAsExpression;
      ASSERT_NEAR(again, single, 1e-12 * std::fabs(single)) << wrapped;
    }
  }
  // The generator reaches both paths often enough to mean something.
  EXPECT_GT(read, 2000);
  EXPECT_GT(readAsExpression, 1000);
  EXPECT_GT(dropped, 100);
  EXPECT_GT(operands, 2000);
}

// Every text the formatter writes, in every format, unit and precision,
// reads back within half a step, alone, in parentheses and multiplied by 1.
TEST(LengthEvaluatorLocaleTest, FormatterTextReadsBack) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> magnitude(-3.0, 4.0);
  const UnitsInfo::Format formats[] = {UnitsInfo::kDecimal, UnitsInfo::kArchitectural,
                                       UnitsInfo::kEngineering, UnitsInfo::kFractional};
  // Decimal yards carry the inch mark, so they never read back as yards.
  const UnitsInfo::Units units[] = {
      UnitsInfo::kInches, UnitsInfo::kFeet,   UnitsInfo::kMillimeters, UnitsInfo::kCentimeters,
      UnitsInfo::kMeters, UnitsInfo::kPoints, UnitsInfo::kNone};
  int checked = 0;
  for (const UnitsInfo::Format format : formats) {
    for (const UnitsInfo::Units unit : units) {
      for (int precision = 0; precision <= 6; ++precision) {
        // Engineering text at precision 0 drops the inches of a foot.
        if (format == UnitsInfo::kEngineering && precision == 0) continue;
        for (int flags = 0; flags < 16; ++flags) {
          LengthSettings settings{format, unit, precision};
          settings.spaceSeparator = (flags & 1) != 0;
          settings.suppressUnits = (flags & 2) != 0;
          settings.forceFraction = (flags & 4) != 0;
          settings.suppressApproximation = (flags & 8) != 0;
          const LengthInfo info = MakeLengthInfo(settings);
          CLengthFormatter formatter(info);
          const int effective = info.GetEffectivePrecision();
          double half = CLengthFormatter::GetLengthPrecisionAsLength(format, effective) / 2;
          if (format == UnitsInfo::kDecimal) half *= GetFactorToInches(info.GetUnits());
          for (int i = 0; i < 8; ++i) {
            const double inches = std::pow(10.0, magnitude(random)) * (i % 2 ? -1 : 1);
            const std::string text = formatter.Format(inches).ToUTF8();
            double back = 0.0;
            LengthExpressionStatus status;
            ASSERT_TRUE(EvaluateLength(velmar_ustring(text), info, back, &status))
                << text << ": " << DescribeLengthExpressionError(status.error);
            ASSERT_LE(std::fabs(back - inches), half * (1 + 1e-9) + 1e-12)
                << text << " for " << inches;
            for (const std::string& wrapped : {"(" + text + ")", text + " * 1"}) {
              double again = 0.0;
              ASSERT_TRUE(EvaluateLength(velmar_ustring(wrapped), info, again, &status))
                  << wrapped << ": " << DescribeLengthExpressionError(status.error) << " at "
                  << status.position;
              ASSERT_NEAR(again, back, 1e-12 * std::fabs(back)) << wrapped;
            }
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 10000);
}

TEST(LengthEvaluatorTest, TimeGrowsLinearlyWithTheText) {
  // Texts that make a careless reader back up: many digits that look like
  // the start of a mixed number, and long runs of blanks and hyphens.
  const auto timeOf = [](const std::string& unit, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += unit;
    const velmar_ustring typed(text);
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
      const auto start = std::chrono::steady_clock::now();
      double inches = 0.0;
      for (int i = 0; i < 200; ++i) (void)EvaluateLength(typed, Inches(), inches);
      const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
      best = std::min(best, spent.count());
    }
    return best;
  };
  for (const std::string unit : {"1 - 2 ", "5' - - ", "1 1 ", "(-", "1/2/"}) {
    const double small = timeOf(unit, 12);
    const double large = timeOf(unit, 120);
    // Ten times the text, well under a hundred times the time.
    EXPECT_LT(large, small * 40 + 0.02) << unit;
  }
}

}  // namespace
}  // namespace velmar::units
