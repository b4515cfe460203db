#include "TrelvinCommonPreferences/json_common.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>
#include <type_traits>

#include "base/utf16.h"
#include "base/utf8.h"
#include "platform/durable_file.h"
#include "prefs/common/base64.h"
#include "prefs/common/category_tables.h"
#include "prefs/common/change_record.h"
#include "prefs/common/file_state.h"
#include "prefs/common/json_codec.h"
#include "prefs/common/preference_file.h"
#include "prefs/common/store_watch.h"
#include "prefs/common/table_diff.h"

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::Variant;
using utils::VariantVector;
using string_type = utils::velmar_ustring::string_type;

constexpr const char* kCannotWriteValues = "cannot write the values";
constexpr const char* kNeverLoaded = "the preferences have no files: they were never loaded";

std::uint64_t NowMilliseconds() {
  const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count());
}

// Exact conversions between the number kinds.
bool NumberAsDouble(const Variant& value, double& out) {
  switch (value.GetType()) {
    case Variant::kInt8:
      out = value.GetInt8();
      return true;
    case Variant::kInt16:
      out = value.GetInt16();
      return true;
    case Variant::kInt32:
      out = value.GetInt32();
      return true;
    case Variant::kInt64: {
      const std::int64_t integer = value.GetInt64();
      const auto real = static_cast<double>(integer);
      // 2^63 rounds up out of range; everything below converts back safely.
      if (real >= 9223372036854775808.0 || static_cast<std::int64_t>(real) != integer) return false;
      out = real;
      return true;
    }
    case Variant::kFloat:
      out = value.GetFloat();
      return true;
    case Variant::kDouble:
      out = value.GetDouble();
      return true;
    default:
      return false;
  }
}

bool NumberAsInt(const Variant& value, int& out) {
  if (value.GetType() == Variant::kInt64) {
    const std::int64_t integer = value.GetInt64();
    if (integer < std::numeric_limits<int>::min() || integer > std::numeric_limits<int>::max()) {
      return false;
    }
    out = static_cast<int>(integer);
    return true;
  }
  double real = 0.0;
  if (!NumberAsDouble(value, real)) return false;
  if (!(real >= std::numeric_limits<int>::min() && real <= std::numeric_limits<int>::max()) ||
      std::trunc(real) != real) {
    return false;
  }
  out = static_cast<int>(real);
  return true;
}

// Depth below the file's root object at which values are written: a
// section, then a category, then its keys' values.
constexpr std::size_t kValueDepth = 3;
constexpr std::size_t kWholeDepth = 2;

}  // namespace

IPreferences::~IPreferences() = default;

struct JsonCommon::State {
  State() = default;
  // A copy does not watch.
  State(const State& other) : files(other.files), changes(other.changes) {}
  State& operator=(const State& other) {
    files = other.files;
    changes = other.changes;
    return *this;
  }

  std::array<FileState, 2> files;
  ChangeRecord changes;
  std::unique_ptr<StoreWatch> watch;
  velmar_ustring watch_error;
};

JsonCommon::JsonCommon()
    : m_state(std::make_unique<State>()),
      m_env(&platform::DefaultFileEnv()),
      m_maxFileSize(kMaxFileSize) {}

JsonCommon::JsonCommon(const JsonCommon& other)
    : IPreferences(other),
      m_publicFilePath(other.m_publicFilePath),
      m_privateFilePath(other.m_privateFilePath),
      m_categoryTables(other.m_categoryTables),
      m_state(std::make_unique<State>(*other.m_state)),
      m_lastSaveError(other.m_lastSaveError),
      m_env(other.m_env),
      m_maxFileSize(other.m_maxFileSize) {}

JsonCommon& JsonCommon::operator=(const JsonCommon& other) {
  if (this == &other) return *this;
  m_publicFilePath = other.m_publicFilePath;
  m_privateFilePath = other.m_privateFilePath;
  m_categoryTables = other.m_categoryTables;
  *m_state = *other.m_state;
  m_lastSaveError = other.m_lastSaveError;
  m_env = other.m_env;
  m_maxFileSize = other.m_maxFileSize;
  return *this;
}

JsonCommon::~JsonCommon() = default;

