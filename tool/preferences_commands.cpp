// prefs-list, prefs-get, prefs-set, prefs-import, prefs-paths,
// prefs-watch: the application's preference files of a version.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "FolianUtils/FolianUtils.h"
#include "platform/folder_watch.h"
#include "prefs/preference_kinds.h"
#include "tool/command.h"
#include "tool/options.h"
#include "tool/output.h"
#include "tool/tool.h"

namespace folian::tool {
namespace {

using velmar::utils::Variant;
using velmar::utils::velmar_ustring;

using Kind = PreferenceKind;
// Keys the application uses without a type fixed here.
const std::vector<const velmar_ustring*>& UntypedKeys() {
  using P = Preferences;
  static const std::vector<const velmar_ustring*> keys = {
      &P::kStartupTmpltModeStr,
      &P::kLastOpenFilesOnCloseStr,
      &P::kNewDocModeStr,
      &P::kStartupTmpltSpecStr,
      &P::kDumpFontListKey,
      &P::kLastStartupTabSelected_WIN,
      &P::kLastCultureRan_WIN,
      &P::kCultureOverride_WIN,
      &P::kShowCultureOverride_WIN,
      &P::kStubPDFDrawing_WIN,
      &P::kRecentFilesList_WIN,
      &P::kMainWindowPlacement_WIN,
      &P::kCascadeMainWindow,
      &P::kMainFrameSize,
      &P::kDefaultTemplateFile,
      &P::kDefaultTemplateFolder,
      &P::kDefaultStartupMode,
      &P::kLastStartupTabSelected,
      &P::kLastStyleFolderDisplayed,
      &P::kShowDebugMenu_MAC,
      &P::kLastScrapbookFile,
      &P::kLastScrapbookPage,
      &P::kLastExportFormat,
      &P::kRecentTemplatesList,
      &P::kShowWelcomeWindow,
      &P::kTemplateFoldersCountPrefsStr,
      &P::kScrapbookFoldersCountPrefsStr,
      &P::kPatternFillFoldersCountPrefsStr,
      &P::kUniqueUserGUIDStr,
      &P::kLastPromptedForUpdateStr,
      &P::kTrvModelInspectorCollapseCamera,
      &P::kTrvModelInspectorCollapseEffects,
      &P::kTrvModelInspectorCollapseStyle,
      &P::kTrvModelInspectorCollapseTags,
      &P::kShortcutsStr,
      &P::kNamedScalesStr,
      &P::kTrvNewRendererCount,
      &P::kWarningEditGroupLayer,
      &P::kWarningUnableToPickTrvModels,
      &P::kWarningSlugMayHaveCrashed,
  };
  return keys;
}

const char* KindName(Kind kind) {
  switch (kind) {
    case Kind::kBool:
      return "bool";
    case Kind::kInt:
      return "int";
    case Kind::kDouble:
      return "double";
    case Kind::kString:
      return "string";
  }
  return "string";
}

bool ParseKind(const std::string& name, Kind& kind) {
  for (const Kind candidate : {Kind::kBool, Kind::kInt, Kind::kDouble, Kind::kString}) {
    if (name == KindName(candidate)) {
      kind = candidate;
      return true;
    }
  }
  return false;
}

bool FindKnownKind(const velmar_ustring& key, Kind& kind) {
  for (const TypedPreferenceKey& known : TypedPreferenceKeys()) {
    if (known.key == key) {
      kind = known.kind;
      return true;
    }
  }
  // ColorTray0, ColorTray1, ...
  const std::string text = key.ToUTF8();
  const std::string prefix = "ColorTray";
  if (text.size() > prefix.size() && text.compare(0, prefix.size(), prefix) == 0 &&
      text.find_first_not_of("0123456789", prefix.size()) == std::string::npos) {
    kind = Kind::kInt;
    return true;
  }
  return false;
}

bool ParseBool(const std::string& text, bool& value) {
  if (text == "true" || text == "1") {
    value = true;
  } else if (text == "false" || text == "0") {
    value = false;
  } else {
    return false;
  }
  return true;
}

// One item as the tool shows it.
struct Shown {
  enum Kind { kBool, kInt, kDouble, kString, kOther };
  Kind kind = kOther;
  std::string text;     // the plain text; the string of a string
  double number = 0.0;  // of a double
  long long integer = 0;
  bool flag = false;
};

const char* KindName(Shown::Kind kind) {
  static const char* const kNames[] = {"bool", "int", "double", "string", "other"};
  return kNames[kind];
}

Shown Show(const Variant& item) {
  Shown shown;
  switch (item.GetType()) {
    case Variant::kBool:
      shown.kind = Shown::kBool;
      shown.flag = item.GetBool();
      shown.text = shown.flag ? "true" : "false";
      return shown;
    case Variant::kInt8:
    case Variant::kInt16:
    case Variant::kInt32:
    case Variant::kInt64:
      shown.kind = Shown::kInt;
      shown.integer = item.GetType() == Variant::kInt8    ? item.GetInt8()
                      : item.GetType() == Variant::kInt16 ? item.GetInt16()
                      : item.GetType() == Variant::kInt32 ? item.GetInt32()
                                                          : item.GetInt64();
      shown.text = std::to_string(shown.integer);
      return shown;
    case Variant::kFloat:
      shown.kind = Shown::kDouble;
      shown.number = item.GetFloat();
      shown.text = ShortestFloatText(item.GetFloat());
      return shown;
    case Variant::kDouble:
      shown.kind = Shown::kDouble;
      shown.number = item.GetDouble();
      shown.text = ShortestText(shown.number);
      return shown;
    case Variant::kString:
      shown.kind = Shown::kString;
      shown.text = item.GetString().ToUTF8();
      return shown;
    default:
      shown.text = "(a value of kind " + std::to_string(item.GetType()) + ")";
      return shown;
  }
}

// The "value" member of `item`.
void WriteValue(Value& item, const Shown& shown) {
  switch (shown.kind) {
    case Shown::kBool:
      item.Bool("value", shown.flag);
      break;
    case Shown::kInt:
      item.Integer("value", shown.integer);
      break;
    case Shown::kDouble:
      // A float keeps its own shortest text.
      if (static_cast<double>(static_cast<float>(shown.number)) == shown.number &&
          ShortestFloatText(static_cast<float>(shown.number)) == shown.text) {
        item.Float("value", static_cast<float>(shown.number));
      } else {
        item.Number("value", shown.number);
      }
      break;
    case Shown::kString:
      item.Text("value", shown.text);
      break;
    case Shown::kOther:
      item.Null("value").Plain(shown.text);
      break;
  }
}

// KEY, type and value: a tab-separated line in plain text.
void WriteItem(Value& item, const std::string& key, const Shown& shown) {
  item.Join("\t");
  item.Text("key", key);
  item.Text("type", KindName(shown.kind));
  WriteValue(item, shown);
}

// Whether the files of `store` were saved; on failure the answer carries
// the file and the system's error.
bool ReportSave(const Preferences& store, Record& record) {
  const std::string error = store.LastSaveError().ToUTF8();
  if (error.empty()) return true;
  record.Fail("cannot save the preferences: " + error);
  return false;
}

// The reading of a VALUE, whose type is known only once the KEY is, with
// its failure as a usage error.
template <typename Read>
auto ReadValue(Read read) -> decltype(read()) {
  try {
    return read();
  } catch (const CLI::ValidationError& error) {
    throw UsageError{error.what()};
  }
}

struct StoreSettings {
  std::optional<int> version;
  std::string key;
  std::string value;
  std::optional<Kind> type;

