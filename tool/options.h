// The arguments commands share, each defined once: units, format,
// precision, scale and the files' application version, and numbers and texts.
// Every reader accepts the same notation wherever it is used: numbers in
// the "C" notation whatever the user's locale.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FolianUtils/units_info.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace folian::tool {

using velmar::units::UnitsInfo;

// A finite number ("12", "-0.5", "1e3"); throws CLI::ValidationError
// naming `what` otherwise.
double ReadNumber(const std::string& what, const std::string& text);
// A whole number from `low` to `high` written in digits.
int ReadWholeNumber(const std::string& what, const std::string& text, int low, int high);

// Positional arguments (`name` in capitals) or options ("--name").
CLI::Option* AddText(CLI::App& app, const std::string& name, std::string& target,
                     const std::string& help);
CLI::Option* AddNumber(CLI::App& app, const std::string& name, double& target,
                       const std::string& help);
CLI::Option* AddNumber(CLI::App& app, const std::string& name, std::optional<double>& target,
                       const std::string& help);

// --units in|ft|mm|cm|m|pt|yd
CLI::Option* AddLengthUnitsOption(CLI::App& app, std::optional<UnitsInfo::Units>& target,
                                  const std::string& help);
// --units rad|deg|grad
CLI::Option* AddAngleUnitsOption(CLI::App& app, std::optional<UnitsInfo::Units>& target);
// --precision 0..16
CLI::Option* AddPrecisionOption(CLI::App& app, std::optional<int>& target);
// --scale S, a positive number
CLI::Option* AddScaleOption(CLI::App& app, std::optional<double>& target);
// --app-version 0..99, the application version whose files are meant
CLI::Option* AddAppVersionOption(CLI::App& app, std::optional<int>& target);
inline constexpr const char* kAppVersionOption = "--app-version";

// How a length is written: --format decimal|architectural|engineering|
// fractional, --units as above and --precision, each unset until given.
struct LengthOptions {
  std::optional<UnitsInfo::Format> format;
  std::optional<UnitsInfo::Units> units;
  std::optional<int> precision;

  // Adds the three options; `unitsHelp` says what --units sets.
  void Add(CLI::App& app, const std::string& unitsHelp);
  // Sets on `info` those given.
  void ApplyTo(velmar::units::LengthInfo& info) const;
};

// The words an option's value is one of (empty: any), for completion.
void SetChoices(CLI::Option* option, std::vector<std::string> choices);
const std::vector<std::string>& ChoicesOf(const CLI::Option* option);

// The names the options read, for answers.
const char* FormatName(UnitsInfo::Format format);
// in, ft, ..., and "none" and "mixed" for what a list names.
const char* LengthUnitsName(UnitsInfo::Units units);
const char* AngleUnitsName(UnitsInfo::Units units);

}  // namespace folian::tool
