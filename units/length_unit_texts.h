// The process-wide unit texts of length formatting and parsing.
#pragma once

#include "FolianUtils/ustring.h"

namespace velmar::utils {

struct LengthUnitTexts {
  velmar_ustring inch;
  velmar_ustring foot;
  velmar_ustring millimeter;
  velmar_ustring centimeter;
  velmar_ustring meter;
  velmar_ustring point;
  // The translations replaced the English texts (once per process).
  bool translated = false;
};

// Built from the English literals when the library loads; the metric and
// point texts are translated by SetLengthFormatterStrings().
LengthUnitTexts& GetLengthUnitTexts();

}  // namespace velmar::utils
