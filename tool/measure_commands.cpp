// Measurement commands: lengths, areas, angles and scales written and read
// the way the library does for Folian, and a demo of all of them.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "FolianUtils/FolianUtils.h"
#include "tool/arguments.h"
#include "tool/command.h"

namespace folian::tool {
namespace {

using velmar::units::AngleInfo;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::AngleFormatter;
using velmar::utils::CLengthFormatter;
using velmar::utils::velmar_ustring;
namespace ScaleFormatter = velmar::utils::ScaleFormatter;

constexpr const char* kLengthOptions =
    "[--format decimal|architectural|engineering|fractional] [--units in|ft|mm|cm|m|pt|yd] "
    "[--precision N] [--suppress-units] [--space] [--force-fraction] [--no-approx] [--adaptive]";
constexpr const char* kAngleOptions =
    "[--units rad|deg|grad] [--precision N] [--suppress-units] [--no-approx] [--vcb]";

const std::pair<const char*, UnitsInfo::Units> kLengthUnitNames[] = {
    {"in", UnitsInfo::kInches},      {"ft", UnitsInfo::kFeet},   {"mm", UnitsInfo::kMillimeters},
    {"cm", UnitsInfo::kCentimeters}, {"m", UnitsInfo::kMeters},  {"pt", UnitsInfo::kPoints},
    {"yd", UnitsInfo::kYards},       {"none", UnitsInfo::kNone}, {"mixed", UnitsInfo::kMixed},
};

const std::pair<const char*, UnitsInfo::Units> kAngleUnitNames[] = {
    {"rad", UnitsInfo::kRadians},
    {"deg", UnitsInfo::kDegrees},
    {"grad", UnitsInfo::kGradians},
};

// The shortest text that reads back as the same double.
std::string Number(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string JsonNumber(double value) { return std::isfinite(value) ? Number(value) : "null"; }

std::string Utf8(const velmar_ustring& text) { return text.ToUTF8(); }

template <typename T, std::size_t N>
T Lookup(const std::pair<const char*, T> (&names)[N], const std::string& what,
         const std::string& name) {
  for (const auto& [candidate, value] : names) {
    if (name == candidate) return value;
  }
  throw UsageError{"unknown " + what + " '" + name + "'"};
}

template <typename T, std::size_t N>
const char* NameOf(const std::pair<const char*, T> (&names)[N], T value) {
  for (const auto& [name, candidate] : names) {
    if (candidate == value) return name;
  }
  return "?";
}

// Splits the arguments into positional ones and "--name [value]" options;
// "--" ends the options, so a TEXT may start with "--".
class Arguments {
 public:
  Arguments(const std::vector<std::string>& args, std::vector<std::string> flags,
            std::vector<std::string> valued)
      : m_flags(std::move(flags)), m_valued(std::move(valued)) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
        m_positional.push_back(arg);
      } else if (arg == "--") {
        optionsEnded = true;
      } else if (Contains(m_flags, arg)) {
        m_given.emplace_back(arg, "");
      } else if (Contains(m_valued, arg)) {
        if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
        m_given.emplace_back(arg, args[++i]);
      } else {
        throw UsageError{"unknown option '" + arg + "'"};
      }
    }
  }

  bool Has(const std::string& name) const {
    for (const auto& given : m_given) {
      if (given.first == name) return true;
    }
    return false;
  }
  // The last value given for `name`, or nullptr.
  const std::string* Value(const std::string& name) const {
    const std::string* value = nullptr;
    for (const auto& given : m_given) {
      if (given.first == name) value = &given.second;
    }
    return value;
  }
  const std::string& Single(const char* what) const {
    if (m_positional.size() != 1) throw UsageError{std::string("expected one ") + what};
    return m_positional[0];
  }
  const std::vector<std::string>& positional() const { return m_positional; }

 private:
  static bool Contains(const std::vector<std::string>& names, const std::string& name) {
    for (const std::string& candidate : names) {
      if (candidate == name) return true;
    }
    return false;
  }

  std::vector<std::string> m_flags;
  std::vector<std::string> m_valued;
  std::vector<std::string> m_positional;
  std::vector<std::pair<std::string, std::string>> m_given;
};

Arguments LengthArguments(const std::vector<std::string>& args) {
  return Arguments(args,
                   {"--suppress-units", "--space", "--force-fraction", "--no-approx", "--adaptive"},
                   {"--format", "--units", "--precision"});
}

