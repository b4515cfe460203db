#include <ostream>
#include <string>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"

namespace folian::tool {
namespace {

using velmar::utils::velmar_ustring;

int RunHelpUrl(Invocation& call) {
  bool open = false;
  std::string key;
  bool have_key = false;
  for (const std::string& arg : call.args) {
    if (arg == "--open") {
      open = true;
    } else if (!have_key) {
      key = arg;
      have_key = true;
    } else {
      throw UsageError{"help-url takes one KEY"};
    }
  }
  if (!have_key) throw UsageError{"help-url takes one KEY"};

  CHelpURLs& urls = CHelpURLs::Default();
  bool isLocalFile = false;
  const std::string url = urls.GetURL(velmar_ustring(key), isLocalFile).ToUTF8();
  if (open) urls.OpenURL(velmar_ustring(key));
  if (call.json) {
    call.out << "{\"key\":" << JsonQuote(key) << ",\"url\":" << JsonQuote(url)
             << ",\"local_file\":" << (isLocalFile ? "true" : "false") << "}\n";
  } else {
    call.out << (url.empty() ? "none" : url) << "\n";
  }
  return url.empty() ? 1 : 0;
}

int RunPngBackground(Invocation& call) {
  if (call.args.size() != 1) throw UsageError{"png-background takes one FILE"};
  velmar::utils::CColor color;
  const bool found = GetImageBackgroundColor(velmar_ustring(call.args[0]), &color);
  if (call.json) {
    call.out << "{\"file\":" << JsonQuote(call.args[0])
             << ",\"found\":" << (found ? "true" : "false");
    if (found) {
      call.out << ",\"red\":" << int(color.Red()) << ",\"green\":" << int(color.Green())
               << ",\"blue\":" << int(color.Blue()) << ",\"alpha\":" << int(color.Alpha());
    }
    call.out << "}\n";
  } else if (found) {
    call.out << int(color.Red()) << " " << int(color.Green()) << " " << int(color.Blue()) << " "
             << int(color.Alpha()) << "\n";
  } else {
    call.out << "none\n";
  }
  return found ? 0 : 1;
}

}  // namespace

void RegisterHelpCommands(CommandTable& table) {
  table.Add({"help-url", "KEY [--open]",
             "print the help address of KEY from helpurls.json (\"none\" and status 1 if "
             "there is none); --open also opens it",
             RunHelpUrl});
  table.Add({"png-background", "FILE",
             "print the background colour a .png file declares as \"R G B A\" (\"none\" and "
             "status 1 if it declares none)",
             RunPngBackground});
}

}  // namespace folian::tool
