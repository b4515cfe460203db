// Whole files that survive a crash, behind one small interface so tests and
// fuzzers can put an in-memory or failing file system in its place:
// whole-file reads that tell a missing file from an unreadable one, writes
// that replace a file in one step after its content reached the disk, and an
// exclusive lock shared by processes. The common preference library and the
// viewer's identifier keep their files through it; the help URL table reads
// its file with it.
//
// Each operation returns a Status whose error text is UTF-8, the system's
// own words.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FolianUtils/utf16.h"
#include "platform/folder_watch.h"
#include "platform/status.h"

namespace velmar::platform {

enum class FileReadResult {
  kRead,
  kMissing,   // neither the file nor its folder exists
  kTooLarge,  // larger than the limit; nothing read
  kFailed,    // exists but cannot be read: permissions, a lock, or not a
              // regular file (a folder, FIFO or device is never opened)
};

// What a read found; `status` says why it failed (kMissing, kFailed).
struct ReadOutcome {
  ReadOutcome(FileReadResult found, Status reason = Status())
      : kind(found), status(std::move(reason)) {}
  FileReadResult kind;
  Status status;
};

// The longest a save waits for the locks it needs, all of them together.
constexpr std::chrono::seconds kLockWait{20};
using LockDeadline = std::chrono::steady_clock::time_point;

// Asked between tries while another process holds a lock; false ends the
// wait at once, as when the file a link leads to changed meanwhile.
using KeepWaiting = std::function<bool()>;

// Held while alive; the system drops it when the process dies.
class FileLock {
 public:
  virtual ~FileLock() = default;
  // Whether the lock file is still the one locked: false once it was
  // removed or replaced, when a newcomer could lock another file.
  virtual bool StillHeld() const = 0;
};

class FileEnv {
 public:
  virtual ~FileEnv() = default;

  virtual ReadOutcome ReadFile(const utils::utf16_string& path, std::size_t max_size,
                               std::string& bytes) = 0;
  // Creates `path` (failing when it exists, even as a link), writes `bytes`
  // and flushes them to the disk. When `permissions_from` exists the new
  // file takes its permissions (and owner, where the system allows);
  // otherwise a process that may give files away (root) gives it to the
  // folder's owner. A failure removes what was created.
  virtual Status WriteNewFile(const utils::utf16_string& path, const std::string& bytes,
                              const utils::utf16_string& permissions_from) = 0;
  // Puts `source` in the place of `target` in one step, keeping what the
  // system keeps of `target` on a replace, and flushes the folder entry.
  virtual Status ReplaceAtomically(const utils::utf16_string& source,
                                   const utils::utf16_string& target) = 0;
  // Renames `source` to `target` unless `target` exists.
  virtual Status RenameWithoutReplacing(const utils::utf16_string& source,
                                        const utils::utf16_string& target) = 0;
  virtual bool RemoveFile(const utils::utf16_string& path) = 0;
  // Names of the entries of `folder`; false when it cannot be listed.
  virtual bool ListFolder(const utils::utf16_string& folder,
                          std::vector<utils::utf16_string>& names) = 0;
  // Waits until `deadline` at the latest (or until `keep_waiting`, when
  // set, says no) for the exclusive lock of the file `path`, creating it
  // when missing: never through a link, only a regular file, readable by
  // its owner alone, or by the group too in a folder the group may write
  // (the folder's owner when the process may give files away). A lock file
  // removed or replaced while this waited is opened again; one that cannot
  // be opened or that others may read (an earlier build's) is replaced
  // first. `lock` holds it on success and is null otherwise.
  virtual Status Lock(const utils::utf16_string& path, LockDeadline deadline,
                      const KeepWaiting& keep_waiting, std::unique_ptr<FileLock>& lock) = 0;
  // The paths a chain of symbolic links starting at `path` passes through:
  // `path` first, the file it finally leads to last; `path` alone when it
  // is no link or the chain loops.
  virtual std::vector<utils::utf16_string> LinkChain(const utils::utf16_string& path) = 0;
  // The file a symbolic link at `path` leads to, through every link in a
  // chain; `path` itself when it is no link.
  utils::utf16_string ResolveLinks(const utils::utf16_string& path) {
    return std::move(LinkChain(path).back());
  }
  // A new watch of folders of this file system (see folder_watch.h).
  virtual Status OpenWatch(std::unique_ptr<FolderWatch>& watch) = 0;
};

// The operating system's file system.
FileEnv& DefaultFileEnv();

// Locks "<path>.lock" for a writer of `path` (see `FileEnv::Lock`), then
// removes the temporary files earlier writers of `path` left: a dead
// writer's, or that of a writer whose lock file was removed and who could
// otherwise put in place what it read before this lock was taken.
Status LockForWriting(FileEnv& env, const utils::utf16_string& path, LockDeadline deadline,
                      const KeepWaiting& keep_waiting, std::unique_ptr<FileLock>& lock);

// Replaces `path` with `bytes` so that a reader or a crash sees the old file
// or the new one, whole: writes a temporary file of its own beside `path`,
// flushes it, and renames it over `path` while `lock` (the caller's lock
// from `LockForWriting`) is still held. The new file takes the permissions
// and owner of `permissions_from`, by default `path` itself. A failure
// leaves `path` as it was; when `lock` was lost, the caller may lock again
// and start over.
Status WriteFileAtomically(FileEnv& env, const FileLock& lock, const utils::utf16_string& path,
                           const std::string& bytes,
                           const utils::utf16_string& permissions_from = {});

}  // namespace velmar::platform
