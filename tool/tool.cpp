#include "tool/tool.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <utility>

#include "FolianUtils/constants.h"
#include "tool/nearest_name.h"
#include "tool/options.h"

namespace folian::tool {
namespace {

// Help lines are broken to fit a terminal of this many columns.
constexpr std::size_t kHelpColumns = 80;

// The byte of `line` at which column `column` starts.
std::size_t ByteOfColumn(std::string_view line, std::size_t column) {
  std::size_t byte = 0;
  for (std::size_t seen = 0; byte < line.size(); ++byte) {
    if ((static_cast<unsigned char>(line[byte]) & 0xC0) != 0x80 && seen++ == column) break;
  }
  return byte;
}

// `line` broken at blanks into lines of kHelpColumns at most, each
// continuation under the text it continues: an option's or command's
// description (after the first run of two blanks), or the line's indent.
// A word longer than a line stays whole.
void AppendWrapped(std::string_view line, std::string& out) {
  std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
  const std::size_t gap = line.find("  ", indent);
  if (gap != std::string_view::npos && line.find_first_not_of(' ', gap) < kHelpColumns / 2) {
    indent = line.find_first_not_of(' ', gap);
  }
  std::size_t lead = 0;  // blanks before this piece
  while (lead + Columns(line) > kHelpColumns) {
    const std::size_t cut = line.rfind(' ', ByteOfColumn(line, kHelpColumns - lead));
    if (cut == std::string_view::npos || cut + lead <= indent) break;
    out.append(lead, ' ');
    out.append(line.substr(0, line.find_last_not_of(' ', cut) + 1));
    out.push_back('\n');
    line.remove_prefix(std::min(line.find_first_not_of(' ', cut), line.size()));
    lead = indent;
  }
  out.append(lead, ' ');
  out.append(line);
}

// The commands listed under one heading, "Commands:", each group's name
// indented beneath it: help2man makes a man page section of every heading.
// Every line fits kHelpColumns.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override {
    const std::string help = CLI::Formatter::make_help(app, std::move(name), mode);
    std::string out;
    for (std::size_t start = 0; start < help.size();) {
      const std::size_t end = std::min(help.find('\n', start), help.size());
      AppendWrapped(std::string_view(help).substr(start, end - start), out);
      if (end < help.size()) out.push_back('\n');
      start = end + 1;
    }
    return out;
  }
  std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode mode) const override {
    const std::string list = CLI::Formatter::make_subcommands(app, mode);
    if (app->get_parent() != nullptr || list.empty()) return list;
    std::string out = "\nCommands:";
    bool lineStart = false;
    for (const char c : list) {
      if (lineStart && c != '\n') out += "  ";
      out.push_back(c);
      lineStart = c == '\n';
    }
    return out;
  }
};

std::string UnknownName(const std::string& what, const std::string& word,
                        const std::vector<std::string>& names) {
  const std::string nearest = NearestName(word, names);
  return "unknown " + what + " '" + word + "'" +
         (nearest.empty() ? std::string() : "; did you mean '" + nearest + "'?");
}

// Whether `word` is written as an option: "--name", "--name=value" or "-x".
bool IsOptionWord(const std::string& word) {
  if (word.size() > 2 && word[0] == '-' && word[1] == '-') return true;
  return word.size() == 2 && word[0] == '-' &&
         ((word[1] >= 'a' && word[1] <= 'z') || (word[1] >= 'A' && word[1] <= 'Z'));
}

const ToolOption* FindToolOption(const std::string& name) {
  for (const ToolOption& option : ToolOptions()) {
    if (name == option.name || (option.shortName != nullptr && name == option.shortName)) {
      return &option;
    }
  }
  return nullptr;
}

}  // namespace

