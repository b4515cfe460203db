#include "tool/options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

namespace folian::tool {
namespace {

template <typename T>
using Names = std::pair<const char*, T>;

const Names<UnitsInfo::Units> kLengthUnits[] = {
    {"in", UnitsInfo::kInches},      {"ft", UnitsInfo::kFeet},   {"mm", UnitsInfo::kMillimeters},
    {"cm", UnitsInfo::kCentimeters}, {"m", UnitsInfo::kMeters},  {"pt", UnitsInfo::kPoints},
    {"yd", UnitsInfo::kYards},       {"none", UnitsInfo::kNone}, {"mixed", UnitsInfo::kMixed},
};
// The units a length setting takes: the first seven.
constexpr std::size_t kLengthSettingUnits = 7;

const Names<UnitsInfo::Units> kAngleUnits[] = {
    {"rad", UnitsInfo::kRadians},
    {"deg", UnitsInfo::kDegrees},
    {"grad", UnitsInfo::kGradians},
};

const Names<UnitsInfo::Format> kFormats[] = {
    {"decimal", UnitsInfo::kDecimal},
    {"architectural", UnitsInfo::kArchitectural},
    {"engineering", UnitsInfo::kEngineering},
    {"fractional", UnitsInfo::kFractional},
};

template <typename T>
std::string Choices(const Names<T>* names, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += (i == 0 ? "" : "|") + std::string(names[i].first);
  return text;
}

template <typename T>
std::vector<std::string> Words(const Names<T>* names, std::size_t count) {
  std::vector<std::string> words;
  for (std::size_t i = 0; i < count; ++i) words.emplace_back(names[i].first);
  return words;
}

std::map<const CLI::Option*, std::vector<std::string>>& ChoiceTable() {
  static std::map<const CLI::Option*, std::vector<std::string>> table;
  return table;
}

template <typename T>
T ReadName(const std::string& what, const Names<T>* names, std::size_t count,
           const std::string& text) {
  for (std::size_t i = 0; i < count; ++i) {
    if (text == names[i].first) return names[i].second;
  }
  throw CLI::ValidationError(what, "'" + text + "' is not one of " + Choices(names, count));
}

template <typename T, std::size_t N>
const char* NameOf(const Names<T> (&names)[N], T value) {
  for (const auto& [name, candidate] : names) {
    if (candidate == value) return name;
  }
  return "?";
}

template <typename T, typename Read>
CLI::Option* AddRead(CLI::App& app, const std::string& name, std::optional<T>& target, Read read,
                     const std::string& typeName, const std::string& help) {
  return app
      .add_option_function<std::string>(
          name, [&target, read, name](const std::string& text) { target = read(name, text); }, help)
      ->type_name(typeName);
}

// --format decimal|architectural|engineering|fractional
CLI::Option* AddFormatOption(CLI::App& app, std::optional<UnitsInfo::Format>& target) {
  constexpr std::size_t count = std::size(kFormats);
  CLI::Option* option = AddRead(
      app, "--format", target,
      [](const std::string& what, const std::string& text) {
        return ReadName(what, kFormats, count, text);
      },
      "FORMAT", "length format (" + Choices(kFormats, count) + "; decimal by default)");
  SetChoices(option, Words(kFormats, count));
  return option;
}

}  // namespace

double ReadNumber(const std::string& what, const std::string& text) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  // from_chars takes no plus sign; a typed one is harmless.
  if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-') ++begin;
  double value = 0.0;
  const auto result = std::from_chars(begin, end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
    throw CLI::ValidationError(what, "'" + text + "' is not a number");
  }
  return value;
}

int ReadWholeNumber(const std::string& what, const std::string& text, int low, int high) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
      value < low || value > high) {
    throw CLI::ValidationError(what, "'" + text + "' is not a whole number from " +
                                         std::to_string(low) + " to " + std::to_string(high));
  }
  return value;
}

CLI::Option* AddText(CLI::App& app, const std::string& name, std::string& target,
                     const std::string& help) {
  return app.add_option(name, target, help)->type_name("TEXT");
}

