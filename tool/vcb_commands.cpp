// vcb, vcb-demo: what the measurement box reads from a typed text.
#include <cmath>
#include <cstdio>
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

using velmar::geometry::Point2;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::CNumericFormatter;
using velmar::utils::CVCBParser;
using velmar::utils::velmar_ustring;

constexpr const char* kSynopsis =
    "[--] TEXT [--format decimal|architectural|engineering|fractional] "
    "[--units in|ft|mm|cm|m|pt] [--precision N] [--scale S] [--ref X,Y] [--width W] "
    "[--height H]";

struct Options {
  std::string text;
  LengthInfo lengthInfo;
  double scale = 1.0;
  Point2<float> reference;
  float width = 0.0f;
  float height = 0.0f;
};

UnitsInfo::Units ParseUnits(const std::string& value) {
  static const std::pair<const char*, UnitsInfo::Units> kUnits[] = {
      {"in", UnitsInfo::kInches},      {"ft", UnitsInfo::kFeet},  {"mm", UnitsInfo::kMillimeters},
      {"cm", UnitsInfo::kCentimeters}, {"m", UnitsInfo::kMeters}, {"pt", UnitsInfo::kPoints}};
  for (const auto& [name, units] : kUnits) {
    if (value == name) return units;
  }
  throw UsageError{"unknown units '" + value + "'"};
}

// Reads the length settings and the view options; `allowText` says whether
// a TEXT argument is expected.
Options ParseOptions(const std::vector<std::string>& args, bool allowText) {
  Options options;
  bool haveText = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // "--" lets a TEXT that starts with "--" through.
    if (arg == "--" && !optionsEnded) {
      optionsEnded = true;
      continue;
    }
    const bool isOption = !optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0;
    if (!isOption) {
      if (!allowText || haveText) throw UsageError{"unexpected argument '" + arg + "'"};
      options.text = arg;
      haveText = true;
      continue;
    }
    if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
    const std::string& value = args[++i];
    if (arg == "--format") {
      options.lengthInfo.SetFormat(ReadFormatName(value), false);
    } else if (arg == "--units") {
      options.lengthInfo.SetUnits(ParseUnits(value), false);
    } else if (arg == "--precision") {
      const double precision = ReadNumberArgument(arg, value);
      if (precision < 0 || precision > 16 || precision != std::floor(precision)) {
        throw UsageError{"--precision needs a whole number from 0 to 16"};
      }
      options.lengthInfo.SetPrecision(static_cast<int>(precision), false);
    } else if (arg == "--scale") {
      options.scale = ReadNumberArgument(arg, value);
      if (!(options.scale > 0)) throw UsageError{"--scale needs a positive number"};
    } else if (arg == "--ref") {
      const auto comma = value.find(',');
      if (comma == std::string::npos) throw UsageError{"--ref needs X,Y"};
      options.reference.x = static_cast<float>(ReadNumberArgument(arg, value.substr(0, comma)));
      options.reference.y = static_cast<float>(ReadNumberArgument(arg, value.substr(comma + 1)));
    } else if (arg == "--width") {
      options.width = static_cast<float>(ReadNumberArgument(arg, value));
    } else if (arg == "--height") {
      options.height = static_cast<float>(ReadNumberArgument(arg, value));
    } else {
      throw UsageError{"unknown option '" + arg + "'"};
    }
  }
  if (allowText && !haveText) throw UsageError{"missing TEXT"};
  return options;
}

std::string Number(double value, int digits) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
  return buffer;
}

// Valid JSON also for the numbers JSON has no notation for.
std::string JsonNumber(double value, int digits) {
  const std::string text = Number(value, digits);
  return std::isfinite(value) ? text : JsonQuote(text);
}

const char* ModeName(CVCBParser::EPointEntryMode mode) {
  switch (mode) {
    case CVCBParser::kAbsolutePoint:
      return "absolute";
    case CVCBParser::kRelativePoint:
      return "relative";
    case CVCBParser::kPolarPoint:
      return "polar";
    case CVCBParser::kNoPoint:
      break;
  }
  return "none";
}

// Every reading of one text, in the order the host may ask.
struct Reading {
  std::string text;
  bool triggerChar = false;
  bool triggerText = false;
  bool hasLength = false;
  double length = 0.0;
  bool hasAngle = false;
  double angle = 0.0;
  bool hasNumber = false;
  double number = 0.0;
  bool isArray = false;
  int arrayCount = 0;
  bool arrayDivision = false;
  bool hasRowsColumns = false;
  unsigned rows = 0;
  unsigned columns = 0;
  CVCBParser::EPointEntryMode mode = CVCBParser::kNoPoint;
  bool hasPoint = false;
  Point2<float> point;
};

Reading Read(const Options& options) {
  const velmar_ustring text(options.text);
  const CVCBParser parser(text, options.lengthInfo, options.scale);
  Reading r;
  r.text = options.text;
  r.triggerChar = !text.empty() && CVCBParser::IsVCBTrigger(static_cast<wchar_t>(text[0]));
  r.triggerText = CVCBParser::IsVCBTrigger(text);
  r.hasLength = parser.GetLength(r.length);
  r.hasAngle = parser.GetAngle(r.angle);
  r.hasNumber = parser.GetUnitlessValue(r.number);
  r.isArray = parser.GetArrayOperation(&r.arrayCount, &r.arrayDivision);
  r.hasRowsColumns = parser.GetRowsOrColumns(r.rows, r.columns);
  r.mode = parser.GetPointEntryMode();
  r.hasPoint = parser.GetCPoint2f(options.width, options.height, options.reference, r.point);
  return r;
}

