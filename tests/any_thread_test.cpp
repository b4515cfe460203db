// The calls the library lets a host make from any thread, made from several
// threads at once. Under ThreadSanitizer this finds unguarded shared state;
// in every build it checks that each thread gets the answers one thread gets.
#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FolianUtils/FolianUtils.h"

namespace {

using velmar::geometry::Point2;
using namespace velmar::units;
using namespace velmar::utils;

constexpr int kRounds = 50;

// Starts every worker at once so that their calls overlap.
template <typename Work>
void RunTogether(int threads, Work work) {
  std::atomic<bool> go{false};
  std::vector<std::thread> workers;
  workers.reserve(threads);
  for (int t = 0; t < threads; ++t) {
    workers.emplace_back([&go, &work, t] {
      while (!go.load()) std::this_thread::yield();
      work(t);
    });
  }
  go.store(true);
  for (auto& worker : workers) worker.join();
}

const char* const kTexts[] = {"  -3.25e2mm", "1:50",  "1' 2\"", "30°",
                              "5'-6 1/2\"",  "5x",    "3x4",    "[w3,h4]",
                              "<1,2>",       "^45,2", "hello",  "6' ÷ (1' + 6\")"};

// Every reading of one of the texts, and every way of writing a value with
// its architectural text read back, as the text of the answers.
std::string Answers(int i) {
  const velmar_ustring text(kTexts[i % std::size(kTexts)]);
  const double written = i * 7.3125;
  double value = 0.0, values[3] = {};
  int count = 0;
  bool division = false;
  unsigned int rows = 0, columns = 0;
  Point2<float> point;
  LengthInfo architectural;
  architectural.SetFormat(UnitsInfo::kArchitectural);
  architectural.SetPrecision(4);
  CVCBParser box(text, architectural, 0.5);
  CLengthFormatter lengths(architectural);
  const velmar_ustring length = lengths.Format(written);
  LengthInfo metric;
  metric.SetUnits(UnitsInfo::kMillimeters);
  AngleInfo degrees;
  degrees.SetUnits(UnitsInfo::kDegrees);
  LengthExpressionStatus status;
  std::ostringstream answer;
  answer.precision(17);
  answer << velmar::utils::StringToDouble(text.c_str(), value) << value
         << CNumericFormatter::TTOF(text) << ScaleFormatter::Parse(text)
         << CLengthFormatter::Parse(text, 3, values, UnitsInfo::kInches) << values[0] << values[1]
         << AngleFormatter::Parse(text, value) << value << box.GetLength(value) << value
         << box.GetArrayOperation(&count, &division) << count << division
         << box.GetRowsOrColumns(rows, columns) << rows << columns
         << box.GetCPoint2f(10.0f, 20.0f, Point2<float>{1.0f, 2.0f}, point) << point.x << point.y
         << box.GetPointEntryMode() << "|" << length << lengths.Parse(length, value) << value
         << CLengthFormatter(metric).Format(written) << AngleFormatter(degrees).Format(written)
         << ScaleFormatter::Format(written) << EvaluateLength(text, architectural, value, &status)
         << value << EvaluateLengthRatio(text, architectural, value, &status) << value
         << DescribeLengthExpressionError(status.error) << status.position;
  return answer.str();
}

// Each thread, each round, gets the answers the main thread got first.
TEST(AnyThread, CallsAnswerAsOnOneThread) {
  std::string answers[64];
  for (int i = 0; i < 64; ++i) answers[i] = Answers(i);
  ASSERT_NE(answers[63].find("|38'-4 11/16\"1460.6875"), std::string::npos) << answers[63];
  std::atomic<int> wrong{0};
  RunTogether(4, [&](int) {
    for (int round = 0; round < kRounds; ++round) {
      for (int i = 0; i < 64; ++i) {
        if (Answers(i) != answers[i]) ++wrong;
      }
    }
  });
  EXPECT_EQ(wrong.load(), 0);
}

// Counts its deliveries; a one-shot removes itself from inside its first.
struct CountingObserver : NotificationObserver {
  CountingObserver(bool any_thread, bool one_shot) : m_anyThread(any_thread), m_oneShot(one_shot) {}
  void OnNotification(const std::string& name, const void*) override {
    ++calls;
    if (m_oneShot) NotificationCenter::Default().RemoveObserver(this, name);
  }
  bool ReceivesFromAnyThread() const override { return m_anyThread; }

  const bool m_anyThread, m_oneShot;
  std::atomic<int> calls{0};
};

TEST(AnyThread, ObserversComeAndGoWhilePostsArrive) {
  NotificationCenter& center = NotificationCenter::Default();
  ASSERT_TRUE(NotificationCenter::IsMainThread());
  const std::string name = UnitsInfo::kUnitsChanged;
  CountingObserver steady(true, false);
  CountingObserver main_only(false, false);
  center.AddObserver(name, &steady);
  center.AddObserver(name, &main_only);

  // Two threads post; two add and remove observers meanwhile.
  constexpr int kPostsEach = 500;
  CountingObserver passing[2] = {{true, false}, {true, false}};
  CountingObserver one_shots[2] = {{true, true}, {true, true}};
  RunTogether(4, [&](int t) {
    if (t >= 2) {
      LengthInfo info;
      for (int i = 0; i < kPostsEach; ++i) {
        info.SetUnits(i % 2 ? UnitsInfo::kMillimeters : UnitsInfo::kInches, true);
      }
      return;
    }
    center.AddObserver(name, &one_shots[t]);
    for (int i = 0; i < kPostsEach; ++i) {
      center.AddObserver(name, &passing[t]);
      center.RemoveObserver(&passing[t], i % 2 ? name : std::string());
    }
  });

  // Every post from a worker reached the any-thread observer once and the
  // main-thread observer never; a one-shot is called at most once per
  // delivery under way when it left.
  EXPECT_EQ(steady.calls.load(), 2 * kPostsEach);
  EXPECT_EQ(main_only.calls.load(), 0);
  const int before[2] = {passing[0].calls.load(), passing[1].calls.load()};
  for (auto& one_shot : one_shots) {
    EXPECT_LE(one_shot.calls.load(), 2);
    center.RemoveObserver(&one_shot);
  }
  // Nothing removed is called again; a post on the main thread reaches both.
  center.Post(name, nullptr);
  EXPECT_EQ(passing[0].calls.load(), before[0]);
  EXPECT_EQ(passing[1].calls.load(), before[1]);
  EXPECT_EQ(steady.calls.load(), 2 * kPostsEach + 1);
  EXPECT_EQ(main_only.calls.load(), 1);
  for (auto* observer : {&steady, &main_only}) center.RemoveObserver(observer);
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
