#include "FolianUtils/length_evaluator.h"

#include <cmath>

#include "FolianUtils/length_formatter.h"
#include "base/ascii.h"
#include "units/length_evaluator_internal.h"
#include "units/length_parser_internal.h"
#include "units/length_unit_texts.h"

namespace velmar::units {
namespace {

using utils::utf16_unit;
using Error = LengthExpressionError;

constexpr utf16_unit kTimesSign = 0x00D7;
constexpr utf16_unit kDivisionSign = 0x00F7;
constexpr utf16_unit kMinusSign = 0x2212;

using base::IsDigit;

const utf16_unit* SkipSpace(const utf16_unit* p, const utf16_unit* end) {
  while (p != end && utils::IsLengthSpace(*p)) ++p;
  return p;
}

const utf16_unit* SkipDigits(const utf16_unit* p, const utf16_unit* end) {
  while (p != end && IsDigit(*p)) ++p;
  return p;
}

// A bare number is in the settings' units until it meets a length or ends
// the expression; a length is in inches.
struct Value {
  double amount = 0.0;
  bool isLength = false;
};

// Where one operand ends and what the length parser will make of it.
struct OperandShape {
  const utf16_unit* end = nullptr;
  bool isLength = false;
  // The slash of a fraction whose denominator is all zeros.
  const utf16_unit* zeroDenominator = nullptr;
};

// A cheap first look before the case-blind comparison, which is costly per
// unit: ASCII units decide by themselves.
bool MayStartUnit(utf16_unit u, utf16_unit first) {
  if (u == first || u >= 0x80 || first >= 0x80) return true;
  const utf16_unit lower = u | 0x20;
  return lower >= 'a' && lower <= 'z' && lower == (first | 0x20);
}

bool AllZeros(const utf16_unit* begin, const utf16_unit* end) {
  for (; begin != end; ++begin) {
    if (*begin != '0') return false;
  }
  return true;
}

// Splits a text into operands and operators, and evaluates it by recursive
// descent whose depth is bounded by kMaxLengthExpressionDepth.
class Evaluator {
 public:
  Evaluator(const utils::velmar_ustring& text, UnitsInfo::Units units, bool ratio)
      : m_begin(text.data()),
        m_end(text.data() + text.length()),
        m_p(m_begin),
        m_units(units),
        m_ratio(ratio),
        m_point(utils::CNumericFormatter::GetDecimalPointChar()) {
    utils::SetLengthFormatterStrings();
  }

  bool Run(double& result) {
    if (static_cast<std::size_t>(m_end - m_begin) > kMaxLengthExpressionLength) {
      return Fail(Error::kTooLong, m_begin + kMaxLengthExpressionLength);
    }
    Value value;
    if (!Sum(value)) return false;
    m_p = SkipSpace(m_p, m_end);
    if (m_p != m_end) {
      return Fail(*m_p == ')' ? Error::kUnbalancedParenthesis : Error::kUnexpectedCharacter, m_p);
    }
    if (m_ratio && value.isLength) return Fail(Error::kIncompatibleDimensions, m_begin);
    const double amount = value.isLength || m_ratio ? value.amount : AsLength(value.amount);
    if (!std::isfinite(amount)) return Fail(Error::kNotFinite, m_begin);
    result = amount;
    return true;
  }

  const LengthExpressionStatus& Status() const { return m_status; }

 private:
  bool Fail(Error error, const utf16_unit* at) {
    m_status.error = error;
    m_status.position = static_cast<std::size_t>(at - m_begin);
    return false;
  }

  double AsLength(double number) const { return number / GetFactorFromInches(m_units); }

  bool Sum(Value& out) {
    if (!Product(out)) return false;
    for (;;) {
      const utf16_unit* op = SkipSpace(m_p, m_end);
      if (op == m_end || (*op != '+' && *op != '-' && *op != kMinusSign)) return true;
      m_p = op + 1;
      Value right;
      if (!Product(right)) return false;
      if (!Combine(out, *op, right, op)) return false;
    }
  }

  bool Product(Value& out) {
    if (!Signed(out)) return false;
    for (;;) {
      const utf16_unit* op = SkipSpace(m_p, m_end);
      if (op == m_end || (*op != '*' && *op != kTimesSign && *op != '/' && *op != kDivisionSign)) {
        return true;
      }
      m_p = op + 1;
      Value right;
      if (!Signed(right)) return false;
      if (!Combine(out, *op, right, op)) return false;
    }
  }

