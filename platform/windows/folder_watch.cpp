#include "platform/folder_watch.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <utility>

#include "platform/windows/system_error.h"

namespace velmar::platform {
namespace {

constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_CREATION;

// One folder and its read in flight. The system writes into the buffer
// until the read has ended, cancelled or not.
struct WatchedFolder {
  HANDLE directory = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped{};
  // The most a read from a network share takes.
  alignas(DWORD) BYTE buffer[64 * 1024];
};

bool StartRead(WatchedFolder& folder) {
  return ReadDirectoryChangesW(folder.directory, folder.buffer, sizeof folder.buffer, FALSE,
                               kNotifyFilter, nullptr, &folder.overlapped, nullptr) != FALSE;
}

void AppendRecords(const utils::utf16_string& folder, const BYTE* buffer, DWORD bytes,
                   std::vector<FolderEvent>& events) {
  constexpr DWORD kHeader = offsetof(FILE_NOTIFY_INFORMATION, FileName);
  for (DWORD offset = 0; bytes - offset >= kHeader;) {
    const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
    if (record->FileNameLength > bytes - offset - kHeader) return;
    events.push_back({FolderEvent::kEntry, folder,
                      utils::utf16_string(record->FileName,
                                          record->FileNameLength / sizeof(record->FileName[0]))});
    if (record->NextEntryOffset == 0 || record->NextEntryOffset > bytes - offset) return;
    offset += record->NextEntryOffset;
  }
}

class WindowsFolderWatch final : public FolderWatch {
 public:
  explicit WindowsFolderWatch(HANDLE event) : m_event(event) {}
  ~WindowsFolderWatch() override {
    for (auto& entry : m_folders) End(*entry.second);
    CloseHandle(m_event);
  }

  Status Add(const utils::utf16_string& folder) override {
    if (m_folders.count(folder) != 0) return {};
    if (folder.empty() || folder.find(L'\0') != utils::utf16_string::npos) {
      return SystemError(ERROR_INVALID_NAME);
    }
    auto watched = std::make_unique<WatchedFolder>();
    watched->directory = CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (watched->directory == INVALID_HANDLE_VALUE) return SystemError(GetLastError());
    watched->overlapped.hEvent = m_event;
    if (!StartRead(*watched)) {
      const DWORD code = GetLastError();
      CloseHandle(watched->directory);
      return SystemError(code);
    }
    m_folders.emplace(folder, std::move(watched));
    SignalIfAnyEnded();
    return {};
  }

  void Remove(const utils::utf16_string& folder) override {
    const auto found = m_folders.find(folder);
    if (found == m_folders.end()) return;
    End(*found->second);
    m_folders.erase(found);
  }

  WatchHandle handle() const override { return m_event; }

  void TakeEvents(std::vector<FolderEvent>& events) override {
    // Before looking, so that a read ending meanwhile signals again.
    ResetEvent(m_event);
    for (auto it = m_folders.begin(); it != m_folders.end();) {
      if (Collect(it->first, *it->second, events)) {
        ++it;
      } else {
        CloseHandle(it->second->directory);
        events.push_back({FolderEvent::kFolderGone, it->first, {}});
        it = m_folders.erase(it);
      }
    }
    SignalIfAnyEnded();
  }

 private:
  // Takes the folder's ended read, if any, and starts the next; false when
  // the folder can no longer be watched.
  static bool Collect(const utils::utf16_string& name, WatchedFolder& folder,
                      std::vector<FolderEvent>& events) {
    DWORD bytes = 0;
    if (GetOverlappedResult(folder.directory, &folder.overlapped, &bytes, FALSE)) {
      // No bytes: more changed than the buffer holds.
      if (bytes == 0) events.push_back({FolderEvent::kOverflow, {}, {}});
      AppendRecords(name, folder.buffer, bytes, events);
    } else if (GetLastError() == ERROR_IO_INCOMPLETE) {
      return true;
    } else if (GetLastError() == ERROR_NOTIFY_ENUM_DIR) {
      events.push_back({FolderEvent::kOverflow, {}, {}});
    } else {
      return false;
    }
    return StartRead(folder);
  }

  // Starting a read resets the event, which hides another read that had
  // ended before.
  void SignalIfAnyEnded() {
    for (const auto& entry : m_folders) {
      if (HasOverlappedIoCompleted(&entry.second->overlapped)) {
        SetEvent(m_event);
        return;
      }
    }
  }

  // Cancels the read and waits until it has ended. Every read signals the
  // one event, so the loop looks at this read's own state.
  void End(WatchedFolder& folder) {
    CancelIoEx(folder.directory, &folder.overlapped);
    while (!HasOverlappedIoCompleted(&folder.overlapped)) WaitForSingleObject(m_event, INFINITE);
    CloseHandle(folder.directory);
  }

  // Manual-reset: signalled by the end of any read, reset by TakeEvents.
  const HANDLE m_event;
  std::map<utils::utf16_string, std::unique_ptr<WatchedFolder>> m_folders;
};

}  // namespace

Status OpenFolderWatch(std::unique_ptr<FolderWatch>& watch) {
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (event == nullptr) return SystemError(GetLastError());
  watch = std::make_unique<WindowsFolderWatch>(event);
  return {};
}

}  // namespace velmar::platform