const utils::velmar_ustring& JsonCommon::FilePath(EShareLevel level) const {
  return level == kShareLevelPrivate ? m_privateFilePath : m_publicFilePath;
}

Variant* JsonCommon::FindValue(CategoryKind kind, const velmar_ustring& category,
                               const velmar_ustring& key) {
  return FindValueIn(m_categoryTables, kind, category, key);
}

bool JsonCommon::StoreValue(CategoryKind kind, const velmar_ustring& category,
                            const velmar_ustring& key, Variant value) {
  if (category.empty() || key.empty()) return false;
  // What could not be read back is never written.
  if (!FitsJsonDepth(value, kValueDepth)) return false;
  m_state->changes.Value(kind, category, key);
  if (Variant* existing = FindValue(kind, category, key)) {
    *existing = std::move(value);
    return true;
  }
  EShareLevel chosen = kind == kBinaryCategories ? kShareLevelPrivate : kShareLevelPublic;
  for (const EShareLevel level : kLevels) {
    const CategoryTable& table = m_categoryTables[TableIndex(level, kind)];
    const auto found = table.find(category);
    if (found != table.end() && found->second.GetType() == Variant::kDictionary) {
      chosen = level;
      break;
    }
  }
  Variant& slot = m_categoryTables[TableIndex(chosen, kind)][category];
  if (slot.GetType() != Variant::kDictionary) slot = Variant(Dictionary());
  slot.GetDictionary()[key] = std::move(value);
  return true;
}

Variant* JsonCommon::FindWhole(CategoryKind kind, const velmar_ustring& name) {
  return FindWholeIn(m_categoryTables, kind, name);
}

bool JsonCommon::StoreWhole(CategoryKind kind, const velmar_ustring& name, Variant value) {
  if (name.empty()) return false;
  if (!FitsJsonDepth(value, kWholeDepth)) return false;
  m_state->changes.Whole(kind, name);
  if (Variant* existing = FindWhole(kind, name)) {
    *existing = std::move(value);
  } else {
    m_categoryTables[TableIndex(kShareLevelPublic, kind)][name] = std::move(value);
  }
  return true;
}

bool JsonCommon::IsPreferenceSet(const velmar_ustring& category, const velmar_ustring& key) {
  return FindValue(kValueCategories, category, key) != nullptr ||
         FindValue(kBinaryCategories, category, key) != nullptr;
}

bool JsonCommon::CategoryExists(const velmar_ustring& category) {
  for (const CategoryTable& table : m_categoryTables) {
    if (table.count(category) != 0) return true;
  }
  return false;
}

bool JsonCommon::DeleteCategory(const velmar_ustring& category) {
  m_state->changes.DeleteCategory(category);
  return DeleteCategoryIn(m_categoryTables, category);
}

bool JsonCommon::DeletePreference(const velmar_ustring& category, const velmar_ustring& key) {
  m_state->changes.DeleteValue(category, key);
  return DeletePreferenceIn(m_categoryTables, category, key);
}

void JsonCommon::RemoveAllPreferencesExcept(const velmar_ustring& category,
                                            const velmar_ustring& key) {
  m_state->changes.KeepOnly(category, key);
  KeepOnlyIn(m_categoryTables, category, key);
}

EShareLevel JsonCommon::GetLevel(const velmar_ustring& category, const velmar_ustring& key) {
  for (const EShareLevel level : kLevels) {
    for (const CategoryKind kind : {kValueCategories, kBinaryCategories}) {
      CategoryTable& table = m_categoryTables[TableIndex(level, kind)];
      const auto found = table.find(category);
      if (found == table.end()) continue;
      const Dictionary* values = AsDictionary(found->second);
      if (values != nullptr && values->count(key) != 0) return level;
    }
  }
  return kShareLevelNone;
}

bool JsonCommon::IsLevelEmpty(EShareLevel level) const {
  if (level != kShareLevelPrivate && level != kShareLevelPublic) return true;
  for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
    if (!m_categoryTables[TableIndex(level, static_cast<CategoryKind>(kind))].empty()) {
      return false;
    }
  }
  return true;
}