  // Unary minus, after an optional approximation mark as the formatter
  // writes it («~ -25.41 mm»).
  bool Signed(Value& out) {
    m_p = SkipSpace(m_p, m_end);
    if (m_p != m_end && *m_p == '~') m_p = SkipSpace(m_p + 1, m_end);
    if (m_p == m_end || (*m_p != '-' && *m_p != kMinusSign)) return Primary(out);
    if (m_depth == kMaxLengthExpressionDepth) return Fail(Error::kTooDeep, m_p);
    ++m_p;
    ++m_depth;
    const bool ok = Signed(out);
    --m_depth;
    out.amount = -out.amount;
    return ok;
  }

  bool Primary(Value& out) {
    m_p = SkipSpace(m_p, m_end);
    if (m_p == m_end) return Fail(Error::kMissingOperand, m_p);
    const utf16_unit c = *m_p;
    if (c == '(') {
      if (m_depth == kMaxLengthExpressionDepth) return Fail(Error::kTooDeep, m_p);
      const utf16_unit* open = m_p++;
      ++m_depth;
      const bool ok = Sum(out);
      --m_depth;
      if (!ok) return false;
      m_p = SkipSpace(m_p, m_end);
      if (m_p == m_end) return Fail(Error::kUnbalancedParenthesis, open);
      if (*m_p != ')') return Fail(Error::kUnexpectedCharacter, m_p);
      ++m_p;
      return true;
    }
    if (StartsNumber(m_p)) return Operand(out);
    const bool operatorOrClose =
        c == ')' || c == '+' || c == '*' || c == '/' || c == kTimesSign || c == kDivisionSign;
    return Fail(operatorOrClose ? Error::kMissingOperand : Error::kUnexpectedCharacter, m_p);
  }

  bool Operand(Value& out) {
    const OperandShape shape = ScanOperand(m_p);
    double amount = 0.0;
    // A bare number is read as inches, which leaves it as typed.
    const UnitsInfo::Units units = shape.isLength ? m_units : UnitsInfo::kInches;
    if (!utils::ParseLengthText(m_p, shape.end, amount, units, utils::MatchLengthUnitText)) {
      if (shape.zeroDenominator != nullptr) {
        return Fail(Error::kDivisionByZero, shape.zeroDenominator);
      }
      return Fail(Error::kNotFinite, m_p);
    }
    out.amount = amount;
    out.isLength = shape.isLength;
    m_p = shape.end;
    return true;
  }

  bool Combine(Value& left, utf16_unit op, const Value& right, const utf16_unit* at) {
    double result = 0.0;
    if (op == '+' || op == '-' || op == kMinusSign) {
      const bool isLength = left.isLength || right.isLength;
      const double a = isLength && !left.isLength ? AsLength(left.amount) : left.amount;
      const double b = isLength && !right.isLength ? AsLength(right.amount) : right.amount;
      result = op == '+' ? a + b : a - b;
      left.isLength = isLength;
    } else if (op == '*' || op == kTimesSign) {
      if (left.isLength && right.isLength) return Fail(Error::kIncompatibleDimensions, at);
      result = left.amount * right.amount;
      left.isLength = left.isLength || right.isLength;
    } else {
      if (!left.isLength && right.isLength) return Fail(Error::kIncompatibleDimensions, at);
      if (left.isLength && right.isLength && !m_ratio) {
        return Fail(Error::kIncompatibleDimensions, at);
      }
      if (right.amount == 0.0) return Fail(Error::kDivisionByZero, at);
      result = left.amount / right.amount;
      left.isLength = left.isLength && !right.isLength;
    }
    if (!std::isfinite(result)) return Fail(Error::kNotFinite, at);
    left.amount = result;
    return true;
  }

  bool StartsNumber(const utf16_unit* p) const {
    return IsDigit(*p) || (*p == m_point && p + 1 != m_end && IsDigit(p[1]));
  }

  // Digits with an optional decimal part; `whole` tells whether there was
  // no decimal point.
  const utf16_unit* ScanNumber(const utf16_unit* p, bool& whole) const {
    p = SkipDigits(p, m_end);
    whole = p == m_end || *p != m_point;
    if (!whole) p = SkipDigits(p + 1, m_end);
    return p;
  }

