// Compiled by ignored_result_test.cmake once with IGNORED_RESULT unset, which
// must compile cleanly, and once per case with IGNORED_RESULT=<case>, which
// drops that reading's result and must not compile when warnings are errors.
// Every other case casts its result away, as a caller who means it does.
#include <FolianUtils/FolianUtils.h>

#ifndef IGNORED_RESULT
#define IGNORED_RESULT 0
#endif

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
#if IGNORED_RESULT == 1
  velmar::utils::StringToDouble(text.c_str(), value);
#else
  (void)velmar::utils::StringToDouble(text.c_str(), value);
#endif
#if IGNORED_RESULT == 2
  lengths.Parse(text, value);
#else
  (void)lengths.Parse(text, value);
#endif
#if IGNORED_RESULT == 3
  velmar::units::EvaluateLength(text, info, value);
#else
  (void)velmar::units::EvaluateLength(text, info, value);
#endif
#if IGNORED_RESULT == 4
  box.GetLength(value);
#else
  (void)box.GetLength(value);
#endif
#if IGNORED_RESULT == 5
  velmar::utils::AngleFormatter::Parse(text, value);
#else
  (void)velmar::utils::AngleFormatter::Parse(text, value);
#endif
#if IGNORED_RESULT == 6
  velmar::utils::ScaleFormatter::Parse(text);
#else
  (void)velmar::utils::ScaleFormatter::Parse(text);
#endif
#if IGNORED_RESULT == 7
  prefs.ReadInt(text, 0);
#else
  (void)prefs.ReadInt(text, 0);
#endif
  return 0;
}
