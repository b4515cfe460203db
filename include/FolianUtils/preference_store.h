// folian::utils::Preferences: the application's persistent key/value store
// over the common preference library's two JSON files.
//
// The files are "<name>.private.json" in the version's local application
// data folder and "<name>.public.json" in its roaming one
// ("Trelvin/Trelvin 20<version>/Folian", or "Trelvin/Viewer" for version
// 0). The single-key interface places "namedScales" and "shortcuts" in
// categories of their own name and every other key in "general".
#pragma once

#include <vector>

#include "FolianUtils/dictionary.h"
#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"
#include "FolianUtils/variant.h"
#include "TrelvinCommonPreferences/json_common.h"

namespace folian::utils {

class FOLIAN_API Preferences : protected velmar::prefs::JsonCommon {
 public:
  using velmar_ustring = velmar::utils::velmar_ustring;
  using Variant = velmar::utils::Variant;
  using Dictionary = velmar::utils::Dictionary;

  // The application's store ("folian") of `version`, loaded at once.
  explicit Preferences(int version);
  // An extension's store ("folian.extensions.<extension>"), loaded at once.
  Preferences(const velmar_ustring& extension, int version);
  Preferences(const Preferences& other);
  Preferences(Preferences&& other);
  Preferences& operator=(const Preferences& other);
  Preferences& operator=(Preferences&& other);
  // Does not save.
  ~Preferences() override;

  // Forms both paths and loads the files; only the first call does anything.
  void Load(int version);
  // Writes both files, merging with what other processes saved meanwhile.
  // A failure keeps the values in memory and is told by LastSaveError().
  void Save();
  // Makes what other processes saved since visible here: reads the files
  // again and merges them, or saves first when this store has changes of
  // its own. False on failure, with the reason in LastSaveError().
  using JsonCommon::Synchronize;
  // Empty when the last Save() succeeded; otherwise the file and the
  // system's error ("<path>: cannot write the temporary file: No space
  // left on device").
  using JsonCommon::LastSaveError;

  const velmar_ustring& GetName() const { return m_name; }
  const velmar_ustring& GetPrivateFilePath() const { return m_privateFilePath; }
  const velmar_ustring& GetPublicFilePath() const { return m_publicFilePath; }

  // Whole values, addressed by name without the category rule.
  bool ReadStringVector(const velmar_ustring& name, velmar::prefs::StringVector& list) override;
  bool WriteStringVector(const velmar_ustring& name,
                         const velmar::prefs::StringVector& list) override;
  bool ReadDictionary(const velmar_ustring& name, Dictionary& dictionary) override;
  bool WriteDictionary(const velmar_ustring& name, const Dictionary& dictionary) override;

  // Single keys: the stored value, or the default when absent or of another
  // kind (numbers convert when exact). Writes return the library's flag.
  virtual int ReadInt(const velmar_ustring& key, int default_value);
  virtual bool WriteInt(const velmar_ustring& key, int value);
  virtual double ReadDouble(const velmar_ustring& key, double default_value);
  virtual bool WriteDouble(const velmar_ustring& key, double value);
  virtual velmar_ustring ReadString(const velmar_ustring& key, const velmar_ustring& default_value);
  virtual bool WriteString(const velmar_ustring& key, const velmar_ustring& value);
  virtual bool ReadBool(const velmar_ustring& key, bool default_value);
  virtual bool WriteBool(const velmar_ustring& key, bool value);
  // Stores bool, 32-bit integer, double and string Variants (true, whatever
  // the library answers); false for any other kind, storing nothing.
  virtual bool SetItem(const velmar_ustring& key, const Variant& value);
  // An empty Variant when the key is absent.
  virtual Variant GetItem(const velmar_ustring& key);
  // True for the name of a whole category, else whether the key is set.
  virtual bool ContainsItem(const velmar_ustring& key);
  virtual void RemoveItem(const velmar_ustring& key);
  // Deletes every category whose name begins with `prefix` and returns
  // their names, table by table; "" deletes them all.
  virtual std::vector<velmar_ustring> DeleteCategoriesWithPrefix(const velmar_ustring& prefix);

  // "general", or the key itself for "namedScales" and "shortcuts".
  static const velmar_ustring& CategoryOfKey(const velmar_ustring& key);

 protected:
  // The application's store of the current version.
  Preferences();

 private:
  // The common library's two-name operations stay out of reach of users.
  using JsonCommon::ReadBool;
  using JsonCommon::ReadDouble;
  using JsonCommon::ReadInt;
  using JsonCommon::ReadString;
  using JsonCommon::WriteBool;
  using JsonCommon::WriteDouble;
  using JsonCommon::WriteInt;
  using JsonCommon::WriteString;

  velmar_ustring m_name;
};

}  // namespace folian::utils