  int Version() const { return version.value_or(velmar::kCurrentMajorVersion); }
};

void DefineKey(CLI::App& app, StoreSettings& s) {
  AddText(app, "KEY", s.key, "the preference's key")->required();
}

class ListCommand : public CommandWith<StoreSettings> {
 public:
  void Define(CLI::App& app) override { AddAppVersionOption(app, s.version); }
  int Run(Record& record) override {
    TempPreferences store(s.Version());
    std::vector<velmar_ustring> keys;
    for (const TypedPreferenceKey& known : TypedPreferenceKeys()) keys.push_back(known.key);
    for (const velmar_ustring* key : UntypedKeys()) keys.push_back(*key);
    for (int n = 0;; ++n) {
      velmar_ustring key;
      key.Format(Preferences::kColorTrayPrefix, n);
      if (!store.ContainsItem(key)) break;
      keys.push_back(key);
    }
    std::vector<std::pair<std::string, Shown>> items;
    for (const velmar_ustring& key : keys) {
      // A category of the same name counts as contained but holds no item.
      const Variant item = store.GetItem(key);
      if (!item.IsEmpty()) items.emplace_back(key.ToUTF8(), Show(item));
    }
    record.fields().Integer("version", s.Version()).Hidden();
    Value& list = record.fields().List("items", "\n");
    for (const auto& [key, shown] : items) WriteItem(list.Object(nullptr), key, shown);
    return kAnswered;
  }
};

class GetCommand : public CommandWith<StoreSettings> {
 public:
  void Define(CLI::App& app) override {
    DefineKey(app, s);
    AddAppVersionOption(app, s.version);
  }
  int Run(Record& record) override {
    TempPreferences store(s.Version());
    const Variant item = store.GetItem(velmar_ustring(s.key));
    if (!item.IsEmpty()) {
      WriteItem(record.fields(), s.key, Show(item));
      return kAnswered;
    }
    record.fields().Text("key", s.key);
    record.fields().Null("type");
    record.fields().Null("value");
    return kNothingFound;
  }
};

class SetCommand : public CommandWith<StoreSettings> {
 public:
  void Define(CLI::App& app) override {
    DefineKey(app, s);
    AddText(app, "VALUE", s.value, "the new value")->required();
    CLI::Option* type = app.add_option_function<std::string>(
        "--type",
        [this](const std::string& name) {
          Kind kind = Kind::kString;
          if (!ParseKind(name, kind)) {
            throw CLI::ValidationError("--type",
                                       "'" + name + "' is not one of bool|int|double|string");
          }
          s.type = kind;
        },
        "the value's type (bool|int|double|string); needed for keys without a known type");
    type->type_name("TYPE");
    SetChoices(type, {"bool", "int", "double", "string"});
    AddAppVersionOption(app, s.version);
  }

