// velmar::prefs::IPreferences: the interface of the maker's preference
// stores. Every value is addressed by a category and a key; string lists
// and dictionaries are whole values addressed by a name.
//
// The order of the virtual operations is part of the binary interface
// shared with the applications that derive from the stores.
//
// Threads: the interface promises no locking; a store says whether its
// objects may be shared.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "FolianUtils/dictionary.h"
#include "FolianUtils/ustring.h"
#include "FolianUtils/variant.h"
#include "TrelvinCommonPreferences/export.h"

namespace velmar::prefs {

// Which of the two files a value lives in: the private file stays on this
// machine (local application data), the public one roams with the user.
enum EShareLevel : int {
  kShareLevelNone = -1,  // the value does not exist
  kShareLevelPrivate = 0,
  kShareLevelPublic = 1,
};

using BinaryData = std::vector<std::uint8_t>;
using StringVector = std::vector<utils::velmar_ustring>;

class TRELVIN_PREFS_API IPreferences {
 public:
  using velmar_ustring = utils::velmar_ustring;

  virtual bool IsPreferenceSet(const velmar_ustring& category, const velmar_ustring& key) = 0;
  // A category of that name exists in any table (values, binary, string
  // lists, dictionaries), in either file.
  virtual bool CategoryExists(const velmar_ustring& category) = 0;
  // Removes the name from every table; false when nothing was removed.
  virtual bool DeleteCategory(const velmar_ustring& category) = 0;
  // Removes the key from both files; false when it was not set.
  virtual bool DeletePreference(const velmar_ustring& category, const velmar_ustring& key) = 0;
  // Removes everything except the value `key` of `category`; an empty key
  // keeps the whole category (all its tables).
  virtual void RemoveAllPreferencesExcept(const velmar_ustring& category,
                                          const velmar_ustring& key) = 0;
  virtual EShareLevel GetLevel(const velmar_ustring& category, const velmar_ustring& key) = 0;
  virtual bool IsLevelEmpty(EShareLevel level) const = 0;

  // Reads return the default when the value is absent or of another kind;
  // numbers convert between integer and floating point when exact.
  virtual int ReadInt(const velmar_ustring& category, const velmar_ustring& key,
                      int default_value) = 0;
  // Writes fail (false) only for an empty category or key.
  virtual bool WriteInt(const velmar_ustring& category, const velmar_ustring& key, int value) = 0;
  virtual double ReadDouble(const velmar_ustring& category, const velmar_ustring& key,
                            double default_value) = 0;
  virtual bool WriteDouble(const velmar_ustring& category, const velmar_ustring& key,
                           double value) = 0;
  // Any number that a double holds exactly; empty otherwise.
  virtual std::optional<double> ReadNumberAsDouble(const velmar_ustring& category,
                                                   const velmar_ustring& key) = 0;
  virtual velmar_ustring ReadString(const velmar_ustring& category, const velmar_ustring& key,
                                    const velmar_ustring& default_value) = 0;
  virtual bool WriteString(const velmar_ustring& category, const velmar_ustring& key,
                           const velmar_ustring& value) = 0;
  virtual bool ReadBool(const velmar_ustring& category, const velmar_ustring& key,
                        bool default_value) = 0;
  virtual bool WriteBool(const velmar_ustring& category, const velmar_ustring& key, bool value) = 0;
  virtual BinaryData ReadBinary(const velmar_ustring& category, const velmar_ustring& key,
                                const BinaryData& default_value) = 0;
  virtual bool WriteBinary(const velmar_ustring& category, const velmar_ustring& key,
                           const BinaryData& value) = 0;
  // An empty Variant when the value is absent.
  virtual utils::Variant ReadVariant(const velmar_ustring& category, const velmar_ustring& key) = 0;
  virtual bool WriteVariant(const velmar_ustring& category, const velmar_ustring& key,
                            const utils::Variant& value) = 0;
  // False, leaving `list` untouched, when there is no list of that name or
  // it holds something other than strings.
  virtual bool ReadStringVector(const velmar_ustring& name, StringVector& list) = 0;
  virtual bool WriteStringVector(const velmar_ustring& name, const StringVector& list) = 0;
  // Milliseconds since 1970 (UTC) of the newest save of the files read or
  // written; 0 before any.
  virtual std::uint64_t ReadTimestamp() = 0;
  virtual bool LoadPreferences() = 0;
  virtual bool SavePreferences() = 0;
  // Writes the values in memory to the files (SavePreferences).
  virtual bool Synchronize() = 0;
  virtual ~IPreferences();
  // False, leaving `dictionary` untouched, when there is no dictionary of
  // that name.
  virtual bool ReadDictionary(const velmar_ustring& name, utils::Dictionary& dictionary) = 0;
  virtual bool WriteDictionary(const velmar_ustring& name, const utils::Dictionary& dictionary) = 0;

 protected:
  IPreferences() = default;
  IPreferences(const IPreferences&) = default;
  IPreferences& operator=(const IPreferences&) = default;
};

}  // namespace velmar::prefs
