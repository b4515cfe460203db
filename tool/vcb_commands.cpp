// vcb, vcb-demo: what the measurement box reads from a typed text.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"
#include "tool/options.h"

namespace folian::tool {
namespace {

using velmar::geometry::Point2;
using velmar::units::LengthInfo;
using velmar::utils::CNumericFormatter;
using velmar::utils::CVCBParser;
using velmar::utils::velmar_ustring;

struct BoxSettings {
  std::string text;
  LengthOptions length;
  std::optional<double> scale;
  Point2<float> reference;
  float width = 0.0f;
  float height = 0.0f;
};

// The length settings and view options both commands take.
void DefineBoxOptions(CLI::App& app, BoxSettings& s) {
  s.length.Add(app, "display units");
  AddScaleOption(app, s.scale);
  app.add_option_function<std::string>(
         "--ref",
         [&s](const std::string& value) {
           const auto comma = value.find(',');
           if (comma == std::string::npos) {
             throw CLI::ValidationError("--ref", "'" + value + "' is not X,Y");
           }
           s.reference.x = static_cast<float>(ReadNumber("--ref", value.substr(0, comma)));
           s.reference.y = static_cast<float>(ReadNumber("--ref", value.substr(comma + 1)));
         },
         "the reference point of a relative or polar point (0,0 by default)")
      ->type_name("X,Y");
  app.add_option_function<std::string>(
         "--width",
         [&s](const std::string& value) {
           s.width = static_cast<float>(ReadNumber("--width", value));
         },
         "width of the shape being drawn (0 by default)")
      ->type_name("W");
  app.add_option_function<std::string>(
         "--height",
         [&s](const std::string& value) {
           s.height = static_cast<float>(ReadNumber("--height", value));
         },
         "height of the shape being drawn (0 by default)")
      ->type_name("H");
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

Reading Read(const BoxSettings& s, const std::string& typed) {
  LengthInfo info;
  s.length.ApplyTo(info);
  const velmar_ustring text(typed);
  const CVCBParser parser(text, info, s.scale.value_or(1.0));
  Reading r;
  r.text = typed;
  r.triggerChar = !text.empty() && CVCBParser::IsVCBTrigger(static_cast<wchar_t>(text[0]));
  r.triggerText = CVCBParser::IsVCBTrigger(text);
  r.hasLength = parser.GetLength(r.length);
  r.hasAngle = parser.GetAngle(r.angle);
  r.hasNumber = parser.GetUnitlessValue(r.number);
  r.isArray = parser.GetArrayOperation(&r.arrayCount, &r.arrayDivision);
  r.hasRowsColumns = parser.GetRowsOrColumns(r.rows, r.columns);
  r.mode = parser.GetPointEntryMode();
  r.hasPoint = parser.GetCPoint2f(s.width, s.height, s.reference, r.point);
  return r;
}

// Every reading as "name=value" lines in plain text.
void WriteReading(const Reading& r, Value& fields) {
  const auto optional = [](bool present, double value) {
    return present ? std::optional<double>(value) : std::nullopt;
  };
  fields.Text("text", r.text).Label("text=");
  fields.Bool("trigger_char", r.triggerChar).Label("trigger_char=");
  fields.Bool("trigger_text", r.triggerText).Label("trigger_text=");
  fields.Number("length", optional(r.hasLength, r.length)).Label("length=");
  fields.Number("angle", optional(r.hasAngle, r.angle)).Label("angle=");
  fields.Number("unitless", optional(r.hasNumber, r.number)).Label("unitless=");
  if (r.isArray) {
    Value& array = fields.Object("array").Label("array=");
    array.Integer("count", r.arrayCount);
    array.Bool("division", r.arrayDivision).Plain(r.arrayDivision ? "divisions" : "copies");
  } else {
    fields.Null("array").Label("array=");
  }
  fields.Bool("rows_columns", r.hasRowsColumns).Label("rows_columns=");
  fields.Integer("rows", r.rows).Label("rows=");
  fields.Integer("columns", r.columns).Label("columns=");
  fields.Text("point_mode", ModeName(r.mode)).Label("point_mode=");
  if (r.hasPoint) {
    Value& point = fields.Object("point", ",").Label("point=");
    point.Float("x", r.point.x);
    point.Float("y", r.point.y);
  } else {
    fields.Null("point").Label("point=");
  }
}

class VcbCommand : public CommandWith<BoxSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed text")->required();
    DefineBoxOptions(app, s);
  }
  int Run(Record& record) override {
    WriteReading(Read(s, s.text), record.fields());
    return kAnswered;
  }
};

// A session at the measurement box: each text is one small edit away from
// the one before, through every kind of entry.
class VcbDemoCommand : public CommandWith<BoxSettings> {
 public:
  void Define(CLI::App& app) override { DefineBoxOptions(app, s); }
  int Run(Record& record) override {
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
    Value& readings = record.fields().List("readings", "\n\n");
    for (const std::string& text : texts)
      WriteReading(Read(s, text), readings.Object(nullptr, "\n"));
    return kAnswered;
  }
};

[[maybe_unused]] const bool kRegistered =
    RegisterCommand({"vcb", kMeasurementBox,
                     "what the measurement box reads from TEXT: trigger, length (inches), angle, "
                     "plain number, array operation, rows and columns, point",
                     Make<VcbCommand>}) &&
    RegisterCommand({"vcb-demo", kMeasurementBox,
                     "the vcb readings of a typed session of lengths, angles, arrays, rows and "
                     "columns and points",
                     Make<VcbDemoCommand>});

}  // namespace
}  // namespace folian::tool