// Decimal inches with two decimals unless the options say otherwise.
LengthInfo LengthSettings(const Arguments& arguments) {
  LengthInfo info;
  if (const std::string* format = arguments.Value("--format")) {
    info.SetFormat(ReadFormatName(*format), false);
  }
  if (const std::string* units = arguments.Value("--units")) {
    info.SetUnits(Lookup(kLengthUnitNames, "units", *units), false);
  }
  if (const std::string* precision = arguments.Value("--precision")) {
    info.SetPrecision(ReadIntegerArgument("--precision", *precision), false);
  }
  info.SetSuppressUnits(arguments.Has("--suppress-units"));
  info.SetSpaceSeparator(arguments.Has("--space"));
  info.SetForceFraction(arguments.Has("--force-fraction"));
  info.SetSuppressApproximation(arguments.Has("--no-approx"));
  return info;
}

void PrintText(Invocation& call, const char* inputName, double input, const velmar_ustring& text) {
  if (call.json) {
    call.out << "{\"" << inputName << "\":" << JsonNumber(input)
             << ",\"text\":" << JsonQuote(Utf8(text)) << "}\n";
  } else {
    call.out << Utf8(text) << "\n";
  }
}

int RunFormatLength(Invocation& call, bool area) {
  const Arguments arguments = LengthArguments(call.args);
  const char* inputName = area ? "square_inches" : "inches";
  const double value = ReadNumberArgument(inputName, arguments.Single(inputName));
  CLengthFormatter formatter(LengthSettings(arguments));
  formatter.SetUseAdaptivePrecision(arguments.Has("--adaptive"));
  PrintText(call, inputName, value, area ? formatter.FormatArea(value) : formatter.Format(value));
  return 0;
}

int RunFormatAngle(Invocation& call) {
  const Arguments arguments(call.args, {"--suppress-units", "--no-approx", "--vcb"},
                            {"--units", "--precision"});
  const double radians = ReadNumberArgument("RADIANS", arguments.Single("RADIANS"));
  if (arguments.Has("--vcb")) {
    PrintText(call, "radians", radians, AngleFormatter::FormatAngleForVCB(radians));
    return 0;
  }
  AngleInfo info;
  if (const std::string* units = arguments.Value("--units")) {
    info.SetUnits(Lookup(kAngleUnitNames, "units", *units), false);
  }
  if (const std::string* precision = arguments.Value("--precision")) {
    info.SetPrecision(ReadIntegerArgument("--precision", *precision), false);
  }
  info.SetSuppressUnits(arguments.Has("--suppress-units"));
  info.SetSuppressApproximation(arguments.Has("--no-approx"));
  AngleFormatter formatter(info);
  PrintText(call, "radians", radians, formatter.Format(radians));
  return 0;
}

int RunFormatScale(Invocation& call) {
  const Arguments arguments(call.args, {}, {});
  if (arguments.positional().size() == 2) {
    // The measurement box's pair of plain numbers.
    const double first = ReadNumberArgument("A", arguments.positional()[0]);
    const double second = ReadNumberArgument("B", arguments.positional()[1]);
    const velmar_ustring text = CLengthFormatter::FormatScaleForVCB(first, second);
    if (call.json) {
      call.out << "{\"a\":" << JsonNumber(first) << ",\"b\":" << JsonNumber(second)
               << ",\"text\":" << JsonQuote(Utf8(text)) << "}\n";
    } else {
      call.out << Utf8(text) << "\n";
    }
    return 0;
  }
  const double scale = ReadNumberArgument("SCALE", arguments.Single("SCALE"));
  PrintText(call, "scale", scale, ScaleFormatter::Format(scale));
  return 0;
}

// One value read from a text: plain output is the value or "none" (status
// 1); JSON carries the flag and the value (what was read so far on failure).
int PrintReading(Invocation& call, const std::string& text, const char* valueName, bool ok,
                 double value) {
  if (call.json) {
    call.out << "{\"text\":" << JsonQuote(text) << ",\"ok\":" << (ok ? "true" : "false") << ",\""
             << valueName << "\":" << JsonNumber(value) << "}\n";
  } else {
    call.out << (ok ? Number(value) : "none") << "\n";
  }
  return ok ? 0 : 1;
}

UnitsInfo::Units DefaultLengthUnits(const Arguments& arguments) {
  const std::string* units = arguments.Value("--units");
  return units == nullptr ? UnitsInfo::kInches : Lookup(kLengthUnitNames, "units", *units);
}

int RunParseLength(Invocation& call) {
  const Arguments arguments(call.args, {}, {"--units"});
  const std::string& text = arguments.Single("TEXT");
  double inches = 0.0;
  const bool ok =
      CLengthFormatter::Parse(velmar_ustring(text), inches, DefaultLengthUnits(arguments));
  return PrintReading(call, text, "inches", ok, inches);
}

