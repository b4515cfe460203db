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
  LengthOptions length;
  bool ratio = false;
};

class EvalLengthCommand : public CommandWith<EvalSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the typed arithmetic, such as \"(5'-6 1/2\\\" + 3 1/2\\\") * 2\"")
        ->required();
    s.length.Add(app, "units of a bare number and of the written result");
    app.add_flag("--ratio", s.ratio, "the result is a number: a length divided by a length");
  }

  int Run(Record& record) override {
    LengthInfo info;
    s.length.ApplyTo(info);
    const velmar_ustring text(s.text);
    double value = 0.0;
    LengthExpressionStatus status;
    const bool ok = s.ratio ? velmar::units::EvaluateLengthRatio(text, info, value, &status)
                            : velmar::units::EvaluateLength(text, info, value, &status);
    Value& fields = record.fields();
    fields.Text("text", s.text).Hidden();
    fields.Number(s.ratio ? "ratio" : "inches", ok ? std::optional<double>(value) : std::nullopt);
    if (!s.ratio) {
      if (ok) {
        fields.Text("formatted", CLengthFormatter(info).Format(value).ToUTF8()).Hidden();
      } else {
        fields.Null("formatted").Hidden();
      }
    }
    if (ok) return kAnswered;
    record.NoAnswer(velmar::units::DescribeLengthExpressionError(status.error),
                    static_cast<long long>(status.position));
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