const char* Bool(bool value) { return value ? "true" : "false"; }

void PrintPlain(const Reading& r, std::ostream& out) {
  out << "text=" << r.text << "\n";
  out << "trigger_char=" << Bool(r.triggerChar) << "\n";
  out << "trigger_text=" << Bool(r.triggerText) << "\n";
  out << "length=" << (r.hasLength ? Number(r.length, 15) : "none") << "\n";
  out << "angle=" << (r.hasAngle ? Number(r.angle, 15) : "none") << "\n";
  out << "unitless=" << (r.hasNumber ? Number(r.number, 15) : "none") << "\n";
  if (r.isArray) {
    out << "array=" << (r.arrayDivision ? "divisions" : "copies") << "\n";
    out << "array_count=" << r.arrayCount << "\n";
  } else {
    out << "array=none\n";
  }
  out << "rows_columns=" << Bool(r.hasRowsColumns) << "\n";
  out << "rows=" << r.rows << "\n";
  out << "columns=" << r.columns << "\n";
  out << "point_mode=" << ModeName(r.mode) << "\n";
  out << "point="
      << (r.hasPoint ? Number(r.point.x, 9) + "," + Number(r.point.y, 9) : std::string("none"))
      << "\n";
}

std::string OptionalJson(bool present, double value) {
  return present ? JsonNumber(value, 15) : "null";
}

void PrintJson(const Reading& r, std::ostream& out) {
  out << "{\"text\":" << JsonQuote(r.text) << ",\"trigger_char\":" << Bool(r.triggerChar)
      << ",\"trigger_text\":" << Bool(r.triggerText)
      << ",\"length\":" << OptionalJson(r.hasLength, r.length)
      << ",\"angle\":" << OptionalJson(r.hasAngle, r.angle)
      << ",\"unitless\":" << OptionalJson(r.hasNumber, r.number) << ",\"array\":";
  if (r.isArray) {
    out << "{\"count\":" << r.arrayCount << ",\"division\":" << Bool(r.arrayDivision) << "}";
  } else {
    out << "null";
  }
  out << ",\"rows_columns\":" << Bool(r.hasRowsColumns) << ",\"rows\":" << r.rows
      << ",\"columns\":" << r.columns << ",\"point_mode\":\"" << ModeName(r.mode)
      << "\",\"point\":";
  if (r.hasPoint) {
    out << "{\"x\":" << JsonNumber(r.point.x, 9) << ",\"y\":" << JsonNumber(r.point.y, 9) << "}";
  } else {
    out << "null";
  }
  out << "}\n";
}

int RunVcb(Invocation& call) {
  const Reading reading = Read(ParseOptions(call.args, true));
  if (call.json) {
    PrintJson(reading, call.out);
  } else {
    PrintPlain(reading, call.out);
  }
  return 0;
}

// A session at the measurement box: each text is one small edit away from
// the one before, through every kind of entry.
int RunVcbDemo(Invocation& call) {
  Options options = ParseOptions(call.args, false);
  const std::string point(1, static_cast<char>(CNumericFormatter::GetDecimalPointChar()));
  const std::string separator(1, static_cast<char>(CNumericFormatter::GetSeparatorChar()));
  const std::vector<std::string> texts = {"5",
                                          "5" + point + "5",
                                          "5'6",
                                          "5'6 1/2\"",
                                          "2" + point + "5mm",
                                          "30\xC2\xB0",
                                          "25%",
                                          "5x",
                                          "x5",
                                          "*5",
                                          "5/",
                                          "/5",
                                          "4x3",
                                          "4 x 3",
                                          "3r",
                                          "2r3c",
                                          "4c",
                                          "3",
                                          "3" + separator,
                                          "3" + separator + "4",
                                          "<3" + separator + "4>",
                                          "[3" + separator + "4]",
                                          "[w3" + separator + "h4]",
                                          "^90" + separator + "10",
                                          "^45" + separator + "10",
                                          "abc",
                                          "   "};
  for (const std::string& text : texts) {
    options.text = text;
    const Reading reading = Read(options);
    if (call.json) {
      PrintJson(reading, call.out);
    } else {
      PrintPlain(reading, call.out);
      call.out << "\n";
    }
  }
  return 0;
}

}  // namespace

void RegisterVcbCommands(CommandTable& table) {
  table.Add({"vcb", kSynopsis,
             "what the measurement box reads from TEXT: trigger, length (inches), angle, "
             "plain number, array operation, rows and columns, point",
             RunVcb});
  table.Add({"vcb-demo",
             "[--format F] [--units U] [--precision N] [--scale S] [--ref X,Y] [--width W] "
             "[--height H]",
             "the vcb readings of a typed session of lengths, angles, arrays, rows and columns "
             "and points",
             RunVcbDemo});
}

}  // namespace folian::tool