int JsonCommon::ReadInt(const velmar_ustring& category, const velmar_ustring& key,
                        int default_value) {
  const Variant* value = FindValue(kValueCategories, category, key);
  int result = default_value;
  return value != nullptr && NumberAsInt(*value, result) ? result : default_value;
}

bool JsonCommon::WriteInt(const velmar_ustring& category, const velmar_ustring& key, int value) {
  return StoreValue(kValueCategories, category, key, Variant(static_cast<std::int32_t>(value)));
}

double JsonCommon::ReadDouble(const velmar_ustring& category, const velmar_ustring& key,
                              double default_value) {
  const Variant* value = FindValue(kValueCategories, category, key);
  double result = default_value;
  return value != nullptr && NumberAsDouble(*value, result) ? result : default_value;
}

bool JsonCommon::WriteDouble(const velmar_ustring& category, const velmar_ustring& key,
                             double value) {
  return StoreValue(kValueCategories, category, key, Variant(value));
}

std::optional<double> JsonCommon::ReadNumberAsDouble(const velmar_ustring& category,
                                                     const velmar_ustring& key) {
  const Variant* value = FindValue(kValueCategories, category, key);
  double result = 0.0;
  if (value != nullptr && NumberAsDouble(*value, result)) return result;
  return std::nullopt;
}

utils::velmar_ustring JsonCommon::ReadString(const velmar_ustring& category,
                                             const velmar_ustring& key,
                                             const velmar_ustring& default_value) {
  const Variant* value = FindValue(kValueCategories, category, key);
  return value != nullptr && value->GetType() == Variant::kString ? value->GetString()
                                                                  : default_value;
}

bool JsonCommon::WriteString(const velmar_ustring& category, const velmar_ustring& key,
                             const velmar_ustring& value) {
  return StoreValue(kValueCategories, category, key, Variant(value));
}

bool JsonCommon::ReadBool(const velmar_ustring& category, const velmar_ustring& key,
                          bool default_value) {
  const Variant* value = FindValue(kValueCategories, category, key);
  return value != nullptr && value->GetType() == Variant::kBool ? value->GetBool() : default_value;
}

bool JsonCommon::WriteBool(const velmar_ustring& category, const velmar_ustring& key, bool value) {
  return StoreValue(kValueCategories, category, key, Variant(value));
}

BinaryData JsonCommon::ReadBinary(const velmar_ustring& category, const velmar_ustring& key,
                                  const BinaryData& default_value) {
  const Variant* value = FindValue(kBinaryCategories, category, key);
  BinaryData bytes;
  if (value != nullptr && value->GetType() == Variant::kString &&
      DecodeBase64(value->GetString().str(), bytes)) {
    return bytes;
  }
  return default_value;
}

bool JsonCommon::WriteBinary(const velmar_ustring& category, const velmar_ustring& key,
                             const BinaryData& value) {
  return StoreValue(kBinaryCategories, category, key, Variant(velmar_ustring(EncodeBase64(value))));
}

utils::Variant JsonCommon::ReadVariant(const velmar_ustring& category, const velmar_ustring& key) {
  const Variant* value = FindValue(kValueCategories, category, key);
  return value != nullptr ? *value : Variant();
}

bool JsonCommon::WriteVariant(const velmar_ustring& category, const velmar_ustring& key,
                              const Variant& value) {
  return StoreValue(kValueCategories, category, key, value);
}

bool JsonCommon::ReadStringVector(const velmar_ustring& name, StringVector& list) {
  const Variant* value = FindWhole(kStringLists, name);
  if (value == nullptr || value->GetType() != Variant::kVector) return false;
  StringVector strings;
  for (const Variant& item : value->GetVector()) {
    if (item.GetType() != Variant::kString) return false;
    strings.push_back(item.GetString());
  }
  list = std::move(strings);
  return true;
}

bool JsonCommon::WriteStringVector(const velmar_ustring& name, const StringVector& list) {
  VariantVector items;
  items.reserve(list.size());
  for (const velmar_ustring& text : list) items.emplace_back(text);
  return StoreWhole(kStringLists, name, Variant(std::move(items)));
}