  // The denominator after a fraction slash at `slash`, or null when the
  // slash does not make a fraction (no digits, or digits that go on as a
  // decimal number, as in «1/2.5»).
  const utf16_unit* ScanDenominator(const utf16_unit* slash, OperandShape& shape) const {
    const utf16_unit* first = SkipSpace(slash + 1, m_end);
    const utf16_unit* last = SkipDigits(first, m_end);
    if (last == first || (last != m_end && *last == m_point)) return nullptr;
    if (AllZeros(first, last)) shape.zeroDenominator = slash;
    return last;
  }

  // The longest unit text at p, the foot mark excepted (it only follows a
  // plain number, as feet).
  const utf16_unit* ScanUnit(const utf16_unit* p) const {
    const utils::LengthUnitTexts& texts = utils::GetLengthUnitTexts();
    const utils::velmar_ustring* candidates[] = {&texts.centimeter, &texts.millimeter, &texts.meter,
                                                 &texts.inch, &texts.point};
    const utf16_unit* best = nullptr;
    for (const utils::velmar_ustring* text : candidates) {
      const std::size_t length = text->length();
      if (length == 0 || static_cast<std::size_t>(m_end - p) < length) continue;
      if (!MayStartUnit(*p, (*text)[0])) continue;
      if ((best == nullptr || p + length > best) && utils::EqualsNoCase(p, p + length, *text)) {
        best = p + length;
      }
    }
    return best;
  }

  // A number, fraction or mixed number with an optional unit suffix, the
  // shapes the length parser reads after the feet.
  const utf16_unit* ScanInches(const utf16_unit* p, OperandShape& shape) const {
    bool whole = false;
    p = ScanNumber(p, whole);
    if (whole) {
      const utf16_unit* q = SkipSpace(p, m_end);
      if (q != m_end && *q == '/') {
        if (const utf16_unit* denominator = ScanDenominator(q, shape)) p = denominator;
      } else {
        // «5 1/2», «5-1/2», «5 - 1/2»: at most one hyphen, as the parser.
        if (q != m_end && *q == '-') q = SkipSpace(q + 1, m_end);
        if (q != m_end && IsDigit(*q)) {
          const utf16_unit* slash = SkipSpace(SkipDigits(q, m_end), m_end);
          if (slash != m_end && *slash == '/') {
            OperandShape fraction;
            if (const utf16_unit* denominator = ScanDenominator(slash, fraction)) {
              p = denominator;
              shape.zeroDenominator = fraction.zeroDenominator;
            }
          }
        }
      }
    }
    const utf16_unit* unitStart = SkipSpace(p, m_end);
    if (const utf16_unit* unitEnd = ScanUnit(unitStart)) {
      shape.isLength = true;
      p = unitEnd;
    }
    return p;
  }

  OperandShape ScanOperand(const utf16_unit* p) const {
    OperandShape shape;
    bool whole = false;
    const utf16_unit* footMark = SkipSpace(ScanNumber(p, whole), m_end);
    if (footMark == m_end || *footMark != '\'') {
      shape.end = ScanInches(p, shape);
      return shape;
    }
    shape.isLength = true;
    shape.end = footMark + 1;
    // «5'-6"», «5' 6"», «5' - 6"»: blanks and hyphens join the inches.
    const utf16_unit* inches = shape.end;
    while (inches != m_end && (utils::IsLengthSpace(*inches) || *inches == '-')) ++inches;
    if (inches != m_end && StartsNumber(inches)) shape.end = ScanInches(inches, shape);
    return shape;
  }

