#include "FolianUtils/notification_center.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace velmar::utils {
namespace {

class Counter : public NotificationObserver {
 public:
  explicit Counter(bool any_thread = false) : m_any_thread(any_thread) {}
  void OnNotification(const std::string& name, const void* sender) override {
    ++calls;
    last_name = name;
    last_sender = sender;
    if (on_call) on_call();
  }
  bool ReceivesFromAnyThread() const override { return m_any_thread; }

  int calls = 0;
  std::string last_name;
  const void* last_sender = nullptr;
  std::function<void()> on_call;

 private:
  bool m_any_thread;
};

// Exact names only; removal by name keeps the other names; removal during a
// delivery skips the removed; a switched-off centre posts nothing.
TEST(NotificationCenterTest, DeliversToTheRegisteredUntilRemoved) {
  NotificationCenter& center = NotificationCenter::Default();
  ASSERT_TRUE(NotificationCenter::IsMainThread());
  Counter first;
  Counter second;
  first.on_call = [&] { center.RemoveObserver(&second, "test.one"); };
  center.AddObserver("test.one", &first);
  center.AddObserver("test.one", &second);
  center.AddObserver("test.two", &second);
  const int sender = 0;
  center.Post("test.one", &sender);
  center.Post("test.on", &sender);
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(first.last_name, "test.one");
  EXPECT_EQ(first.last_sender, &sender);
  EXPECT_EQ(second.calls, 0);
  center.Post("test.two", nullptr);
  EXPECT_EQ(second.calls, 1);
  center.SetEnabled(false);
  center.Post("test.one", nullptr);
  EXPECT_FALSE(center.IsEnabled());
  center.SetEnabled(true);
  center.RemoveObserver(&second);
  center.Post("test.two", nullptr);
  center.Post("test.one", nullptr);
  center.RemoveObserver(&first);
  EXPECT_EQ(first.calls, 2);
  EXPECT_EQ(second.calls, 1);
}

// Other threads reach only the observers that accept any thread.
TEST(NotificationCenterTest, OtherThreadsReachOnlyAnyThreadObservers) {
  NotificationCenter& center = NotificationCenter::Default();
  Counter main_only;
  Counter any(true);
  center.AddObserver("test.thread", &main_only);
  center.AddObserver("test.thread", &any);
  std::thread([&center] { center.Post("test.thread", nullptr); }).join();
  center.RemoveObserver(&main_only);
  center.RemoveObserver(&any);
  EXPECT_EQ(main_only.calls, 0);
  EXPECT_EQ(any.calls, 1);
}

}  // namespace
}  // namespace velmar::utils
