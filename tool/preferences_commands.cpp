// prefs-list, prefs-get, prefs-set, prefs-import, prefs-paths: the
// application's preference files of a version.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <ostream>
#include <string>
#include <vector>

#include "FolianUtils/FolianUtils.h"
#include "tool/command.h"

namespace folian::tool {
namespace {

using velmar::utils::Variant;
using velmar::utils::velmar_ustring;

enum class Kind { kBool, kInt, kDouble, kString };

struct KnownKey {
  const velmar_ustring& key;
  Kind kind;
};

// The keys whose type the library fixes; the colour tray follows them.
const std::vector<KnownKey>& KnownKeys() {
  using P = Preferences;
  static const std::vector<KnownKey> keys = {
      {P::kAutoUpdateTrelvinModels, Kind::kBool},
      {P::kEditTrelvinModels, Kind::kBool},
      {P::kTwoFingerPan, Kind::kBool},
      {P::kDraftMode, Kind::kBool},
      {P::kDraftModeOptions, Kind::kInt},
      {P::kDraftModeBehavior, Kind::kInt},
      {P::kReDrawDelayInSeconds, Kind::kDouble},
      {P::kScrollSpeedCoefficient, Kind::kDouble},
      {P::kUseSkia, Kind::kBool},
      {P::kSkiaRTFLoggingEnabled, Kind::kBool},
      {P::kHighlightColorSharedLayerStr, Kind::kInt},
      {P::kHighlightColorNonsharedLayerStr, Kind::kInt},
      {P::kHighlightColorLockedEntityStr, Kind::kInt},
      {P::kBackupPrefsStr, Kind::kBool},
      {P::kAutoSavePrefsStr, Kind::kBool},
      {P::kAutoSaveIntervalPrefsStr, Kind::kDouble},
      {P::kPresentationScreenEnum, Kind::kInt},
      {P::kShowNewVersionMessage, Kind::kBool},
      {P::kImageEditorApplication, Kind::kString},
      {P::kTextEditorApplication, Kind::kString},
      {P::kTableEditorApplication, Kind::kString},
      {P::kColorChooserImagePath, Kind::kString},
      {P::kFilterScalesComboBox_WIN, Kind::kBool},
      {P::kStyleInspectorShowThumbnails, Kind::kBool},
      {P::kPageInspectorShowThumbnails, Kind::kBool},
      {P::kPatternInspectorShowThumbnails, Kind::kBool},
      {P::kWarningEntitiesCannotGroup, Kind::kBool},
      {P::kWarningLayerHasUnselectableEntity, Kind::kBool},
      {P::kWarningCouldNotPreserveLayer, Kind::kBool},
      {P::kWarningPastedOutsideGroup, Kind::kBool},
      {P::kWarningPastedTrvOutsideGroup, Kind::kBool},
      {P::kWarningPastedOnHiddenLayer, Kind::kBool},
      {P::kWarningMoveEntitySplitGroup, Kind::kBool},
      {P::kWarningShareLayerSplitGroup, Kind::kBool},
      {P::kWarningDeleteLayerSplitGroup, Kind::kBool},
      {P::kWarningUnableToRenderModels, Kind::kBool},
      {P::kWarnOnOlderFileOpen, Kind::kBool},
      {P::kWarnOnNewerFileOpen, Kind::kBool},
      {P::kWarnOnVectorRender, Kind::kBool},
      {P::kWarnOnHybridRender, Kind::kBool},
  };
  return keys;
}

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
  for (const KnownKey& known : KnownKeys()) {
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

bool ParseInt(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

// Numbers on the command line use "." whatever the user's locale.
bool ParseDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  const std::string::size_type bad = text.find_first_not_of("0123456789+-.eE");
  if (bad != std::string::npos) return false;
  std::size_t consumed = 0;
  try {
    value = std::stod(text, &consumed);
  } catch (const std::exception&) {
    return false;
  }
  return consumed == text.size() && std::isfinite(value);
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

std::string FormatDouble(double value) {
  velmar_ustring text;
  text.Format(VELMAR_U("%.17g"), value);
  return text.ToUTF8();
}

struct Shown {
  std::string type;
  std::string value;  // plain text
  std::string json;   // JSON value
};

Shown Show(const Variant& item) {
  switch (item.GetType()) {
    case Variant::kBool: {
      const char* text = item.GetBool() ? "true" : "false";
      return {"bool", text, text};
    }
    case Variant::kInt8:
      return {"int", std::to_string(item.GetInt8()), std::to_string(item.GetInt8())};
    case Variant::kInt16:
      return {"int", std::to_string(item.GetInt16()), std::to_string(item.GetInt16())};
    case Variant::kInt32:
      return {"int", std::to_string(item.GetInt32()), std::to_string(item.GetInt32())};
    case Variant::kInt64:
      return {"int", std::to_string(item.GetInt64()), std::to_string(item.GetInt64())};
    case Variant::kFloat: {
      const std::string text = FormatDouble(item.GetFloat());
      return {"double", text, text};
    }
    case Variant::kDouble: {
      const std::string text = FormatDouble(item.GetDouble());
      return {"double", text, std::isfinite(item.GetDouble()) ? text : "null"};
    }
    case Variant::kString: {
      const std::string text = item.GetString().ToUTF8();
      return {"string", text, JsonQuote(text)};
    }
    default:
      return {"other", "(a value of kind " + std::to_string(item.GetType()) + ")", "null"};
  }
}

struct StoreOptions {
  int version = velmar::kCurrentMajorVersion;
  std::vector<std::string> positional;
  std::string type;
};

StoreOptions ParseStoreOptions(const std::vector<std::string>& args, bool allowType) {
  StoreOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--version" || (allowType && arg == "--type")) {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "--type") {
        options.type = value;
      } else if (!ParseInt(value, options.version) || options.version < 0 || options.version > 99) {
        throw UsageError{"--version needs a number from 0 to 99, not '" + value + "'"};
      }
    } else if (arg == "--") {
      options.positional.insert(options.positional.end(), args.begin() + i + 1, args.end());
      break;
    } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      throw UsageError{"unknown option '" + arg + "'"};
    } else {
      options.positional.push_back(arg);
    }
  }
  return options;
}

