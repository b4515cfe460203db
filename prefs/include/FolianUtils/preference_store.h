/// @file
/// The application's persistent key/value store over the common preference
/// library's two JSON files, folian::utils::Preferences.
///
/// The files are "<name>.private.json" in the version's local application
/// data folder and "<name>.public.json" in its roaming one
/// ("Trelvin/Trelvin 20<version>/Folian", or "Trelvin/Viewer" for version
/// 0). The single-key interface places "namedScales" and "shortcuts" in
/// categories of their own name and every other key in "general".
///
/// @stable
#pragma once

#include <utility>
#include <vector>

#include "FolianUtils/dictionary.h"
#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"
#include "FolianUtils/variant.h"
#include "TrelvinCommonPreferences/json_common.h"

namespace folian::utils {

/// A key/value store over the two JSON files of one name and version, in
/// memory until Save().
///
/// Not locked: one object is used by one thread at a time (or under a lock
/// of the caller's). Several objects and several processes may share the
/// same files; a save merges with what the others saved.
/// @stable
class FOLIAN_API Preferences : protected velmar::prefs::JsonCommon {
 public:
  /// The string of keys and values.
  using velmar_ustring = velmar::utils::velmar_ustring;
  /// The value of GetItem() and SetItem().
  using Variant = velmar::utils::Variant;
  /// The map of ReadDictionary() and WriteDictionary().
  using Dictionary = velmar::utils::Dictionary;

  /// The application's store ("folian") of `version`, loaded at once.
  explicit Preferences(int version);
  /// An extension's store ("folian.extensions.<extension>"), loaded at once.
  Preferences(const velmar_ustring& extension, int version);
  /// The same files and, until changed, the same values.
  Preferences(const Preferences& other);
  /// Takes over the files and values of `other`.
  Preferences(Preferences&& other);
  /// As the copy constructor; nothing is saved.
  Preferences& operator=(const Preferences& other);
  /// As the move constructor; nothing is saved.
  Preferences& operator=(Preferences&& other);
  /// Does not save.
  ~Preferences() override;

  /// Forms both paths and loads the files; only the first call does anything.
  void Load(int version);
  /// Writes both files, merging with what other processes saved meanwhile.
  /// A failure keeps the values in memory and is told by LastSaveError().
  void Save();
#if defined(FOLIAN_DOXYGEN)
  // Doxygen drops using-declarations from the member lists; it alone reads
  // these, which the compiler takes from the base class below.

  /// Makes what other processes saved since visible here: reads the files
  /// again and merges them, or saves first when this store has changes of
  /// its own. False on failure, with the reason in LastSaveError().
  /// @maychange
  bool Synchronize();
  /// Empty when the last Save() succeeded; otherwise the file and the
  /// system's error ("<path>: cannot write the temporary file: No space
  /// left on device").
  const velmar_ustring& LastSaveError() const;

  /// What the host's event loop waits on: a descriptor on POSIX systems, a
  /// waitable event handle on Windows.
  using WatchHandle = int;
  /// One value another process changed: what happened (added, changed,
  /// removed), its category and key, the old and the new value.
  using ValueChange = velmar::prefs::JsonCommon::ValueChange;
  /// Starts watching both files for other processes' saves; off by
  /// default, and a copy does not watch. False, with the reason in
  /// LastWatchError(), when the system refuses; the store works as before.
  /// @maychange
  bool StartWatching();
  /// Ends the watch.
  /// @maychange
  void StopWatching();
  /// Whether the store watches.
  /// @maychange
  bool IsWatching() const;
  /// The handle to add to the host's event loop, ready while changes wait.
  /// @maychange
  WatchHandle GetWatchHandle() const;
  /// Call when the handle is ready, on the store's thread: reads and merges
  /// what another process saved, keeping this store's unsaved changes, and
  /// returns each value that changed. Never blocks longer than one load; a
  /// missing or half-written file is not applied.
  /// @maychange
  std::vector<ValueChange> ReloadChanges();
  /// Why the watch could not start or stopped following a folder.
  /// @maychange
  const velmar_ustring& LastWatchError() const;
#else
  using JsonCommon::GetWatchHandle;
  using JsonCommon::IsWatching;
  using JsonCommon::LastSaveError;
  using JsonCommon::LastWatchError;
  using JsonCommon::ReloadChanges;
  using JsonCommon::StartWatching;
  using JsonCommon::StopWatching;
  using JsonCommon::Synchronize;
  using JsonCommon::ValueChange;
  using JsonCommon::WatchHandle;
#endif

