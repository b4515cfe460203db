#include "FolianUtils/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "FolianUtils/dictionary.h"

namespace velmar::utils {
namespace {

// Copies of a string share one block, released by its last holder; a move
// leaves its source empty; containers copy deep.
TEST(Variant, StringBlocksAreSharedAndReleased) {
  std::optional<Variant> first(Variant(velmar_ustring("shared")));
  std::optional<Variant> second(*first);
  Variant third;
  third = *second;
  EXPECT_EQ(first->StringReferenceCount(), 3u);
  EXPECT_EQ(&first->GetString(), &third.GetString());
  second.reset();
  first.reset();
  EXPECT_EQ(third.StringReferenceCount(), 1u);
  Variant moved(std::move(third));
  EXPECT_EQ(third.GetType(), Variant::kEmpty);
  {
    const VariantVector list{moved, Variant(KeyValuePairs{{velmar_ustring("k"), moved}})};
    Variant whole(Dictionary{{velmar_ustring("list"), Variant(list)}});
    EXPECT_EQ(moved.StringReferenceCount(), 1u + 2u + 2u);
    Variant copy(whole);
    copy.GetDictionary()[velmar_ustring("b")] = Variant(2);
    EXPECT_NE(copy, whole);
    whole = std::move(copy);
  }
  EXPECT_EQ(moved.StringReferenceCount(), 1u);
}

TEST(Variant, ConversionsOfAnotherKindThrowWithTheReason) {
  const Variant number(std::int64_t{5});
  try {
    (void)number.GetInt32();
    ADD_FAILURE() << "no exception";
  } catch (const VariantCastError& error) {
    EXPECT_STREQ(error.what(), "Could not cast Variant to int32_t: not a 4-byte integer");
  }
  EXPECT_THROW((void)number.GetKeyValuePairs(), VariantCastError);
  EXPECT_EQ(number.GetInt64(), 5);
}

TEST(Variant, EqualityComparesKindAndValue) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Variant(nan), Variant(nan));
  EXPECT_NE(Variant(1), Variant(std::int64_t{1}));
  EXPECT_NE(Variant(1.0), Variant(1.0f));
  EXPECT_NE(Variant(velmar_ustring("a")), Variant(velmar_ustring("b")));
  EXPECT_EQ(Variant(velmar_ustring("a")), Variant(velmar_ustring("a")));
}

}  // namespace
}  // namespace velmar::utils
