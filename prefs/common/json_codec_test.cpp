// The files' JSON form, through a store over the in-memory file system.
#include "prefs/common/json_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "prefs/common/memory_store_test_support.h"

namespace velmar::prefs::test {
namespace {

// Random UTF-16 weighted toward "$", NUL, marks, pairs and lone surrogates.
string_type RandomText(std::mt19937_64& random) {
  static const utf16_unit kUnits[] = {'$', 'a', 0, 0xFEFF, 0xFFFD, 0xFFFF, 0xFF08, 0xD83D, 0xDE00};
  string_type text(random() % 8, ' ');
  for (utf16_unit& unit : text) {
    unit = random() % 3 == 0 ? static_cast<utf16_unit>(random())
                             : kUnits[random() % std::size(kUnits)];
  }
  return text;
}

// A value of any kind, nested three deep; doubles of random bits or of
// those that break number codecs.
Variant RandomValue(std::mt19937_64& random, int depth = 0) {
  constexpr double kSpecial[] = {-0.0,     0.1,       5e-324, 1.7976931348623157e308,
                                 HUGE_VAL, -HUGE_VAL, NAN};
  const std::uint64_t bits = random();
  double real = kSpecial[bits % std::size(kSpecial)];
  if (bits % 16 > std::size(kSpecial)) std::memcpy(&real, &bits, sizeof real);
  std::vector<Variant> items(depth < 3 ? random() % 4 : 0);
  for (Variant& item : items) item = RandomValue(random, depth + 1);
  const velmar_ustring text(RandomText(random));
  Dictionary dictionary;
  KeyValuePairs pairs;  // repeated keys stay, in order
  for (const Variant& item : items) {
    dictionary[velmar_ustring(RandomText(random))] = item;
    pairs.emplace_back(text, item);
  }
  const Variant values[] = {Variant(),
                            Variant(bits % 2 == 0),
                            Variant(static_cast<std::int8_t>(bits)),
                            Variant(static_cast<std::int16_t>(bits)),
                            Variant(static_cast<std::int32_t>(bits)),
                            Variant(static_cast<std::int64_t>(bits)),
                            Variant(static_cast<float>(real)),
                            Variant(real),
                            Variant::Timestamp(bits),
                            Variant(text),
                            Variant(VariantVector(items.begin(), items.end())),
                            Variant(dictionary),
                            Variant(pairs)};
  return values[random() % std::size(values)];
}

bool SameBits(const Variant& a, const Variant& b) {
  if (a.GetType() != Variant::kDouble || b.GetType() != Variant::kDouble) return a == b;
  const double x = a.GetDouble();
  const double y = b.GetDouble();
  return std::isnan(x) ? std::isnan(y) : x == y && std::signbit(x) == std::signbit(y);
}

// Any text in every place, any value and any bytes, read back from the
// indented file and from the compact one a store near the size limit writes.
TEST(JsonCodecTest, WhatIsWrittenLoadsBackEqual) {
  const string_type fixed[] = {U(u"$"), U(u"$$"), U(u"a$b"), U(u"$utf16:0041"), U(u"$type")};
  std::mt19937_64 random(20261206);
  for (std::size_t round = 0; round < 1000; ++round) {
    const velmar_ustring text(round < std::size(fixed) ? fixed[round]
                                                       : RandomText(random) + U(u"."));
    const Variant value = RandomValue(random);
    BinaryData bytes(random() % 12);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    std::size_t indented = 0;
    for (const bool compact : {false, true}) {
      MemoryFileEnv env;
      {
        MemoryStore store(env);
        // Below the indented size the store drops the blanks.
        if (compact) store.SetMaxFileSize(indented - 1);
        ASSERT_TRUE(store.WriteVariant(kGeneral, text, value));
        ASSERT_TRUE(store.WriteString(text, text, text));
        ASSERT_TRUE(store.WriteBinary(kGeneral, text, bytes));
        ASSERT_TRUE(store.WriteStringVector(text, {text, velmar_ustring()}));
        ASSERT_TRUE(store.SavePreferences()) << store.Error();
      }
      indented = env.Bytes(kPublic)->size();
      ASSERT_EQ(env.Bytes(kPublic)->find('\n') == std::string::npos, compact);
      MemoryStore again(env);
      ASSERT_TRUE(again.loaded) << *env.Bytes(kPublic);
      EXPECT_TRUE(SameBits(again.ReadVariant(kGeneral, text), value)) << *env.Bytes(kPublic);
      EXPECT_EQ(again.ReadString(text, text, velmar_ustring("?")), text);
      EXPECT_EQ(again.ReadBinary(kGeneral, text, {42}), bytes);
      StringVector list;
      EXPECT_TRUE(again.ReadStringVector(text, list));
      EXPECT_EQ(list, (StringVector{text, velmar_ustring()}));
    }
  }
}

// `levels` lists of pairs, each holding the next: two levels of JSON each.
std::string PairsText(std::size_t levels, const std::string& leaf) {
  std::string text = leaf;
  for (std::size_t i = 0; i < levels; ++i)
    text = R"({"$type": "pairs", "value": [["k", )" + text + "]]}";
  return text;
}

// `levels` dictionaries, or lists of pairs, each holding the next.
template <typename Level = Dictionary>
Variant Nested(std::size_t levels) {
  Variant value(1);
  for (std::size_t i = 0; i < levels; ++i) value = Variant(Level{{kGeneral, value}});
  return value;
}

// Files as a person might write them: "v" reads exactly, or the file does
// not load and is left as it is.
TEST(JsonCodecTest, HandWrittenFilesReadExactlyOrAreLeftAsTheyAre) {
  const auto file = [](const std::string& value, const char* section = "categories") {
    return std::string("{\"format\": 1, \"") + section + "\": {\"general\": {\"v\": " + value +
           "}}}";
  };
  const struct {
    std::string text;
    Variant expected;  // empty: the file does not load
  } cases[] = {
      {file("0e308"), Variant(0.0)},
      {file("-2147483648"), Variant(std::int32_t{-2147483647 - 1})},
      {file("2147483648"), Variant(std::int64_t{2147483648LL})},
      {file(R"({"$type": "int8", "value": -128})"), Variant(std::int8_t{-128})},
      {file(R"({"$type": "int8", "value": 128})"),
       Variant(Dictionary{{velmar_ustring("$type"), Variant(velmar_ustring("int8"))},
                          {velmar_ustring("value"), Variant(128)}})},
      {file(R"({"$type": "utf16", "value": "D80"})"),
       Variant(Dictionary{{velmar_ustring("$type"), Variant(velmar_ustring("utf16"))},
                          {velmar_ustring("value"), Variant(velmar_ustring("D80"))}})},
      {"\xEF\xBB\xBF" + file("true"), Variant(true)},
      // Escapes of lone surrogates, as programs that cut UTF-16 text write them.
      {R"({"\ud800": 1, "categories": {"general": {"k\ud800": 1, "v": "\ud800"}}})",
       Variant(velmar_ustring(U(u"\xD800")))},
      {file(R"("caf\uDBFF")"), Variant(velmar_ustring(U(u"caf\xDBFF")))},
      {file(R"("\ud800\u0041\ud800\udc00")"), Variant(velmar_ustring(U(u"\xD800"
                                                                       u"A\U00010000")))},
      {file(R"("\udce9")"), Variant(velmar_ustring(U(u"\xDCE9")))},
      {file(R"("\\ud800")"), Variant(velmar_ustring(R"(\ud800)"))},
      {file("\"\\ud800\xED\xB0\x80\""), Variant()},  // a raw surrogate form is no UTF-8
      {file("1, \"v\": 2"), Variant(2)},             // the last of a name wins
      {file("18446744073709551617"), Variant(18446744073709551616.0)},
      {file("0e400"), Variant()},
      {file("1e400"), Variant()},
      {"[1, 2]", Variant()},
      {"{\"a\": 1} trailing", Variant()},
      {file("\"\xC3\x28\""), Variant()},
      {"{\"x\": " + std::string(100, '[') + std::string(100, ']') + "}", Variant()},
      {R"({"categories": [1]})", Variant()},
      {std::string((std::size_t{64} << 20) + 1, ' '), Variant()},
      {file(PairsText(31, "1")), Variant()},
      // Each level failing below used to be read again as a dictionary.
      {file(PairsText(40, std::string(70, '[') + std::string(70, ']'))), Variant()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    MemoryFileEnv env;
    env.entries[kPublic].bytes = c.text;
    MemoryStore store(env);
    EXPECT_EQ(store.loaded, !c.expected.IsEmpty());
    EXPECT_TRUE(SameBits(store.ReadVariant(kGeneral, velmar_ustring("v")), c.expected));
    EXPECT_EQ(*env.Bytes(kPublic), c.text) << "loading changed the file";
    if (c.expected.IsEmpty()) continue;
    // What loads is saved in the store's own form and reads back the same.
    store.WriteInt(kGeneral, kGeneral, 1);
    ASSERT_TRUE(store.SavePreferences()) << store.Error();
    EXPECT_TRUE(SameBits(MemoryStore(env).ReadVariant(kGeneral, velmar_ustring("v")), c.expected));
  }
  // Binary data that is no base64 reads as the default.
  for (const char* text : {"\"AQ\"", "\"A=AA\"", "\"AB=C\"", "\"AQ*=\"", "1"}) {
    MemoryFileEnv env;
    env.entries[kPublic].bytes = file(text, "binary");
    EXPECT_EQ(MemoryStore(env).ReadBinary(kGeneral, velmar_ustring("v"), {7}), BinaryData{7})
        << text;
  }
}

TEST(JsonCodecTest, WhatIsTooDeepToReadIsRefusedWhenWritten) {
  MemoryFileEnv env;
  // A member of no section, as deep as the reader takes, is written back.
  env.entries[kPublic].bytes = "{\"x\": " + std::string(64, '[') + std::string(64, ']') + "}";
  MemoryStore store(env);
  ASSERT_TRUE(store.loaded);
  // A named dictionary sits two levels below the root; its own levels count.
  const std::size_t deepest = kMaxJsonDepth - 2;
  EXPECT_TRUE(store.WriteDictionary(velmar_ustring("ok"), Nested(deepest).GetDictionary()));
  EXPECT_FALSE(store.WriteDictionary(velmar_ustring("deep"), Nested(deepest + 1).GetDictionary()));
  EXPECT_FALSE(store.WriteVariant(kGeneral, velmar_ustring("deep"), Nested(kMaxJsonDepth)));
  EXPECT_FALSE(store.WriteVariant(kGeneral, velmar_ustring("deep"), Nested<KeyValuePairs>(31)));
  EXPECT_TRUE(store.WriteVariant(kGeneral, velmar_ustring("pairs"), Nested<KeyValuePairs>(30)));
  EXPECT_FALSE(store.IsPreferenceSet(kGeneral, velmar_ustring("deep")));
  ASSERT_TRUE(store.SavePreferences()) << store.Error();
  EXPECT_TRUE(MemoryStore(env).loaded);
}

// Near the (lowered) size limit a store is written compact; past it the
// save is refused and the file kept.
TEST(JsonCodecTest, AStoreNearTheSizeLimitIsSavedCompact) {
  MemoryFileEnv env;
  MemoryStore probe(env);
  probe.WriteString(kGeneral, velmar_ustring("big"), velmar_ustring("x"));
  ASSERT_TRUE(probe.SavePreferences()) << probe.Error();
  const std::size_t limit = env.Bytes(kPublic)->size() + 999;
  const velmar_ustring big(string_type(1001, ' '));
  probe.SetMaxFileSize(limit);
  probe.WriteString(kGeneral, velmar_ustring("big"), big);
  ASSERT_TRUE(probe.SavePreferences()) << probe.Error();
  const std::string before = *env.Bytes(kPublic);
  ASSERT_LE(before.size(), limit);
  EXPECT_EQ(before.find('\n'), std::string::npos);
  EXPECT_EQ(MemoryStore(env).ReadString(kGeneral, velmar_ustring("big"), velmar_ustring()), big);
  probe.WriteString(kGeneral, velmar_ustring("more"), velmar_ustring(string_type(100, 'y')));
  EXPECT_FALSE(probe.SavePreferences());
  EXPECT_NE(probe.Error().find("64 MiB"), std::string::npos) << probe.Error();
  EXPECT_EQ(*env.Bytes(kPublic), before);
}

}  // namespace
}  // namespace velmar::prefs::test
