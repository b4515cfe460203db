#include <gtest/gtest.h>

#include "FolianUtils/assert.h"

namespace velmar::utils {
namespace {

TEST(AssertFailedTest, WritesTheReportAndReturns) {
  ::testing::internal::CaptureStderr();
  AssertFailed("x > 0", "units/thing.cpp", 42);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "units/thing.cpp:42 failed assert \"x > 0\"\n");
}

}  // namespace
}  // namespace velmar::utils
