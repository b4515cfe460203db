// The calls the library lets a host make from any thread, made from several
// threads at once. Under ThreadSanitizer this finds unguarded shared state;
// in every build it checks that each thread gets the answers one thread gets.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
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
constexpr int kRounds = 200;

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

TEST(AnyThread, NumbersReadAlike) {
  struct Case {
    velmar_ustring text;
    bool ok;
    double value;
  };
  const std::vector<Case> cases = {
      {WithDecimalPoint("12.5"), true, 12.5},   {WithDecimalPoint("  -3.25e2mm"), true, -325.0},
      {WithDecimalPoint("0.001"), true, 0.001}, {velmar_ustring("mm"), false, 0.0},
      {velmar_ustring(""), false, 0.0},
  };
  std::atomic<int> wrong{0};
  RunTogether(kThreads, [&](int) {
    for (int round = 0; round < kRounds; ++round) {
      for (const Case& c : cases) {
        double value = -1.0;
        const bool ok = velmar::utils::StringToDouble(c.text.c_str(), value);
        if (ok != c.ok || value != c.value) ++wrong;
        if (CNumericFormatter::TTOF(c.text) != c.value) ++wrong;
      }
    }
  });
  EXPECT_EQ(wrong.load(), 0);
}

TEST(AnyThread, MeasurementsFormatAndParseAlike) {
  CLengthFormatter one(Architectural());
  ASSERT_EQ(one.Format(66.5), velmar_ustring(VELMAR_U("5'-6 1/2\"")));
  std::vector<double> values;
  std::vector<velmar_ustring> texts;
  for (int i = 0; i < 64; ++i) {
    values.push_back(i * 7.3125);
    texts.push_back(one.Format(values.back()));
  }
  LengthInfo metric;
  metric.SetUnits(UnitsInfo::kMillimeters);
  metric.SetPrecision(1);
  const velmar_ustring metric_text = CLengthFormatter(metric).Format(1.0);
  AngleInfo degrees;
  degrees.SetUnits(UnitsInfo::kDegrees);
  degrees.SetPrecision(1);
  const velmar_ustring angle_text = AngleFormatter(degrees).Format(0.5);

  std::atomic<int> wrong{0};
  RunTogether(kThreads, [&](int) {
    // Formatters are the caller's value objects: one per thread.
    CLengthFormatter lengths(Architectural());
    for (int round = 0; round < kRounds / 10; ++round) {
      for (std::size_t i = 0; i < values.size(); ++i) {
        if (lengths.Format(values[i]) != texts[i]) ++wrong;
        double back = -1.0;
        if (!lengths.Parse(texts[i], back) || back != values[i]) ++wrong;
      }
      if (CLengthFormatter(metric).Format(1.0) != metric_text) ++wrong;
      if (AngleFormatter(degrees).Format(0.5) != angle_text) ++wrong;
      if (velmar::utils::ScaleFormatter::Format(0.02) != velmar_ustring("1:50")) ++wrong;
      if (velmar::utils::ScaleFormatter::Parse(velmar_ustring("1:50")) != 0.02) ++wrong;
      double out[3] = {};
      if (CLengthFormatter::Parse(velmar_ustring("1'") +
                                      velmar_ustring(1, CNumericFormatter::GetSeparatorChar()) +
                                      "2\"",
                                  3, out, UnitsInfo::kInches) != 2 ||
          out[0] != 12.0 || out[1] != 2.0) {
        ++wrong;
      }
    }
  });
  EXPECT_EQ(wrong.load(), 0);
}

TEST(AnyThread, MeasurementBoxReadsAlike) {
  struct Answer {
    bool length_ok;
    double length;
    bool array_ok;
    int count;
    bool division;
    bool grid_ok;
    unsigned int rows;
    unsigned int columns;
    bool point_ok;
    Point2<float> point;
    int mode;

    bool operator==(const Answer& o) const {
      return length_ok == o.length_ok && length == o.length && array_ok == o.array_ok &&
             count == o.count && division == o.division && grid_ok == o.grid_ok && rows == o.rows &&
             columns == o.columns && point_ok == o.point_ok && point == o.point && mode == o.mode;
    }
  };
  const auto ask = [](const velmar_ustring& text) {
    CVCBParser box(text, Architectural(), 0.5);
    Answer a{};
    a.length_ok = box.GetLength(a.length);
    a.array_ok = box.GetArrayOperation(&a.count, &a.division);
    a.grid_ok = box.GetRowsOrColumns(a.rows, a.columns);
    a.point_ok = box.GetCPoint2f(10.0f, 20.0f, Point2<float>{1.0f, 2.0f}, a.point);
    a.mode = box.GetPointEntryMode();
    return a;
  };
  const std::vector<velmar_ustring> texts = {
      velmar_ustring("10'"),     velmar_ustring("5'-6 1/2\""), velmar_ustring("5x"),
      velmar_ustring("/4"),      velmar_ustring("3x4"),        velmar_ustring("2r"),
      velmar_ustring("[w3,h4]"), velmar_ustring("<1,2>"),      velmar_ustring("^45,2"),
      WithDecimalPoint("2.5"),   velmar_ustring("hello"),      velmar_ustring(""),
  };
  std::vector<Answer> expected;
  for (const auto& text : texts) expected.push_back(ask(text));
  ASSERT_TRUE(expected[0].length_ok);
  ASSERT_EQ(expected[0].length, 60.0);

  std::atomic<int> wrong{0};
  RunTogether(kThreads, [&](int) {
    for (int round = 0; round < kRounds; ++round) {
      for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!(ask(texts[i]) == expected[i])) ++wrong;
      }
      if (!CVCBParser::IsVCBTrigger(L'7') || CVCBParser::IsVCBTrigger(L'q')) ++wrong;
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
