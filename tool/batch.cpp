// batch: many requests through one process, one answer line per line of
// standard input.
#include <cstddef>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tool/command.h"

namespace folian::tool {
namespace {

// Answers are written when no more input is waiting or this much piled up,
// so a client that sends one line and waits gets its answer at once.
constexpr std::size_t kFlushSize = 1 << 16;

// Splits a line the way a POSIX shell splits words: blanks separate,
// '...' is literal, "..." keeps blanks and takes \" \\ \$ \` escapes, and a
// backslash outside quotes escapes the next character. False, with
// `error` set, for an unterminated quote or a trailing backslash.
bool SplitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::string word;
  bool inWord = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
      continue;
    }
    inWord = true;
    if (c == '\\') {
      if (++i == line.size()) {
        error = "trailing backslash";
        return false;
      }
      word += line[i];
    } else if (c == '\'') {
      const std::size_t close = line.find('\'', i + 1);
      if (close == std::string::npos) {
        error = "unterminated ' quote";
        return false;
      }
      word.append(line, i + 1, close - i - 1);
      i = close;
    } else if (c == '"') {
      for (++i;; ++i) {
        if (i == line.size()) {
          error = "unterminated \" quote";
          return false;
        }
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size() &&
            std::string("\"\\$`").find(line[i + 1]) != std::string::npos) {
          ++i;
        }
        word += line[i];
      }
    } else {
      word += c;
    }
  }
  if (inWord) words.push_back(word);
  return true;
}

// One answer line: trailing line breaks go, inner ones become tabs.
void AppendAnswer(const std::string& text, std::string& out) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r')) --end;
  for (std::size_t i = 0; i < end; ++i) {
    const char c = text[i];
    if (c == '\r') continue;
    out += c == '\n' ? '\t' : c;
  }
  out += '\n';
}

void AppendError(const std::string& message, std::string& out) {
  AppendAnswer("error: " + message, out);
}

class Batch {
 public:
  Batch(const CommandTable& table, bool json) : m_table(table), m_json(json) {}

  // Runs one request and appends its answer line to `out`.
  void Answer(const std::string& line, std::string& out) {
    std::string error;
    if (!SplitWords(line, m_words, error)) return AppendError(error, out);
    bool json = m_json;
    std::size_t first = 0;
    while (first < m_words.size() && m_words[first] == "--json") {
      json = true;
      ++first;
    }
    if (first == m_words.size()) return AppendError("empty request", out);
    const std::string& name = m_words[first];
    if (name == "batch") return AppendError("batch cannot run inside batch", out);
    const Command* command = m_table.Find(name);
    if (command == nullptr) return AppendError("unknown command '" + name + "'", out);

    m_out.str(std::string());
    m_out.clear();
    m_err.str(std::string());
    m_err.clear();
    Invocation call{{m_words.begin() + static_cast<std::ptrdiff_t>(first) + 1, m_words.end()},
                    json,
                    m_out,
                    m_err};
    int status = 0;
    try {
      status = command->run(call);
    } catch (const UsageError& usage) {
      return AppendError(name + ": " + usage.message, out);
    } catch (const std::exception& failure) {
      return AppendError(name + ": " + failure.what(), out);
    }
    const std::string answer = m_out.str();
    if (status != 0 && answer.empty()) {
      const std::string message = m_err.str();
      return AppendError(message.empty() ? name + " failed" : message, out);
    }
    AppendAnswer(answer, out);
  }

 private:
  const CommandTable& m_table;
  const bool m_json;
  std::vector<std::string> m_words;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

int RunBatch(const CommandTable& table, Invocation& call) {
  if (!call.args.empty()) throw UsageError{"batch takes no arguments; requests come on stdin"};
  // Stream I/O without the per-character locking of the C streams; batch
  // is the whole run, so nothing was read or written before this.
  std::ios::sync_with_stdio(false);
  std::cin.tie(nullptr);

  Batch batch(table, call.json);
  std::string line;
  std::string answers;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    batch.Answer(line, answers);
    if (answers.size() >= kFlushSize || std::cin.rdbuf()->in_avail() <= 0) {
      call.out.write(answers.data(), static_cast<std::streamsize>(answers.size()));
      call.out.flush();
      answers.clear();
    }
  }
  call.out.write(answers.data(), static_cast<std::streamsize>(answers.size()));
  call.out.flush();
  return call.out ? 0 : 1;
}

}  // namespace

void RegisterBatchCommands(CommandTable& table) {
  table.Add({"batch", "",
             "read one request per line from stdin (command and arguments, quoted like a shell "
             "would) and write one answer line each; a failure is one line starting with "
             "\"error:\", a multi-line answer has its lines joined by tabs",
             [&table](Invocation& call) { return RunBatch(table, call); }});
}

}  // namespace folian::tool