int RunParseLengths(Invocation& call) {
  const Arguments arguments(call.args, {}, {"--units", "--count"});
  const std::string& text = arguments.Single("TEXT");
  int count = 16;
  if (const std::string* given = arguments.Value("--count")) {
    count = ReadIntegerArgument("--count", *given);
    if (count < 0 || count > 100000) throw UsageError{"--count must be 0 to 100000"};
  }
  std::vector<double> values(static_cast<std::size_t>(count));
  const int read = CLengthFormatter::Parse(velmar_ustring(text), count, values.data(),
                                           DefaultLengthUnits(arguments));
  values.resize(static_cast<std::size_t>(read));
  if (call.json) {
    call.out << "{\"text\":" << JsonQuote(text) << ",\"count\":" << read << ",\"inches\":[";
    for (std::size_t i = 0; i < values.size(); ++i) {
      call.out << (i == 0 ? "" : ",") << JsonNumber(values[i]);
    }
    call.out << "]}\n";
  } else if (values.empty()) {
    call.out << "none\n";
  } else {
    for (std::size_t i = 0; i < values.size(); ++i) {
      call.out << (i == 0 ? "" : " ") << Number(values[i]);
    }
    call.out << "\n";
  }
  return read > 0 ? 0 : 1;
}

int RunParseAngle(Invocation& call) {
  const Arguments arguments(call.args, {}, {});
  const std::string& text = arguments.Single("TEXT");
  double value = 0.0;
  const bool ok = AngleFormatter::Parse(velmar_ustring(text), value);
  return PrintReading(call, text, "value", ok, value);
}

int RunParseScale(Invocation& call) {
  const Arguments arguments(call.args, {}, {});
  const std::string& text = arguments.Single("TEXT");
  const double scale = ScaleFormatter::Parse(velmar_ustring(text));
  return PrintReading(call, text, "scale", scale != 0.0, scale);
}

int RunLengthUnits(Invocation& call) {
  const Arguments arguments(call.args, {}, {});
  const std::string& text = arguments.Single("TEXT");
  UnitsInfo::Units units = UnitsInfo::kNone;
  const bool found = CLengthFormatter::GetLengthUnitFromRawString(velmar_ustring(text), &units);
  const char* name = NameOf(kLengthUnitNames, units);
  if (call.json) {
    call.out << "{\"text\":" << JsonQuote(text) << ",\"found\":" << (found ? "true" : "false")
             << ",\"units\":" << JsonQuote(name) << "}\n";
  } else {
    call.out << name << "\n";
  }
  return found ? 0 : 1;
}

// ---- demo -------------------------------------------------------------------

struct DemoSetting {
  UnitsInfo::Format format;
  UnitsInfo::Units units;
  std::vector<int> precisions;
};

struct DemoLine {
  std::string what;
  std::string input;
  std::string output;
};

std::vector<DemoLine> DemoLines() {
  constexpr double kSample = 66.5625 + 0.003;  // 5'-6 9/16" and a little
  const DemoSetting settings[] = {
      {UnitsInfo::kArchitectural, UnitsInfo::kInches, {0, 2, 4, 6}},
      {UnitsInfo::kFractional, UnitsInfo::kInches, {0, 3, 6}},
      {UnitsInfo::kEngineering, UnitsInfo::kFeet, {0, 2, 4}},
      {UnitsInfo::kDecimal, UnitsInfo::kInches, {0, 2, 4}},
      {UnitsInfo::kDecimal, UnitsInfo::kFeet, {2}},
      {UnitsInfo::kDecimal, UnitsInfo::kMillimeters, {0, 1}},
      {UnitsInfo::kDecimal, UnitsInfo::kCentimeters, {2}},
      {UnitsInfo::kDecimal, UnitsInfo::kMeters, {3}},
      {UnitsInfo::kDecimal, UnitsInfo::kPoints, {1}},
  };
  std::vector<DemoLine> lines;
  for (const DemoSetting& setting : settings) {
    for (const int precision : setting.precisions) {
      LengthInfo info;
      info.SetFormat(setting.format, false);
      info.SetUnits(setting.units, false);
      info.SetPrecision(precision, false);
      CLengthFormatter formatter(info);
      std::string what = std::string("length ") + FormatName(setting.format);
      if (setting.format == UnitsInfo::kDecimal) {
        what += std::string(" ") + NameOf(kLengthUnitNames, setting.units);
      }
      what += " p" + std::to_string(precision);
      lines.push_back({what, Number(kSample) + " in", Utf8(formatter.Format(kSample))});
    }
  }
  {
    LengthInfo info;
    info.SetFormat(UnitsInfo::kArchitectural, false);
    info.SetPrecision(4, false);
    lines.push_back(
        {"area architectural", "4000 sq in", Utf8(CLengthFormatter(info).FormatArea(4000.0))});
  }
  constexpr double kAngle = 0.6;
  for (const auto& [name, units] : kAngleUnitNames) {
    AngleInfo info;
    info.SetUnits(units, false);
    info.SetPrecision(2, false);
    lines.push_back({std::string("angle ") + name + " p2", Number(kAngle) + " rad",
                     Utf8(AngleFormatter(info).Format(kAngle))});
  }
  lines.push_back({"angle measurement box", Number(kAngle) + " rad",
                   Utf8(AngleFormatter::FormatAngleForVCB(kAngle))});
  for (const double scale : {0.02, 0.3, 2.5}) {
    lines.push_back({"scale", Number(scale), Utf8(ScaleFormatter::Format(scale))});
  }

  for (const char* typed :
       {"5'6\"", "5'-6 1/2\"", "-5 1/2", "3/4", "~ 3.5 mm", "2.5 m", "10 PT", "1/0", "'6"}) {
    double inches = 0.0;
    const bool ok = CLengthFormatter::Parse(velmar_ustring(typed), inches, UnitsInfo::kInches);
    lines.push_back({"typed length", typed, ok ? Number(inches) + " in" : "invalid"});
  }
  for (const char* typed : {"30°", "~ 12.5°", "25%", "abc"}) {
    double value = 0.0;
    const bool ok = AngleFormatter::Parse(velmar_ustring(typed), value);
    lines.push_back({"typed angle", typed, ok ? Number(value) : "invalid"});
  }
  for (const char* typed : {"1:50", "50%", "1\"=4'", "1cm:1m", "1yd:1'", "1:0", "1cm:50"}) {
    const double scale = ScaleFormatter::Parse(velmar_ustring(typed));
    lines.push_back({"typed scale", typed, scale != 0.0 ? Number(scale) : "invalid"});
  }
  return lines;
}

