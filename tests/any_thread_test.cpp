// The calls the library lets a host make from any thread, made from several
// threads at once. Under ThreadSanitizer this finds unguarded shared state;
// in every build it checks that each thread gets the answers one thread gets.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "FolianUtils/angle_formatter.h"
#include "FolianUtils/length_formatter.h"
#include "FolianUtils/notification_center.h"
#include "FolianUtils/point2.h"
#include "FolianUtils/scale_formatter.h"
#include "FolianUtils/units_info.h"
#include "FolianUtils/ustring.h"
#include "FolianUtils/vcb_parser.h"

namespace {

using velmar::geometry::Point2;
using velmar::units::AngleInfo;
using velmar::units::LengthInfo;
using velmar::units::UnitsInfo;
using velmar::utils::AngleFormatter;
using velmar::utils::CLengthFormatter;
using velmar::utils::CNumericFormatter;
using velmar::utils::CVCBParser;
using velmar::utils::NotificationCenter;
using velmar::utils::NotificationObserver;
using velmar::utils::velmar_ustring;

constexpr int kThreads = 4;
constexpr int kRounds = 50;

// Starts every worker at once so that their calls overlap.
template <typename Work>
void RunTogether(int threads, Work work) {
  std::atomic<bool> go{false};
  std::vector<std::thread> workers;
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&go, &work, t] {
      while (!go.load()) std::this_thread::yield();
      work(t);
    });
  }
  go.store(true);
  for (auto& worker : workers) worker.join();
}

// Texts written with the user's decimal point, so the test holds in any locale.
velmar_ustring WithDecimalPoint(const char* text) {
  velmar_ustring result(text);
  for (auto& unit : result) {
    if (unit == '.') unit = CNumericFormatter::GetDecimalPointChar();
  }
  return result;
}

LengthInfo Architectural() {
  LengthInfo info;
  info.SetFormat(UnitsInfo::kArchitectural);
  info.SetPrecision(4);
  return info;
}

// What the measurement box makes of a text, every reading at once.
std::string BoxAnswer(const char* text) {
  CVCBParser box(WithDecimalPoint(text), Architectural(), 0.5);
  double length = 0.0;
  int count = 0;
  bool division = false;
  unsigned int rows = 0, columns = 0;
  Point2<float> point;
  std::ostringstream answer;
  answer << box.GetLength(length) << length << box.GetArrayOperation(&count, &division) << count
         << division << box.GetRowsOrColumns(rows, columns) << rows << columns
         << box.GetCPoint2f(10.0f, 20.0f, Point2<float>{1.0f, 2.0f}, point) << point.x << point.y
         << box.GetPointEntryMode();
  return answer.str();
}

// The any-thread calls, each with the check of its answer. Formatters and
// parsers are the caller's value objects: each call makes its own.
std::vector<std::pair<std::string, std::function<bool()>>> Calls() {
  std::vector<std::pair<std::string, std::function<bool()>>> calls;
  const struct {
    const char* text;
    bool ok;
    double value;
  } numbers[] = {{"12.5", true, 12.5},
                 {"  -3.25e2mm", true, -325.0},
                 {"0.001", true, 0.001},
                 {"mm", false, 0.0},
                 {"", false, 0.0}};
  for (const auto& n : numbers) {
    calls.emplace_back(n.text, [n, text = WithDecimalPoint(n.text)] {
      double value = -1.0;
      const bool ok = velmar::utils::StringToDouble(text.c_str(), value);
      return ok == n.ok && value == n.value && CNumericFormatter::TTOF(text) == n.value;
    });
  }
  // Architectural lengths format and read back; each thread writes the
  // text one thread writes.
  for (int i = 0; i < 64; ++i) {
    const double inches = i * 7.3125;
    const velmar_ustring text = CLengthFormatter(Architectural()).Format(inches);
    calls.emplace_back(text.ToUTF8(), [inches, text] {
      CLengthFormatter lengths(Architectural());
      double back = -1.0;
      return lengths.Format(inches) == text && lengths.Parse(text, back) && back == inches;
    });
  }
  calls.emplace_back("66.5\"", [] {
    return CLengthFormatter(Architectural()).Format(66.5) == velmar_ustring(VELMAR_U("5'-6 1/2\""));
  });
  LengthInfo metric;
  metric.SetUnits(UnitsInfo::kMillimeters);
  metric.SetPrecision(1);
  calls.emplace_back("1\" in mm", [metric, text = CLengthFormatter(metric).Format(1.0)] {
    return CLengthFormatter(metric).Format(1.0) == text;
  });
  AngleInfo degrees;
  degrees.SetUnits(UnitsInfo::kDegrees);
  degrees.SetPrecision(1);
  calls.emplace_back("0.5 rad", [degrees, text = AngleFormatter(degrees).Format(0.5)] {
    return AngleFormatter(degrees).Format(0.5) == text;
  });
  calls.emplace_back("scale", [] {
    return velmar::utils::ScaleFormatter::Format(0.02) == velmar_ustring("1:50") &&
           velmar::utils::ScaleFormatter::Parse(velmar_ustring("1:50")) == 0.02;
  });
  calls.emplace_back("1' 2\" as two", [] {
    double out[3] = {};
    const velmar_ustring text =
        velmar_ustring("1'") + velmar_ustring(1, CNumericFormatter::GetSeparatorChar()) + "2\"";
    return CLengthFormatter::Parse(text, 3, out, UnitsInfo::kInches) == 2 && out[0] == 12.0 &&
           out[1] == 2.0;
  });
  // 10' at half scale reads (1) as 60 inches.
  calls.emplace_back("box 10'", [] { return BoxAnswer("10'").rfind("160", 0) == 0; });
  for (const char* text : {"10'", "5'-6 1/2\"", "5x", "/4", "3x4", "2r", "[w3,h4]", "<1,2>",
                           "^45,2", "2.5", "hello", ""}) {
    calls.emplace_back(std::string("box ") + text,
                       [text, one = BoxAnswer(text)] { return BoxAnswer(text) == one; });
  }
  calls.emplace_back("box triggers", [] {
    return CVCBParser::IsVCBTrigger(L'7') && !CVCBParser::IsVCBTrigger(L'q');
  });
  return calls;
}

