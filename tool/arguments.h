// Reading the tool's own arguments: numbers in the "C" notation whatever
// the user's locale, and the names of length formats.
#pragma once

#include <string>

#include "FolianUtils/units_info.h"

namespace folian::tool {

// A finite number; throws UsageError naming `what` otherwise.
double ReadNumberArgument(const std::string& what, const std::string& text);
// A whole number that fits an int; throws UsageError naming `what` otherwise.
int ReadIntegerArgument(const std::string& what, const std::string& text);
// decimal, architectural, engineering or fractional; throws UsageError.
velmar::units::UnitsInfo::Format ReadFormatName(const std::string& name);
// The name ReadFormatName reads back.
const char* FormatName(velmar::units::UnitsInfo::Format format);

}  // namespace folian::tool
