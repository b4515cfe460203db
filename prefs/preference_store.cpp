#include "FolianUtils/preference_store.h"

#include <tuple>
#include <utility>

#include "FolianUtils/application.h"
#include "FolianUtils/constants.h"
#include "environment/paths_internal.h"
#include "environment/support_folders_internal.h"

namespace folian::utils {
namespace {

using velmar::utils::velmar_ustring;

const velmar_ustring& ApplicationStoreName() {
  static const velmar_ustring name(VELMAR_U("folian"));
  return name;
}

std::pair<velmar_ustring, velmar_ustring> FilePaths(const velmar_ustring& name, int version) {
  return {AppendPath(UserAppFolderPath(ApplicationName(), version, false), name + ".private.json"),
          AppendPath(UserAppFolderPath(ApplicationName(), version, true), name + ".public.json")};
}

}  // namespace

Preferences::Preferences() : Preferences(velmar::kCurrentMajorVersion) {}

Preferences::Preferences(int version) : m_name(ApplicationStoreName()) { Load(version); }

Preferences::Preferences(const velmar_ustring& extension, int version)
    : m_name(velmar_ustring(VELMAR_U("folian.extensions.")) + extension) {
  Load(version);
}

Preferences::Preferences(const Preferences& other) = default;

// The common library has no move operations: its state is copied.
Preferences::Preferences(Preferences&& other)
    : JsonCommon(other), m_name(std::move(other.m_name)) {}

Preferences& Preferences::operator=(const Preferences& other) = default;

Preferences& Preferences::operator=(Preferences&& other) {
  JsonCommon::operator=(other);
  m_name = std::move(other.m_name);
  return *this;
}

Preferences::~Preferences() = default;

void Preferences::Load(int version) {
  if (!m_privateFilePath.empty()) return;
  // A store's folders exist once it is loaded, whether or not it saves.
  GetUserAppFolder(ApplicationName(), version, false);
  GetUserAppFolder(ApplicationName(), version, true);
  std::tie(m_privateFilePath, m_publicFilePath) = FilePaths(m_name, version);
  LoadPreferences();
}

std::pair<velmar_ustring, velmar_ustring> Preferences::FilePathsOf(int version) {
  return FilePaths(ApplicationStoreName(), version);
}

void Preferences::Save() { SavePreferences(); }

const velmar_ustring& Preferences::CategoryOfKey(const velmar_ustring& key) {
  static const velmar_ustring named_scales(VELMAR_U("namedScales"));
  static const velmar_ustring shortcuts(VELMAR_U("shortcuts"));
  static const velmar_ustring general(VELMAR_U("general"));
  if (key == named_scales) return named_scales;
  if (key == shortcuts) return shortcuts;
  return general;
}

bool Preferences::ReadStringVector(const velmar_ustring& name, velmar::prefs::StringVector& list) {
  return JsonCommon::ReadStringVector(name, list);
}

bool Preferences::WriteStringVector(const velmar_ustring& name,
                                    const velmar::prefs::StringVector& list) {
  return JsonCommon::WriteStringVector(name, list);
}

bool Preferences::ReadDictionary(const velmar_ustring& name, Dictionary& dictionary) {
  return JsonCommon::ReadDictionary(name, dictionary);
}

bool Preferences::WriteDictionary(const velmar_ustring& name, const Dictionary& dictionary) {
  return JsonCommon::WriteDictionary(name, dictionary);
}

int Preferences::ReadInt(const velmar_ustring& key, int default_value) {
  return JsonCommon::ReadInt(CategoryOfKey(key), key, default_value);
}

bool Preferences::WriteInt(const velmar_ustring& key, int value) {
  return JsonCommon::WriteInt(CategoryOfKey(key), key, value);
}

double Preferences::ReadDouble(const velmar_ustring& key, double default_value) {
  return JsonCommon::ReadDouble(CategoryOfKey(key), key, default_value);
}

bool Preferences::WriteDouble(const velmar_ustring& key, double value) {
  return JsonCommon::WriteDouble(CategoryOfKey(key), key, value);
}

velmar_ustring Preferences::ReadString(const velmar_ustring& key,
                                       const velmar_ustring& default_value) {
  return JsonCommon::ReadString(CategoryOfKey(key), key, default_value);
}

bool Preferences::WriteString(const velmar_ustring& key, const velmar_ustring& value) {
  return JsonCommon::WriteString(CategoryOfKey(key), key, value);
}

bool Preferences::ReadBool(const velmar_ustring& key, bool default_value) {
  return JsonCommon::ReadBool(CategoryOfKey(key), key, default_value);
}

bool Preferences::WriteBool(const velmar_ustring& key, bool value) {
  return JsonCommon::WriteBool(CategoryOfKey(key), key, value);
}

bool Preferences::SetItem(const velmar_ustring& key, const Variant& value) {
  switch (value.GetType()) {
    case Variant::kBool:
    case Variant::kInt32:
    case Variant::kDouble:
    case Variant::kString:
      // Through the virtual table, so a derived store sees the write.
      WriteVariant(CategoryOfKey(key), key, value);
      return true;
    default:
      return false;
  }
}

Preferences::Variant Preferences::GetItem(const velmar_ustring& key) {
  return ReadVariant(CategoryOfKey(key), key);
}

bool Preferences::ContainsItem(const velmar_ustring& key) {
  return CategoryExists(key) || IsPreferenceSet(CategoryOfKey(key), key);
}

void Preferences::RemoveItem(const velmar_ustring& key) {
  DeletePreference(CategoryOfKey(key), key);
}

std::vector<velmar_ustring> Preferences::DeleteCategoriesWithPrefix(const velmar_ustring& prefix) {
  std::vector<velmar_ustring> names;
  for (const CategoryTable& table : m_categoryTables) {
    for (const auto& entry : table) {
      if (entry.first.Find(prefix) == 0) names.push_back(entry.first);
    }
  }
  for (const velmar_ustring& name : names) JsonCommon::DeleteCategory(name);
  return names;
}

}  // namespace folian::utils
