#include "TrelvinViewerAPI/viewer_api.h"

#include <gtest/gtest.h>

#include <string>

#include "environment/support_folders_test_roots.h"

namespace {

// The colours are checked through the application's preferences, which
// take them from here.
TEST(ViewerApi, NullAndReusedArgumentsAreRefused) {
  for (const auto query : {TRPreferencesGetXAxisColor, TRPreferencesGetYAxisColor,
                           TRPreferencesGetParallelPerpendicularColor}) {
    EXPECT_EQ(query(nullptr), TRResultNullArgument);
  }
  TRStringRef string = nullptr;
  char buffer[2] = {'x', 'x'};
  size_t length = 99;
  EXPECT_EQ(TRStringCreate(nullptr), TRResultNullArgument);
  EXPECT_EQ(TRPreferencesGetOrCreateCID(nullptr), TRResultNullArgument);
  EXPECT_EQ(TRPreferencesGetOrCreateCID(&string), TRResultNullArgument);
  EXPECT_EQ(TRStringGetUTF8(nullptr, 1, buffer, &length), TRResultNullArgument);
  ASSERT_EQ(TRStringCreate(&string), TRResultSuccess);
  EXPECT_EQ(TRStringCreate(&string), TRResultInvalidInput);
  EXPECT_EQ(TRStringGetUTF8Length(string, nullptr), TRResultNullArgument);
  EXPECT_EQ(TRStringGetUTF8(string, 1, buffer, &length), TRResultSuccess);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(TRStringRelease(&string), TRResultSuccess);
  EXPECT_EQ(string, nullptr);
  EXPECT_EQ(TRStringRelease(&string), TRResultSuccess);
}

// A copy is cut to the buffer's length and always ends in NUL.
TEST(ViewerApi, IdentifierCopiesAreCutToTheBufferLength) {
  folian::test::ScopedSupportRoots roots;
  if (!roots.usable()) GTEST_SKIP() << "the data folders cannot be redirected here";
  TRStringRef string = nullptr;
  ASSERT_EQ(TRStringCreate(&string), TRResultSuccess);
  ASSERT_EQ(TRPreferencesGetOrCreateCID(&string), TRResultSuccess);
  size_t length = 0;
  TRStringGetUTF8Length(string, &length);
  ASSERT_EQ(length, 36u);
  std::string whole(length + 1, 'x');
  size_t copied = 0;
  EXPECT_EQ(TRStringGetUTF8(string, length, &whole[0], &copied), TRResultSuccess);
  EXPECT_EQ(copied, length);
  std::string cut(9, 'x');
  EXPECT_EQ(TRStringGetUTF8(string, 8, &cut[0], nullptr), TRResultSuccess);
  EXPECT_EQ(cut, whole.substr(0, 8) + '\0');
  TRStringRelease(&string);
}

}  // namespace
