// folianutils: the library's measurements, environment and preferences at
// the command line.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "base/utf16.h"
#include "base/utf8.h"
#include "tool/answers.h"
#include "tool/command.h"
#include "tool/output.h"
#include "tool/tool.h"

namespace folian::tool {
namespace {

// The status of a write that failed because the reader went away: what a
// shell shows for a filter ended by SIGPIPE.
constexpr int kClosedPipeStatus = 141;

void ReportUsageError(const std::string& message, const std::string& command) {
  const std::string help =
      command.empty() ? "folianutils --help" : "folianutils " + command + " --help";
  std::fprintf(stderr, "folianutils: %s\nRun '%s' for more information.\n", message.c_str(),
               help.c_str());
}

int Finish(Output& out, int status) {
  out.Flush();
  if (!out.failed()) return status;
  if (out.closed_pipe()) return kClosedPipeStatus;
  std::fprintf(stderr, "folianutils: cannot write to standard output: %s\n",
               std::strerror(out.error()));
  return kNothingFound;
}

int Main(const std::vector<std::string>& args, bool argumentsValid) {
  Output out(stdout);
  Record record;
  std::string text;
  const std::vector<std::string> line(args.begin() + 1, args.end());
  if (!argumentsValid) {
    record.Start(nullptr);
    record.Fail("an argument is not valid UTF-8");
    if (AnswersInJson(line)) record.WriteJson(text);
    out.Write(text);
    ReportUsageError(record.ErrorText(), "");
    return Finish(out, kUsage);
  }
  Tool tool(out);
  const Outcome outcome = tool.Execute(line, record);
  if (outcome.json) {
    record.WriteJson(text);
  } else if (outcome.kind == Outcome::kHelp) {
    text = outcome.help;
  } else {
    record.WritePlain(text);
  }
  out.Write(text);
  switch (outcome.kind) {
    case Outcome::kAnswer:
      if (record.error()) {
        std::fprintf(stderr, "folianutils %s: %s\n", outcome.command.c_str(),
                     record.ErrorText().c_str());
      }
      break;
    case Outcome::kHelp:
      break;
    case Outcome::kUsageError:
      ReportUsageError(record.ErrorText(), outcome.command);
      break;
    case Outcome::kFileError:
      std::fprintf(stderr, "folianutils: %s\n", record.ErrorText().c_str());
      break;
  }
  return Finish(out, outcome.status);
}

}  // namespace
}  // namespace folian::tool

// Arguments are UTF-8 inside the tool. Windows hands a console program its
// command line in UTF-16, which wmain receives without a lossy code page.
#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  bool valid = true;
  for (int i = 0; i < argc; ++i) {
    // A lone surrogate has no UTF-8 form that other programs read.
    const std::size_t length = std::wcslen(argv[i]);
    valid = valid && !velmar::base::HasLoneSurrogate(argv[i], length);
    std::string utf8;
    velmar::base::utf8::Encode(argv[i], length, utf8);
    args.push_back(std::move(utf8));
  }
  return folian::tool::Main(args, valid);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv, argv + argc);
  bool valid = true;
  for (const std::string& arg : args) valid = valid && velmar::base::utf8::IsValid(arg);
  return folian::tool::Main(args, valid);
}
#endif
