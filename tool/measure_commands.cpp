// Measurement commands: lengths, areas, angles and scales written and read
// the way the library does for Folian, and a demo of all of them.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"
#include "tool/options.h"

namespace folian::tool {
namespace {

using velmar::units::AngleInfo;
using velmar::units::LengthInfo;
using velmar::utils::AngleFormatter;
using velmar::utils::CLengthFormatter;
using velmar::utils::velmar_ustring;
namespace ScaleFormatter = velmar::utils::ScaleFormatter;

void PrintText(Record& record, const char* inputName, double input, const velmar_ustring& text) {
  record.fields().Number(inputName, input).Hidden();
  record.fields().Text("text", text.ToUTF8());
}

// ---- writing ----------------------------------------------------------------

struct LengthSettings {
  double value = 0.0;
  LengthOptions length;
  bool suppressUnits = false;
  bool space = false;
  bool forceFraction = false;
  bool noApproximation = false;
  bool adaptive = false;
};

// format-length and format-area: decimal inches with two decimals unless
// the options say otherwise.
class FormatLengthCommand : public CommandWith<LengthSettings> {
 public:
  explicit FormatLengthCommand(bool area) : m_area(area) {}

  void Define(CLI::App& app) override {
    AddNumber(app, m_area ? "SQUARE_INCHES" : "INCHES", s.value,
              m_area ? "the area in square inches" : "the length in inches")
        ->required();
    s.length.Add(app, "display units");
    app.add_flag("--suppress-units", s.suppressUnits, "leave out the unit marks");
    app.add_flag("--space", s.space, "a space between the number and its unit");
    app.add_flag("--force-fraction", s.forceFraction, "fractions also where a whole unit fits");
    app.add_flag("--no-approx", s.noApproximation, "no \"~\" before a rounded value");
    app.add_flag("--adaptive", s.adaptive, "precision adapted to the value");
  }

  int Run(Record& record) override {
    LengthInfo info;
    s.length.ApplyTo(info);
    info.SetSuppressUnits(s.suppressUnits);
    info.SetSpaceSeparator(s.space);
    info.SetForceFraction(s.forceFraction);
    info.SetSuppressApproximation(s.noApproximation);
    CLengthFormatter formatter(info);
    formatter.SetUseAdaptivePrecision(s.adaptive);
    PrintText(record, m_area ? "square_inches" : "inches", s.value,
              m_area ? formatter.FormatArea(s.value) : formatter.Format(s.value));
    return kAnswered;
  }

 private:
  bool m_area;
};

struct AngleSettings {
  double radians = 0.0;
  std::optional<UnitsInfo::Units> units;
  std::optional<int> precision;
  bool suppressUnits = false;
  bool noApproximation = false;
  bool vcb = false;
};

class FormatAngleCommand : public CommandWith<AngleSettings> {
 public:
  void Define(CLI::App& app) override {
    AddNumber(app, "RADIANS", s.radians, "the angle in radians")->required();
    AddAngleUnitsOption(app, s.units);
    AddPrecisionOption(app, s.precision);
    app.add_flag("--suppress-units", s.suppressUnits, "leave out the unit mark");
    app.add_flag("--no-approx", s.noApproximation, "no \"~\" before a rounded value");
    app.add_flag("--vcb", s.vcb, "as the measurement box shows it (degrees; other options unused)");
  }

  int Run(Record& record) override {
    if (s.vcb) {
      PrintText(record, "radians", s.radians, AngleFormatter::FormatAngleForVCB(s.radians));
      return kAnswered;
    }
    AngleInfo info;
    if (s.units) info.SetUnits(*s.units, false);
    if (s.precision) info.SetPrecision(*s.precision, false);
    info.SetSuppressUnits(s.suppressUnits);
    info.SetSuppressApproximation(s.noApproximation);
    PrintText(record, "radians", s.radians, AngleFormatter(info).Format(s.radians));
    return kAnswered;
  }
};

struct ScaleSettings {
  double scale = 0.0;
  std::optional<double> second;
};

class FormatScaleCommand : public CommandWith<ScaleSettings> {
 public:
  void Define(CLI::App& app) override {
    AddNumber(app, "SCALE", s.scale, "the scale (0.02 is 1:50), or A of the pair A B")->required();
    AddNumber(app, "B", s.second, "with B: the measurement box's pair of numbers A B");
  }

