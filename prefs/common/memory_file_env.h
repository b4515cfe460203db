// An in-memory file system for the common preference library's tests and
// fuzzers, with faults to inject: each non-empty error text makes that
// step fail with it, as the system would. Symbolic links, locks held by
// other stores and another process's turn in the middle of a save are
// played out here too.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/durable_file.h"

namespace velmar::prefs {

class MemoryFileEnv : public platform::FileEnv {
 public:
  using string_type = utils::utf16_string;
  using Status = platform::Status;
  enum class EntryKind { kFile, kFolder, kFifo };
  struct Entry {
    EntryKind kind = EntryKind::kFile;
    std::string bytes;
    std::uint64_t id = 0;               // the file's identity, new for each file made
    string_type permissions_from = {};  // the file whose mode and owner a new file takes
  };

  // Shorter paths first, then byte order: one memcmp instead of a
  // comparison per unit, which coverage builds trace one by one. Nothing
  // here needs the paths in text order.
  struct PathOrder {
    bool operator()(const string_type& a, const string_type& b) const {
      if (a.size() != b.size()) return a.size() < b.size();
      return std::memcmp(a.data(), b.data(), a.size() * sizeof(utils::utf16_unit)) < 0;
    }
  };

  // Full paths as the store forms them; folders are implied.
  std::map<string_type, Entry, PathOrder> entries;
  // Symbolic links: where each leads.
  std::map<string_type, string_type, PathOrder> links;
  // The deadline of every lock asked for, in order.
  std::vector<platform::LockDeadline> lock_deadlines;
  // Each runs once: as the next new file is written, as the next file is
  // renamed into place, and as the next lock is found held. Another
  // process's turn while a save holds its locks or waits for one.
  std::function<void(const string_type& path)> on_write;
  std::function<void(const string_type& path)> on_replace;
  std::function<void(const string_type& path)> on_wait;

  std::string write_error;    // writing the new file's bytes
  std::string flush_error;    // flushing them to the disk
  std::string create_error;   // creating any file (a read-only folder)
  std::string replace_error;  // renaming the new file into place
  std::string lock_error;
  // When set, opening a watch fails with this reason.
  std::string watch_error;

  const std::string* Bytes(const string_type& path) const {
    const auto found = entries.find(path);
    return found != entries.end() && found->second.kind == EntryKind::kFile ? &found->second.bytes
                                                                            : nullptr;
  }

  platform::ReadOutcome ReadFile(const string_type& path, std::size_t max_size,
                                 std::string& bytes) override {
    bytes.clear();
    // No copy of the path where no link could lead elsewhere.
    const auto found = links.empty() ? entries.find(path) : entries.find(ResolveLinks(path));
    if (found == entries.end()) {
      return {platform::FileReadResult::kMissing, Status::Error("No such file or directory")};
    }
    if (found->second.kind != EntryKind::kFile) {
      return {platform::FileReadResult::kFailed,
              Status::Error(found->second.kind == EntryKind::kFolder ? "Is a directory"
                                                                     : "not a regular file")};
    }
    if (found->second.bytes.size() > max_size) return {platform::FileReadResult::kTooLarge};
    bytes = found->second.bytes;
    return {platform::FileReadResult::kRead};
  }

  Status WriteNewFile(const string_type& path, const std::string& bytes,
                      const string_type& permissions_from) override {
    if (!create_error.empty()) return Status::Error(create_error);
    if (entries.count(path) != 0 || links.count(path) != 0) return Status::Error("File exists");
    if (!write_error.empty() || !flush_error.empty()) {
      return Status::Error(write_error.empty() ? flush_error : write_error);
    }
    TakeTurn(on_write, path);
    entries[path] = Entry{EntryKind::kFile, bytes, ++m_lastId, permissions_from};
    return {};
  }

  Status ReplaceAtomically(const string_type& source, const string_type& target) override {
    if (!replace_error.empty()) return Status::Error(replace_error);
    TakeTurn(on_replace, target);
    const auto to = entries.find(target);
    if (to != entries.end() && to->second.kind == EntryKind::kFolder) {
      return Status::Error("Is a directory");
    }
    return MoveEntry(source, target);
  }

