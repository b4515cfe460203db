#include "TrelvinCommonPreferences/json_common.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <string>

#include "platform/durable_file.h"
#include "prefs/common/base64.h"
#include "prefs/common/json_codec.h"

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::utf16_unit;
using utils::Variant;
using utils::VariantVector;
using string_type = utils::velmar_ustring::string_type;

constexpr EShareLevel kLevels[] = {kShareLevelPrivate, kShareLevelPublic};
// Larger files are not preference files; they are kept aside unread.
constexpr std::size_t kMaxFileSize = 64u << 20;
constexpr std::int64_t kFileFormat = 1;

constexpr const char* kSectionNames[JsonCommon::kCategoryKindCount] = {"categories", "binary",
                                                                       "lists", "dictionaries"};

string_type Ascii(const char* text) {
  string_type out;
  for (; *text != 0; ++text) out += static_cast<utf16_unit>(*text);
  return out;
}

string_type Decimal(std::uint64_t value) { return Ascii(std::to_string(value).c_str()); }

bool StartsWith(const string_type& text, const string_type& prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const string_type& text, const string_type& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Splits at the last separator into the folder and the file name.
void SplitPath(const string_type& path, string_type& folder, string_type& name) {
  const std::size_t slash = path.find_last_of(Ascii("/\\"));
  if (slash == string_type::npos) {
    folder = Ascii(".");
    name = path;
  } else {
    folder = path.substr(0, slash == 0 ? 1 : slash);
    name = path.substr(slash + 1);
  }
}

const string_type& TemporarySuffix() {
  static const string_type suffix = Ascii(".tmp");
  return suffix;
}

// Temporary files of a save: "<file name>.<process>-<n>.tmp" beside the file.
void RemoveStaleTemporaryFiles(const utils::velmar_ustring& path) {
  string_type folder;
  string_type name;
  SplitPath(path.str(), folder, name);
  std::vector<string_type> entries;
  if (!platform::ListFolderEntries(utils::velmar_ustring(folder), entries)) return;
  const string_type prefix = name + static_cast<utf16_unit>('.');
  for (const auto& entry : entries) {
    if (StartsWith(entry, prefix) && EndsWith(entry, TemporarySuffix())) {
      platform::RemoveFile(utils::velmar_ustring(folder + static_cast<utf16_unit>('/') + entry));
    }
  }
}

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

Dictionary* AsDictionary(Variant& value) {
  return value.GetType() == Variant::kDictionary ? &value.GetDictionary() : nullptr;
}

}  // namespace

IPreferences::~IPreferences() = default;

JsonCommon::JsonCommon() = default;
JsonCommon::JsonCommon(const JsonCommon& other) = default;
JsonCommon& JsonCommon::operator=(const JsonCommon& other) = default;
JsonCommon::~JsonCommon() = default;

const utils::velmar_ustring& JsonCommon::FilePath(EShareLevel level) const {
  return level == kShareLevelPrivate ? m_privateFilePath : m_publicFilePath;
}

Variant* JsonCommon::FindValue(CategoryKind kind, const velmar_ustring& category,
                               const velmar_ustring& key) {
  for (const EShareLevel level : kLevels) {
    CategoryTable& table = m_categoryTables[TableIndex(level, kind)];
    const auto found = table.find(category);
    if (found == table.end()) continue;
    Dictionary* values = AsDictionary(found->second);
    if (values == nullptr) continue;
    const auto item = values->find(key);
    if (item != values->end()) return &item->second;
  }
  return nullptr;
}

bool JsonCommon::StoreValue(CategoryKind kind, const velmar_ustring& category,
                            const velmar_ustring& key, Variant value) {
  if (category.empty() || key.empty()) return false;
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
  for (const EShareLevel level : kLevels) {
    CategoryTable& table = m_categoryTables[TableIndex(level, kind)];
    const auto found = table.find(name);
    if (found != table.end()) return &found->second;
  }
  return nullptr;
}

bool JsonCommon::StoreWhole(CategoryKind kind, const velmar_ustring& name, Variant value) {
  if (name.empty()) return false;
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
  bool removed = false;
  for (CategoryTable& table : m_categoryTables) removed = table.erase(category) != 0 || removed;
  return removed;
}

bool JsonCommon::DeletePreference(const velmar_ustring& category, const velmar_ustring& key) {
  bool removed = false;
  for (const EShareLevel level : kLevels) {
    for (const CategoryKind kind : {kValueCategories, kBinaryCategories}) {
      CategoryTable& table = m_categoryTables[TableIndex(level, kind)];
      const auto found = table.find(category);
      if (found == table.end()) continue;
      if (Dictionary* values = AsDictionary(found->second)) {
        removed = values->erase(key) != 0 || removed;
      }
    }
  }
  return removed;
}

void JsonCommon::RemoveAllPreferencesExcept(const velmar_ustring& category,
                                            const velmar_ustring& key) {
  for (std::size_t index = 0; index < kCategoryTableCount; ++index) {
    CategoryTable& table = m_categoryTables[index];
    const auto kept = table.find(category);
    Variant keep;
    bool keeping = false;
    if (kept != table.end()) {
      const auto kind = static_cast<CategoryKind>(index % kCategoryKindCount);
      if (key.empty()) {
        keep = std::move(kept->second);
        keeping = true;
      } else if (kind == kValueCategories || kind == kBinaryCategories) {
        if (Dictionary* values = AsDictionary(kept->second)) {
          Dictionary single;
          const auto item = values->find(key);
          if (item != values->end()) single.emplace(item->first, std::move(item->second));
          keep = Variant(std::move(single));
          keeping = true;
        }
      }
    }
    table.clear();
    if (keeping) table.emplace(category, std::move(keep));
  }
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
  return std::max(m_files[0].timestamp, m_files[1].timestamp);
}