  /// The store's name ("folian", or "folian.extensions.<extension>").
  const velmar_ustring& GetName() const { return m_name; }
  /// The full path of "<name>.private.json" (local application data).
  const velmar_ustring& GetPrivateFilePath() const { return m_privateFilePath; }
  /// The full path of "<name>.public.json" (roaming application data).
  const velmar_ustring& GetPublicFilePath() const { return m_publicFilePath; }
  /// The private and public file paths of the application's store of
  /// `version`, the same as its GetPrivateFilePath() and GetPublicFilePath(),
  /// formed without creating or reading anything.
  /// @maychange
  static std::pair<velmar_ustring, velmar_ustring> FilePathsOf(int version);

  /// Reads the list of strings stored under `name` (a key or a category,
  /// without the category rule) into `list`. False when there is no such
  /// list; `list` is then unspecified.
  [[nodiscard]] bool ReadStringVector(const velmar_ustring& name,
                                      velmar::prefs::StringVector& list) override;
  /// Stores `list` under `name`, in memory until Save(). False when the
  /// common library refuses it.
  [[nodiscard]] bool WriteStringVector(const velmar_ustring& name,
                                       const velmar::prefs::StringVector& list) override;
  /// Reads the dictionary stored under `name` into `dictionary`. False when
  /// there is none; `dictionary` is then unspecified.
  [[nodiscard]] bool ReadDictionary(const velmar_ustring& name, Dictionary& dictionary) override;
  /// Stores `dictionary` under `name`, in memory until Save(). False when the
  /// common library refuses it (a dictionary nested too deeply).
  [[nodiscard]] bool WriteDictionary(const velmar_ustring& name,
                                     const Dictionary& dictionary) override;

  /// The int stored under `key` in its category, or `default_value` when
  /// absent or of another kind (a double converts when it is a whole number
  /// that fits). The single-key reads and writes below follow the same
  /// rules; a write changes memory only and returns the common library's
  /// flag.
  [[nodiscard]] virtual int ReadInt(const velmar_ustring& key, int default_value);
  /// Stores `value` under `key`.
  virtual bool WriteInt(const velmar_ustring& key, int value);
  /// The double stored under `key` (an int converts), or `default_value`.
  [[nodiscard]] virtual double ReadDouble(const velmar_ustring& key, double default_value);
  /// Stores `value` under `key`.
  virtual bool WriteDouble(const velmar_ustring& key, double value);
  /// The string stored under `key`, or `default_value`.
  [[nodiscard]] virtual velmar_ustring ReadString(const velmar_ustring& key,
                                                  const velmar_ustring& default_value);
  /// Stores `value` under `key`.
  virtual bool WriteString(const velmar_ustring& key, const velmar_ustring& value);
  /// The bool stored under `key`, or `default_value`.
  [[nodiscard]] virtual bool ReadBool(const velmar_ustring& key, bool default_value);
  /// Stores `value` under `key`.
  virtual bool WriteBool(const velmar_ustring& key, bool value);
  /// Stores bool, 32-bit integer, double and string Variants (true, whatever
  /// the library answers); false for any other kind, storing nothing.
  virtual bool SetItem(const velmar_ustring& key, const Variant& value);
  /// An empty Variant when the key is absent.
  [[nodiscard]] virtual Variant GetItem(const velmar_ustring& key);
  /// True for the name of a whole category, else whether the key is set.
  [[nodiscard]] virtual bool ContainsItem(const velmar_ustring& key);
  /// Removes `key` from its category; an absent key is no error.
  virtual void RemoveItem(const velmar_ustring& key);
  /// Deletes every category whose name begins with `prefix` and returns
  /// their names, table by table; "" deletes them all.
  virtual std::vector<velmar_ustring> DeleteCategoriesWithPrefix(const velmar_ustring& prefix);

  /// "general", or the key itself for "namedScales" and "shortcuts".
  static const velmar_ustring& CategoryOfKey(const velmar_ustring& key);

 protected:
  /// The application's store of the current version.
  Preferences();

 private:
  /// The common library's two-name operations stay out of reach of users.
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
