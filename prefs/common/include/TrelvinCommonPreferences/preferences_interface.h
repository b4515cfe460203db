/// @file
/// The interface of the maker's preference stores,
/// velmar::prefs::IPreferences. Every value is addressed by a category and
/// a key; string lists and dictionaries are whole values addressed by a
/// name.
///
/// The order of the virtual operations is part of the binary interface
/// shared with the applications that derive from the stores.
///
/// Threads: the interface promises no locking; a store says whether its
/// objects may be shared.
///
/// @stable
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "FolianUtils/dictionary.h"
#include "FolianUtils/ustring.h"
#include "FolianUtils/variant.h"
#include "TrelvinCommonPreferences/export.h"

namespace velmar::prefs {

/// Which of the two files a value lives in: the private file stays on this
/// machine (local application data), the public one roams with the user.
/// @stable
enum EShareLevel : int {
  kShareLevelNone = -1,    ///< The value does not exist.
  kShareLevelPrivate = 0,  ///< The private file.
  kShareLevelPublic = 1,   ///< The public file.
};

/// The bytes of a binary value, stored as base64 text.
using BinaryData = std::vector<std::uint8_t>;
/// A list of strings, stored whole under a name.
using StringVector = std::vector<utils::velmar_ustring>;

/// A preference store: typed values by category and key, string lists and
/// dictionaries by name, and the two files they are loaded from and saved
/// to.
/// @stable
class TRELVIN_PREFS_API IPreferences {
 public:
  /// The string of categories, keys and names.
  using velmar_ustring = utils::velmar_ustring;

  /// Whether `key` of `category` holds a value, typed or binary.
  virtual bool IsPreferenceSet(const velmar_ustring& category, const velmar_ustring& key) = 0;
  /// A category of that name exists in any table (values, binary, string
  /// lists, dictionaries), in either file.
  virtual bool CategoryExists(const velmar_ustring& category) = 0;
  /// Removes the name from every table; false when nothing was removed.
  virtual bool DeleteCategory(const velmar_ustring& category) = 0;
  /// Removes the key from both files; false when it was not set.
  virtual bool DeletePreference(const velmar_ustring& category, const velmar_ustring& key) = 0;
  /// Removes everything except the value `key` of `category`; an empty key
  /// keeps the whole category (all its tables).
  virtual void RemoveAllPreferencesExcept(const velmar_ustring& category,
                                          const velmar_ustring& key) = 0;
  /// The file `key` of `category` lives in (the private one when in both),
  /// or kShareLevelNone.
  virtual EShareLevel GetLevel(const velmar_ustring& category, const velmar_ustring& key) = 0;
  /// Whether the level's file holds nothing in memory; true for
  /// kShareLevelNone.
  virtual bool IsLevelEmpty(EShareLevel level) const = 0;

  /// The int of `key` in `category`. Reads return the default when the
  /// value is absent or of another kind; numbers convert between integer and
  /// floating point when exact.
  virtual int ReadInt(const velmar_ustring& category, const velmar_ustring& key,
                      int default_value) = 0;
  /// Stores an int, in memory until saved. Writes fail (false) for an empty
  /// category or key, or a value nested too deeply to be read back.
  virtual bool WriteInt(const velmar_ustring& category, const velmar_ustring& key, int value) = 0;
  /// The double of `key` in `category`, or `default_value`.
  virtual double ReadDouble(const velmar_ustring& category, const velmar_ustring& key,
                            double default_value) = 0;
  /// Stores a double.
  virtual bool WriteDouble(const velmar_ustring& category, const velmar_ustring& key,
                           double value) = 0;
  /// Any number that a double holds exactly; empty otherwise.
  virtual std::optional<double> ReadNumberAsDouble(const velmar_ustring& category,
                                                   const velmar_ustring& key) = 0;
  /// The string of `key` in `category`, or `default_value`.
  virtual velmar_ustring ReadString(const velmar_ustring& category, const velmar_ustring& key,
                                    const velmar_ustring& default_value) = 0;
  /// Stores a string.
  virtual bool WriteString(const velmar_ustring& category, const velmar_ustring& key,
                           const velmar_ustring& value) = 0;
  /// The bool of `key` in `category`, or `default_value`.
  virtual bool ReadBool(const velmar_ustring& category, const velmar_ustring& key,
                        bool default_value) = 0;
  /// Stores a bool.
  virtual bool WriteBool(const velmar_ustring& category, const velmar_ustring& key, bool value) = 0;
  /// The bytes of the binary value `key` of `category`, or `default_value`
  /// when it is absent or not valid base64.
  virtual BinaryData ReadBinary(const velmar_ustring& category, const velmar_ustring& key,
                                const BinaryData& default_value) = 0;
  /// Stores bytes as a binary value, which a new category keeps in the
  /// private file.
  virtual bool WriteBinary(const velmar_ustring& category, const velmar_ustring& key,
                           const BinaryData& value) = 0;
  /// The value of any kind; an empty Variant when the value is absent.
  virtual utils::Variant ReadVariant(const velmar_ustring& category, const velmar_ustring& key) = 0;
  /// Stores a value of any kind.
  virtual bool WriteVariant(const velmar_ustring& category, const velmar_ustring& key,
                            const utils::Variant& value) = 0;
  /// False, leaving `list` untouched, when there is no list of that name or
  /// it holds something other than strings.
  virtual bool ReadStringVector(const velmar_ustring& name, StringVector& list) = 0;
  /// Stores `list` whole under `name`; false for an empty name.
  virtual bool WriteStringVector(const velmar_ustring& name, const StringVector& list) = 0;
  /// Milliseconds since 1970 (UTC) of the newest save of the files read or
  /// written; 0 before any.
  virtual std::uint64_t ReadTimestamp() = 0;
  /// Reads both files into memory; false when either exists but could not
  /// be read.
  virtual bool LoadPreferences() = 0;
  /// Writes the values in memory to both files; false when either could not
  /// be written.
  virtual bool SavePreferences() = 0;
  /// Writes the values in memory to the files, as SavePreferences(); a store
  /// may also read what others saved meanwhile (JsonCommon does).
  virtual bool Synchronize() = 0;
  /// Destroys the store without saving.
  virtual ~IPreferences();
  /// False, leaving `dictionary` untouched, when there is no dictionary of
  /// that name.
  virtual bool ReadDictionary(const velmar_ustring& name, utils::Dictionary& dictionary) = 0;
  /// Stores `dictionary` whole under `name`; false for an empty name or one
  /// nested too deeply.
  virtual bool WriteDictionary(const velmar_ustring& name, const utils::Dictionary& dictionary) = 0;

 protected:
  /// An interface is made only as part of a store.
  IPreferences() = default;
  /// Copied only as part of a store.
  IPreferences(const IPreferences&) = default;
  /// Assigned only as part of a store.
  IPreferences& operator=(const IPreferences&) = default;
};

}  // namespace velmar::prefs