  int Run(Record& record) override {
    const velmar_ustring key(s.key);
    if (key.empty()) throw UsageError{"the KEY is empty"};
    Kind kind = Kind::kString;
    if (s.type) {
      kind = *s.type;
    } else if (!FindKnownKind(key, kind)) {
      throw UsageError{"the type of '" + s.key + "' is not known: give --type"};
    }
    TempPreferences store(s.Version());
    bool written = false;
    switch (kind) {
      case Kind::kBool: {
        bool flag = false;
        if (!ParseBool(s.value, flag))
          throw UsageError{"a bool is true or false, not '" + s.value + "'"};
        written = store.WriteBool(key, flag);
        break;
      }
      case Kind::kInt:
        written = store.WriteInt(
            key, ReadValue([&] { return ReadWholeNumber("VALUE", s.value, INT_MIN, INT_MAX); }));
        break;
      case Kind::kDouble:
        written = store.WriteDouble(key, ReadValue([&] { return ReadNumber("VALUE", s.value); }));
        break;
      case Kind::kString:
        written = store.WriteString(key, velmar_ustring(s.value));
        break;
    }
    if (!written) {
      record.Fail("the store refused the value");
      return kNothingFound;
    }
    store.Save();
    if (!ReportSave(store, record)) return kNothingFound;
    WriteItem(record.fields(), s.key, Show(store.GetItem(key)));
    return kAnswered;
  }
};

class ImportCommand : public CommandWith<StoreSettings> {
 public:
  void Define(CLI::App&) override {}
  int Run(Record& record) override {
    TempPreferences store(velmar::kCurrentMajorVersion);
    const int from = store.ImportPreviousVersionSettings();
    if (from >= 0) {
      store.Save();
      if (!ReportSave(store, record)) return kNothingFound;
    }
    if (from >= 0) {
      record.fields().Integer("imported_from", from).Label("imported from ");
    } else {
      record.fields().Null("imported_from");
    }
    return from >= 0 ? kAnswered : kNothingFound;
  }
};

class PathsCommand : public CommandWith<StoreSettings> {
 public:
  void Define(CLI::App& app) override { AddAppVersionOption(app, s.version); }
  int Run(Record& record) override {
    const auto [privateFile, publicFile] = Preferences::FilePathsOf(s.Version());
    record.fields().Integer("version", s.Version()).Hidden();
    record.fields().Text("private", privateFile.ToUTF8()).Label("private\t");
    record.fields().Text("public", publicFile.ToUTF8()).Label("public\t");
    return kAnswered;
  }
};

// Prints each value another process changes, one answer per change, until
// interrupted.
class WatchCommand : public CommandWith<StoreSettings> {
 public:
  WatchCommand(Tool& tool, Output& output) : m_tool(tool), m_output(output) {}
  void Define(CLI::App& app) override { AddAppVersionOption(app, s.version); }
  int Run(Record& record) override {
    TempPreferences store(s.Version());
    if (!store.StartWatching()) {
      record.Fail(store.LastWatchError().ToUTF8());
      return kNothingFound;
    }
    velmar::platform::CatchInterrupts();
    record.SetWritten();
    while (velmar::platform::WaitForWatch(store.GetWatchHandle(), std::chrono::milliseconds(-1)) ==
           velmar::platform::WaitResult::kReady) {
      std::string out;
      for (const auto& change : store.ReloadChanges()) Write(change, out);
      if (!m_output.Write(out) || !m_output.Flush()) return kNothingFound;
    }
    return kAnswered;
  }