  int Run(Record& record) override {
    if (!s.second) {
      PrintText(record, "scale", s.scale, ScaleFormatter::Format(s.scale));
      return kAnswered;
    }
    record.fields().Number("a", s.scale).Hidden();
    record.fields().Number("b", *s.second).Hidden();
    record.fields().Text("text", CLengthFormatter::FormatScaleForVCB(s.scale, *s.second).ToUTF8());
    return kAnswered;
  }
};

// ---- reading ----------------------------------------------------------------

// One value read from a text, or null (status 1).
int PrintReading(Record& record, const std::string& text, const char* valueName, bool ok,
                 double value) {
  record.fields().Text("text", text).Hidden();
  record.fields().Number(valueName, ok ? std::optional<double>(value) : std::nullopt);
  return ok ? kAnswered : kNothingFound;
}

struct ReadSettings {
  std::string text;
  std::optional<UnitsInfo::Units> units;
  int maxCount = 16;
};

class ParseLengthCommand : public CommandWith<ReadSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed length")->required();
    AddLengthUnitsOption(app, s.units, "units of a bare number");
  }
  int Run(Record& record) override {
    double inches = 0.0;
    const bool ok = CLengthFormatter::Parse(velmar_ustring(s.text), inches,
                                            s.units.value_or(UnitsInfo::kInches));
    return PrintReading(record, s.text, "inches", ok, inches);
  }
};

class ParseLengthsCommand : public CommandWith<ReadSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed list of lengths")->required();
    AddLengthUnitsOption(app, s.units, "units of a bare number");
    app.add_option_function<std::string>(
           "--count",
           [this](const std::string& text) {
             s.maxCount = ReadWholeNumber("--count", text, 0, 100000);
           },
           "read at most N lengths, 0 to 100000 (16 by default)")
        ->type_name("N");
  }
  int Run(Record& record) override {
    std::vector<double> values(static_cast<std::size_t>(s.maxCount));
    const int read = CLengthFormatter::Parse(velmar_ustring(s.text), s.maxCount, values.data(),
                                             s.units.value_or(UnitsInfo::kInches));
    values.resize(static_cast<std::size_t>(std::max(read, 0)));
    record.fields().Text("text", s.text).Hidden();
    record.fields().Integer("count", static_cast<long long>(values.size())).Hidden();
    Value& list = record.fields().List("inches");
    for (const double value : values) list.Number(nullptr, value);
    return values.empty() ? kNothingFound : kAnswered;
  }
};

class ParseAngleCommand : public CommandWith<ReadSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed angle")->required();
  }
  int Run(Record& record) override {
    double value = 0.0;
    const bool ok = AngleFormatter::Parse(velmar_ustring(s.text), value);
    return PrintReading(record, s.text, "value", ok, value);
  }
};

class ParseScaleCommand : public CommandWith<ReadSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed scale")->required();
  }
  int Run(Record& record) override {
    const double scale = ScaleFormatter::Parse(velmar_ustring(s.text));
    return PrintReading(record, s.text, "scale", scale != 0.0, scale);
  }
};

