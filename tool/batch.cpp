// batch: many requests through one process, one answer line per line of
// a file or of standard input.
//
// A request is read by the same CLI11 definitions as a command line. A full
// CLI11 parse costs microseconds, so the common shape of request (the
// command, then options by their long names with a value each or none, and
// positional arguments that do not start with "-") is fed to the command's
// own CLI11 options directly: their validation and callbacks run as in a
// parse. Anything else, and any request the fast reading refuses, goes
// through the full parse, which also words every usage error.
#include <cstddef>
#include <fstream>
#include <iostream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/utf8.h"
#include "tool/input_file.h"
#include "tool/split_words.h"
#include "tool/tool.h"

namespace folian::tool {
namespace {

// Answers are written when no more input is waiting or this much piled up,
// so a client that sends one line and waits gets its answer at once.
constexpr std::size_t kFlushSize = 1 << 16;

// The CLI11 options of one command, looked up once.
struct Options {
  CLI::App* app = nullptr;
  std::vector<CLI::Option*> all;
  std::vector<CLI::Option*> positional;
  // "--name" of each option but --help.
  std::vector<std::pair<std::string, CLI::Option*>> named;
  bool fast = true;  // every positional takes exactly one value

  CLI::Option* Named(const std::string& word) const {
    for (const auto& [name, option] : named) {
      if (name == word) return option;
    }
    return nullptr;
  }
};

class BatchCommand : public Command {
 public:
  BatchCommand(Tool& tool, Output& output) : m_tool(tool), m_output(output) {}

  void Define(CLI::App& app) override {
    app.add_option("FILE", m_file, "the requests; - or none: standard input")->type_name("FILE");
    app.footer(
        "Each answer is one line: a multi-line answer has its lines joined by tabs, a request "
        "without an answer answers \"none\", a failed one \"error: REASON\" or \"error: REASON "
        "at POSITION\". With --json each answer is the command's JSON object. --json for batch "
        "applies to every request; a request may also carry its own. --help, --version, help and "
        "completion are not answered in batch. The status is 0 when every request answered, 1 "
        "when any answered \"none\" or failed.");
  }
  void Reset() override { m_file = "-"; }
  int Run(Record& record) override;

 private:
  void Answer(const std::string& line, std::string& out);
  void Serve(std::istream& in);
  // True if the request was read into the command's settings.
  bool ReadFast(Tool::Entry& entry, std::size_t first);
  Options& OptionsOf(CLI::App& app);

