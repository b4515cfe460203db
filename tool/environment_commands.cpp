// support-folders, find-support-file, upgrade-version, culture, help-url,
// png-background: where the application keeps its files and what it knows
// of the user.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"
#include "tool/options.h"

namespace folian::tool {
namespace {

using velmar::utils::velmar_ustring;

struct FolderSettings {
  std::optional<int> version;
  std::string name;
  std::optional<std::string> folder;
  bool open = false;
};

class SupportFoldersCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App& app) override {
    AddVersionOption(app, s.version)
        ->description(
            "application version of the per-user folder, 0 to 99 (0: the viewer's; the current "
            "one by default)");
  }
  int Run(Answers& answers) override {
    const std::string user =
        GetUserSupportFolder(s.version.value_or(velmar::kCurrentMajorVersion)).ToUTF8();
    const std::string install = GetInstallSupportFolder().ToUTF8();
    const std::string trelvin = PathToTrelvin().ToUTF8();
    if (answers.json()) {
      JsonLine line(answers);
      line.Text("user", user).Text("install", install);
      if (trelvin.empty()) {
        line.Null("trelvin");
      } else {
        line.Text("trelvin", trelvin);
      }
    } else {
      answers.Line("user\t" + user);
      answers.Line("install\t" + install);
      answers.Line("trelvin\t" + (trelvin.empty() ? "none" : trelvin));
    }
    return kAnswered;
  }
};

class FindSupportFileCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "NAME", s.name, "the file's name")->required();
    app.add_option("FOLDER", s.folder, "search below this folder of the support folders")
        ->type_name("TEXT");
  }
  int Run(Answers& answers) override {
    const velmar_ustring name(s.name);
    const std::string found =
        (s.folder ? FindSupportFile(name, velmar_ustring(*s.folder)) : FindSupportFile(name))
            .ToUTF8();
    if (answers.json()) {
      JsonLine line(answers);
      line.Bool("found", !found.empty());
      if (found.empty()) {
        line.Null("path");
      } else {
        line.Text("path", found);
      }
    } else {
      answers.Line(found.empty() ? "none" : found);
    }
    return found.empty() ? kNothingFound : kAnswered;
  }
};

class UpgradeVersionCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App&) override {}
  int Run(Answers& answers) override {
    const int version = GetVersionForUpgrade();
    const bool found = version >= 0;
    if (answers.json()) {
      JsonLine line(answers);
      if (found) {
        line.Integer("version", version);
      } else {
        line.Null("version");
      }
    } else {
      answers.Line(found ? std::to_string(version) : "none");
    }
    return found ? kAnswered : kNothingFound;
  }
};

struct CultureSettings {
  std::optional<std::string> override;
};

class CultureCommand : public CommandWith<CultureSettings> {
 public:
  void Define(CLI::App& app) override {
    app.add_option("OVERRIDE", s.override, "a culture replacing the user's language")
        ->type_name("TEXT");
  }
  int Run(Answers& answers) override {
    if (s.override) SetCulture(velmar_ustring(*s.override));
    const std::string culture = GetCulture().ToUTF8();
    const std::string language = GetLanguageCode().ToUTF8();
    const std::string web = GetFolianWebCode().ToUTF8();
    const std::string osLocale = GetOSLocale().ToUTF8();
    if (answers.json()) {
      JsonLine(answers)
          .Text("culture", culture)
          .Text("language", language)
          .Text("web", web)
          .Text("os_locale", osLocale);
    } else {
      answers.Line("culture\t" + culture);
      answers.Line("language\t" + language);
      answers.Line("web\t" + web);
      answers.Line("os-locale\t" + osLocale);
    }
    return kAnswered;
  }
};

class HelpUrlCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "KEY", s.name, "the help topic")->required();
    app.add_flag("--open", s.open, "also open the address");
  }
  int Run(Answers& answers) override {
    CHelpURLs& urls = CHelpURLs::Default();
    bool isLocalFile = false;
    const std::string url = urls.GetURL(velmar_ustring(s.name), isLocalFile).ToUTF8();
    if (s.open) urls.OpenURL(velmar_ustring(s.name));
    if (answers.json()) {
      JsonLine(answers).Text("key", s.name).Text("url", url).Bool("local_file", isLocalFile);
    } else {
      answers.Line(url.empty() ? "none" : url);
    }
    return url.empty() ? kNothingFound : kAnswered;
  }
};

class PngBackgroundCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App& app) override { AddText(app, "FILE", s.name, "the .png file")->required(); }
  int Run(Answers& answers) override {
    velmar::utils::CColor color;
    const bool found = GetImageBackgroundColor(velmar_ustring(s.name), &color);
    if (answers.json()) {
      JsonLine line(answers);
      line.Text("file", s.name).Bool("found", found);
      if (found) {
        line.Integer("red", color.Red())
            .Integer("green", color.Green())
            .Integer("blue", color.Blue())
            .Integer("alpha", color.Alpha());
      }
    } else if (found) {
      answers.Line(std::to_string(color.Red()) + " " + std::to_string(color.Green()) + " " +
                   std::to_string(color.Blue()) + " " + std::to_string(color.Alpha()));
    } else {
      answers.Line("none");
    }
    return found ? kAnswered : kNothingFound;
  }
};

[[maybe_unused]] const bool kRegistered =
    RegisterCommand({"support-folders", kEnvironment,
                     "print the per-user folder, the all-users folder and the companion "
                     "modeller's executable; creates missing folders",
                     Make<SupportFoldersCommand>}) &&
    RegisterCommand({"find-support-file", kEnvironment,
                     "search the support folders for NAME (below FOLDER); \"none\" and status 1 "
                     "if absent",
                     Make<FindSupportFileCommand>}) &&
    RegisterCommand({"upgrade-version", kEnvironment,
                     "print the newest earlier version whose per-user folder exists (\"none\" "
                     "and status 1 if there is none)",
                     Make<UpgradeVersionCommand>}) &&
    RegisterCommand({"culture", kEnvironment,
                     "print the culture, language code, web code and the system's locale name",
                     Make<CultureCommand>}) &&
    RegisterCommand({"help-url", kEnvironment,
                     "print the help address of KEY from helpurls.json (\"none\" and status 1 if "
                     "there is none)",
                     Make<HelpUrlCommand>}) &&
    RegisterCommand({"png-background", kEnvironment,
                     "print the background colour a .png file declares as \"R G B A\" (\"none\" "
                     "and status 1 if it declares none)",
                     Make<PngBackgroundCommand>});

}  // namespace
}  // namespace folian::tool