bool JsonCommon::ReadDictionary(const velmar_ustring& name, Dictionary& dictionary) {
  const Variant* value = FindWhole(kDictionaries, name);
  if (value == nullptr || value->GetType() != Variant::kDictionary) return false;
  dictionary = value->GetDictionary();
  return true;
}

bool JsonCommon::WriteDictionary(const velmar_ustring& name, const Dictionary& dictionary) {
  return StoreWhole(kDictionaries, name, Variant(dictionary));
}

std::uint64_t JsonCommon::ReadTimestamp() {
  return std::max(m_state->files[0].timestamp, m_state->files[1].timestamp);
}

namespace {

// "<step>: <the system's words>", or the step alone when the words are no
// UTF-8.
string_type Describe(const platform::Status& status) {
  string_type detail;
  const std::string narrow = status.ToString();
  if (!base::utf8::Decode(narrow.data(), narrow.size(), detail)) {
    detail = base::FromAscii(status.step());
  }
  return detail;
}

// Copied, not moved: the move is not inline and this library cannot reach
// FolianUtils.
void SetText(utils::velmar_ustring& to, const string_type& text) {
  const utils::velmar_ustring copy(text);
  to = copy;
}

}  // namespace

void JsonCommon::Fail(const velmar_ustring& path, const platform::Status& status) {
  string_type text = m_lastSaveError.str();
  if (!text.empty()) text += base::FromAscii("; ");
  SetText(m_lastSaveError, text + path.str() + base::FromAscii(": ") + Describe(status));
}

void JsonCommon::ReadFiles(std::array<PreferenceFile, 2>& disk) {
  for (const EShareLevel level : kLevels) {
    const velmar_ustring& path = FilePath(level);
    if (!path.empty()) disk[level].Read(*m_env, path.str(), m_maxFileSize);
  }
}

// Private first, so processes never wait on each other in a circle.
bool JsonCommon::LockAndRead(std::array<PreferenceFile, 2>& disk,
                             std::chrono::steady_clock::time_point deadline) {
  for (const EShareLevel level : kLevels) {
    const velmar_ustring& path = FilePath(level);
    if (path.empty()) continue;
    const platform::Status status =
        disk[level].LockAndRead(*m_env, path.str(), m_maxFileSize, deadline);
    if (!status.ok()) {
      Fail(path, status);
      return false;
    }
  }
  return true;
}

bool JsonCommon::ChangedOnDisk(const std::array<PreferenceFile, 2>& disk) const {
  for (const EShareLevel level : kLevels) {
    if (!FilePath(level).empty() && disk[level].fingerprint != m_state->files[level].seen)
      return true;
  }
  return false;
}

void JsonCommon::LoadLevel(EShareLevel level, PreferenceFile& disk) {
  FileState& file = m_state->files[level];
  file = FileState();
  file.seen = disk.fingerprint;
  for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
    m_categoryTables[TableIndex(level, static_cast<CategoryKind>(kind))].clear();
  }
  if (disk.foreign) {
    file.status = FileStatus::kUnreadable;
    return;
  }
  switch (disk.result) {
    case platform::FileReadResult::kMissing:
      return;
    case platform::FileReadResult::kFailed:
      file.status = FileStatus::kUnreadable;
      return;
    case platform::FileReadResult::kTooLarge:
      file.status = FileStatus::kCorrupt;
      return;
    case platform::FileReadResult::kRead:
      break;
  }
  // A file that does not parse leaves the level as cleared above.
  const bool parsed = ParseFile(disk.bytes, m_categoryTables, level, file.unknown, file.timestamp);
  file.status = parsed ? FileStatus::kLoaded : FileStatus::kCorrupt;
}

// No lock: a file is replaced in one step, so a read finds the old one or
// the new one, whole; and a load creates nothing.
bool JsonCommon::LoadPreferences() {
  std::array<PreferenceFile, 2> disk;
  ReadFiles(disk);
  bool ok = true;
  for (const EShareLevel level : kLevels) {
    LoadLevel(level, disk[level]);
    ok = ok && m_state->files[level].status != FileStatus::kCorrupt &&
         m_state->files[level].status != FileStatus::kUnreadable;
  }
  m_state->changes.Clear();
  return ok;
}

