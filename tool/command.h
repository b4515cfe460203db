// The command table of the folianutils tool.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace folian::tool {

// Thrown for a usage error; main prints it and exits with status 2.
struct UsageError {
  std::string message;
};

struct Invocation {
  std::vector<std::string> args;  // the command's own arguments
  bool json = false;              // --json given
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  std::string name;
  std::string synopsis;  // arguments, as shown by --help
  std::string summary;   // one line
  // Returns the exit status; throws UsageError for bad arguments.
  std::function<int(Invocation&)> run;
};

class CommandTable {
 public:
  void Add(Command command) { m_commands.push_back(std::move(command)); }
  const Command* Find(const std::string& name) const;
  const std::vector<Command>& commands() const { return m_commands; }

 private:
  std::vector<Command> m_commands;
};

// Each family of commands registers itself here.
void RegisterCoreCommands(CommandTable& table);
void RegisterVcbCommands(CommandTable& table);
void RegisterHelpCommands(CommandTable& table);
void RegisterEnvironmentCommands(CommandTable& table);
void RegisterPreferencesCommands(CommandTable& table);
void RegisterMeasureCommands(CommandTable& table);
// Runs the commands of `table` from stdin; register it with the final table.
void RegisterBatchCommands(CommandTable& table);

// Quotes `text` for JSON output.
std::string JsonQuote(const std::string& text);

}  // namespace folian::tool
