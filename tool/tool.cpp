#include "tool/tool.h"

#include <algorithm>
#include <exception>

#include "FolianUtils/constants.h"

namespace folian::tool {

std::string VersionText() {
  return std::string("folianutils " FOLIAN_TOOL_VERSION "\nFolianUtils library ") +
         std::to_string(velmar::kCurrentMajorVersion) + ", built for " FOLIAN_TOOL_BUILD;
}

Tool::Tool(Output& output)
    : m_app(
          "Formats and reads measurements the way Folian does, and shows its environment "
          "and preferences.",
          "folianutils") {
  m_app.set_help_flag("-h,--help", "print this help and exit");
  m_app.set_version_flag("--version", VersionText(), "print the tool's version and build");
  m_jsonOption =
      m_app.add_flag("--json", m_json, "print each answer as one JSON object on one line");
  // Commands take the tool's options anywhere on the line; a repeated option
  // keeps its last value, as most tools do.
  m_app.fallthrough();
  m_app.require_subcommand(1);
  m_app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  // Every command's help ends with this; the tool's own is set below.
  m_app.footer("--json, anywhere on the line, prints the answer as one JSON object on one line.");

  std::vector<CommandInfo> infos = RegisteredCommands();
  infos.push_back({"batch", kToolGroup,
                   "read one request per line from standard input (a command and its "
                   "arguments, quoted as a shell would) and write one answer line each",
                   nullptr});
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
    Entry entry{info, info.make != nullptr ? info.make() : MakeBatchCommand(*this, output),
                nullptr};
    entry.app = m_app.add_subcommand(info.name, info.summary);
    entry.app->group(info.group);
    entry.command->Define(*entry.app);
    m_entries.push_back(std::move(entry));
  }
  m_app.footer(
      "Exit status: 0 answered, 1 nothing found (\"none\") or not done (message on standard "
      "error), 2 usage error.\nRun 'folianutils COMMAND --help' for a command's arguments.");
}

Tool::Entry* Tool::Find(const std::string& name) {
  for (Entry& entry : m_entries) {
    if (name == entry.info.name) return &entry;
  }
  return nullptr;
}

Outcome Tool::Execute(std::vector<std::string> args, Answers& answers) {
  for (Entry& entry : m_entries) entry.command->Reset();
  m_json = false;
  Outcome outcome;
  // The tool's options come first; the first other word names the command.
  for (const std::string& arg : args) {
    if (arg == "--json") continue;
    if (arg.empty() || arg[0] != '-') {
      if (Find(arg) == nullptr) {
        outcome.kind = Outcome::kUsageError;
        outcome.status = kUsage;
        outcome.message = "unknown command '" + arg + "'";
        return outcome;
      }
    }
    break;
  }
  std::reverse(args.begin(), args.end());  // CLI11 takes them last first
  try {
    m_app.parse(args);
  } catch (const CLI::CallForHelp&) {
    answers.text() += m_app.help();
    outcome.kind = Outcome::kHelp;
    return outcome;
  } catch (const CLI::CallForAllHelp&) {
    answers.text() += m_app.help("", CLI::AppFormatMode::All);
    outcome.kind = Outcome::kHelp;
    return outcome;
  } catch (const CLI::CallForVersion& version) {
    answers.Line(version.what());
    outcome.kind = Outcome::kHelp;
    return outcome;
  } catch (const CLI::ParseError& error) {
    const std::vector<CLI::App*> chosen = m_app.get_subcommands();
    outcome.kind = Outcome::kUsageError;
    outcome.status = kUsage;
    outcome.message = error.what();
    if (!chosen.empty()) {
      outcome.command = chosen.front()->get_name();
    } else if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
      outcome.message = "missing command";
    }
    return outcome;
  }
  if (m_json) answers.set_json(true);
  Entry* entry = Find(m_app.get_subcommands().front()->get_name());
  return Run(*entry, answers);
}

Outcome Tool::Run(Entry& entry, Answers& answers) {
  Outcome outcome;
  outcome.command = entry.info.name;
  try {
    outcome.status = entry.command->Run(answers);
  } catch (const UsageError& error) {
    outcome.kind = Outcome::kUsageError;
    outcome.status = kUsage;
    outcome.message = error.message;
    return outcome;
  } catch (const std::exception& error) {
    // The library reports a failed file-system query this way.
    answers.Fail(error.what());
    outcome.status = kNothingFound;
  }
  if (!answers.error().empty()) {
    outcome.kind = Outcome::kFailure;
    outcome.message = answers.error();
    if (outcome.status == kAnswered) outcome.status = kNothingFound;
  }
  return outcome;
}

}  // namespace folian::tool