void PrintItem(Invocation& call, const std::string& key, const Shown& shown) {
  if (call.json) {
    call.out << "{\"key\":" << JsonQuote(key) << ",\"type\":" << JsonQuote(shown.type)
             << ",\"value\":" << shown.json << "}\n";
  } else {
    call.out << key << "\t" << shown.type << "\t" << shown.value << "\n";
  }
}

int RunList(Invocation& call) {
  const StoreOptions options = ParseStoreOptions(call.args, false);
  if (!options.positional.empty()) throw UsageError{"prefs-list takes no KEY"};
  TempPreferences store(options.version);
  std::vector<velmar_ustring> keys;
  for (const KnownKey& known : KnownKeys()) keys.push_back(known.key);
  for (const velmar_ustring* key : UntypedKeys()) keys.push_back(*key);
  for (int n = 0;; ++n) {
    velmar_ustring key;
    key.Format(Preferences::kColorTrayPrefix, n);
    if (!store.ContainsItem(key)) break;
    keys.push_back(key);
  }
  for (const velmar_ustring& key : keys) {
    // A category of the same name counts as contained but holds no item.
    const Variant item = store.GetItem(key);
    if (!item.IsEmpty()) PrintItem(call, key.ToUTF8(), Show(item));
  }
  return 0;
}

int RunGet(Invocation& call) {
  const StoreOptions options = ParseStoreOptions(call.args, false);
  if (options.positional.size() != 1) throw UsageError{"prefs-get takes one KEY"};
  const std::string& key = options.positional[0];
  TempPreferences store(options.version);
  const Variant item = store.GetItem(velmar_ustring(key));
  if (item.IsEmpty()) {
    if (call.json) {
      call.out << "{\"key\":" << JsonQuote(key) << ",\"type\":null,\"value\":null}\n";
    } else {
      call.out << "none\n";
    }
    return 1;
  }
  PrintItem(call, key, Show(item));
  return 0;
}

