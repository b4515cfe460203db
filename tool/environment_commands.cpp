#include <exception>
#include <ostream>
#include <string>

#include "FolianUtils/constants.h"
#include "FolianUtils/culture.h"
#include "FolianUtils/support_folders.h"
#include "tool/command.h"

namespace folian::tool {
namespace {

using velmar::utils::velmar_ustring;

int ParseVersion(const std::string& text) {
  std::size_t used = 0;
  int version = 0;
  try {
    version = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || version < 0 || version > 99) {
    throw UsageError{"VERSION must be a number from 0 to 99"};
  }
  return version;
}

// The folder queries raise a file-system error when a status query fails.
template <typename Body>
int Guarded(Invocation& call, Body body) {
  try {
    return body();
  } catch (const std::exception& error) {
    call.err << "folianutils: " << error.what() << "\n";
    return 1;
  }
}

int RunSupportFolders(Invocation& call) {
  if (call.args.size() > 1) throw UsageError{"support-folders takes at most a VERSION"};
  const int version = call.args.empty() ? velmar::kCurrentMajorVersion : ParseVersion(call.args[0]);
  return Guarded(call, [&] {
    const std::string user = GetUserSupportFolder(version).ToUTF8();
    const std::string install = GetInstallSupportFolder().ToUTF8();
    const std::string trelvin = PathToTrelvin().ToUTF8();
    if (call.json) {
      call.out << "{\"user\":" << JsonQuote(user) << ",\"install\":" << JsonQuote(install)
               << ",\"trelvin\":" << JsonQuote(trelvin) << "}\n";
    } else {
      call.out << "user\t" << user << "\ninstall\t" << install << "\ntrelvin\t"
               << (trelvin.empty() ? "none" : trelvin) << "\n";
    }
    return 0;
  });
}

int RunFindSupportFile(Invocation& call) {
  if (call.args.empty() || call.args.size() > 2) {
    throw UsageError{"find-support-file takes a NAME and an optional FOLDER"};
  }
  return Guarded(call, [&] {
    const velmar_ustring name(call.args[0]);
    const std::string found =
        (call.args.size() == 2 ? FindSupportFile(name, velmar_ustring(call.args[1]))
                               : FindSupportFile(name))
            .ToUTF8();
    if (call.json) {
      call.out << "{\"found\":" << (found.empty() ? "false" : "true")
               << ",\"path\":" << JsonQuote(found) << "}\n";
    } else {
      call.out << (found.empty() ? "none" : found) << "\n";
    }
    return found.empty() ? 1 : 0;
  });
}

int RunUpgradeVersion(Invocation& call) {
  if (!call.args.empty()) throw UsageError{"upgrade-version takes no arguments"};
  return Guarded(call, [&] {
    const int version = GetVersionForUpgrade();
    if (call.json) {
      call.out << "{\"version\":" << version << "}\n";
    } else {
      call.out << version << "\n";
    }
    return 0;
  });
}

int RunCulture(Invocation& call) {
  if (call.args.size() > 1) throw UsageError{"culture takes at most an OVERRIDE"};
  return Guarded(call, [&] {
    if (!call.args.empty()) SetCulture(velmar_ustring(call.args[0]));
    const std::string culture = GetCulture().ToUTF8();
    const std::string language = GetLanguageCode().ToUTF8();
    const std::string web = GetFolianWebCode().ToUTF8();
    const std::string os_locale = GetOSLocale().ToUTF8();
    if (call.json) {
      call.out << "{\"culture\":" << JsonQuote(culture) << ",\"language\":" << JsonQuote(language)
               << ",\"web\":" << JsonQuote(web) << ",\"os_locale\":" << JsonQuote(os_locale)
               << "}\n";
    } else {
      call.out << "culture\t" << culture << "\nlanguage\t" << language << "\nweb\t" << web
               << "\nos-locale\t" << os_locale << "\n";
    }
    return 0;
  });
}

}  // namespace

void RegisterEnvironmentCommands(CommandTable& table) {
  table.Add({"support-folders", "[VERSION]",
             "print the per-user folder (of VERSION, 0 for the viewer's), the all-users folder "
             "and the companion modeller's executable; creates missing folders",
             RunSupportFolders});
  table.Add({"find-support-file", "NAME [FOLDER]",
             "search the support folders for NAME (below FOLDER); \"none\" and status 1 if absent",
             RunFindSupportFile});
  table.Add({"upgrade-version", "",
             "print the newest earlier version whose per-user folder exists, or -1",
             RunUpgradeVersion});
  table.Add({"culture", "[OVERRIDE]",
             "print the culture (OVERRIDE replacing the user's language), language code, web "
             "code and the system's locale name",
             RunCulture});
}

}  // namespace folian::tool
