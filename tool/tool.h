// The folianutils command line: every registered command as a CLI11
// subcommand, the options every command takes (--json, --help), the tool's
// version, and the tool's own commands (batch, help, completion).
#pragma once

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "tool/answers.h"
#include "tool/command.h"
#include "tool/output.h"

namespace folian::tool {

struct Outcome {
  // kAnswer: the record holds the answer (or why there is none); kHelp:
  // `help` holds text to print, and the record the same as JSON;
  // kUsageError and kFileError: the record holds the reason.
  enum Kind { kAnswer, kHelp, kUsageError, kFileError };
  Kind kind = kAnswer;
  int status = kAnswered;
  bool json = false;    // the answer is JSON (AnswersInJson)
  std::string help;     // for kHelp
  std::string command;  // the command named, if any, for the --help hint
};

class Tool {
 public:
  struct Entry {
    CommandInfo info;
    std::unique_ptr<Command> command;
    CLI::App* app = nullptr;
  };

  explicit Tool(Output& output);

  // Runs one command line, without the program name.
  Outcome Execute(std::vector<std::string> args, Record& record);

  // Runs a command whose arguments are already in place.
  Outcome Run(Entry& entry, Record& record);

  // The command called `name`, or nullptr.
  Entry* Find(const std::string& name);
  const std::vector<Entry>& entries() const { return m_entries; }
  // The line being run asked for JSON.
  bool json() const { return m_json; }

  // The tool's help, or a command's.
  std::string Help(const std::string& command);
  // A bash completion script made from the commands' own options.
  std::string Completion() const;

 private:
  // A usage error CLI11 would word less helpfully: an unknown name (with
  // the nearest known one) or --version beside a command. Empty if none.
  std::string Check(const std::vector<std::string>& args) const;
  // The help asked for with --help: `help` as text, or as the help
  // command's answer.
  Outcome HelpOutcome(std::string help, Record& record);
  // The usage error of --version (`flag`) given with a command.
  static std::string VersionBeside(const std::string& flag, const Entry& entry);

  CLI::App m_app;
  bool m_json = false;
  std::vector<Entry> m_entries;
};

// Whether the answer to `args` (a command line without the program's name,
// or a batch request) is JSON: kJsonOption among its words before any "--".
// Read from the words alone, so that an answer given before the parse, or a
// usage error, takes the form asked for as well.
bool AnswersInJson(const std::vector<std::string>& args);
inline constexpr const char* kJsonOption = "--json";

// An option of the tool itself. Every command takes them too, but
// --version, which stands alone.
struct ToolOption {
  enum Kind { kHelp, kVersion, kJson };
  Kind kind;
  const char* name;       // "--help"
  const char* shortName;  // "-h", or null
  const char* help;
};
// The tool's options, in the order its help lists them: the parser, the
// check before it and completion read them here.
const std::vector<ToolOption>& ToolOptions();
// Their names, long and short; with `commands`, only of those every command
// takes.
std::vector<std::string> ToolOptionNames(bool commands);

// `text` without its final line breaks: an answer field's form of a text.
std::string WithoutFinalBreak(std::string text);

// "folianutils 26.0.0" and the build, as --version prints them.
std::string VersionText();

// The tool's own commands, which need the tool.
std::unique_ptr<Command> MakeBatchCommand(Tool& tool, Output& output);
// prefs-watch, which writes an answer per change as it comes.
std::unique_ptr<Command> MakeWatchCommand(Tool& tool, Output& output);
std::unique_ptr<Command> MakeHelpCommand(Tool& tool);
std::unique_ptr<Command> MakeCompletionCommand(Tool& tool);

}  // namespace folian::tool
