#include "FolianUtils/notification_center.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

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

class NotificationCenterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(NotificationCenter::IsMainThread()); }
  NotificationCenter& center = NotificationCenter::Default();
};

TEST_F(NotificationCenterTest, DeliversToObserversOfTheExactName) {
  Counter a;
  Counter b;
  center.AddObserver("test.alpha", &a);
  center.AddObserver("test.beta", &b);
  const int sender = 0;
  center.Post("test.alpha", &sender);
  center.Post("test.alph", &sender);
  center.RemoveObserver(&a);
  center.RemoveObserver(&b);
  EXPECT_EQ(a.calls, 1);
  EXPECT_EQ(a.last_name, "test.alpha");
  EXPECT_EQ(a.last_sender, &sender);
  EXPECT_EQ(b.calls, 0);
}

TEST_F(NotificationCenterTest, OtherThreadsReachOnlyAnyThreadObservers) {
  Counter main_only;
  Counter any(true);
  center.AddObserver("test.thread", &main_only);
  center.AddObserver("test.thread", &any);
  std::thread([this] { center.Post("test.thread", nullptr); }).join();
  EXPECT_EQ(main_only.calls, 0);
  EXPECT_EQ(any.calls, 1);
  center.Post("test.thread", nullptr);
  EXPECT_EQ(main_only.calls, 1);
  EXPECT_EQ(any.calls, 2);
  center.RemoveObserver(&main_only);
  center.RemoveObserver(&any);
}

TEST_F(NotificationCenterTest, RemovalDuringDeliverySkipsTheRemoved) {
  Counter first;
  Counter second;
  first.on_call = [&] { center.RemoveObserver(&second); };
  center.AddObserver("test.remove", &first);
  center.AddObserver("test.remove", &second);
  center.Post("test.remove", nullptr);
  EXPECT_EQ(first.calls, 1);
  EXPECT_EQ(second.calls, 0);
  center.Post("test.remove", nullptr);
  EXPECT_EQ(first.calls, 2);
  center.RemoveObserver(&first);
}

TEST_F(NotificationCenterTest, RemovalByNameKeepsOtherRegistrations) {
  Counter c;
  center.AddObserver("test.one", &c);
  center.AddObserver("test.two", &c);
  center.RemoveObserver(&c, "test.one");
  center.Post("test.one", nullptr);
  center.Post("test.two", nullptr);
  EXPECT_EQ(c.calls, 1);
  center.RemoveObserver(&c);
  center.Post("test.two", nullptr);
  EXPECT_EQ(c.calls, 1);
}

TEST_F(NotificationCenterTest, SwitchedOffCentrePostsNothing) {
  Counter c;
  center.AddObserver("test.off", &c);
  center.SetEnabled(false);
  center.Post("test.off", nullptr);
  EXPECT_FALSE(center.IsEnabled());
  center.SetEnabled(true);
  center.Post("test.off", nullptr);
  center.RemoveObserver(&c);
  EXPECT_EQ(c.calls, 1);
}

TEST_F(NotificationCenterTest, ConcurrentPostsAndRegistrationsAreSafe) {
  Counter any(true);
  center.AddObserver("test.busy", &any);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([this] {
      for (int i = 0; i < 2000; ++i) {
        Counter transient(true);
        center.AddObserver("test.other", &transient);
        center.RemoveObserver(&transient);
      }
    });
  }
  std::thread poster([this] {
    for (int i = 0; i < 2000; ++i) center.Post("test.busy", nullptr);
  });
  for (auto& thread : threads) thread.join();
  poster.join();
  center.RemoveObserver(&any);
  EXPECT_EQ(any.calls, 2000);
}

}  // namespace
}  // namespace velmar::utils
