// eval-length: arithmetic over typed lengths, as a host that opts in to the
// length evaluator reads them.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"
#include "tool/options.h"

namespace folian::tool {
namespace {

using velmar::units::LengthExpressionStatus;
using velmar::units::LengthInfo;
using velmar::utils::CLengthFormatter;
using velmar::utils::velmar_ustring;

struct EvalSettings {
  std::string text;
  std::optional<UnitsInfo::Format> format;
  std::optional<UnitsInfo::Units> units;
  std::optional<int> precision;
  bool ratio = false;
};

class EvalLengthCommand : public CommandWith<EvalSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed arithmetic, such as \"(5'-6 1/2\\\" + 3 1/2\\\") * 2\"")
        ->required();
    AddFormatOption(app, s.format);
    AddLengthUnitsOption(app, s.units, "units of a bare number and of the written result");
    AddPrecisionOption(app, s.precision);
    app.add_flag("--ratio", s.ratio, "the result is a number: a length divided by a length");
  }

  int Run(Answers& answers) override {
    LengthInfo info;
    if (s.format) info.SetFormat(*s.format, false);
    if (s.units) info.SetUnits(*s.units, false);
    if (s.precision) info.SetPrecision(*s.precision, false);
    const velmar_ustring text(s.text);
    double value = 0.0;
    LengthExpressionStatus status;
    const bool ok = s.ratio ? velmar::units::EvaluateLengthRatio(text, info, value, &status)
                            : velmar::units::EvaluateLength(text, info, value, &status);
    const char* valueName = s.ratio ? "ratio" : "inches";
    if (answers.json()) {
      JsonLine line(answers);
      line.Text("text", s.text).Bool("ok", ok);
      if (ok) {
        line.Number(valueName, value);
        if (!s.ratio) line.Text("formatted", CLengthFormatter(info).Format(value).ToUTF8());
      } else {
        line.Text("error", velmar::units::DescribeLengthExpressionError(status.error))
            .Integer("position", static_cast<long long>(status.position));
      }
      return ok ? kAnswered : kNothingFound;
    }
    if (ok) {
      answers.Line(ShortestText(value));
      return kAnswered;
    }
    answers.Line("none");
    answers.Fail(std::string(velmar::units::DescribeLengthExpressionError(status.error)) + " at " +
                 std::to_string(status.position));
    return kNothingFound;
  }
};

[[maybe_unused]] const bool kRegistered = RegisterCommand(
    {"eval-length", kMeasurements,
     "evaluate arithmetic over typed lengths (+ - * / and parentheses) into inches; \"none\", "
     "the reason and status 1 if it cannot",
     Make<EvalLengthCommand>});

}  // namespace
}  // namespace folian::tool
