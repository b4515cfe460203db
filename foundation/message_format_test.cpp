#include "foundation/message_format.h"

#include <gtest/gtest.h>

namespace velmar::utils {
namespace {

TEST(MessageFormatTest, RewritesMessageStyleIntoPositionalPrintf) {
  const std::pair<const char*, const char*> cases[] = {
      {"%1!d! %2 and %9", "%1$d %2$s and %9$s"},
      {"%1.x %2.", "%1$s.x %2$s."},
      {"%2.3f", "%2.3f"},  // a width and precision, not an argument
      {"%1x", "%1x"},      // any other unit is copied
      {"%%1 %s", "%%1 %s"},
      {"100%", "100%"},
      {"%0", "%0"},      // only 1 to 9 are argument numbers
      {"%1!d", "%1$d"},  // an unterminated type runs to the end
  };
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(velmar_ustring(RewriteMessageFormat(velmar_ustring(in).str())), velmar_ustring(out))
        << in;
  }
}

}  // namespace
}  // namespace velmar::utils
