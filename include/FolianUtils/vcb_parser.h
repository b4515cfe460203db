// CVCBParser: what the text typed into the measurement box means.
//
// The parser holds the typed text, the document's length settings and the
// drawing scale, and reads the text afresh on every question: trigger
// characters, lengths, angles, plain numbers, array copies and divisions,
// rows and columns, and points. Bad text is reported by the result, never
// by an exception.
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/point2.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils {

class FOLIAN_API CVCBParser {
 public:
  enum EPointEntryMode {
    kAbsolutePoint = 0,  // "[x, y]": page coordinates
    kRelativePoint = 1,  // "<dx, dy>" or a bare pair: offset from the reference point
    kPolarPoint = 2,     // "^angle, distance": degrees and length from the reference point
    kNoPoint = 3,        // empty or white space only
  };

  // A scale at or below the double epsilon is not stored; the parser then
  // keeps a scale of 1.
  CVCBParser(const velmar_ustring& text, velmar::units::LengthInfo lengthInfo, double drawingScale);
  CVCBParser(const CVCBParser& other);
  CVCBParser& operator=(const CVCBParser& other);
  ~CVCBParser();

  void SetVCBText(const velmar_ustring& text);
  // Ignored unless scale > the double epsilon (so also for NaN).
  void SetDrawingScale(double scale);

  // Whether one typed character starts measurement-box entry: digits, "-",
  // ".", ",", "<", "[", "^", "*", "x", "X" and "/".
  static bool IsVCBTrigger(wchar_t c);
  // Whether a whole text does: only the one-character texts of a digit,
  // "-", ".", ",", "[", "<" or "^" (not "*", "x", "X" or "/").
  static bool IsVCBTrigger(const velmar_ustring& text);

  // The text as a length in inches in the document's units, times the
  // drawing scale. On failure `value` is what the length parse left, unscaled.
  bool GetLength(double& value) const;

  // The number as typed (degrees unless a unit says otherwise), not
  // converted; the parser's scale and length settings take no part.
  bool GetAngle(double& value) const;
  static bool GetAngle(const velmar_ustring& text, double& value);

  // The number at the start of the text in the user's locale; trailing
  // text is ignored. False and 0.0 when there is none.
  bool GetUnitlessValue(double& value) const;
  static bool GetUnitlessValue(const velmar_ustring& text, double& value);

  // "5x", "x5", "5*", "*5" (copies) or "5/", "/5" (divisions). On true the
  // non-null outputs are set; on false they are untouched. The count is not
  // checked: "*a" gives 0 and true; counts beyond int saturate.
  bool GetArrayOperation(int* count, bool* isDivision) const;
  static bool GetArrayOperation(const velmar_ustring& text, int* count, bool* isDivision);

  // "COLUMNSxROWS", or "Nr" and/or "Nc". Both outputs are always written,
  // 0 for a part without a count or with one that does not fit 32 bits.
  bool GetRowsOrColumns(unsigned int& rows, unsigned int& columns) const;
  static bool GetRowsOrColumns(const velmar_ustring& text, unsigned int& rows,
                               unsigned int& columns);

  EPointEntryMode GetPointEntryMode() const;

  // The point the text asks for, from `referencePoint` for relative and
  // polar entries; `width`/`height` are added to absolute coordinates
  // marked with "w"/"h". On false `point` is untouched.
  bool GetCPoint2f(float width, float height, const velmar::geometry::Point2<float>& referencePoint,
                   velmar::geometry::Point2<float>& point) const;

 private:
  velmar_ustring m_text;
  double m_drawingScale;
  velmar::units::LengthInfo m_lengthInfo;
};

}  // namespace velmar::utils
