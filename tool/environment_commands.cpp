// support-folders, find-support-file, upgrade-version, culture, help-url,
// png-background: where the application keeps its files and what it knows
// of the user.
#include <CLI/CLI.hpp>
#include <optional>
#include <string>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"
#include "tool/input_file.h"
#include "tool/options.h"

namespace folian::tool {
namespace {

using velmar::utils::velmar_ustring;

// A text, or null for an empty one.
Value& TextOrNull(Value& fields, const char* key, const std::string& text) {
  return text.empty() ? fields.Null(key) : fields.Text(key, text);
}

struct FolderSettings {
  std::optional<int> version;
  std::string name;
  std::optional<std::string> folder;
  bool open = false;
};

class SupportFoldersCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App& app) override {
    AddAppVersionOption(app, s.version)
        ->description(
            "application version of the per-user folder, 0 to 99 (0: the viewer's; the current "
            "one by default); the all-users folder is always the current version's");
  }
  int Run(Record& record) override {
    const int version = s.version.value_or(velmar::kCurrentMajorVersion);
    const std::string user = GetUserSupportFolder(version).ToUTF8();
    const std::string install = GetInstallSupportFolder().ToUTF8();
    const std::string trelvin = PathToTrelvin().ToUTF8();
    const std::string current = std::to_string(velmar::kCurrentMajorVersion);
    Value& fields = record.fields();
    fields.Integer("user_version", version).Hidden();
    fields.Text("user", user)
        .Label("user ")
        .Plain("(version " + std::to_string(version) + ")\t" + user);
    fields.Integer("install_version", velmar::kCurrentMajorVersion).Hidden();
    fields.Text("install", install)
        .Label("install ")
        .Plain("(always the current version, " + current + ")\t" + install);
    TextOrNull(fields, "trelvin", trelvin).Label("trelvin\t");
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
  int Run(Record& record) override {
    const velmar_ustring name(s.name);
    const std::string found =
        (s.folder ? FindSupportFile(name, velmar_ustring(*s.folder)) : FindSupportFile(name))
            .ToUTF8();
    TextOrNull(record.fields(), "path", found);
    return found.empty() ? kNothingFound : kAnswered;
  }
};

class UpgradeVersionCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App&) override {}
  int Run(Record& record) override {
    const int version = GetVersionForUpgrade();
    const bool found = version >= 0;
    if (found) {
      record.fields().Integer("version", version);
    } else {
      record.fields().Null("version");
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
  int Run(Record& record) override {
    if (s.override) SetCulture(velmar_ustring(*s.override));
    const std::string culture = GetCulture().ToUTF8();
    const std::string language = GetLanguageCode().ToUTF8();
    const std::string web = GetFolianWebCode().ToUTF8();
    const std::string osLocale = GetOSLocale().ToUTF8();
    Value& fields = record.fields();
    fields.Text("culture", culture).Label("culture\t");
    fields.Text("language", language).Label("language\t");
    fields.Text("web", web).Label("web\t");
    fields.Text("os_locale", osLocale).Label("os-locale\t");
    return kAnswered;
  }
};

class HelpUrlCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App& app) override {
    AddText(app, "KEY", s.name, "the help topic")->required();
    app.add_flag("--open", s.open, "also open the address");
  }
  int Run(Record& record) override {
    CHelpURLs& urls = CHelpURLs::Default();
    bool isLocalFile = false;
    const std::string url = urls.GetURL(velmar_ustring(s.name), isLocalFile).ToUTF8();
    if (s.open) urls.OpenURL(velmar_ustring(s.name));
    record.fields().Text("key", s.name).Hidden();
    TextOrNull(record.fields(), "url", url);
    record.fields().Bool("local_file", isLocalFile).Hidden();
    return url.empty() ? kNothingFound : kAnswered;
  }
};

class PngBackgroundCommand : public CommandWith<FolderSettings> {
 public:
  void Define(CLI::App& app) override { AddText(app, "FILE", s.name, "the .png file")->required(); }
  int Run(Record& record) override {
    CheckWholeInputFile(s.name);
    velmar::utils::CColor color;
    const bool found = GetImageBackgroundColor(velmar_ustring(s.name), &color);
    record.fields().Text("file", s.name).Hidden();
    if (found) {
      Value& rgba = record.fields().Object("color");
      rgba.Integer("red", color.Red());
      rgba.Integer("green", color.Green());
      rgba.Integer("blue", color.Blue());
      rgba.Integer("alpha", color.Alpha());
    } else {
      record.fields().Null("color");
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
