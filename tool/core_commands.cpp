// version, number: the library's version and its reading of numbers.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"
#include "tool/options.h"

namespace folian::tool {
namespace {

class VersionCommand : public CommandWith<int> {
 public:
  void Define(CLI::App&) override {}
  int Run(Record& record) override {
    record.fields().Integer("version", velmar::kCurrentMajorVersion).Label("FolianUtils ");
    return kAnswered;
  }
};

struct TextSettings {
  std::string text;
};

class NumberCommand : public CommandWith<TextSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "TEXT", s.text, "the text to read")->required();
  }
  int Run(Record& record) override {
    double value = 0.0;
    const velmar::utils::velmar_ustring text(s.text);
    const bool ok = velmar::utils::StringToDouble(text.c_str(), value);
    record.fields().Text("text", s.text).Hidden();
    record.fields().Number("value", ok ? std::optional<double>(value) : std::nullopt);
    return ok ? kAnswered : kNothingFound;
  }
};

[[maybe_unused]] const bool kRegistered =
    RegisterCommand(
        {"version", kToolGroup, "print the library's major version", Make<VersionCommand>}) &&
    RegisterCommand({"number", kMeasurements,
                     "read a number with the user's decimal separator (\"none\" and status 1 if "
                     "there is none)",
                     Make<NumberCommand>});

}  // namespace
}  // namespace folian::tool
