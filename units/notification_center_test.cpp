#include "FolianUtils/notification_center.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace velmar::utils {
namespace {

class Counter : public NotificationObserver {
 public:
  void OnNotification(const std::string& name, const void* sender) override {
    calls += name == "test.one" && sender == nullptr ? 1 : 100;
    if (on_call) on_call();
  }
  bool ReceivesFromAnyThread() const override { return any_thread; }

  int calls = 0;
  bool any_thread = false;
  std::function<void()> on_call;
};

// Exact names; removal by name keeps other names, during a delivery skips the
// removed; a switched-off centre posts nothing; other threads reach only the
// observers that accept any thread.
TEST(NotificationCenterTest, DeliversToTheRegisteredUntilRemoved) {
  NotificationCenter& center = NotificationCenter::Default();
  ASSERT_TRUE(NotificationCenter::IsMainThread());
  Counter first;
  Counter second;
  second.any_thread = true;
  first.on_call = [&] { center.RemoveObserver(&second, "test.one"); };
  center.AddObserver("test.one", &first);
  center.AddObserver("test.one", &second);
  center.AddObserver("test.two", &second);
  center.Post("test.one", nullptr);
  center.Post("test.on", nullptr);
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(second.calls, 0);
  std::thread([&center] { center.Post("test.two", &center); }).join();
  center.SetEnabled(false);
  center.Post("test.one", nullptr);
  EXPECT_FALSE(center.IsEnabled());
  center.SetEnabled(true);
  std::thread([&center] { center.Post("test.one", nullptr); }).join();
  EXPECT_EQ(first.calls, 1);
  center.RemoveObserver(&second);
  center.Post("test.two", nullptr);
  center.Post("test.one", nullptr);
  center.RemoveObserver(&first);
  center.Post("test.one", nullptr);
  EXPECT_EQ(first.calls, 2);
  EXPECT_EQ(second.calls, 100);
}

}  // namespace
}  // namespace velmar::utils
