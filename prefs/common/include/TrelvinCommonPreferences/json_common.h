/// @file
/// The preference store over two JSON files, velmar::prefs::JsonCommon.
///
/// The derived class sets both file paths and calls LoadPreferences. Values
/// live in eight category tables: for each share level (private, public)
/// one table of key/value categories, one of binary categories, one of
/// string lists and one of dictionaries. A value keeps the file it was read
/// from; a new value joins its category's file (the private one when the
/// category is in both), and a new category goes to the public file, or to
/// the private one for binary data, which is machine state.
///
/// Saving writes each file to a temporary file of its own beside it
/// ("<file>.<16 hex digits>.tmp"), flushes it to the disk and renames it
/// over the old one, so a crash leaves the old or the
/// new file whole; a file that already holds its level as the store has it
/// is left as it is, timestamp included. A file that cannot be parsed is
/// renamed aside (".bad", ".bad1", ...; the newest five are kept) by the
/// next save, and the new file takes its permissions and owner; a file that
/// exists but cannot be read, or is no regular file, is never overwritten.
/// Members of the files this library does not know are kept. A file that is
/// a symbolic link stays one: the file it leads to is replaced, but only
/// when it is a preference file; a link to anything else is never replaced
/// nor set aside.
///
/// Several processes share the files. A save holds an exclusive lock on
/// "<target>.lock" beside the file the path leads to, so every path to one
/// file takes one lock; loads take none. A save first reads the files
/// again under the lock; when another process changed them since this store read them,
/// it applies only this store's own changes (values written, values and
/// categories deleted since its load or last save) to what is on disk, so
/// the later save wins key by key and nothing else is lost. Afterwards the
/// store holds the merged values.
///
/// A store may watch its files (StartWatching): the host adds the watch's
/// handle to its event loop and calls ReloadChanges() when it is ready,
/// which merges what another process saved as a save would and reports
/// each value that changed.
///
/// Threads: a store takes no lock of its own; one object is used by one
/// thread at a time, ReloadChanges() included.
///
/// @stable
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "FolianUtils/dictionary.h"
#include "FolianUtils/ustring.h"
#include "FolianUtils/variant.h"
#include "TrelvinCommonPreferences/export.h"
#include "TrelvinCommonPreferences/preferences_interface.h"

namespace velmar::platform {
class FileEnv;
class Status;
}  // namespace velmar::platform

namespace velmar::prefs {

class PreferenceFile;

/// The preference store over a private and a public JSON file, as this
/// file's description says: a derived class sets both paths and loads.
/// @stable
class TRELVIN_PREFS_API JsonCommon : public IPreferences {
 public:
  /// A value of any kind.
  using Variant = utils::Variant;
  /// A map from name to value.
  using Dictionary = utils::Dictionary;

  /// What a category table holds per category name.
  enum CategoryKind : std::size_t {
    kValueCategories = 0,  ///< a Dictionary of key -> Variant
    kBinaryCategories,     ///< a Dictionary of key -> base64 string
    kStringLists,          ///< a VariantVector of strings
    kDictionaries,         ///< a Dictionary
    kCategoryKindCount,    ///< the number of kinds
  };
  /// The number of category tables: each kind for each level.
  static constexpr std::size_t kCategoryTableCount = 2 * kCategoryKindCount;
  /// Tables in their fixed order: the private level's four, then the public
  /// level's four, each in CategoryKind order.
  static constexpr std::size_t TableIndex(EShareLevel level, CategoryKind kind) {
    return (level == kShareLevelPublic ? std::size_t{kCategoryKindCount} : std::size_t{0}) + kind;
  }
  /// One table: category name to its value.
  using CategoryTable = std::map<velmar_ustring, Variant>;

  /// An empty store over the real file system, with no paths yet.
  JsonCommon();
  /// The same paths, values and file system, and the same changes not yet
  /// saved, which either object's save then writes.
  JsonCommon(const JsonCommon& other);
  /// As the copy constructor.
  JsonCommon& operator=(const JsonCommon& other);
  /// Does not save.
  ~JsonCommon() override;

