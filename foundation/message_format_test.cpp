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
           Case{"%1!d!", "%1$d"},
           Case{"%1!d! and %2", "%1$d and %2$s"},
           Case{"%2 %1", "%2$s %1$s"},
           Case{"%1!.2f!", "%1$.2f"},
           Case{"%1.", "%1$s."},
           Case{"%1.x", "%1$s.x"},
           Case{"%2.3f", "%2.3f"},  // a width and precision, not an argument
           Case{"%1x", "%1x"},      // any other unit is copied
           Case{"%d", "%d"},
           Case{"%.*f", "%.*f"},
           Case{"%s %s", "%s %s"},
           Case{"%%1", "%%1"},  // a literal percent sign
           Case{"100%", "100%"},
           Case{"%0", "%0"},  // only 1 to 9 are argument numbers
           Case{"%1!ls!x", "%1$lsx"},
           Case{"%1!d", "%1$d"},  // unterminated type runs to the end
           Case{"", ""},
       }) {
    EXPECT_EQ(velmar_ustring(RewriteMessageFormat(velmar_ustring(c.in).str())),
              velmar_ustring(c.out))
        << c.in;
  }
}

}  // namespace
}  // namespace velmar::utils
