// folianutils: the library's measurements, environment and preferences at
// the command line.
#include <iostream>
#include <string>
#include <vector>

#include "FolianUtils/ustring.h"
#include "tool/command.h"

namespace folian::tool {

const Command* CommandTable::Find(const std::string& name) const {
  for (const Command& command : m_commands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

std::string JsonQuote(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static const char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

namespace {

void PrintHelp(const CommandTable& table, std::ostream& out) {
  out << "usage: folianutils [--json] COMMAND [ARGS...]\n\n"
         "Formats and reads measurements the way Folian does.\n\n"
         "commands:\n";
  for (const Command& command : table.commands()) {
    std::string head = "  " + command.name;
    if (!command.synopsis.empty()) head += " " + command.synopsis;
    out << head << "\n      " << command.summary << "\n";
  }
  out << "\noptions:\n  --json    print each answer as one JSON object\n"
         "  --help    show this help\n";
}

int Run(const std::vector<std::string>& argv) {
  const int argc = static_cast<int>(argv.size());
  CommandTable table;
  RegisterCoreCommands(table);
  RegisterVcbCommands(table);
  RegisterHelpCommands(table);
  RegisterEnvironmentCommands(table);
  RegisterPreferencesCommands(table);
  RegisterMeasureCommands(table);
  RegisterBatchCommands(table);

  bool json = false;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintHelp(table, std::cout);
      return 0;
    }
    if (arg == "--json") {
      json = true;
      continue;
    }
    break;
  }
  if (i >= argc) {
    std::cerr << "folianutils: missing command (try --help)\n";
    return 2;
  }
  const Command* command = table.Find(argv[i]);
  if (command == nullptr) {
    std::cerr << "folianutils: unknown command '" << argv[i] << "' (try --help)\n";
    return 2;
  }
  Invocation call{{argv.begin() + i + 1, argv.end()}, json, std::cout, std::cerr};
  try {
    return command->run(call);
  } catch (const UsageError& error) {
    std::cerr << "folianutils " << command->name << ": " << error.message << "\nusage: folianutils "
              << command->name << " " << command->synopsis << "\n";
    return 2;
  }
}

}  // namespace
}  // namespace folian::tool

// Arguments are UTF-8 inside the tool. Windows hands a console program its
// command line in UTF-16, which wmain receives without a lossy code page.
#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(velmar::utils::velmar_ustring(argv[i]).ToUTF8());
  return folian::tool::Run(args);
}
#else
int main(int argc, char** argv) { return folian::tool::Run({argv, argv + argc}); }
#endif