  const utf16_unit* const m_begin;
  const utf16_unit* const m_end;
  const utf16_unit* m_p;
  const UnitsInfo::Units m_units;
  const bool m_ratio;
  const utf16_unit m_point;
  int m_depth = 0;
  LengthExpressionStatus m_status;
};

bool Evaluate(const utils::velmar_ustring& text, const LengthInfo& info, bool ratio, double& result,
              LengthExpressionStatus* status) {
  Evaluator evaluator(text, info.GetUnits(), ratio);
  const bool ok = evaluator.Run(result);
  if (status != nullptr) *status = evaluator.Status();
  return ok;
}

// The length parser reads a decimal number by the whole text from its
// first digit, so a decimal part after a blank or a hyphen is skipped.
bool InchesSkipDecimals(const utf16_unit* p, const utf16_unit* end, utf16_unit point) {
  p = SkipSpace(p, end);
  if (p != end && *p == '-') ++p;
  const utf16_unit* number = SkipDigits(p, end);
  p = SkipSpace(number, end);
  if (p != end && *p == '-') ++p;
  p = SkipSpace(p, end);
  return p != end && *p == point && p != number;
}

// Whether the text holds an operator the length parser cannot read: it
// reads them nowhere but inside a unit text or in what it skips before the
// foot mark, so such a text is arithmetic without asking the parser.
bool HoldsOperator(const utils::velmar_ustring& text) {
  for (const utf16_unit u : text) {
    if (u != '(' && u != ')' && u != '*' && u != '+' && u != kTimesSign && u != kDivisionSign &&
        u != kMinusSign) {
      continue;
    }
    utils::SetLengthFormatterStrings();
    const utils::LengthUnitTexts& texts = utils::GetLengthUnitTexts();
    bool inUnitText = false;
    for (const utils::velmar_ustring* unitText : {&texts.inch, &texts.foot, &texts.millimeter,
                                                  &texts.centimeter, &texts.meter, &texts.point}) {
      for (const utf16_unit v : *unitText) inUnitText = inUnitText || v == u;
    }
    if (!inUnitText) return true;
  }
  return false;
}

}  // namespace

bool LengthParserReadsOtherwise(const utils::velmar_ustring& text) {
  const utf16_unit* p = text.data();
  const utf16_unit* end = p + text.length();
  while (end != p && utils::IsLengthSpace(end[-1])) --end;
  p = SkipSpace(p, end);
  if (p != end && *p == '~') ++p;
  if (p != end && *p == '-') ++p;
  // A second sign belongs to the first number: to the feet alone, and lost
  // on a whole number 0 before a fraction («~ -0 1/2» reads as 1/2).
  const utf16_unit* sign = SkipSpace(p, end);
  if (sign != end && *sign == '-') return true;
  const utf16_unit point = utils::CNumericFormatter::GetDecimalPointChar();
  const utf16_unit* footMark = p;
  while (footMark != end && *footMark != '\'') ++footMark;
  if (footMark == end || footMark == p) return InchesSkipDecimals(p, end, point);
  const utf16_unit* q = SkipSpace(p, footMark);
  const utf16_unit* digits = q;
  q = SkipDigits(q, footMark);
  bool anyDigit = q != digits;
  if (q != footMark && *q == point) {
    const utf16_unit* decimals = q + 1;
    q = SkipDigits(decimals, footMark);
    anyDigit = anyDigit || q != decimals;
  }
  if (!anyDigit || SkipSpace(q, footMark) != footMark) return true;
  const utf16_unit* inches = footMark + 1;
  while (inches != end && (utils::IsLengthSpace(*inches) || *inches == '-')) ++inches;
  if (inches == end) return false;
  return *inches == '/' || InchesSkipDecimals(inches, end, point);
}

bool EvaluateLength(const utils::velmar_ustring& text, const LengthInfo& info, double& inches,
                    LengthExpressionStatus* status) {
  // Whatever the length parser reads on its own keeps that reading, unless
  // it would pass over part of the text or give a sign to one part alone.
  double single = 0.0;
  if (!HoldsOperator(text) && utils::CLengthFormatter::Parse(text, single, info.GetUnits()) &&
      !LengthParserReadsOtherwise(text)) {
    inches = single;
    if (status != nullptr) *status = LengthExpressionStatus();
    return true;
  }
  return Evaluate(text, info, false, inches, status);
}

bool EvaluateLengthRatio(const utils::velmar_ustring& text, const LengthInfo& info, double& ratio,
                         LengthExpressionStatus* status) {
  return Evaluate(text, info, true, ratio, status);
}

const char* DescribeLengthExpressionError(LengthExpressionError error) {
  switch (error) {
    case Error::kNone:
      return "no error";
    case Error::kUnexpectedCharacter:
      return "unexpected character";
    case Error::kMissingOperand:
      return "missing operand";
    case Error::kUnbalancedParenthesis:
      return "unbalanced parenthesis";
    case Error::kDivisionByZero:
      return "division by zero";
    case Error::kIncompatibleDimensions:
      return "incompatible dimensions";
    case Error::kNotFinite:
      return "result not finite";
    case Error::kTooLong:
      return "text too long";
    case Error::kTooDeep:
      return "nested too deeply";
  }
  return "unknown error";
}

}  // namespace velmar::units
