#include "prefs/common/store_watch.h"

namespace velmar::prefs {
namespace {

using string_type = StoreWatch::string_type;

bool IsSeparator(utils::utf16_unit unit) {
#ifdef _WIN32
  return unit == '/' || unit == '\\';
#else
  return unit == '/';
#endif
}

// "/a/b" splits into "/a" and "b", "/a" into "/" and "a"; a path with no
// folder has none to watch.
bool SplitPath(const string_type& path, string_type& folder, string_type& name) {
  std::size_t end = path.size();
  while (end > 1 && IsSeparator(path[end - 1])) --end;
  std::size_t slash = end;
  while (slash > 0 && !IsSeparator(path[slash - 1])) --slash;
  if (slash == 0 || slash == end) return false;
  name = path.substr(slash, end - slash);
  folder = path.substr(0, slash > 1 ? slash - 1 : 1);
  // "C:" alone is the drive's current folder, not its root.
  if (folder.size() == 2 && folder[1] == ':') folder += '/';
  return true;
}

}  // namespace

platform::Status StoreWatch::Open(platform::FileEnv& env, const std::array<string_type, 2>& paths,
                                  std::unique_ptr<StoreWatch>& watch) {
  std::unique_ptr<StoreWatch> opened(new StoreWatch(env, paths));
  platform::Status status = env.OpenWatch(opened->m_watch);
  if (status.ok()) status = opened->Plan();
  if (status.ok()) watch = std::move(opened);
  return status;
}

platform::Status StoreWatch::Plan() {
  std::set<std::pair<string_type, string_type>> names;
  std::set<string_type> folders;
  platform::Status status;
  for (const string_type& path : m_paths) {
    if (path.empty()) continue;
    for (const string_type& step : m_env.LinkChain(path)) {
      string_type folder;
      string_type name;
      bool split = SplitPath(step, folder, name);
      // A missing folder is watched for from the nearest one above it.
      while (split) {
        const bool watched = m_folders.count(folder) != 0 || folders.count(folder) != 0;
        platform::Status added = watched ? platform::Status() : m_watch->Add(folder);
        if (added.ok()) folders.insert(folder);
        std::vector<string_type> entries;
        if (added.ok() || m_env.ListFolder(folder, entries)) {
          names.emplace(folder, name);
          if (!added.ok() && status.ok()) status = added;
          break;
        }
        const string_type missing = folder;
        split = SplitPath(missing, folder, name);
      }
    }
  }
  for (const string_type& folder : m_folders) {
    if (folders.count(folder) == 0) m_watch->Remove(folder);
  }
  m_folders = std::move(folders);
  m_names = std::move(names);
  return status;
}

bool StoreWatch::TakeEvents(platform::Status& status) {
  m_events.clear();
  m_watch->TakeEvents(m_events);
  bool changed = false;
  for (const platform::FolderEvent& event : m_events) {
    // The system has ended the watch of a folder that went.
    if (event.kind == platform::FolderEvent::kFolderGone) m_folders.erase(event.folder);
    changed = changed || event.kind != platform::FolderEvent::kEntry ||
              m_names.count({event.folder, event.name}) != 0;
  }
  // A link on the way may lead elsewhere now, a folder may have come or gone.
  if (changed) status = Plan();
  return changed;
}

}  // namespace velmar::prefs