// Another process saved since this store read the files: start from what
// is on disk and apply this store's own changes to it. Each change takes
// the value this store holds now, so replaying them in order is safe even
// when a later change undid an earlier one.
std::array<bool, 2> JsonCommon::MergeWithDisk(std::array<PreferenceFile, 2>& disk,
                                              bool whole_only) {
  Tables mine = std::move(m_categoryTables);
  Tables base;
  for (const EShareLevel level : kLevels) {
    FileState& file = m_state->files[level];
    const PreferenceFile& found = disk[level];
    const bool changed = !found.foreign && found.fingerprint != file.seen &&
                         (found.result == platform::FileReadResult::kRead ||
                          found.result == platform::FileReadResult::kMissing);
    Dictionary unknown;
    std::uint64_t timestamp = 0;
    if (changed && found.result == platform::FileReadResult::kMissing && !whole_only) {
      file.status = FileStatus::kMissing;
      file.unknown.clear();
      file.seen = found.fingerprint;
      continue;
    }
    if (changed && ParseFile(found.bytes, base, level, unknown, timestamp)) {
      file.status = FileStatus::kLoaded;
      file.unknown = std::move(unknown);
      file.timestamp = std::max(file.timestamp, timestamp);
      file.seen = found.fingerprint;
      continue;
    }
    if (changed && !whole_only) {
      // Not understood: kept aside by this save, which writes this
      // store's values in its place.
      file.status = FileStatus::kCorrupt;
      file.seen = found.fingerprint;
    }
    for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
      const std::size_t index = TableIndex(level, static_cast<CategoryKind>(kind));
      base[index] = mine[index];
    }
  }
  // Levels a replayed write took a value out of: another process may have
  // put it in the other level.
  const std::array<bool, 2> emptied = Replay(m_state->changes, mine, base);
  m_categoryTables = std::move(base);
  return emptied;
}

bool JsonCommon::SaveLevel(EShareLevel level, const PreferenceFile& disk, bool changed,
                           std::uint64_t timestamp) {
  FileState& file = m_state->files[level];
  const velmar_ustring& path = FilePath(level);
  if (path.empty()) return true;
  if (disk.foreign) {
    Fail(path,
         platform::Status::Error(disk.ForeignReason()).WithStep("is a link that is left as it is"));
    return false;
  }
  // Someone else's file we cannot read: writing ours would destroy it.
  if (disk.result == platform::FileReadResult::kFailed) {
    Fail(path, disk.read_status.WithStep("cannot read the file, so it is left as it is"));
    return false;
  }
  // The file already holds exactly this level: rewriting it would only
  // cost a flush to the disk.
  if (!changed && file.status == FileStatus::kLoaded &&
      disk.result == platform::FileReadResult::kRead && disk.fingerprint == file.seen) {
    return true;
  }

  const Variant format(static_cast<std::int64_t>(kFileFormat));
  const Variant stamp(static_cast<std::int64_t>(timestamp));
  std::array<JsonMember, 2 + kCategoryKindCount> known = {};
  known[0] = {"format", &format, nullptr};
  known[1] = {"timestamp", &stamp, nullptr};
  for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
    known[2 + kind] = {kSectionNames[kind], nullptr,
                       &m_categoryTables[TableIndex(level, static_cast<CategoryKind>(kind))]};
  }
  std::string content;
  if (!EncodeJsonObject(known.data(), known.size(), file.unknown, content)) {
    Fail(path, platform::Status::Error("they nest too deeply").WithStep(kCannotWriteValues));
    return false;
  }
  // Indentation is for people: a store that would pass the limit with it
  // is written without it, so a store read from a compact file near the
  // limit can be saved again.
  if (content.size() > m_maxFileSize) CompactJson(content);
  // A file the next load would refuse is not written.
  if (content.size() > m_maxFileSize) {
    Fail(path, platform::Status::Error("they would exceed the 64 MiB a preference file may hold")
                   .WithStep(kCannotWriteValues));
    return false;
  }

  const bool set_aside =
      file.status == FileStatus::kCorrupt || disk.result == platform::FileReadResult::kTooLarge;
  const platform::Status written = disk.Write(*m_env, content, set_aside);
  if (!written.ok()) {
    Fail(path, written);
    return false;
  }
  file.status = FileStatus::kLoaded;
  file.timestamp = timestamp;
  file.seen = Fingerprint::Of(content);
  return true;
}

