/// @file
/// CVCBParser: what the text typed into the measurement box means.
///
/// The parser holds the typed text, the document's length settings and the
/// drawing scale, and reads the text afresh on every question: trigger
/// characters, lengths, angles, plain numbers, array copies and divisions,
/// rows and columns, and points. Bad text is reported by the result, never
/// by an exception.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/point2.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

/// Reads the text typed into the measurement box: lengths scaled to the
/// drawing, angles, numbers, array copies and divisions, rows and columns, and
/// points. Each static reading gives the same answer for `text` as the member
/// of the same name gives for the parser's own text.
///
/// Every question may be asked from any thread at once, each thread with its
/// own parser (after the first call has filled the locale caches).
///
/// @code{.cpp}
/// #include <iostream>
///
/// #include "FolianUtils/vcb_parser.h"
///
/// velmar::units::LengthInfo info;
/// info.SetFormat(velmar::units::UnitsInfo::kArchitectural);
/// // The view shows the drawing at 1:48; lengths come back in page inches.
/// velmar::utils::CVCBParser box(VELMAR_U("10'"), info, 1.0 / 48);
/// double length = 0.0;
/// if (box.GetLength(length)) std::cout << length << "\n";  // 2.5
/// box.SetVCBText(VELMAR_U("5x"));
/// int copies = 0;
/// bool division = false;
/// if (box.GetArrayOperation(&copies, &division)) std::cout << copies << "\n";  // 5
/// @endcode
/// @stable
class FOLIAN_API CVCBParser {
 public:
  /// The kind of point a text asks for.
  enum EPointEntryMode {
    kAbsolutePoint = 0,  ///< "[x, y]": page coordinates
    kRelativePoint = 1,  ///< "<dx, dy>" or a bare pair: offset from the reference point
    kPolarPoint = 2,     ///< "^angle, distance": degrees and length from the reference point
    kNoPoint = 3,        ///< empty or white space only
  };

  /// A scale at or below the double epsilon is not stored; the parser then
  /// keeps a scale of 1.
  CVCBParser(const velmar_ustring& text, velmar::units::LengthInfo lengthInfo, double drawingScale);
  /// Copies the text, settings and scale.
  CVCBParser(const CVCBParser& other);
  /// Copies the text, settings and scale.
  CVCBParser& operator=(const CVCBParser& other);
  /// Releases the copied text and settings.
  ~CVCBParser();

  /// Replaces the typed text; the next question reads the new text.
  void SetVCBText(const velmar_ustring& text);
  /// Ignored unless scale > the double epsilon (so also for NaN).
  void SetDrawingScale(double scale);

  /// Whether one typed character starts measurement-box entry: digits, "-",
  /// ".", ",", "<", "[", "^", "*", "x", "X" and "/".
  static bool IsVCBTrigger(wchar_t c);
  /// Whether a whole text does: only the one-character texts of a digit,
  /// "-", ".", ",", "[", "<" or "^" (not "*", "x", "X" or "/").
  static bool IsVCBTrigger(const velmar_ustring& text);

  /// The text as a length in inches in the document's units, times the
  /// drawing scale. On failure `value` is what the length parse left, unscaled.
  [[nodiscard]] bool GetLength(double& value) const;

  /// The number as typed (degrees unless a unit says otherwise), not
  /// converted; the parser's scale and length settings take no part.
  [[nodiscard]] bool GetAngle(double& value) const;
  /// GetAngle() for `text`.
  [[nodiscard]] static bool GetAngle(const velmar_ustring& text, double& value);

  /// The number at the start of the text in the user's locale; trailing
  /// text is ignored. False and 0.0 when there is none.
  [[nodiscard]] bool GetUnitlessValue(double& value) const;
  /// GetUnitlessValue() for `text`.
  [[nodiscard]] static bool GetUnitlessValue(const velmar_ustring& text, double& value);

  /// "5x", "x5", "5*", "*5" (copies) or "5/", "/5" (divisions). On true the
  /// non-null outputs are set; on false they are untouched. The count is not
  /// checked: "*a" gives 0 and true; counts beyond int saturate.
  [[nodiscard]] bool GetArrayOperation(int* count, bool* isDivision) const;
  /// GetArrayOperation() for `text`.
  [[nodiscard]] static bool GetArrayOperation(const velmar_ustring& text, int* count,
                                              bool* isDivision);

  /// "COLUMNSxROWS", or "Nr" and/or "Nc". Both outputs are always written,
  /// 0 for a part without a count or with one that does not fit 32 bits.
  [[nodiscard]] bool GetRowsOrColumns(unsigned int& rows, unsigned int& columns) const;
  /// GetRowsOrColumns() for `text`.
  [[nodiscard]] static bool GetRowsOrColumns(const velmar_ustring& text, unsigned int& rows,
                                             unsigned int& columns);

  /// Which kind of point the text asks for, kNoPoint for empty or blank text.
  EPointEntryMode GetPointEntryMode() const;

  /// The point the text asks for, from `referencePoint` for relative and
  /// polar entries; `width`/`height` are added to absolute coordinates
  /// marked with "w"/"h". On false `point` is untouched.
  [[nodiscard]] bool GetCPoint2f(float width, float height,
                                 const velmar::geometry::Point2<float>& referencePoint,
                                 velmar::geometry::Point2<float>& point) const;

 private:
  velmar_ustring m_text;
  double m_drawingScale;
  velmar::units::LengthInfo m_lengthInfo;
};

}  // namespace velmar::utils