  Tool& m_tool;
  Output& m_output;
  bool m_running = false;
  bool m_json = false;
  bool m_allAnswered = true;
  std::string m_file = "-";
  Record m_record;
  std::vector<std::string> m_words;
  std::vector<Options> m_options;
  std::unordered_map<std::string, Tool::Entry*> m_entries;
};

Options& BatchCommand::OptionsOf(CLI::App& app) {
  for (Options& options : m_options) {
    if (options.app == &app) return options;
  }
  Options options;
  options.app = &app;
  options.all = app.get_options();
  for (CLI::Option* option : options.all) {
    if (!option->get_positional()) {
      if (option == app.get_help_ptr()) continue;
      for (const std::string& name : option->get_lnames()) {
        options.named.emplace_back("--" + name, option);
      }
      continue;
    }
    options.positional.push_back(option);
    if (option->get_items_expected_max() != 1) options.fast = false;
  }
  m_options.push_back(std::move(options));
  return m_options.back();
}

bool BatchCommand::ReadFast(Tool::Entry& entry, std::size_t first) {
  Options& options = OptionsOf(*entry.app);
  if (!options.fast) return false;
  entry.app->clear();
  entry.command->Reset();
  std::size_t nextPositional = 0;
  for (std::size_t i = first; i < m_words.size(); ++i) {
    const std::string& word = m_words[i];
    if (word.empty() || word[0] != '-') {
      if (nextPositional == options.positional.size()) return false;
      options.positional[nextPositional++]->add_result(word);
      continue;
    }
    if (word == kJsonOption) continue;  // the answer's form, decided already
    if (word.size() < 3 || word[1] != '-' || word.find('=') != std::string::npos) return false;
    CLI::Option* option = options.Named(word);
    if (option == nullptr) return false;
    if (option->get_items_expected_max() == 0) {
      option->add_result(option->get_flag_value(word, std::string()));
    } else {
      if (i + 1 == m_words.size() || option->get_items_expected_max() != 1) return false;
      const std::string& value = m_words[++i];
      if (!value.empty() && value[0] == '-') return false;
      option->add_result(value);
    }
  }
  for (CLI::Option* option : options.positional) {
    if (option->get_required() && option->count() == 0) return false;
  }
  try {
    for (CLI::Option* option : options.all) {
      if (option->count() > 0) option->run_callback();
    }
  } catch (const CLI::Error&) {
    return false;
  }
  return true;
}

// One answer line: trailing line breaks go, inner ones become tabs.
void JoinLines(std::string& text, std::size_t start) {
  std::size_t end = text.size();
  while (end > start && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
  std::size_t kept = start;
  for (std::size_t i = start; i < end; ++i) {
    const char c = text[i];
    if (c == '\r') continue;
    text[kept++] = c == '\n' ? '\t' : c;
  }
  text.resize(kept);
  text.push_back('\n');
}

void BatchCommand::Answer(const std::string& line, std::string& out) {
  Record& record = m_record;
  record.Start(nullptr);
  bool json = m_json;
  const auto errorLine = [&] {
    out += "error: ";
    out += record.ErrorText();
    out.push_back('\n');
  };
  const auto fail = [&](const std::string& reason) {
    record.Fail(reason);
    if (json) return record.WriteJson(out);
    errorLine();
  };
  if (!velmar::base::utf8::IsValid(line)) return fail("the request is not valid UTF-8");
  std::string error;
  if (!SplitWords(line, m_words, error)) return fail(error);
  json = json || AnswersInJson(m_words);
  std::size_t first = 0;
  while (first < m_words.size() && m_words[first] == kJsonOption) ++first;
  if (first == m_words.size()) return fail("empty request");
  const std::string& name = m_words[first];
  if (name == "batch") return fail("batch cannot run inside batch");
  if (name == "help" || name == "completion") return fail(name + " is not answered in batch");
  if (m_entries.empty()) {
    for (const Tool::Entry& known : m_tool.entries()) {
      m_entries.emplace(known.info.name, m_tool.Find(known.info.name));
    }
  }
  const auto found = m_entries.find(name);
  Tool::Entry* entry = found != m_entries.end() ? found->second : nullptr;

  const Outcome outcome = entry != nullptr && ReadFast(*entry, first + 1)
                              ? m_tool.Run(*entry, record)
                              : m_tool.Execute(m_words, record);
  if (outcome.kind == Outcome::kHelp) {
    record.Start(nullptr);
    return fail("--help and --version are not answered in batch");
  }
  if (json) return record.WriteJson(out);
  if (record.error()) return errorLine();
  const std::size_t start = out.size();
  record.WritePlain(out);
  JoinLines(out, start);
}

void BatchCommand::Serve(std::istream& in) {
  std::string pending;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Answer(line, pending);
    m_allAnswered = m_allAnswered && m_record.ok();
    if (pending.size() >= kFlushSize || in.rdbuf()->in_avail() <= 0) {
      if (!m_output.Write(pending) || !m_output.Flush()) return;
      pending.clear();
    }
  }
  m_output.Write(pending);
}

int BatchCommand::Run(Record& record) {
  if (m_running) throw UsageError{"batch cannot run inside batch"};
  std::ifstream file;
  if (m_file != "-") OpenInputFile(m_file, file);
  m_running = true;
  m_json = m_tool.json();
  m_allAnswered = true;
  // Stream input without the per-character locking of the C streams; batch
  // is the whole run, so nothing was read before this.
  std::ios::sync_with_stdio(false);
  std::cin.tie(nullptr);
  Serve(m_file == "-" ? static_cast<std::istream&>(std::cin) : file);
  m_running = false;
  record.SetWritten();
  return m_allAnswered ? kAnswered : kNothingFound;
}

}  // namespace

std::unique_ptr<Command> MakeBatchCommand(Tool& tool, Output& output) {
  return std::make_unique<BatchCommand>(tool, output);
}

}  // namespace folian::tool
