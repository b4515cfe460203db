/// @file
/// Arithmetic in typed lengths: «(5'-6 1/2" + 3 1/2") * 2». An opt-in
/// companion of CLengthFormatter::Parse for hosts that let users type sums.
///
/// Like the length formatter's parsing, the evaluations may run on several
/// threads at once, each with its own settings, after the first call has
/// filled the unit texts.
///
/// @maychange
#pragma once

#include <cstddef>

#include "FolianUtils/export.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"

namespace velmar::units {

/// What went wrong in a length expression; DescribeLengthExpressionError()
/// words it.
/// @maychange
enum class LengthExpressionError : int {
  kNone = 0,             ///< No error: the expression was read.
  kUnexpectedCharacter,  ///< A character that no operand or operator starts with ("unexpected
                         ///< character").
  kMissingOperand,       ///< An operator without its operand, or an empty text ("missing operand").
  kUnbalancedParenthesis,   ///< A parenthesis without its partner ("unbalanced parenthesis").
  kDivisionByZero,          ///< A divisor of zero ("division by zero").
  kIncompatibleDimensions,  ///< Length times length, number divided by length and the like
                            ///< ("incompatible dimensions").
  kNotFinite,               ///< A result that is infinite or not a number ("result not finite").
  kTooLong,  ///< Arithmetic longer than kMaxLengthExpressionLength code units ("text too long").
  kTooDeep,  ///< Nesting deeper than kMaxLengthExpressionDepth ("nested too deeply").
};

/// The outcome of an evaluation: the error and where it was found.
/// @maychange
struct LengthExpressionStatus {
  LengthExpressionError error =
      LengthExpressionError::kNone;  ///< kNone after a successful evaluation.
  /// Where the fault was found, in UTF-16 code units from the start of the
  /// text.
  std::size_t position = 0;
};

/// Texts longer than this many code units are refused (kTooLong).
inline constexpr std::size_t kMaxLengthExpressionLength = 1024;
/// Parentheses and signs nested deeper than this are refused (kTooDeep).
inline constexpr int kMaxLengthExpressionDepth = 64;

/// Evaluates a length expression into inches. Operands are the lengths
/// CLengthFormatter::ReadLength reads («5'-6 1/2"», «3 1/2"», «2.5 mm»,
/// «1/4», a bare number in the settings' units); operators are + - * × / ÷,
/// parentheses and unary minus with the usual precedence. A text that
/// CLengthFormatter::Parse reads on its own gives exactly that reading, except
/// where the parser, which reads a whole text, passes over part of it or
/// gives a sign to one part alone; in an expression those parts are
/// operators, so these four shapes are read as arithmetic: more than a
/// number before the foot mark («2 * 3'», which the parser reads as 2'), a
/// slash right after the foot mark («6'/2», read as 6'), a decimal part after
/// a blank or hyphen («3-.5"», read as 3"), a second minus sign («~ -5'6"»,
/// read as -4'-6"). On failure returns false, leaves `inches` unchanged and
/// fills *status (when given) with what went wrong and where. Never throws.
[[nodiscard]] FOLIAN_API bool EvaluateLength(const utils::velmar_ustring& text,
                                             const LengthInfo& info, double& inches,
                                             LengthExpressionStatus* status = nullptr) noexcept;

/// As EvaluateLength, for a caller that asks for a plain number: a length
/// divided by a length gives their ratio («6' ÷ 18"» is 4), bare numbers stay
/// numbers, and a result that is a length is an error
/// (kIncompatibleDimensions). Never throws.
[[nodiscard]] FOLIAN_API bool EvaluateLengthRatio(
    const utils::velmar_ustring& text, const LengthInfo& info, double& ratio,
    LengthExpressionStatus* status = nullptr) noexcept;

/// A short English reason for an error ("unexpected character", ...), the
/// text a host shows or translates; "unknown error" for a value outside the
/// enumeration.
FOLIAN_API const char* DescribeLengthExpressionError(LengthExpressionError error) noexcept;

}  // namespace velmar::units
