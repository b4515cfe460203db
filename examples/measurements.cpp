// Measurements: lengths, areas, angles and drawing scales as the user sees
// and types them. Lengths are inches and angles radians everywhere.
#include <FolianUtils/angle_formatter.h>
#include <FolianUtils/length_evaluator.h>
#include <FolianUtils/length_formatter.h>
#include <FolianUtils/scale_formatter.h>
#include <FolianUtils/units_info.h>

#include <iostream>

using velmar::units::AngleInfo;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::AngleFormatter;
using velmar::utils::CLengthFormatter;
namespace ScaleFormatter = velmar::utils::ScaleFormatter;

int main() {
  // The document's settings: architectural feet and inches to 1/16".
  LengthInfo info;
  info.SetFormat(UnitsInfo::kArchitectural);
  info.SetPrecision(4);
  CLengthFormatter lengths(info);

  std::cout << lengths.Format(66.5).ToUTF8() << "\n";            // 5'-6 1/2"
  std::cout << lengths.FormatArea(144.0 * 12).ToUTF8() << "\n";  // 12 Feet ²

  // Reading what the user typed; a bare number is in the document's unit.
  double inches = 0.0;
  if (lengths.Parse(VELMAR_U("5'-6 1/2\""), inches)) std::cout << inches << "\n";  // 66.5
  if (lengths.Parse(VELMAR_U("2.5 m"), inches)) std::cout << inches << "\n";       // 98.4252
  if (!lengths.Parse(VELMAR_U("five feet"), inches)) std::cout << "not a length\n";

  // Sums where a length is asked for; on failure the status holds the error
  // and its position in UTF-16 code units.
  using velmar::units::EvaluateLength;
  velmar::units::LengthExpressionStatus status;
  if (EvaluateLength(VELMAR_U("(5'-6 1/2\" + 3 1/2\") * 2"), info, inches, &status)) {
    std::cout << inches << "\n";  // 140
  }
  if (!EvaluateLength(VELMAR_U("5 + x"), info, inches, &status)) {
    // DescribeLengthExpressionError takes the status's error, not the status.
    std::cout << velmar::units::DescribeLengthExpressionError(status.error) << " at "
              << status.position << "\n";  // unexpected character at 4
  }

  // Metric text: millimetres with one decimal; "~ " marks a rounded value.
  LengthInfo metric;
  metric.SetUnits(UnitsInfo::kMillimeters);
  metric.SetPrecision(1);
  CLengthFormatter millimetres(metric);
  std::cout << millimetres.Format(1.0).ToUTF8() << "\n";   // 25.4 mm
  std::cout << millimetres.Format(0.51).ToUTF8() << "\n";  // ~ 13.0 mm

  // Angles: degrees with one decimal.
  AngleInfo degrees;
  degrees.SetUnits(UnitsInfo::kDegrees);
  degrees.SetPrecision(1);
  std::cout << AngleFormatter(degrees).Format(0.785398163).ToUTF8() << "\n";  // 45.0°
  double angle = 0.0;
  if (AngleFormatter::Parse(VELMAR_U("12.5°"), angle)) std::cout << angle << "\n";  // 12.5

  // Drawing scales: 0.02 is 1:50.
  std::cout << ScaleFormatter::Format(0.02).ToUTF8() << "\n";      // 1:50
  std::cout << ScaleFormatter::Parse(VELMAR_U("1\"=4'")) << "\n";  // 0.0208333
  std::cout << ScaleFormatter::Parse(VELMAR_U("1:0")) << "\n";     // 0: no scale
  return 0;
}