class LengthUnitsCommand : public CommandWith<ReadSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed list of lengths")->required();
  }
  int Run(Record& record) override {
    UnitsInfo::Units units = UnitsInfo::kNone;
    const bool found = CLengthFormatter::GetLengthUnitFromRawString(velmar_ustring(s.text), &units);
    record.fields().Text("text", s.text).Hidden();
    if (found) {
      record.fields().Text("units", LengthUnitsName(units));
    } else {
      record.fields().Null("units");
    }
    return found ? kAnswered : kNothingFound;
  }
};

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
        what += std::string(" ") + LengthUnitsName(setting.units);
      }
      what += " p" + std::to_string(precision);
      lines.push_back({what, ShortestText(kSample) + " in", formatter.Format(kSample).ToUTF8()});
    }
  }
  {
    LengthInfo info;
    info.SetFormat(UnitsInfo::kArchitectural, false);
    info.SetPrecision(4, false);
    lines.push_back(
        {"area architectural", "4000 sq in", CLengthFormatter(info).FormatArea(4000.0).ToUTF8()});
  }
  constexpr double kAngle = 0.6;
  for (const UnitsInfo::Units units :
       {UnitsInfo::kRadians, UnitsInfo::kDegrees, UnitsInfo::kGradians}) {
    AngleInfo info;
    info.SetUnits(units, false);
    info.SetPrecision(2, false);
    lines.push_back({std::string("angle ") + AngleUnitsName(units) + " p2",
                     ShortestText(kAngle) + " rad", AngleFormatter(info).Format(kAngle).ToUTF8()});
  }
  lines.push_back({"angle measurement box", ShortestText(kAngle) + " rad",
                   AngleFormatter::FormatAngleForVCB(kAngle).ToUTF8()});
  for (const double scale : {0.02, 0.3, 2.5}) {
    lines.push_back({"scale", ShortestText(scale), ScaleFormatter::Format(scale).ToUTF8()});
  }

  for (const char* typed :
       {"5'6\"", "5'-6 1/2\"", "-5 1/2", "3/4", "~ 3.5 mm", "2.5 m", "10 PT", "1/0", "'6"}) {
    double inches = 0.0;
    const bool ok = CLengthFormatter::Parse(velmar_ustring(typed), inches, UnitsInfo::kInches);
    lines.push_back({"typed length", typed, ok ? ShortestText(inches) + " in" : "invalid"});
  }
  for (const char* typed : {"30°", "~ 12.5°", "25%", "abc"}) {
    double value = 0.0;
    const bool ok = AngleFormatter::Parse(velmar_ustring(typed), value);
    lines.push_back({"typed angle", typed, ok ? ShortestText(value) : "invalid"});
  }
  for (const char* typed : {"1:50", "50%", "1\"=4'", "1cm:1m", "1yd:1'", "1:0", "1cm:50"}) {
    const double scale = ScaleFormatter::Parse(velmar_ustring(typed));
    lines.push_back({"typed scale", typed, scale != 0.0 ? ShortestText(scale) : "invalid"});
  }
  return lines;
}

class DemoCommand : public CommandWith<int> {
 public:
  void Define(CLI::App&) override {}
  int Run(Record& record) override {
    Value& table = record.fields().List("demo", "\n").Aligned();
    for (const DemoLine& line : DemoLines()) {
      Value& row = table.Object(nullptr);
      row.Text("what", line.what);
      row.Text("input", line.input);
      row.Text("output", line.output);
    }
    return kAnswered;
  }
};

std::unique_ptr<Command> MakeFormatLength() { return std::make_unique<FormatLengthCommand>(false); }
std::unique_ptr<Command> MakeFormatArea() { return std::make_unique<FormatLengthCommand>(true); }

[[maybe_unused]] const bool kRegistered =
    RegisterCommand({"format-length", kMeasurements,
                     "write a length given in inches (decimal inches, precision 2 by default)",
                     MakeFormatLength}) &&
    RegisterCommand(
        {"format-area", kMeasurements, "write an area given in square inches", MakeFormatArea}) &&
    RegisterCommand({"format-angle", kMeasurements,
                     "write an angle given in radians (radians, precision 4 by default; --vcb: "
                     "the measurement box's degrees)",
                     Make<FormatAngleCommand>}) &&
    RegisterCommand({"format-scale", kMeasurements,
                     "write a drawing scale as a ratio (0.02 is 1:50); with two numbers, the "
                     "measurement box's pair",
                     Make<FormatScaleCommand>}) &&
    RegisterCommand({"parse-length", kMeasurements,
                     "read a typed length into inches (\"none\" and status 1 if invalid)",
                     Make<ParseLengthCommand>}) &&
    RegisterCommand({"parse-lengths", kMeasurements,
                     "read a list of lengths separated by the list separator (\"none\" and "
                     "status 1 if none)",
                     Make<ParseLengthsCommand>}) &&
    RegisterCommand({"parse-angle", kMeasurements,
                     "read a typed angle as the number typed, in its own unit (\"25%\" is 90 "
                     "degrees; \"none\" and status 1 if invalid)",
                     Make<ParseAngleCommand>}) &&
    RegisterCommand({"parse-scale", kMeasurements,
                     "read a typed scale (\"1:50\", \"1/4\", \"50%\", \"1\\\"=4'\"); \"none\" "
                     "and status 1 if it is no scale",
                     Make<ParseScaleCommand>}) &&
    RegisterCommand({"length-units", kMeasurements,
                     "which units the values of a list name: in, ft, mm, cm, m, pt, mixed or "
                     "none (status 1)",
                     Make<LengthUnitsCommand>}) &&
    RegisterCommand({"demo", kMeasurements,
                     "a sample length in every format and precision, and typed texts read back",
                     Make<DemoCommand>});

}  // namespace
}  // namespace folian::tool
