#include "foundation/message_format.h"

#include <gtest/gtest.h>

namespace velmar::utils {
namespace {

TEST(MessageFormatTest, RewritesMessageStyleIntoPositionalPrintf) {
  struct Case {
    const char* in;
    const char* out;
  };
  for (const Case& c : {
           Case{"%1!d! %2 and %9", "%1$d %2$s and %9$s"}, Case{"%1.x %2.", "%1$s.x %2$s."},
           Case{"%2.3f", "%2.3f"},  // a width and precision, not an argument
           Case{"%1x", "%1x"},      // any other unit is copied
           Case{"%%1 %s", "%%1 %s"}, Case{"100%", "100%"},
           Case{"%0", "%0"},      // only 1 to 9 are argument numbers
           Case{"%1!d", "%1$d"},  // an unterminated type runs to the end
       }) {
    EXPECT_EQ(velmar_ustring(RewriteMessageFormat(velmar_ustring(c.in).str())),
              velmar_ustring(c.out))
        << c.in;
  }
}

}  // namespace
}  // namespace velmar::utils
