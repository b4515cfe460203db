#include "FolianUtils/length_evaluator.h"

#include <cmath>
#include <system_error>

#include "FolianUtils/length_formatter.h"
#include "base/ascii.h"
#include "units/length_parser_internal.h"

namespace velmar::units {
namespace {

using utils::utf16_unit;
using Error = LengthExpressionError;

constexpr utf16_unit kTimesSign = 0x00D7;
constexpr utf16_unit kDivisionSign = 0x00F7;
constexpr utf16_unit kMinusSign = 0x2212;

using base::SkipAsciiSpace;

// A bare number is in the settings' units until it meets a length or ends
// the expression; a length is in inches.
struct Value {
  double amount = 0.0;
  bool isLength = false;
};

// Splits a text into operands and operators, and evaluates it by recursive
// descent whose depth is bounded by kMaxLengthExpressionDepth.
class Evaluator {
 public:
  Evaluator(const utils::velmar_ustring& text, UnitsInfo::Units units, bool ratio)
      : m_begin(text.data()),
        m_end(text.data() + text.length()),
        m_p(m_begin),
        m_units(units),
        m_ratio(ratio) {}

  bool Run(double& result) {
    if (static_cast<std::size_t>(m_end - m_begin) > kMaxLengthExpressionLength) {
      return Fail(Error::kTooLong, m_begin + kMaxLengthExpressionLength);
    }
    Value value;
    if (!Sum(value)) return false;
    m_p = SkipAsciiSpace(m_p, m_end);
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
      const utf16_unit* op = SkipAsciiSpace(m_p, m_end);
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
      const utf16_unit* op = SkipAsciiSpace(m_p, m_end);
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
    m_p = SkipAsciiSpace(m_p, m_end);
    if (m_p != m_end && *m_p == '~') m_p = SkipAsciiSpace(m_p + 1, m_end);
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
    m_p = SkipAsciiSpace(m_p, m_end);
    if (m_p == m_end) return Fail(Error::kMissingOperand, m_p);
    const utf16_unit c = *m_p;
    if (c == '(') {
      if (m_depth == kMaxLengthExpressionDepth) return Fail(Error::kTooDeep, m_p);
      const utf16_unit* open = m_p++;
      ++m_depth;
      const bool ok = Sum(out);
      --m_depth;
      if (!ok) return false;
      m_p = SkipAsciiSpace(m_p, m_end);
      if (m_p == m_end) return Fail(Error::kUnbalancedParenthesis, open);
      if (*m_p != ')') return Fail(Error::kUnexpectedCharacter, m_p);
      ++m_p;
      return true;
    }
    const utils::LengthRead read = utils::ReadLength(
        m_p, m_end, m_units, utils::MatchLengthUnitText, utils::LengthReading::kOperand);
    if (read.ec == std::errc()) {
      // A bare number is kept as typed.
      out.amount = read.value;
      out.isLength = read.isLength;
      m_p = read.ptr;
      return true;
    }
    if (read.zeroDenominator != nullptr) return Fail(Error::kDivisionByZero, read.zeroDenominator);
    if (read.ec == std::errc::result_out_of_range) return Fail(Error::kNotFinite, m_p);
    const bool operatorOrClose =
        c == ')' || c == '+' || c == '*' || c == '/' || c == kTimesSign || c == kDivisionSign;
    return Fail(operatorOrClose ? Error::kMissingOperand : Error::kUnexpectedCharacter, m_p);
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

  const utf16_unit* const m_begin;
  const utf16_unit* const m_end;
  const utf16_unit* m_p;
  const UnitsInfo::Units m_units;
  const bool m_ratio;
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

}  // namespace

bool EvaluateLength(const utils::velmar_ustring& text, const LengthInfo& info, double& inches,
                    LengthExpressionStatus* status) noexcept {
  if (Evaluate(text, info, false, inches, status)) return true;
  // A text that is one length keeps the length parser's reading, also where
  // that length has no operand's shape («5'-», «1/», «mm», an empty text),
  // unless the parser would pass over part of it or give a sign to one part
  // alone.
  const utils::utf16_unit* begin = text.data();
  const utils::LengthRead single =
      utils::ReadLength(begin, begin + text.length(), info.GetUnits(), utils::MatchLengthUnitText,
                        utils::LengthReading::kWholeText);
  if (single.ec != std::errc() || single.passesOver) return false;
  inches = single.value;
  if (status != nullptr) *status = LengthExpressionStatus();
  return true;
}

bool EvaluateLengthRatio(const utils::velmar_ustring& text, const LengthInfo& info, double& ratio,
                         LengthExpressionStatus* status) noexcept {
  return Evaluate(text, info, true, ratio, status);
}

const char* DescribeLengthExpressionError(LengthExpressionError error) noexcept {
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
