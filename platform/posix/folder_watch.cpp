#include "platform/folder_watch.h"

#include <errno.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <mutex>
#include <utility>

#include "platform/posix/folder_watch_internal.h"
#include "platform/posix/system_error.h"
#include "platform/posix/utf8_text.h"

namespace velmar::platform {

InotifyCalls& InotifyCallsInUse() {
  static InotifyCalls calls = {
      inotify_init1,
      [](int fd, const char* path, std::uint32_t mask) {
        return inotify_add_watch(fd, path, mask);
      },
  };
  return calls;
}

namespace {

constexpr std::uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                     IN_CLOSE_WRITE | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF |
                                     IN_ONLYDIR | IN_EXCL_UNLINK;

class LinuxFolderWatch;

// The process's one inotify instance, shared by every watch alive: the
// per-user limit of instances is small (128 by default). Each watch's queue
// lives here, so that whichever watch reads the instance hands the others
// theirs.
struct Hub {
  struct Subscriber {
    LinuxFolderWatch* watch;
    utils::utf16_string folder;
  };

  ~Hub() { ::close(fd); }

  void Drain(LinuxFolderWatch* taker);
  void Queue(LinuxFolderWatch* watch, FolderEvent event, LinuxFolderWatch* taker);
  // Ends the inotify watch `wd` when its last subscriber has gone.
  void Unsubscribe(int wd, const LinuxFolderWatch* watch, const utils::utf16_string& folder);

  std::mutex mutex;
  int fd = -1;
  std::vector<LinuxFolderWatch*> watches;
  // inotify gives the same descriptor for every path of one folder.
  std::map<int, std::vector<Subscriber>> subscribers;
};

std::mutex g_hub_mutex;
std::weak_ptr<Hub> g_hub;

Status OpenHub(std::shared_ptr<Hub>& hub) {
  const std::lock_guard<std::mutex> lock(g_hub_mutex);
  hub = g_hub.lock();
  if (hub) return {};
  const int fd = InotifyCallsInUse().init(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) {
    if (errno != EMFILE) return SystemError(errno);
    return Status::Error(
        "too many open files, or the per-user limit of inotify instances "
        "(fs.inotify.max_user_instances) is reached");
  }
  hub = std::make_shared<Hub>();
  hub->fd = fd;
  g_hub = hub;
  return {};
}

class LinuxFolderWatch final : public FolderWatch {
 public:
  LinuxFolderWatch(std::shared_ptr<Hub> hub, int epoll, int wake)
      : m_hub(std::move(hub)), m_epoll(epoll), m_wake(wake) {
    const std::lock_guard<std::mutex> lock(m_hub->mutex);
    m_hub->watches.push_back(this);
  }
  ~LinuxFolderWatch() override {
    {
      const std::lock_guard<std::mutex> lock(m_hub->mutex);
      for (const auto& [folder, wd] : m_folders) m_hub->Unsubscribe(wd, this, folder);
      m_hub->watches.erase(std::find(m_hub->watches.begin(), m_hub->watches.end(), this));
    }
    ::close(m_epoll);
    ::close(m_wake);
  }

  Status Add(const utils::utf16_string& folder) override {
    const std::string path = ToUtf8(folder);
    if (path.empty() || path.find('\0') != std::string::npos) return SystemError(ENOENT);
    const std::lock_guard<std::mutex> lock(m_hub->mutex);
    if (m_folders.count(folder) != 0) return {};
    const int wd = InotifyCallsInUse().add_watch(m_hub->fd, path.c_str(), kWatchMask);
    if (wd < 0) {
      if (errno != ENOSPC) return SystemError(errno);
      return Status::Error(
          "the per-user limit of inotify watches (fs.inotify.max_user_watches) is reached");
    }
    m_hub->subscribers[wd].push_back({this, folder});
    m_folders.emplace(folder, wd);
    return {};
  }

  void Remove(const utils::utf16_string& folder) override {
    const std::lock_guard<std::mutex> lock(m_hub->mutex);
    const auto found = m_folders.find(folder);
    if (found == m_folders.end()) return;
    m_hub->Unsubscribe(found->second, this, folder);
    m_folders.erase(found);
  }

