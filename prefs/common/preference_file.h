// One preference file as a load or a save finds it on disk: where its data
// lives (the path, links resolved), what it holds, and during a save its
// lock. It reads, locks, parses, writes and sets itself aside; the store
// decides what goes into it and merges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "TrelvinCommonPreferences/json_common.h"
#include "platform/durable_file.h"
#include "prefs/common/category_tables.h"
#include "prefs/common/file_state.h"

namespace velmar::prefs {

// Larger files are not preference files; they are kept aside unread.
constexpr std::size_t kMaxFileSize = 64u << 20;
constexpr std::int64_t kFileFormat = 1;
constexpr const char* kSectionNames[JsonCommon::kCategoryKindCount] = {"categories", "binary",
                                                                       "lists", "dictionaries"};

// Parses a file's text into the four tables of its level; on failure nothing
// is touched. `names_format` tells whether the file names its format.
bool ParseFile(const std::string& bytes, Tables& tables, EShareLevel level,
               utils::Dictionary& unknown, std::uint64_t& timestamp, bool* names_format = nullptr);

class PreferenceFile {
 public:
  using string_type = utils::utf16_string;

  // Reads the file where its data lives, without a lock. A link is followed
  // only to a preference file: what else it leads to is the user's and
  // stays as it is (`foreign`).
  void Read(platform::FileEnv& env, const string_type& path, std::size_t max_size);
  // Locks "<target>.lock" beside the file the path leads to, so every path
  // to one file takes one lock, and reads the file under it. A foreign link
  // is left unlocked, so that nothing is made beside what it leads to.
  // Fails when the lock cannot be had by `deadline`.
  platform::Status LockAndRead(platform::FileEnv& env, const string_type& path,
                               std::size_t max_size, platform::LockDeadline deadline);
  // The lock file was removed while held: another save may have begun.
  bool LockLost() const { return lock != nullptr && !lock->StillHeld(); }
  // Why a foreign link is left as it is, naming what it leads to.
  std::string ForeignReason() const;
  // Replaces the file with `content` under the lock; an unreadable one is
  // set aside first and passes its permissions and owner to the new one.
  platform::Status Write(platform::FileEnv& env, const std::string& content, bool set_aside) const;

  platform::FileReadResult result = platform::FileReadResult::kMissing;
  std::string bytes;
  platform::Status read_status;  // why the file could not be read
  Fingerprint fingerprint;
  string_type target;    // where the data lives: the path, links resolved
  bool link = false;     // the path is a link to `target`
  bool foreign = false;  // a link to what is no preference file of a store
  std::unique_ptr<platform::FileLock> lock;
};

}  // namespace velmar::prefs