  bool IsPreferenceSet(const velmar_ustring& category, const velmar_ustring& key) override;
  bool CategoryExists(const velmar_ustring& category) override;
  bool DeleteCategory(const velmar_ustring& category) override;
  bool DeletePreference(const velmar_ustring& category, const velmar_ustring& key) override;
  void RemoveAllPreferencesExcept(const velmar_ustring& category,
                                  const velmar_ustring& key) override;
  EShareLevel GetLevel(const velmar_ustring& category, const velmar_ustring& key) override;
  bool IsLevelEmpty(EShareLevel level) const override;
  int ReadInt(const velmar_ustring& category, const velmar_ustring& key,
              int default_value) override;
  bool WriteInt(const velmar_ustring& category, const velmar_ustring& key, int value) override;
  double ReadDouble(const velmar_ustring& category, const velmar_ustring& key,
                    double default_value) override;
  bool WriteDouble(const velmar_ustring& category, const velmar_ustring& key,
                   double value) override;
  std::optional<double> ReadNumberAsDouble(const velmar_ustring& category,
                                           const velmar_ustring& key) override;
  velmar_ustring ReadString(const velmar_ustring& category, const velmar_ustring& key,
                            const velmar_ustring& default_value) override;
  bool WriteString(const velmar_ustring& category, const velmar_ustring& key,
                   const velmar_ustring& value) override;
  bool ReadBool(const velmar_ustring& category, const velmar_ustring& key,
                bool default_value) override;
  bool WriteBool(const velmar_ustring& category, const velmar_ustring& key, bool value) override;
  BinaryData ReadBinary(const velmar_ustring& category, const velmar_ustring& key,
                        const BinaryData& default_value) override;
  bool WriteBinary(const velmar_ustring& category, const velmar_ustring& key,
                   const BinaryData& value) override;
  Variant ReadVariant(const velmar_ustring& category, const velmar_ustring& key) override;
  bool WriteVariant(const velmar_ustring& category, const velmar_ustring& key,
                    const Variant& value) override;
  bool ReadStringVector(const velmar_ustring& name, StringVector& list) override;
  bool WriteStringVector(const velmar_ustring& name, const StringVector& list) override;
  std::uint64_t ReadTimestamp() override;
  /// Reads both files, without a lock, creating nothing. A missing file is
  /// an empty level; a file that cannot be read or parsed, or a link to
  /// anything but a preference file, also loads as an empty level, and the
  /// result is false.
  bool LoadPreferences() override;
  /// Writes both files, merging with other processes' saves; false when
  /// either could not be written, with the reason in LastSaveError(). The
  /// values in memory stay as they are, so a later save can succeed.
  bool SavePreferences() override;
  /// Saves when this store changed anything; otherwise only reads what
  /// other processes saved since. False on failure, as SavePreferences.
  bool Synchronize() override;
  bool ReadDictionary(const velmar_ustring& name, Dictionary& dictionary) override;
  bool WriteDictionary(const velmar_ustring& name, const Dictionary& dictionary) override;

  /// Empty after a successful save or synchronisation; otherwise names the
  /// file and the system's error.
  const velmar_ustring& LastSaveError() const { return m_lastSaveError; }

  /// What a store's host waits on: a descriptor on POSIX systems, readable
  /// while changes wait; a waitable event handle on Windows.
#ifdef _WIN32
  using WatchHandle = void*;
#else
  using WatchHandle = int;
#endif

  /// One value another process changed, as ReloadChanges() reports it.
  struct ValueChange {
    /// What happened to a value.
    enum What {
      kAdded,    ///< it was not there before
      kChanged,  ///< it holds another value
      kRemoved,  ///< it is not there any more
    };
    What what;  ///< what happened to this value
    /// The table it is in: values and binary data change key by key, lists
    /// and dictionaries whole.
    CategoryKind kind;
    velmar_ustring category;  ///< the category, or the list's or dictionary's name
    velmar_ustring key;       ///< empty for a list or a dictionary
    Variant old_value;        ///< empty when added
    Variant new_value;        ///< empty when removed
  };

