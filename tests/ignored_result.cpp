// Compiled by ignored_result_test.cmake as it is, which must compile cleanly
// with warnings as errors, and once per cast to void below with that one
// cast removed, which must not: dropping a reading's result is a warning.
#include <FolianUtils/FolianUtils.h>

int main() {
  using velmar::utils::velmar_ustring;
  const velmar_ustring text("5'");
  double value = 0.0;
  velmar::units::LengthInfo info;
  const velmar::utils::CLengthFormatter lengths(info);
  const velmar::utils::CVCBParser box(text, info, 1.0);
  // An object, not a reference: g++ 12 does not warn of a virtual member's
  // result dropped through a reference or pointer (clang does).
  folian::TempPreferences prefs(26);
  (void)velmar::utils::StringToDouble(text.c_str(), value);
  (void)lengths.Parse(text, value);
  (void)velmar::units::EvaluateLength(text, info, value);
  (void)box.GetLength(value);
  (void)velmar::utils::AngleFormatter::Parse(text, value);
  (void)velmar::utils::ScaleFormatter::Parse(text);
  (void)prefs.ReadInt(text, 0);
  return 0;
}