bool JsonCommon::SavePreferences() {
  m_lastSaveError.clear();
  if (m_privateFilePath.empty() && m_publicFilePath.empty()) {
    SetText(m_lastSaveError, base::FromAscii(kNeverLoaded));
    return false;
  }
  // One wait for all the locks of a save, however many files it has.
  const auto deadline = std::chrono::steady_clock::now() + platform::kLockWait;
  for (;;) {
    std::array<PreferenceFile, 2> disk;
    if (!LockAndRead(disk, deadline)) return false;
    std::array<bool, 2> changed = {};
    if (ChangedOnDisk(disk)) changed = MergeWithDisk(disk);
    const std::array<bool, 2> mine = LevelsChanged(m_state->changes, m_categoryTables);
    const std::uint64_t timestamp = NowMilliseconds();
    bool ok = true;
    for (const EShareLevel level : kLevels) {
      ok = SaveLevel(level, disk[level], changed[level] || mine[level], timestamp) && ok;
    }
    // Kept after a failure: replaying a change twice does no harm.
    if (ok) {
      m_state->changes.Clear();
      return true;
    }
    // A lock file removed while held let another save in: this one starts
    // over under the new lock, merging with what that one wrote.
    const bool lost = std::any_of(disk.begin(), disk.end(),
                                  [](const PreferenceFile& file) { return file.LockLost(); });
    if (!lost || std::chrono::steady_clock::now() > deadline) return false;
    m_lastSaveError.clear();
  }
}

bool JsonCommon::Synchronize() {
  if (!m_state->changes.empty()) return SavePreferences();
  m_lastSaveError.clear();
  // Without a lock, as a load: each file read is whole.
  std::array<PreferenceFile, 2> disk;
  ReadFiles(disk);
  if (ChangedOnDisk(disk)) MergeWithDisk(disk);
  return true;
}

bool JsonCommon::StartWatching() {
  State& state = *m_state;
  if (state.watch) return true;
  state.watch_error.clear();
  if (m_privateFilePath.empty() && m_publicFilePath.empty()) {
    SetText(state.watch_error, base::FromAscii(kNeverLoaded));
    return false;
  }
  const platform::Status status =
      StoreWatch::Open(*m_env, {m_privateFilePath.str(), m_publicFilePath.str()}, state.watch);
  if (!status.ok()) {
    SetText(state.watch_error,
            base::FromAscii("cannot watch the preference files: ") + Describe(status));
    return false;
  }
  return true;
}

void JsonCommon::StopWatching() { m_state->watch.reset(); }

bool JsonCommon::IsWatching() const { return m_state->watch != nullptr; }

static_assert(std::is_same_v<JsonCommon::WatchHandle, platform::WatchHandle>,
              "the installed header names the platform's handle");

JsonCommon::WatchHandle JsonCommon::GetWatchHandle() const {
  return m_state->watch ? m_state->watch->handle() : platform::kNoWatchHandle;
}

const utils::velmar_ustring& JsonCommon::LastWatchError() const { return m_state->watch_error; }

// No lock, as a load: each file read is whole, and one whose save is under
// way is read again at the event its rename brings.
std::vector<JsonCommon::ValueChange> JsonCommon::ReloadChanges() {
  std::vector<ValueChange> changes;
  State& state = *m_state;
  if (!state.watch) return changes;
  platform::Status status;
  const bool changed = state.watch->TakeEvents(status);
  if (!status.ok()) {
    SetText(state.watch_error,
            base::FromAscii("cannot watch a folder of the preferences: ") + Describe(status));
  } else if (changed && !state.watch_error.empty()) {
    // Every folder is watched again.
    SetText(state.watch_error, string_type());
  }
  if (!changed) return changes;
  std::array<PreferenceFile, 2> disk;
  ReadFiles(disk);
  if (!ChangedOnDisk(disk)) return changes;
  Tables before = m_categoryTables;
  MergeWithDisk(disk, true);
  DiffTables(before, m_categoryTables, changes);
  return changes;
}

}  // namespace velmar::prefs