  /// Starts watching both files for other processes' saves, through
  /// whatever links lead to them; nothing happens until the host calls
  /// ReloadChanges(). Off by default; a copy of the store does not watch.
  /// False, with the reason in LastWatchError(), when the system refuses
  /// (its limit of watches); the store then works as before.
  bool StartWatching();
  /// Ends the watch; nothing when not watching.
  void StopWatching();
  /// Whether StartWatching() succeeded and StopWatching() was not called.
  bool IsWatching() const;
  /// The handle the host adds to its event loop, ready while changes wait;
  /// -1 (null on Windows) when not watching. Valid until StopWatching().
  WatchHandle GetWatchHandle() const;
  /// Takes what the watch saw, without waiting, and when another process
  /// saved, reads the files and merges them as a save does: the other
  /// values, then this store's unsaved changes on top. Returns each value
  /// that changed here, in the order of the tables; empty when nothing did,
  /// after this store's own save, or when a file is missing, half-written
  /// or cannot be parsed, which is never applied: the values stay until
  /// the file is whole again. Call on the thread that uses the store.
  std::vector<ValueChange> ReloadChanges();
  /// Empty while the watch works; otherwise why it could not start or what
  /// it could no longer watch.
  const velmar_ustring& LastWatchError() const;

 protected:
  /// The file system every load and save goes through; tests put an
  /// in-memory or failing one here. It must outlive the store.
  void SetFileEnv(platform::FileEnv& env) { m_env = &env; }
  /// The largest file a load reads and a save writes (64 MiB); tests lower it
  /// to reach it cheaply.
  void SetMaxFileSize(std::size_t bytes) { m_maxFileSize = bytes; }

  /// The full path of the public file, which a derived class sets.
  velmar_ustring m_publicFilePath;
  /// The full path of the private file. Empty until the first load: a
  /// non-empty path marks the store as loaded.
  velmar_ustring m_privateFilePath;
  /// The values in memory, in TableIndex() order.
  std::array<CategoryTable, kCategoryTableCount> m_categoryTables;

 private:
  // The files as this store last found them, the changes not yet saved and
  // the watch: the library's own, out of the installed header.
  struct State;

  const velmar_ustring& FilePath(EShareLevel level) const;
  Variant* FindValue(CategoryKind kind, const velmar_ustring& category, const velmar_ustring& key);
  bool StoreValue(CategoryKind kind, const velmar_ustring& category, const velmar_ustring& key,
                  Variant value);
  Variant* FindWhole(CategoryKind kind, const velmar_ustring& name);
  bool StoreWhole(CategoryKind kind, const velmar_ustring& name, Variant value);
  void LoadLevel(EShareLevel level, PreferenceFile& disk);
  // Starts from what another process saved and replays this store's
  // changes on it; returns the levels a replayed write took a value out of.
  // With `whole_only`, a file that is missing or cannot be parsed is not
  // applied: the level stays as this store holds it.
  std::array<bool, 2> MergeWithDisk(std::array<PreferenceFile, 2>& disk, bool whole_only = false);
  // Writes the level's file, unless `changed` is false and the file holds
  // the level as it is.
  bool SaveLevel(EShareLevel level, const PreferenceFile& disk, bool changed,
                 std::uint64_t timestamp);
  void ReadFiles(std::array<PreferenceFile, 2>& disk);
  bool LockAndRead(std::array<PreferenceFile, 2>& disk,
                   std::chrono::steady_clock::time_point deadline);
  // Whether another process changed either file since this store saw it.
  bool ChangedOnDisk(const std::array<PreferenceFile, 2>& disk) const;
  // Adds "<path>: <step>: <error>" to LastSaveError().
  void Fail(const velmar_ustring& path, const platform::Status& status);

  std::unique_ptr<State> m_state;
  velmar_ustring m_lastSaveError;
  platform::FileEnv* m_env;
  std::size_t m_maxFileSize;
};

}  // namespace velmar::prefs