bool JsonCommon::LoadLevel(EShareLevel level) {
  FileState& file = m_files[level];
  file = FileState();
  for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
    m_categoryTables[TableIndex(level, static_cast<CategoryKind>(kind))].clear();
  }
  const velmar_ustring& path = FilePath(level);
  if (path.empty()) return true;
  RemoveStaleTemporaryFiles(path);

  std::string bytes;
  switch (platform::ReadFileBytes(path, kMaxFileSize, bytes)) {
    case platform::FileReadResult::kMissing:
      return true;
    case platform::FileReadResult::kFailed:
      file.status = FileStatus::kUnreadable;
      return false;
    case platform::FileReadResult::kTooLarge:
      file.status = FileStatus::kCorrupt;
      return false;
    case platform::FileReadResult::kRead:
      break;
  }
  Dictionary members;
  if (!DecodeJsonObject(bytes, members)) {
    file.status = FileStatus::kCorrupt;
    return false;
  }
  std::array<Dictionary, kCategoryKindCount> sections;
  for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
    const auto found = members.find(velmar_ustring(Ascii(kSectionNames[kind])));
    if (found == members.end()) continue;
    if (found->second.GetType() != Variant::kDictionary) {
      file.status = FileStatus::kCorrupt;
      return false;
    }
    sections[kind] = std::move(found->second.GetDictionary());
    members.erase(found);
  }
  members.erase(velmar_ustring(Ascii("format")));
  const auto stamp = members.find(velmar_ustring(Ascii("timestamp")));
  if (stamp != members.end()) {
    if (stamp->second.GetType() == Variant::kInt64 && stamp->second.GetInt64() > 0) {
      file.timestamp = static_cast<std::uint64_t>(stamp->second.GetInt64());
    } else if (stamp->second.GetType() == Variant::kInt32 && stamp->second.GetInt32() > 0) {
      file.timestamp = static_cast<std::uint64_t>(stamp->second.GetInt32());
    }
    members.erase(stamp);
  }
  for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
    m_categoryTables[TableIndex(level, static_cast<CategoryKind>(kind))] =
        std::move(sections[kind]);
  }
  file.unknown = std::move(members);
  file.status = FileStatus::kLoaded;
  return true;
}

bool JsonCommon::LoadPreferences() {
  bool ok = true;
  for (const EShareLevel level : kLevels) ok = LoadLevel(level) && ok;
  return ok;
}

bool JsonCommon::SaveLevel(EShareLevel level, std::uint64_t timestamp) {
  FileState& file = m_files[level];
  const velmar_ustring& path = FilePath(level);
  if (path.empty()) return true;
  // Someone else's file we could not read: writing ours would destroy it.
  if (file.status == FileStatus::kUnreadable) return false;

  const Variant format(static_cast<std::int64_t>(kFileFormat));
  const Variant stamp(static_cast<std::int64_t>(timestamp));
  std::array<Variant, kCategoryKindCount> sections;
  std::array<JsonMember, 2 + kCategoryKindCount> known = {};
  known[0] = {"format", &format};
  known[1] = {"timestamp", &stamp};
  for (std::size_t kind = 0; kind < kCategoryKindCount; ++kind) {
    sections[kind] = Variant(m_categoryTables[TableIndex(level, static_cast<CategoryKind>(kind))]);
    known[2 + kind] = {kSectionNames[kind], &sections[kind]};
  }
  std::string content;
  if (!EncodeJsonObject(known.data(), known.size(), file.unknown, content)) return false;

  if (file.status == FileStatus::kCorrupt) {
    // Kept for the user under a name no later save reuses.
    bool moved = false;
    for (int attempt = 0; attempt < 100 && !moved; ++attempt) {
      string_type aside = path.str() + Ascii(".bad");
      if (attempt > 0) aside += Decimal(static_cast<std::uint64_t>(attempt));
      moved = platform::RenameWithoutReplacing(path, velmar_ustring(aside));
    }
    std::string probe;
    if (!moved && platform::ReadFileBytes(path, 0, probe) != platform::FileReadResult::kMissing) {
      return false;
    }
  }

  static std::atomic<std::uint32_t> s_saveCounter{0};
  const string_type temporary =
      path.str() + static_cast<utf16_unit>('.') + Decimal(platform::CurrentProcessId()) +
      static_cast<utf16_unit>('-') + Decimal(++s_saveCounter) + TemporarySuffix();
  const velmar_ustring temporary_path(temporary);
  if (!platform::WriteNewFileDurably(temporary_path, content)) return false;
  if (!platform::ReplaceFileAtomically(temporary_path, path)) {
    platform::RemoveFile(temporary_path);
    return false;
  }
  file.status = FileStatus::kLoaded;
  file.timestamp = timestamp;
  return true;
}

bool JsonCommon::SavePreferences() {
  if (m_privateFilePath.empty() && m_publicFilePath.empty()) return false;
  const std::uint64_t timestamp = NowMilliseconds();
  bool ok = true;
  for (const EShareLevel level : kLevels) ok = SaveLevel(level, timestamp) && ok;
  return ok;
}

bool JsonCommon::Synchronize() { return SavePreferences(); }

}  // namespace velmar::prefs
