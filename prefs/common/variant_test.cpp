#include "FolianUtils/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "FolianUtils/dictionary.h"

namespace velmar::utils {
namespace {

TEST(Variant, TagsOfEveryKind) {
  const struct {
    Variant value;
    std::uint32_t tag;
  } cases[] = {
      {Variant(), 0},
      {Variant(true), 1},
      {Variant(std::int8_t{-3}), 2},
      {Variant(std::int16_t{300}), 3},
      {Variant(std::int32_t{70000}), 4},
      {Variant(std::int64_t{1} << 40), 5},
      {Variant(1.5f), 6},
      {Variant(2.5), 7},
      {Variant(velmar_ustring("text")), 8},
      {Variant::Timestamp(12345), 9},
      {Variant(VariantVector{Variant(1), Variant(2)}), 10},
      {Variant(Dictionary{{velmar_ustring("a"), Variant(1)}}), 11},
      {Variant(KeyValuePairs{{velmar_ustring("b"), Variant(false)}}), 12},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.value.GetType(), c.tag);
    const Variant copy(c.value);
    EXPECT_EQ(copy.GetType(), c.tag);
    EXPECT_EQ(copy, c.value) << "tag " << c.tag;
  }
}

TEST(Variant, CopiesOfAStringShareOneBlockReleasedByTheLastHolder) {
  std::optional<Variant> first(Variant(velmar_ustring("shared")));
  EXPECT_EQ(first->StringReferenceCount(), 1u);
  std::optional<Variant> second(*first);
  Variant third;
  third = *second;
  EXPECT_EQ(first->StringReferenceCount(), 3u);
  EXPECT_EQ(&first->GetString(), &third.GetString());
  second.reset();
  EXPECT_EQ(first->StringReferenceCount(), 2u);
  first.reset();
  EXPECT_EQ(third.StringReferenceCount(), 1u);
  EXPECT_EQ(third.GetString(), "shared");
}

TEST(Variant, NestedContainersReleaseTheirValues) {
  const Variant text(velmar_ustring("inner"));
  {
    Dictionary inner{{velmar_ustring("s"), text}};
    VariantVector list{text, Variant(inner), Variant(KeyValuePairs{{velmar_ustring("k"), text}})};
    Dictionary outer{{velmar_ustring("list"), Variant(list)},
                     {velmar_ustring("dict"), Variant(inner)}};
    const Variant whole(std::move(outer));
    // inner and list hold 1 + 1 + 1 + 1; whole holds the deep copies of them.
    EXPECT_EQ(text.StringReferenceCount(), 1u + 4u + 4u);
  }
  EXPECT_EQ(text.StringReferenceCount(), 1u);
}

TEST(Variant, MoveLeavesTheSourceEmptyWithoutTouchingTheBlock) {
  Variant source(velmar_ustring("moved"));
  Variant target(std::move(source));
  EXPECT_EQ(source.GetType(), Variant::kEmpty);
  EXPECT_EQ(target.StringReferenceCount(), 1u);
  Variant other(VariantVector{Variant(1)});
  other = std::move(target);
  EXPECT_EQ(other.GetString(), "moved");
  EXPECT_EQ(target.GetType(), Variant::kEmpty);
}

TEST(Variant, CopiesOfContainersAreIndependent) {
  Variant original(Dictionary{{velmar_ustring("a"), Variant(1)}});
  Variant copy(original);
  copy.GetDictionary()[velmar_ustring("b")] = Variant(2);
  EXPECT_EQ(original.GetDictionary().size(), 1u);
  EXPECT_EQ(copy.GetDictionary().size(), 2u);
  EXPECT_NE(original, copy);
}

TEST(Variant, ConversionsOfAnotherKindThrowWithTheReason) {
  const Variant number(std::int64_t{5});
  const struct {
    void (*convert)(const Variant&);
    const char* message;
  } cases[] = {
      {[](const Variant& v) { (void)v.GetInt32(); },
       "Could not cast Variant to int32_t: not a 4-byte integer"},
      {[](const Variant& v) { (void)v.GetTimestamp(); },
       "Could not cast Variant to timestamp: not a timestamp"},
      {[](const Variant& v) { (void)v.GetDictionary(); },
       "Could not cast Variant to Dictionary: not a dictionary"},
      {[](const Variant& v) { (void)v.GetKeyValuePairs(); },
       "Could not cast Variant to KeyValuePairs: not key-value pairs"},
      {[](const Variant& v) { (void)v.GetVector(); },
       "Could not cast Variant to VariantVector: not a vector"},
      {[](const Variant& v) { (void)v.GetString(); },
       "Could not cast Variant to velmar_ustring: not a string"},
  };
  for (const auto& c : cases) {
    try {
      c.convert(number);
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const VariantCastError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
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
