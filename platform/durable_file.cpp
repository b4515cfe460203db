#include "platform/durable_file.h"

#include <algorithm>
#include <cstddef>

#include "base/ascii.h"
#include "base/match.h"
#include "base/path_split.h"
#include "base/utf16.h"
#include "platform/random_bytes.h"

namespace velmar::platform {
namespace {

using utils::utf16_string;
using utils::utf16_unit;

// A temporary file is "<name>.<16 hex digits>.tmp", unique to its writer;
// "<name>.tmp" is what earlier builds wrote.
constexpr std::size_t kTokenLength = 16;

const utf16_string& TemporarySuffix() {
  static const utf16_string suffix = base::FromAscii(".tmp");
  return suffix;
}

bool IsTemporaryOf(const utf16_string& entry, const utf16_string& name) {
  const utf16_string& suffix = TemporarySuffix();
  if (!base::StartsWith(entry, name) || entry.size() < name.size() + suffix.size() ||
      entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  const std::size_t middle = entry.size() - name.size() - suffix.size();
  if (middle == 0) return true;
  if (middle != kTokenLength + 1 || entry[name.size()] != '.') return false;
  const auto token = entry.begin() + static_cast<std::ptrdiff_t>(name.size() + 1);
  return std::all_of(token, token + kTokenLength,
                     [](utf16_unit c) { return base::IsDigit(c) || (c >= 'a' && c <= 'f'); });
}

// A name no other writer uses: the writer that removes what others left
// can then never remove the file a live writer is about to rename.
bool TemporaryNameOf(const utf16_string& path, utf16_string& temporary) {
  unsigned char random[kTokenLength / 2];
  if (!FillRandomBytes(random, sizeof random)) return false;
  temporary = path;
  temporary += '.';
  for (const unsigned char byte : random) {
    temporary += static_cast<utf16_unit>(base::kLowerHexDigits[byte >> 4]);
    temporary += static_cast<utf16_unit>(base::kLowerHexDigits[byte & 0x0F]);
  }
  temporary += TemporarySuffix();
  return true;
}

}  // namespace

Status LockForWriting(FileEnv& env, const utf16_string& path, LockDeadline deadline,
                      const KeepWaiting& keep_waiting, std::unique_ptr<FileLock>& lock) {
  Status status = env.Lock(path + base::FromAscii(".lock"), deadline, keep_waiting, lock);
  if (!status.ok()) return status;
  const auto parts = base::SplitPath(path);
  const utf16_string folder(parts.folder);
  const utf16_string name(parts.name);
  std::vector<utf16_string> entries;
  if (env.ListFolder(folder, entries)) {
    for (const utf16_string& entry : entries) {
      if (IsTemporaryOf(entry, name)) env.RemoveFile(folder + utf16_unit('/') + entry);
    }
  }
  return status;
}

Status WriteFileAtomically(FileEnv& env, const FileLock& lock, const utf16_string& path,
                           const std::string& bytes, const utf16_string& permissions_from) {
  // Without the lock, another writer may have read the file after this
  // one did: what this one read must not replace what that one writes.
  const auto lost = [] { return Status::Error("the lock file was removed while it was held"); };
  // A writer that took a lock since removed, before removing what earlier
  // writers left, may remove this one's temporary file; while the lock
  // holds, no one else puts a file in place, so writing it again is safe.
  constexpr int kTries = 3;
  for (int attempt = 1;; ++attempt) {
    utf16_string temporary;
    if (!TemporaryNameOf(path, temporary)) {
      return Status::Error("the system gives no random bytes for a temporary name");
    }
    if (!lock.StillHeld()) return lost();
    const Status written =
        env.WriteNewFile(temporary, bytes, permissions_from.empty() ? path : permissions_from);
    if (!written.ok()) return lock.StillHeld() ? written : lost();
    // A writer that takes the lock after this check removes the temporary
    // file before it reads, so the rename below happens before that read
    // or fails.
    const Status replaced = lock.StillHeld() ? env.ReplaceAtomically(temporary, path) : lost();
    if (replaced.ok()) return replaced;
    env.RemoveFile(temporary);
    if (!lock.StillHeld()) return lost();
    if (attempt == kTries) return replaced;
  }
}

}  // namespace velmar::platform