std::string WithoutFinalBreak(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

bool AnswersInJson(const std::vector<std::string>& args) {
  const auto end = std::find(args.begin(), args.end(), "--");
  return std::find(args.begin(), end, kJsonOption) != end;
}

const std::vector<ToolOption>& ToolOptions() {
  static const std::vector<ToolOption> options = {
      {ToolOption::kHelp, "--help", "-h", "print this help and exit"},
      {ToolOption::kVersion, "--version", "-V", "print the tool's version and build"},
      {ToolOption::kJson, kJsonOption, nullptr,
       "print each answer as one JSON object on one line (see the README or the man page for "
       "its fields)"},
  };
  return options;
}

std::vector<std::string> ToolOptionNames(bool commands) {
  std::vector<std::string> names;
  for (const ToolOption& option : ToolOptions()) {
    if (commands && option.kind == ToolOption::kVersion) continue;
    names.emplace_back(option.name);
    if (option.shortName != nullptr) names.emplace_back(option.shortName);
  }
  return names;
}

std::string Tool::VersionBeside(const std::string& flag, const Entry& entry) {
  if (entry.app->get_option_no_throw(kAppVersionOption) != nullptr) {
    return flag + " prints the tool's version; the files' application version is " +
           kAppVersionOption + " N";
  }
  return flag + " is not an option of " + entry.info.name + "; 'folianutils " + flag +
         "' alone prints the tool's version";
}

std::string VersionText() {
  return std::string("folianutils " FOLIAN_TOOL_VERSION "\nFolianUtils library ") +
         std::to_string(velmar::kCurrentMajorVersion) + ", built for " FOLIAN_TOOL_BUILD;
}

Tool::Tool(Output& output)
    : m_app(
          "Formats and reads measurements the way Folian does, and shows its environment "
          "and preferences.",
          "folianutils") {
  m_app.formatter(std::make_shared<HelpFormatter>());
  for (const ToolOption& option : ToolOptions()) {
    const std::string names = option.shortName != nullptr
                                  ? std::string(option.shortName) + "," + option.name
                                  : std::string(option.name);
    switch (option.kind) {
      case ToolOption::kHelp:
        m_app.set_help_flag(names, option.help);
        break;
      case ToolOption::kVersion:
        m_app.set_version_flag(names, VersionText(), option.help);
        break;
      case ToolOption::kJson:
        // Bound to nothing: AnswersInJson decides the answer's form.
        m_app.add_flag(names, option.help);
        break;
    }
  }
  // Commands take the tool's options anywhere on the line; a repeated option
  // keeps its last value, as most tools do.
  m_app.fallthrough();
  m_app.require_subcommand(1);
  m_app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  // Every command's help ends with this; the tool's own is set below.
  m_app.footer("--json, anywhere on the line, prints the answer as one JSON object on one line.");

  std::vector<CommandInfo> infos = RegisteredCommands();
  infos.push_back({"batch", kToolGroup,
                   "read one request per line from FILE or standard input (a command and its "
                   "arguments, quoted as a shell would) and write one answer line each",
                   nullptr});
  infos.push_back({"prefs-watch", kPreferences,
                   "print each change another process saves to the preference files, one line "
                   "each (key, category, added/changed/removed, old and new value), until "
                   "interrupted",
                   nullptr});
  infos.push_back({"help", kToolGroup, "print the help of COMMAND, or of the tool", nullptr});
  infos.push_back(
      {"completion", kToolGroup, "print the bash completion script of the tool", nullptr});
  // --help lists the groups in this order, each group's commands by name:
  // the order files register them in differs between platforms.
  const std::string groups[] = {kMeasurements, kMeasurementBox, kEnvironment, kPreferences,
                                kToolGroup};
  const auto rank = [&groups](const CommandInfo& info) {
    return std::find(std::begin(groups), std::end(groups), info.group) - std::begin(groups);
  };
  std::sort(infos.begin(), infos.end(), [&rank](const CommandInfo& a, const CommandInfo& b) {
    return rank(a) != rank(b) ? rank(a) < rank(b) : std::string(a.name) < b.name;
  });
  for (const CommandInfo& info : infos) {
    std::unique_ptr<Command> command;
    const std::string name = info.name;
    if (info.make != nullptr) {
      command = info.make();
    } else if (name == "batch") {
      command = MakeBatchCommand(*this, output);
    } else if (name == "prefs-watch") {
      command = MakeWatchCommand(*this, output);
    } else if (name == "help") {
      command = MakeHelpCommand(*this);
    } else {
      command = MakeCompletionCommand(*this);
    }
    Entry entry{info, std::move(command), nullptr};
    entry.app = m_app.add_subcommand(info.name, info.summary);
    entry.app->group(info.group);
    entry.command->Define(*entry.app);
    m_entries.push_back(std::move(entry));
  }
  m_app.footer(
      "Run 'folianutils help COMMAND' for a command's arguments.\n\n"
      "Exit status:\n"
      "  0  answered (batch: every request answered)\n"
      "  1  nothing found (\"none\"), or the work could not be done (message on standard "
      "error); batch: a request answered \"none\" or failed\n"
      "  2  usage error, or a file named cannot be read");
}

Tool::Entry* Tool::Find(const std::string& name) {
  for (Entry& entry : m_entries) {
    if (name == entry.info.name) return &entry;
  }
  return nullptr;
}

std::string Tool::Help(const std::string& command) {
  for (Entry& entry : m_entries) {
    if (command == entry.info.name) return entry.app->help("folianutils");
  }
  // The tool's own, even while a command is chosen.
  return m_app.get_formatter()->make_help(&m_app, "folianutils", CLI::AppFormatMode::Normal);
}

std::string Tool::Check(const std::vector<std::string>& args) const {
  const Entry* entry = nullptr;
  std::string version;  // --version or -V given before the command
  for (auto word = args.begin(); word != args.end(); ++word) {
    const std::string& arg = *word;
    if (arg == "--") break;
    if (entry == nullptr && !IsOptionWord(arg) && !(arg.size() > 1 && arg[0] == '-')) {
      for (const Entry& candidate : m_entries) {
        if (arg == candidate.info.name) entry = &candidate;
      }
      if (entry != nullptr && !version.empty()) return VersionBeside(version, *entry);
      if (entry != nullptr) continue;
      std::vector<std::string> names;
      for (const Entry& candidate : m_entries) names.emplace_back(candidate.info.name);
      return UnknownName("command", arg, names);
    }
    if (!IsOptionWord(arg)) continue;
    const std::string name = arg.substr(0, arg.find('='));
    const ToolOption* tool = FindToolOption(name);
    const bool isVersion = tool != nullptr && tool->kind == ToolOption::kVersion;
    if (entry != nullptr && isVersion) return VersionBeside(name, *entry);
    // The tool's options are flags: a value would go unread ("--json=false").
    if (tool != nullptr && name != arg) return name + " takes no value";
    if (entry == nullptr) {
      if (tool == nullptr) return UnknownName("option", name, ToolOptionNames(false));
      if (isVersion) version = name;
      continue;
    }
    if (tool != nullptr) continue;
    if (const CLI::Option* option = entry->app->get_option_no_throw(name)) {
      const bool takesValue = option->get_items_expected_max() > 0;
      if (!takesValue && name != arg) return name + " takes no value";
      const auto next = word + 1;
      if (takesValue && name == arg &&
          (next == args.end() || *next == "--" || IsOptionWord(*next))) {
        return name + ": missing value " + option->get_type_name();
      }
      continue;
    }
    std::vector<std::string> names = ToolOptionNames(true);
    for (const CLI::Option* option : entry->app->get_options()) {
      for (const std::string& longName : option->get_lnames()) names.push_back("--" + longName);
    }
    return UnknownName("option", name, names);
  }
  return std::string();
}

Outcome Tool::Execute(std::vector<std::string> args, Record& record) {
  for (Entry& entry : m_entries) entry.command->Reset();
  m_json = AnswersInJson(args);
  record.Start(nullptr);
  Outcome outcome;
  outcome.json = m_json;
  const std::string problem = Check(args);
  if (!problem.empty()) {
    for (const std::string& arg : args) {
      const Entry* entry = Find(arg);
      if (entry != nullptr) {
        outcome.command = entry->info.name;
        record.Start(entry->info.name);
        break;
      }
    }
    outcome.kind = Outcome::kUsageError;
    outcome.status = kUsage;
    record.Fail(problem);
    return outcome;
  }
  std::reverse(args.begin(), args.end());  // CLI11 takes them last first
  try {
    m_app.parse(args);
  } catch (const CLI::CallForHelp&) {
    return HelpOutcome(m_app.help(), record);
  } catch (const CLI::CallForAllHelp&) {
    return HelpOutcome(m_app.help("", CLI::AppFormatMode::All), record);
  } catch (const CLI::CallForVersion& version) {
    outcome.kind = Outcome::kHelp;
    outcome.help = std::string(version.what()) + "\n";
    record.fields().Text("tool_version", FOLIAN_TOOL_VERSION);
    record.fields().Integer("library_version", velmar::kCurrentMajorVersion);
    record.fields().Text("build", FOLIAN_TOOL_BUILD);
    return outcome;
  } catch (const CLI::ParseError& error) {
    const std::vector<CLI::App*> chosen = m_app.get_subcommands();
    outcome.kind = Outcome::kUsageError;
    outcome.status = kUsage;
    std::string message = error.what();
    if (!chosen.empty()) {
      outcome.command = chosen.front()->get_name();
      record.Start(Find(outcome.command)->info.name);
    } else if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
      message = "missing command";
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
      // In the order given (CLI11's own message reverses it), without the
      // "--" that ended the options.
      std::vector<std::string> extras = m_app.remaining(true);
      const auto separator = std::find(extras.begin(), extras.end(), "--");
      if (separator != extras.end()) extras.erase(separator);
      message = outcome.command + ": unexpected argument" + (extras.size() > 1 ? "s" : "");
      for (const std::string& extra : extras) message += " '" + extra + "'";
    }
    record.Fail(message);
    return outcome;
  }
  Entry* entry = Find(m_app.get_subcommands().front()->get_name());
  outcome = Run(*entry, record);
  outcome.json = m_json;
  return outcome;
}

