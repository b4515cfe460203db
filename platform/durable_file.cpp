#include "platform/durable_file.h"

#include "base/utf16.h"

namespace velmar::platform {

bool WriteFileAtomically(FileEnv& env, const FileLock& lock, const utils::utf16_string& path,
                         const std::string& bytes, std::string& error,
                         const utils::utf16_string& like) {
  const utils::utf16_string temporary = path + base::FromAscii(".tmp");
  // Without the lock, the temporary file may be another writer's, and that
  // writer must not be overwritten by what this one read before.
  const auto lost = [&error] {
    error = "the lock file was removed while it was held";
    return false;
  };
  if (!lock.StillHeld()) return lost();
  // Under the lock, a temporary file is a dead writer's, or one of a writer
  // whose lock file was removed and that has yet to notice it: that one
  // gives up at its next check, so a few tries get past it.
  constexpr int kTries = 3;
  for (int attempt = 1;; ++attempt) {
    env.RemoveFile(temporary);
    if (env.WriteNewFile(temporary, bytes, like.empty() ? path : like, error)) break;
    if (!lock.StillHeld()) return lost();
    if (attempt == kTries) return false;
  }
  if (!lock.StillHeld()) return lost();
  if (!env.ReplaceAtomically(temporary, path, error)) {
    if (!lock.StillHeld()) return lost();
    env.RemoveFile(temporary);
    return false;
  }
  return true;
}

}  // namespace velmar::platform