CLI::Option* AddNumber(CLI::App& app, const std::string& name, double& target,
                       const std::string& help) {
  return app
      .add_option_function<std::string>(
          name, [&target, name](const std::string& text) { target = ReadNumber(name, text); }, help)
      ->type_name("NUMBER");
}

CLI::Option* AddNumber(CLI::App& app, const std::string& name, std::optional<double>& target,
                       const std::string& help) {
  return AddRead(app, name, target, ReadNumber, "NUMBER", help);
}

CLI::Option* AddLengthUnitsOption(CLI::App& app, std::optional<UnitsInfo::Units>& target,
                                  const std::string& help) {
  const std::string choices = Choices(kLengthUnits, kLengthSettingUnits);
  CLI::Option* option = AddRead(
      app, "--units", target,
      [](const std::string& what, const std::string& text) {
        return ReadName(what, kLengthUnits, kLengthSettingUnits, text);
      },
      "UNITS", help + " (" + choices + "; in by default)");
  SetChoices(option, Words(kLengthUnits, kLengthSettingUnits));
  return option;
}

CLI::Option* AddAngleUnitsOption(CLI::App& app, std::optional<UnitsInfo::Units>& target) {
  constexpr std::size_t count = std::size(kAngleUnits);
  CLI::Option* option = AddRead(
      app, "--units", target,
      [](const std::string& what, const std::string& text) {
        return ReadName(what, kAngleUnits, count, text);
      },
      "UNITS", "angle units (" + Choices(kAngleUnits, count) + "; rad by default)");
  SetChoices(option, Words(kAngleUnits, count));
  return option;
}

CLI::Option* AddPrecisionOption(CLI::App& app, std::optional<int>& target) {
  return AddRead(
      app, "--precision", target,
      [](const std::string& what, const std::string& text) {
        return ReadWholeNumber(what, text, 0, 16);
      },
      "N", "precision, a whole number from 0 to 16 (decimals, or the fraction's power of two)");
}

CLI::Option* AddScaleOption(CLI::App& app, std::optional<double>& target) {
  return AddRead(
      app, "--scale", target,
      [](const std::string& what, const std::string& text) {
        const double scale = ReadNumber(what, text);
        if (!(scale > 0)) throw CLI::ValidationError(what, "'" + text + "' is not above 0");
        return scale;
      },
      "S", "drawing scale, a number above 0 (1 by default)");
}

CLI::Option* AddAppVersionOption(CLI::App& app, std::optional<int>& target) {
  return AddRead(
      app, kAppVersionOption, target,
      [](const std::string& what, const std::string& text) {
        return ReadWholeNumber(what, text, 0, 99);
      },
      "N", "application version of the files, 0 to 99 (the current one by default)");
}

void LengthOptions::Add(CLI::App& app, const std::string& unitsHelp) {
  AddFormatOption(app, format);
  AddLengthUnitsOption(app, units, unitsHelp);
  AddPrecisionOption(app, precision);
}

void LengthOptions::ApplyTo(velmar::units::LengthInfo& info) const {
  if (format) info.SetFormat(*format, false);
  if (units) info.SetUnits(*units, false);
  if (precision) info.SetPrecision(*precision, false);
}

void SetChoices(CLI::Option* option, std::vector<std::string> choices) {
  ChoiceTable()[option] = std::move(choices);
}

const std::vector<std::string>& ChoicesOf(const CLI::Option* option) {
  static const std::vector<std::string> kAny;
  const auto found = ChoiceTable().find(option);
  return found != ChoiceTable().end() ? found->second : kAny;
}

const char* FormatName(UnitsInfo::Format format) { return NameOf(kFormats, format); }
const char* LengthUnitsName(UnitsInfo::Units units) { return NameOf(kLengthUnits, units); }
const char* AngleUnitsName(UnitsInfo::Units units) { return NameOf(kAngleUnits, units); }

}  // namespace folian::tool