 private:
  void Write(const Preferences::ValueChange& change, std::string& out) const {
    static const char* const kWhat[] = {"added", "changed", "removed"};
    Record answer;
    answer.Start("prefs-watch");
    Value& fields = answer.fields();
    fields.Join("\t");
    fields.Text("key", change.key.empty() ? change.category.ToUTF8() : change.key.ToUTF8());
    fields.Text("category", change.category.ToUTF8());
    fields.Text("change", kWhat[change.what]);
    for (const auto& [name, value] :
         {std::pair{"old", &change.old_value}, std::pair{"new", &change.new_value}}) {
      if (value->IsEmpty()) {
        fields.Null(name).Plain("-");
      } else {
        Value& shown = fields.Object(name, ":");
        const Shown item = Show(*value);
        shown.Text("type", KindName(item.kind)).Hidden();
        WriteValue(shown, item);
      }
    }
    if (m_tool.json()) {
      answer.WriteJson(out);
    } else {
      answer.WritePlain(out);
    }
  }

  Tool& m_tool;
  Output& m_output;
};

[[maybe_unused]] const bool kRegistered =
    RegisterCommand({"prefs-list", kPreferences,
                     "list the set keys of the application's vocabulary: KEY, type and value per "
                     "line",
                     Make<ListCommand>}) &&
    RegisterCommand({"prefs-get", kPreferences,
                     "print the type and value of KEY (\"none\" and status 1 if it is not set)",
                     Make<GetCommand>}) &&
    RegisterCommand({"prefs-set", kPreferences,
                     "write KEY and save the files; --type is needed for keys without a known "
                     "type",
                     Make<SetCommand>}) &&
    RegisterCommand({"prefs-import", kPreferences,
                     "import the newest earlier version's settings into the current files and "
                     "save (\"none\" and status 1 if there is none)",
                     Make<ImportCommand>}) &&
    RegisterCommand({"prefs-paths", kPreferences,
                     "print the private and public preference files of a version",
                     Make<PathsCommand>});

}  // namespace

std::unique_ptr<Command> MakeWatchCommand(Tool& tool, Output& output) {
  return std::make_unique<WatchCommand>(tool, output);
}

}  // namespace folian::tool
