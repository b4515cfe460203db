#include "tool/arguments.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "tool/command.h"

namespace folian::tool {

double ReadNumberArgument(const std::string& what, const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double value = std::strtod(begin, &end);
  if (text.empty() || *end != '\0' || !std::isfinite(value)) {
    throw UsageError{what + " must be a number, not '" + text + "'"};
  }
  return value;
}

int ReadIntegerArgument(const std::string& what, const std::string& text) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    throw UsageError{what + " must be a whole number, not '" + text + "'"};
  }
  return value;
}

namespace {

using velmar::units::UnitsInfo;

const std::pair<const char*, UnitsInfo::Format> kFormats[] = {
    {"decimal", UnitsInfo::kDecimal},
    {"architectural", UnitsInfo::kArchitectural},
    {"engineering", UnitsInfo::kEngineering},
    {"fractional", UnitsInfo::kFractional},
};

}  // namespace

UnitsInfo::Format ReadFormatName(const std::string& name) {
  for (const auto& [candidate, format] : kFormats) {
    if (name == candidate) return format;
  }
  throw UsageError{"unknown format '" + name + "'"};
}

const char* FormatName(UnitsInfo::Format format) {
  for (const auto& [name, candidate] : kFormats) {
    if (format == candidate) return name;
  }
  return "?";
}

}  // namespace folian::tool
