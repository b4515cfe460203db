#include "FolianUtils/ustring.h"

#include <gtest/gtest.h>

namespace velmar::utils {
namespace {
TEST(UstringSmokeTest, RoundTrip) { EXPECT_EQ(velmar_ustring("abc").ToUTF8(), "abc"); }
}  // namespace
}  // namespace velmar::utils
