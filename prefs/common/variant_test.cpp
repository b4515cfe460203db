#include "FolianUtils/variant.h"

#include <gtest/gtest.h>

#include <limits>

namespace velmar::utils {
namespace {

// Equal values are of one kind; NaN equals NaN; copies of a string share
// its block; a value of another kind cannot be taken out.
TEST(Variant, EqualityKindsAndSharedStrings) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Variant(nan), Variant(nan));
  EXPECT_NE(Variant(1), Variant(std::int64_t{1}));
  EXPECT_NE(Variant(1.0), Variant(1.0f));
  EXPECT_NE(Variant(velmar_ustring("a")), Variant(velmar_ustring("b")));
  Variant text(velmar_ustring("shared"));
  const Variant copy(text);
  EXPECT_EQ(&copy.GetString(), &text.GetString());
  const Variant moved(std::move(text));
  EXPECT_EQ(text.GetType(), Variant::kEmpty);  // NOLINT(bugprone-use-after-move): documented
  EXPECT_EQ(moved.StringReferenceCount(), 2u);
  EXPECT_EQ(Variant(1).StringReferenceCount(), 0u);
  EXPECT_THROW((void)Variant(1).GetInt64(), VariantCastError);
}

}  // namespace
}  // namespace velmar::utils