  WatchHandle handle() const override { return m_epoll; }

  void TakeEvents(std::vector<FolderEvent>& events) override {
    const std::lock_guard<std::mutex> lock(m_hub->mutex);
    m_hub->Drain(this);
    std::uint64_t signalled = 0;
    (void)!::read(m_wake, &signalled, sizeof signalled);
    events.insert(events.end(), std::make_move_iterator(m_queue.begin()),
                  std::make_move_iterator(m_queue.end()));
    m_queue.clear();
  }

 private:
  friend struct Hub;

  std::shared_ptr<Hub> m_hub;
  const int m_epoll;
  // An eventfd, readable while another watch's drain left events queued here.
  const int m_wake;
  std::map<utils::utf16_string, int> m_folders;
  std::vector<FolderEvent> m_queue;
};

void Hub::Queue(LinuxFolderWatch* watch, FolderEvent event, LinuxFolderWatch* taker) {
  if (watch->m_queue.empty() && watch != taker) {
    const std::uint64_t one = 1;
    (void)!::write(watch->m_wake, &one, sizeof one);
  }
  watch->m_queue.push_back(std::move(event));
}

void Hub::Unsubscribe(int wd, const LinuxFolderWatch* watch, const utils::utf16_string& folder) {
  std::vector<Subscriber>& list = subscribers[wd];
  list.erase(std::find_if(list.begin(), list.end(), [&](const Subscriber& subscriber) {
    return subscriber.watch == watch && subscriber.folder == folder;
  }));
  if (!list.empty()) return;
  subscribers.erase(wd);
  ::inotify_rm_watch(fd, wd);
}

void Hub::Drain(LinuxFolderWatch* taker) {
  alignas(inotify_event) char buffer[16384];
  for (;;) {
    const ssize_t length = ::read(fd, buffer, sizeof buffer);
    if (length < 0 && errno == EINTR) continue;
    if (length <= 0) return;
    for (ssize_t offset = 0; offset < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
      offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if ((event->mask & IN_Q_OVERFLOW) != 0) {
        for (LinuxFolderWatch* watch : watches)
          Queue(watch, {FolderEvent::kOverflow, {}, {}}, taker);
        continue;
      }
      const auto found = subscribers.find(event->wd);
      if (found == subscribers.end()) continue;
      if ((event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) != 0) {
        // A moved folder is still watched by the system under its new name.
        if ((event->mask & IN_IGNORED) == 0) ::inotify_rm_watch(fd, event->wd);
        const std::vector<Subscriber> gone = std::move(found->second);
        subscribers.erase(found);
        for (const Subscriber& subscriber : gone) {
          subscriber.watch->m_folders.erase(subscriber.folder);
          Queue(subscriber.watch, {FolderEvent::kFolderGone, subscriber.folder, {}}, taker);
        }
        continue;
      }
      // A name that is not UTF-8 is no path a caller can hold.
      const utils::utf16_string name =
          event->len != 0 ? FromUtf8(event->name) : utils::utf16_string();
      if (name.empty()) continue;
      for (const Subscriber& subscriber : found->second) {
        Queue(subscriber.watch, {FolderEvent::kEntry, subscriber.folder, name}, taker);
      }
    }
  }
}

}  // namespace

Status OpenFolderWatch(std::unique_ptr<FolderWatch>& watch) {
  std::shared_ptr<Hub> hub;
  const Status opened = OpenHub(hub);
  if (!opened.ok()) return opened;
  const int epoll = ::epoll_create1(EPOLL_CLOEXEC);
  if (epoll < 0) return SystemError(errno);
  const int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  epoll_event ready{};
  ready.events = EPOLLIN;
  if (wake < 0 || ::epoll_ctl(epoll, EPOLL_CTL_ADD, hub->fd, &ready) != 0 ||
      ::epoll_ctl(epoll, EPOLL_CTL_ADD, wake, &ready) != 0) {
    const Status failed = SystemError(errno);
    ::close(epoll);
    if (wake >= 0) ::close(wake);
    return failed;
  }
  watch = std::make_unique<LinuxFolderWatch>(std::move(hub), epoll, wake);
  return {};
}

}  // namespace velmar::platform
