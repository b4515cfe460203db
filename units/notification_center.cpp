#include "FolianUtils/notification_center.h"

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace velmar::utils {
namespace {

struct Registration {
  explicit Registration(NotificationObserver* o) : observer(o) {}
  NotificationObserver* observer;
  // Cleared on removal so that a delivery already under way skips it.
  std::atomic<bool> active{true};
};

}  // namespace

struct NotificationCenter::State {
  mutable std::mutex mutex;
  bool enabled = true;
  std::map<std::string, std::vector<std::shared_ptr<Registration>>> observers;
};

NotificationCenter::NotificationCenter() : m_state(std::make_unique<State>()) {}

NotificationCenter::~NotificationCenter() = default;

NotificationObserver::~NotificationObserver() = default;

NotificationCenter& NotificationCenter::Default() {
  // Never destroyed: observers may post from static destructors.
  static NotificationCenter* const center = new NotificationCenter();
  return *center;
}

void NotificationCenter::AddObserver(const std::string& name, NotificationObserver* observer) {
  if (observer == nullptr) return;
  const std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->observers[name].push_back(std::make_shared<Registration>(observer));
}

void NotificationCenter::RemoveObserver(NotificationObserver* observer, const std::string& name) {
  const std::lock_guard<std::mutex> lock(m_state->mutex);
  for (auto it = m_state->observers.begin(); it != m_state->observers.end();) {
    if (!name.empty() && it->first != name) {
      ++it;
      continue;
    }
    auto& list = it->second;
    for (auto r = list.begin(); r != list.end();) {
      if ((*r)->observer == observer) {
        (*r)->active = false;
        r = list.erase(r);
      } else {
        ++r;
      }
    }
    it = list.empty() ? m_state->observers.erase(it) : std::next(it);
  }
}

void NotificationCenter::Post(const std::string& name, const void* sender) {
  std::vector<std::shared_ptr<Registration>> targets;
  {
    const std::lock_guard<std::mutex> lock(m_state->mutex);
    if (!m_state->enabled) return;
    const auto it = m_state->observers.find(name);
    if (it == m_state->observers.end()) return;
    targets = it->second;
  }
  // Called without the lock, so observers may register, unregister and
  // post from their callbacks.
  const bool main_thread = IsMainThread();
  for (const auto& registration : targets) {
    if (!registration->active) continue;
    if (!main_thread && !registration->observer->ReceivesFromAnyThread()) continue;
    registration->observer->OnNotification(name, sender);
  }
}

void NotificationCenter::SetEnabled(bool enabled) {
  const std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->enabled = enabled;
}

bool NotificationCenter::IsEnabled() const {
  const std::lock_guard<std::mutex> lock(m_state->mutex);
  return m_state->enabled;
}

bool NotificationCenter::IsMainThread() {
  static const std::thread::id main_thread = std::this_thread::get_id();
  return std::this_thread::get_id() == main_thread;
}

}  // namespace velmar::utils