Outcome Tool::HelpOutcome(std::string help, Record& record) {
  Outcome outcome;
  outcome.kind = Outcome::kHelp;
  outcome.json = m_json;
  record.Start("help");
  record.fields().Text("text", WithoutFinalBreak(help));
  outcome.help = std::move(help);
  return outcome;
}

Outcome Tool::Run(Entry& entry, Record& record) {
  Outcome outcome;
  outcome.command = entry.info.name;
  record.Start(entry.info.name);
  try {
    outcome.status = entry.command->Run(record);
  } catch (const UsageError& error) {
    outcome.kind = Outcome::kUsageError;
    outcome.status = kUsage;
    record.Start(entry.info.name);
    record.Fail(error.message);
    return outcome;
  } catch (const FileError& error) {
    outcome.kind = Outcome::kFileError;
    outcome.status = kUsage;
    record.Start(entry.info.name);
    record.Fail(error.message);
    return outcome;
  } catch (const std::exception& error) {
    // The library reports a failed file-system query this way.
    record.Start(entry.info.name);
    record.Fail(error.what());
  }
  if (record.error() && outcome.status == kAnswered) outcome.status = kNothingFound;
  if (outcome.status != kAnswered) record.set_ok(false);
  return outcome;
}

}  // namespace folian::tool
