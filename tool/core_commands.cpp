#include <ostream>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"

namespace folian::tool {
namespace {

int RunVersion(Invocation& call) {
  if (!call.args.empty()) throw UsageError{"version takes no arguments"};
  if (call.json) {
    call.out << "{\"version\":" << velmar::kCurrentMajorVersion << "}\n";
  } else {
    call.out << "FolianUtils " << velmar::kCurrentMajorVersion << "\n";
  }
  return 0;
}

int RunNumber(Invocation& call) {
  if (call.args.size() != 1) throw UsageError{"number takes one TEXT"};
  double value = 0.0;
  const velmar::utils::velmar_ustring text(call.args[0]);
  const bool ok = velmar::utils::StringToDouble(text.c_str(), value);
  velmar::utils::velmar_ustring shown;
  shown.Format(VELMAR_U("%.17g"), value);
  if (call.json) {
    call.out << "{\"ok\":" << (ok ? "true" : "false") << ",\"value\":" << shown.ToUTF8() << "}\n";
  } else {
    call.out << (ok ? shown.ToUTF8() : "none") << "\n";
  }
  return ok ? 0 : 1;
}

}  // namespace

void RegisterCoreCommands(CommandTable& table) {
  table.Add({"version", "", "print the library's major version", RunVersion});
  table.Add({"number", "TEXT",
             "read a number with the user's decimal separator (\"none\" and status 1 if "
             "there is none)",
             RunNumber});
}

}  // namespace folian::tool