// Terminal columns of UTF-8 text: one per character.
std::size_t Columns(const std::string& text) {
  std::size_t columns = 0;
  for (const char c : text) columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return columns;
}

int RunDemo(Invocation& call) {
  if (!call.args.empty()) throw UsageError{"demo takes no arguments"};
  const std::vector<DemoLine> lines = DemoLines();
  if (call.json) {
    call.out << "{\"demo\":[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      call.out << (i == 0 ? "" : ",") << "{\"what\":" << JsonQuote(lines[i].what)
               << ",\"input\":" << JsonQuote(lines[i].input)
               << ",\"output\":" << JsonQuote(lines[i].output) << "}";
    }
    call.out << "]}\n";
    return 0;
  }
  std::size_t whatWidth = 0;
  std::size_t inputWidth = 0;
  for (const DemoLine& line : lines) {
    whatWidth = std::max(whatWidth, Columns(line.what));
    inputWidth = std::max(inputWidth, Columns(line.input));
  }
  for (const DemoLine& line : lines) {
    call.out << line.what << std::string(whatWidth - Columns(line.what) + 2, ' ') << line.input
             << std::string(inputWidth - Columns(line.input) + 2, ' ') << line.output << "\n";
  }
  return 0;
}

}  // namespace

void RegisterMeasureCommands(CommandTable& table) {
  table.Add({"format-length", std::string("INCHES ") + kLengthOptions,
             "write a length given in inches (decimal inches, precision 2 by default)",
             [](Invocation& call) { return RunFormatLength(call, false); }});
  table.Add({"format-area", std::string("SQUARE_INCHES ") + kLengthOptions,
             "write an area given in square inches",
             [](Invocation& call) { return RunFormatLength(call, true); }});
  table.Add({"format-angle", std::string("RADIANS ") + kAngleOptions,
             "write an angle given in radians (radians, precision 4 by default; --vcb: the "
             "measurement box's degrees)",
             RunFormatAngle});
  table.Add({"format-scale", "SCALE | A B",
             "write a drawing scale as a ratio (0.02 is 1:50); with two numbers, the "
             "measurement box's pair",
             RunFormatScale});
  table.Add({"parse-length", "TEXT [--units in|ft|mm|cm|m|pt|yd]",
             "read a typed length into inches (bare numbers in --units, inches by default; "
             "\"none\" and status 1 if invalid)",
             RunParseLength});
  table.Add({"parse-lengths", "TEXT [--count N] [--units in|ft|mm|cm|m|pt|yd]",
             "read a list of lengths separated by the list separator (up to N, 16 by default)",
             RunParseLengths});
  table.Add({"parse-angle", "TEXT",
             "read a typed angle as the number typed, in its own unit (\"25%\" is 90 degrees)",
             RunParseAngle});
  table.Add({"parse-scale", "TEXT",
             "read a typed scale (\"1:50\", \"1/4\", \"50%\", \"1\\\"=4'\"); \"none\" and "
             "status 1 if it is no scale",
             RunParseScale});
  table.Add({"length-units", "TEXT",
             "which units the values of a list name: in, ft, mm, cm, m, pt, mixed or none "
             "(status 1)",
             RunLengthUnits});
  table.Add({"demo", "", "a sample length in every format and precision, and typed texts read back",
             RunDemo});
}

}  // namespace folian::tool