int RunSet(Invocation& call) {
  const StoreOptions options = ParseStoreOptions(call.args, true);
  if (options.positional.size() != 2) throw UsageError{"prefs-set takes a KEY and a VALUE"};
  const velmar_ustring key(options.positional[0]);
  const std::string& text = options.positional[1];
  if (key.empty()) throw UsageError{"the KEY is empty"};

  Kind kind = Kind::kString;
  if (!options.type.empty()) {
    if (!ParseKind(options.type, kind)) {
      throw UsageError{"--type is bool, int, double or string, not '" + options.type + "'"};
    }
  } else if (!FindKnownKind(key, kind)) {
    throw UsageError{"the type of '" + options.positional[0] + "' is not known: give --type"};
  }

  TempPreferences store(options.version);
  bool flag = false;
  int integer = 0;
  double number = 0.0;
  bool written = false;
  switch (kind) {
    case Kind::kBool:
      if (!ParseBool(text, flag)) throw UsageError{"a bool is true or false, not '" + text + "'"};
      written = store.WriteBool(key, flag);
      break;
    case Kind::kInt:
      if (!ParseInt(text, integer)) throw UsageError{"not a 32-bit integer: '" + text + "'"};
      written = store.WriteInt(key, integer);
      break;
    case Kind::kDouble:
      if (!ParseDouble(text, number)) throw UsageError{"not a number: '" + text + "'"};
      written = store.WriteDouble(key, number);
      break;
    case Kind::kString:
      written = store.WriteString(key, velmar_ustring(text));
      break;
  }
  if (!written) {
    call.err << "folianutils prefs-set: the store refused the value\n";
    return 1;
  }
  store.Save();
  if (!store.LastSaveError().empty()) {
    call.err << "folianutils: " << store.LastSaveError().ToUTF8() << "\n";
    return 1;
  }
  PrintItem(call, options.positional[0], Show(store.GetItem(key)));
  return 0;
}

int RunImport(Invocation& call) {
  if (!call.args.empty()) throw UsageError{"prefs-import takes no arguments"};
  TempPreferences store(velmar::kCurrentMajorVersion);
  const int from = store.ImportPreviousVersionSettings();
  if (from >= 0) {
    store.Save();
    if (!store.LastSaveError().empty()) {
      call.err << "folianutils: " << store.LastSaveError().ToUTF8() << "\n";
      return 1;
    }
  }
  if (call.json) {
    call.out << "{\"imported_from\":" << (from >= 0 ? std::to_string(from) : "null") << "}\n";
  } else if (from >= 0) {
    call.out << "imported from " << from << "\n";
  } else {
    call.out << "none\n";
  }
  return from >= 0 ? 0 : 1;
}

int RunPaths(Invocation& call) {
  const StoreOptions options = ParseStoreOptions(call.args, false);
  if (!options.positional.empty()) throw UsageError{"prefs-paths takes no arguments"};
  const TempPreferences store(options.version);
  const std::string privateFile = store.GetPrivateFilePath().ToUTF8();
  const std::string publicFile = store.GetPublicFilePath().ToUTF8();
  if (call.json) {
    call.out << "{\"version\":" << options.version << ",\"private\":" << JsonQuote(privateFile)
             << ",\"public\":" << JsonQuote(publicFile) << "}\n";
  } else {
    call.out << "private\t" << privateFile << "\npublic\t" << publicFile << "\n";
  }
  return 0;
}

}  // namespace

void RegisterPreferencesCommands(CommandTable& table) {
  table.Add({"prefs-list", "[--version N]",
             "list the set keys of the application's vocabulary: KEY, type and value per line",
             RunList});
  table.Add({"prefs-get", "KEY [--version N]",
             "print the type and value of KEY (\"none\" and status 1 if it is not set)", RunGet});
  table.Add({"prefs-set", "KEY VALUE [--type bool|int|double|string] [--version N]",
             "write KEY and save the files; --type is needed for keys without a known type",
             RunSet});
  table.Add({"prefs-import", "",
             "import the newest earlier version's settings into the current files and save "
             "(\"none\" and status 1 if there is none)",
             RunImport});
  table.Add({"prefs-paths", "[--version N]",
             "print the private and public preference files of a version (default 26)", RunPaths});
}

}  // namespace folian::tool