  Status RenameWithoutReplacing(const string_type& source, const string_type& target) override {
    if (entries.count(target) != 0) return Status::Error("File exists");
    if (!replace_error.empty()) return Status::Error(replace_error);
    return MoveEntry(source, target);
  }

  bool RemoveFile(const string_type& path) override {
    return entries.erase(path) + links.erase(path) != 0;
  }

  bool ListFolder(const string_type& folder, std::vector<string_type>& names) override {
    const string_type prefix = folder + static_cast<utils::utf16_unit>('/');
    for (const auto& entry : entries) {
      if (entry.first.compare(0, prefix.size(), prefix) == 0 &&
          entry.first.find('/', prefix.size()) == string_type::npos) {
        names.push_back(entry.first.substr(prefix.size()));
      }
    }
    return true;
  }

  // A lock another store holds is held past any deadline: one thread
  // cannot wait for another. `keep_waiting` is asked once.
  Status Lock(const string_type& path, platform::LockDeadline deadline,
              const platform::KeepWaiting& keep_waiting,
              std::unique_ptr<platform::FileLock>& lock) override {
    lock.reset();
    lock_deadlines.push_back(deadline);
    if (!lock_error.empty()) return Status::Error(lock_error);
    if (links.count(path) != 0) return Status::Error("the lock file is a link");
    Entry& entry = entries[path];
    if (entry.id == 0) entry.id = ++m_lastId;
    if (entry.kind != EntryKind::kFile) return Status::Error("the lock file is not a regular file");
    if (m_held.count(entry.id) != 0) {
      TakeTurn(on_wait, path);
      return Status::Error(keep_waiting && !keep_waiting() ? "what the lock guards moved"
                                                           : "another process holds the lock");
    }
    m_held.insert(entry.id);
    lock = std::make_unique<MemoryLock>(*this, path, entry.id);
    return {};
  }

  std::vector<string_type> LinkChain(const string_type& path) override {
    std::vector<string_type> chain = {path};
    for (int hops = 0; hops < 40; ++hops) {
      const auto link = links.find(chain.back());
      if (link == links.end()) return chain;
      chain.push_back(link->second);
    }
    chain.resize(1);
    return chain;
  }

  // A watch that cannot tell what changed: each take reports that anything
  // may have, so the store reads both files again.
  Status OpenWatch(std::unique_ptr<platform::FolderWatch>& watch) override {
    if (!watch_error.empty()) return Status::Error(watch_error);
    watch = std::make_unique<MemoryWatch>();
    return {};
  }

 private:
  class MemoryWatch : public platform::FolderWatch {
   public:
    Status Add(const string_type&) override { return {}; }
    void Remove(const string_type&) override {}
    platform::WatchHandle handle() const override { return platform::WatchHandle(); }
    void TakeEvents(std::vector<platform::FolderEvent>& events) override {
      events.push_back({platform::FolderEvent::kOverflow, {}, {}});
    }
  };

  class MemoryLock : public platform::FileLock {
   public:
    MemoryLock(MemoryFileEnv& env, string_type path, std::uint64_t id)
        : m_env(env), m_path(std::move(path)), m_id(id) {}
    ~MemoryLock() override { m_env.m_held.erase(m_id); }
    bool StillHeld() const override {
      const auto found = m_env.entries.find(m_path);
      return found != m_env.entries.end() && found->second.id == m_id;
    }

   private:
    MemoryFileEnv& m_env;
    string_type m_path;
    std::uint64_t m_id;
  };

  std::uint64_t m_lastId = 0;
  std::set<std::uint64_t> m_held;

  static void TakeTurn(std::function<void(const string_type&)>& turn, const string_type& path) {
    if (!turn) return;
    const auto once = std::move(turn);
    turn = nullptr;
    once(path);
  }

  // Moves the entry at `source` over whatever `target` holds.
  Status MoveEntry(const string_type& source, const string_type& target) {
    const auto from = entries.find(source);
    if (from == entries.end()) return Status::Error("No such file or directory");
    Entry moved = std::move(from->second);
    entries.erase(from);
    entries[target] = std::move(moved);
    return {};
  }
};

}  // namespace velmar::prefs
