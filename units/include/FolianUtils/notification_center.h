/// @file
/// The process-wide notification centre on which settings changes are posted.
///
/// Delivery is synchronous on the posting thread. A post made on the main
/// thread (the first thread that ever asked which thread is the main one)
/// reaches every observer of the name; a post made on another thread reaches
/// only the observers that accept any thread.
///
/// @stable
#pragma once

#include <memory>
#include <string>

#include "FolianUtils/export.h"

namespace velmar::utils {

/// Receives the notifications posted under the names it is registered for
/// (NotificationCenter::AddObserver).
/// @stable
class FOLIAN_API NotificationObserver {
 public:
  /// Does not unregister: remove the observer before destroying it.
  virtual ~NotificationObserver();
  /// Called synchronously on the posting thread with the posted name and
  /// sender (for the units settings: the settings object).
  virtual void OnNotification(const std::string& name, const void* sender) = 0;
  /// Whether posts from threads other than the main thread may call this
  /// observer (on those threads).
  virtual bool ReceivesFromAnyThread() const { return false; }
};

/// The process-wide centre: observers register for names, posts call them.
///
/// Adding, removing and posting may be called from any thread at once.
/// @stable
class FOLIAN_API NotificationCenter {
 public:
  /// Created on first use; never destroyed before process exit.
  static NotificationCenter& Default();

  /// Registers `observer` under `name`; registering twice delivers twice.
  /// The observer must outlive its registration.
  void AddObserver(const std::string& name, NotificationObserver* observer);
  /// Unregisters `observer` from `name`, or from every name when `name` is
  /// empty. An observer removed during a delivery is not called again by it.
  /// A delivery running on another thread at the same moment is not waited
  /// for.
  void RemoveObserver(NotificationObserver* observer, const std::string& name = {});

  /// Calls every observer registered under `name` with `sender`, in
  /// registration order, on this thread (only the any-thread observers
  /// when this is not the main thread). Does nothing while disabled.
  void Post(const std::string& name, const void* sender);

  /// Posting is a no-op while the centre is off; it starts on.
  void SetEnabled(bool enabled);
  /// Whether posting is on.
  bool IsEnabled() const;

  /// Records the calling thread as the main thread on the first call.
  static bool IsMainThread();

  /// Not copyable: there is one centre.
  NotificationCenter(const NotificationCenter&) = delete;
  NotificationCenter& operator=(const NotificationCenter&) = delete;

 private:
  struct State;

  NotificationCenter();
  ~NotificationCenter();

  const std::unique_ptr<State> m_state;
};

}  // namespace velmar::utils
