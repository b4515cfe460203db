// help, completion: the tool describing itself, from its own tables.
#include <CLI/CLI.hpp>
#include <set>
#include <string>
#include <vector>

#include "tool/nearest_name.h"
#include "tool/options.h"
#include "tool/tool.h"

namespace folian::tool {
namespace {

struct HelpSettings {
  std::string command;
};

class HelpCommand : public CommandWith<HelpSettings> {
 public:
  explicit HelpCommand(Tool& tool) : m_tool(tool) {}
  void Define(CLI::App& app) override {
    app.add_option("COMMAND", s.command, "the command to describe")->type_name("TEXT");
  }
  int Run(Record& record) override {
    if (!s.command.empty() && m_tool.Find(s.command) == nullptr) {
      std::vector<std::string> names;
      for (const Tool::Entry& entry : m_tool.entries()) names.emplace_back(entry.info.name);
      const std::string nearest = NearestName(s.command, names);
      throw UsageError{"unknown command '" + s.command + "'" +
                       (nearest.empty() ? std::string() : "; did you mean '" + nearest + "'?")};
    }
    record.fields().Text("text", WithoutFinalBreak(m_tool.Help(s.command)));
    return kAnswered;
  }

 private:
  Tool& m_tool;
};

class CompletionCommand : public CommandWith<int> {
 public:
  explicit CompletionCommand(Tool& tool) : m_tool(tool) {}
  void Define(CLI::App&) override {}
  int Run(Record& record) override {
    record.fields().Text("text", WithoutFinalBreak(m_tool.Completion()));
    return kAnswered;
  }

 private:
  Tool& m_tool;
};

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

}  // namespace

std::unique_ptr<Command> MakeHelpCommand(Tool& tool) { return std::make_unique<HelpCommand>(tool); }

std::unique_ptr<Command> MakeCompletionCommand(Tool& tool) {
  return std::make_unique<CompletionCommand>(tool);
}

// bash splits "--opt=value" into "--opt", "=" and "value" (COMP_WORDBREAKS
// holds "="), so both spellings reach the same case below.
std::string Tool::Completion() const {
  std::vector<std::string> commands;
  for (const Entry& entry : m_entries) commands.emplace_back(entry.info.name);
  std::string options;  // "command) words;;" per command
  std::string values;   // "'command --option') words;;" per option taking a value
  std::string takesFiles;
  for (const Entry& entry : m_entries) {
    const std::vector<std::string> tool = ToolOptionNames(true);
    std::set<std::string> names(tool.begin(), tool.end());
    for (const CLI::Option* option : entry.app->get_options()) {
      if (option->get_positional()) {
        if (option->get_name() == "FILE") takesFiles += std::string(entry.info.name) + "|";
        continue;
      }
      for (const std::string& longName : option->get_lnames()) {
        names.insert("--" + longName);
        if (option->get_items_expected_max() == 0) continue;
        values += "    '" + std::string(entry.info.name) + " --" + longName + "') values='" +
                  Joined(ChoicesOf(option)) + "' ;;\n";
      }
    }
    options += "    " + std::string(entry.info.name) + ") options='" +
               Joined({names.begin(), names.end()}) + "' ;;\n";
  }
  return "# bash completion for folianutils, written by 'folianutils completion' from the\n"
         "# tool's own tables of commands and options.\n"
         "_folianutils() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
         "  local command='' option='' options='' values='' word i after=0\n"
         "  if [[ $cur == = ]]; then\n"
         "    option=$prev cur=''\n"
         "  elif [[ $prev == = ]] && ((COMP_CWORD > 1)); then\n"
         "    option=${COMP_WORDS[COMP_CWORD - 2]}\n"
         "  elif [[ $cur == --*=* ]]; then\n"
         "    option=${cur%%=*} cur=${cur#*=}\n"
         "  fi\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    word=${COMP_WORDS[i]}\n"
         "    if [[ $word != -* && $word != = && ${COMP_WORDS[i - 1]} != = ]]; then\n"
         "      [[ -n $command ]] && ((++after))\n"
         "      command=${command:-$word}\n"
         "    fi\n"
         "  done\n"
         "  case $command in\n"
         "    '') options='" +
         Joined(ToolOptionNames(false)) + "' ;;\n" + options +
         "    *) return ;;\n"
         "  esac\n"
         "  if [[ -z $option && $prev == --* && $cur != -* ]]; then option=$prev; fi\n"
         "  if [[ -n $option ]]; then\n"
         "    case \"$command $option\" in\n" +
         values +
         "    *) option='' ;;\n"
         "    esac\n"
         "    if [[ -n $option ]]; then\n"
         "      COMPREPLY=($(compgen -W \"$values\" -- \"$cur\"))\n"
         "      return\n"
         "    fi\n"
         "  fi\n"
         "  if [[ $cur == -* ]]; then\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "  elif [[ -z $command || ($command == help && after -eq 0) ]]; then\n"
         "    COMPREPLY=($(compgen -W '" +
         Joined(commands) +
         "' -- \"$cur\"))\n"
         "  else\n"
         "    case $command in\n"
         "      " +
         takesFiles.substr(0, takesFiles.size() - 1) +
         ")\n"
         "        # One name a line, so a name with a blank is one word; bash\n"
         "        # quotes the names and marks folders with a slash.\n"
         "        compopt -o filenames 2>/dev/null\n"
         "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\") ;;\n"
         "    esac\n"
         "  fi\n"
         "}\n"
         "complete -F _folianutils folianutils\n";
}

}  // namespace folian::tool
