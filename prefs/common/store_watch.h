// What a store watches to see other processes' saves: the folder of each of
// its files, of each link on the way to them, and, while a folder is
// missing, the nearest one above it that exists. A file replaced in one
// step is a new file under the old name, so folders are watched, not files,
// and events are filtered by name.
#pragma once

#include <array>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "FolianUtils/utf16.h"
#include "platform/durable_file.h"
#include "platform/folder_watch.h"

namespace velmar::prefs {

class StoreWatch {
 public:
  using string_type = utils::utf16_string;

  // Watches the files at `paths` (an empty path is no file) through `env`,
  // which must outlive the watch.
  static platform::Status Open(platform::FileEnv& env, const std::array<string_type, 2>& paths,
                               std::unique_ptr<StoreWatch>& watch);

  platform::WatchHandle handle() const { return m_watch->handle(); }
  // Takes what the system queued, without blocking: true when either file
  // may have changed. Follows links re-pointed and folders made or removed
  // meanwhile; `status` tells when a folder could not be watched.
  bool TakeEvents(platform::Status& status);

 private:
  StoreWatch(platform::FileEnv& env, const std::array<string_type, 2>& paths)
      : m_env(env), m_paths(paths) {}
  // Watches what the files' paths pass through now, and nothing else.
  platform::Status Plan();

  platform::FileEnv& m_env;
  std::array<string_type, 2> m_paths;
  std::unique_ptr<platform::FolderWatch> m_watch;
  std::set<string_type> m_folders;
  // The entries whose change matters, by folder and name.
  std::set<std::pair<string_type, string_type>> m_names;
  std::vector<platform::FolderEvent> m_events;
};

}  // namespace velmar::prefs
