// A command of the folianutils tool. Each command is one class in a file of
// its family: it declares its arguments on a CLI11 subcommand, bound to its
// own settings, and answers from them. A new command is a new class and one
// RegisterCommand line beside it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tool/answers.h"

namespace CLI {
class App;
}

namespace folian::tool {

// Exit statuses.
inline constexpr int kAnswered = 0;
inline constexpr int kNothingFound = 1;  // also: could not be done (message on stderr)
inline constexpr int kUsage = 2;

// A usage error found once the arguments are read (a combination the
// options cannot express); reported like a parse error.
struct UsageError {
  std::string message;
};

// A file named on the command line cannot be read: "NAME: the system's
// reason", status 2.
struct FileError {
  std::string message;
};

class Command {
 public:
  virtual ~Command() = default;
  // Declares the arguments on `app`, bound to this object's settings.
  virtual void Define(CLI::App& app) = 0;
  // Back to the defaults; called before each command line is read.
  virtual void Reset() = 0;
  // Answers into `record`; returns the exit status.
  virtual int Run(Record& record) = 0;
};

// Settings kept in a struct whose default state is "nothing given".
template <typename Settings>
class CommandWith : public Command {
 public:
  void Reset() override { s = Settings{}; }

 protected:
  Settings s;
};

// Headings of --help.
inline constexpr const char* kMeasurements = "Measurements";
inline constexpr const char* kMeasurementBox = "Measurement box";
inline constexpr const char* kEnvironment = "Environment";
inline constexpr const char* kPreferences = "Preferences";
inline constexpr const char* kToolGroup = "Tool";

struct CommandInfo {
  const char* name;
  const char* group;
  const char* summary;
  std::unique_ptr<Command> (*make)();  // null for the tool's own commands
};

template <typename T>
std::unique_ptr<Command> Make() {
  return std::make_unique<T>();
}

// Adds a command to the tool; each command file calls it from a static
// initialiser. Returns true so it can initialise a constant.
bool RegisterCommand(const CommandInfo& info);
const std::vector<CommandInfo>& RegisteredCommands();

}  // namespace folian::tool