TEST(AnyThread, CallsAnswerAsOnOneThread) {
  const auto calls = Calls();
  for (const auto& call : calls) ASSERT_TRUE(call.second()) << call.first;
  std::atomic<int> wrong{0};
  RunTogether(kThreads, [&](int) {
    for (int round = 0; round < kRounds; ++round) {
      for (const auto& call : calls) {
        if (!call.second()) ++wrong;
      }
    }
  });
  EXPECT_EQ(wrong.load(), 0);
}

class CountingObserver : public NotificationObserver {
 public:
  explicit CountingObserver(bool any_thread) : m_anyThread(any_thread) {}
  void OnNotification(const std::string&, const void*) override { ++calls; }
  bool ReceivesFromAnyThread() const override { return m_anyThread; }

  std::atomic<int> calls{0};

 private:
  bool m_anyThread;
};

// Removes itself from inside its first delivery.
class OneShotObserver : public NotificationObserver {
 public:
  void OnNotification(const std::string& name, const void*) override {
    ++calls;
    NotificationCenter::Default().RemoveObserver(this, name);
  }
  bool ReceivesFromAnyThread() const override { return true; }

  std::atomic<int> calls{0};
};

TEST(AnyThread, ObserversComeAndGoWhilePostsArrive) {
  NotificationCenter& center = NotificationCenter::Default();
  ASSERT_TRUE(NotificationCenter::IsMainThread());
  const std::string name = UnitsInfo::kUnitsChanged;
  CountingObserver steady(true);
  CountingObserver main_only(false);
  center.AddObserver(name, &steady);
  center.AddObserver(name, &main_only);

  constexpr int kPosters = 2;
  constexpr int kPostsEach = 500;
  std::vector<std::unique_ptr<CountingObserver>> passing;
  std::vector<std::unique_ptr<OneShotObserver>> one_shots;
  for (int i = 0; i < kThreads - kPosters; ++i) {
    passing.push_back(std::make_unique<CountingObserver>(true));
    one_shots.push_back(std::make_unique<OneShotObserver>());
  }
  RunTogether(kThreads, [&](int t) {
    if (t < kPosters) {
      LengthInfo info;
      for (int i = 0; i < kPostsEach; ++i) {
        info.SetUnits(i % 2 ? UnitsInfo::kMillimeters : UnitsInfo::kInches, true);
      }
      return;
    }
    CountingObserver& mine = *passing[t - kPosters];
    center.AddObserver(name, one_shots[t - kPosters].get());
    for (int i = 0; i < kPostsEach; ++i) {
      center.AddObserver(name, &mine);
      center.RemoveObserver(&mine, i % 2 ? name : std::string());
    }
  });

  // Every post from a worker reached the any-thread observer once and the
  // main-thread observer never.
  EXPECT_EQ(steady.calls.load(), kPosters * kPostsEach);
  EXPECT_EQ(main_only.calls.load(), 0);
  // A one-shot is called at most once per delivery under way when it left.
  for (const auto& one_shot : one_shots) EXPECT_LE(one_shot->calls.load(), kPosters);

  // Nothing removed is called again; a post on the main thread reaches both.
  std::vector<int> before;
  for (const auto& observer : passing) before.push_back(observer->calls.load());
  for (const auto& one_shot : one_shots) center.RemoveObserver(one_shot.get());
  center.Post(name, nullptr);
  for (std::size_t i = 0; i < passing.size(); ++i) EXPECT_EQ(passing[i]->calls.load(), before[i]);
  EXPECT_EQ(steady.calls.load(), kPosters * kPostsEach + 1);
  EXPECT_EQ(main_only.calls.load(), 1);
  center.RemoveObserver(&steady);
  center.RemoveObserver(&main_only);
}

}  // namespace

int main(int argc, char** argv) {
  // The host makes the first call of each lazily filled family on one
  // thread; so does this test, before any worker starts.
  NotificationCenter::IsMainThread();
  velmar::utils::SetLengthFormatterStrings();
  CNumericFormatter::GetDecimalPointChar();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
