// Uses the installed FolianUtils package the way a host application does.
#include <FolianUtils/FolianUtils.h>

#include <iostream>

int main() {
  using velmar::utils::velmar_ustring;

  velmar::units::LengthInfo info;
  info.SetUnits(velmar::units::UnitsInfo::kMillimeters, false);
  std::cout << "units: millimetres, precision " << info.GetEffectivePrecision() << ", one step is "
            << info.GetPrecisionAsValue() << " in\n";

  const velmar_ustring typed("  12.5mm");
  double value = 0.0;
  const bool ok = velmar::utils::StringToDouble(typed.c_str(), value);
  velmar_ustring shown;
  shown.Format(VELMAR_U("read \"%s\" as %.2f (%s)"), typed.c_str(), value,
               ok ? VELMAR_U("a number") : VELMAR_U("no number"));
  std::cout << shown.ToUTF8() << "\n";
  std::cout << "decimal point of this user: "
            << velmar_ustring(1, velmar::utils::CNumericFormatter::GetDecimalPointChar()).ToUTF8()
            << "\n";
  return ok ? 0 : 1;
}
