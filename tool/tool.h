// The folianutils command line: every registered command as a CLI11
// subcommand, the options every command takes (--json, --help), and the
// tool's version.
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
  enum Kind { kAnswer, kHelp, kUsageError, kFailure };
  Kind kind = kAnswer;
  int status = kAnswered;
  std::string message;  // for a usage error or a failure
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

  // Runs one command line, without the program name. The answer or the
  // help goes to `answers`; a usage error or failure comes back in the
  // outcome.
  Outcome Execute(std::vector<std::string> args, Answers& answers);

  // Runs a command whose arguments are already in place.
  Outcome Run(Entry& entry, Answers& answers);

  // The command called `name`, or nullptr.
  Entry* Find(const std::string& name);
  // The --json option of the whole tool.
  const CLI::Option* json_option() const { return m_jsonOption; }

 private:
  CLI::App m_app;
  bool m_json = false;
  CLI::Option* m_jsonOption = nullptr;
  std::vector<Entry> m_entries;
};

// "folianutils 26.0.0" and the build, as --version prints them.
std::string VersionText();

// Adds the batch command, which runs the other commands of `tool`.
std::unique_ptr<Command> MakeBatchCommand(Tool& tool, Output& output);

}  // namespace folian::tool
