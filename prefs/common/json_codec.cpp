#include "prefs/common/json_codec.h"

#include <rapidjson/encodings.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>
#include <rapidjson/stringbuffer.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "base/ascii.h"
#include "base/utf16.h"
#include "base/utf8.h"

namespace velmar::prefs {
namespace {

using utils::Dictionary;
using utils::KeyValuePairs;
using utils::utf16_unit;
using utils::Variant;
using utils::VariantVector;
using utils::velmar_ustring;
using string_type = velmar_ustring::string_type;

using JsonEncoding = rapidjson::UTF16<utf16_unit>;
using JsonBuffer = rapidjson::GenericStringBuffer<rapidjson::UTF8<>>;
using JsonWriter = rapidjson::PrettyWriter<JsonBuffer, JsonEncoding, rapidjson::UTF8<>>;

constexpr unsigned kParseFlags = rapidjson::kParseIterativeFlag |
                                 rapidjson::kParseNumbersAsStringsFlag |
                                 rapidjson::kParseValidateEncodingFlag;

// Containers nested deeper than this cannot be part of a value the writer
// accepts (a "pairs" value adds three levels of JSON for two of value), so
// the reader stops there: the values it builds are freed recursively.
constexpr std::size_t kMaxJsonNesting = 2 * kMaxJsonDepth + 2;

const string_type& TypeKey() {
  static const string_type key = base::FromAscii("$type");
  return key;
}

const string_type& ValueKey() {
  static const string_type key = base::FromAscii("value");
  return key;
}

const string_type& UnitsKeyPrefix() {
  static const string_type prefix = base::FromAscii("$utf16:");
  return prefix;
}

bool Equals(const string_type& text, const char* ascii) {
  std::size_t i = 0;
  for (; i < text.size() && ascii[i] != '\0'; ++i) {
    if (text[i] != static_cast<utf16_unit>(static_cast<unsigned char>(ascii[i]))) return false;
  }
  return i == text.size() && ascii[i] == '\0';
}

bool UnitsFromHex(const string_type& hex, string_type& out) {
  if (hex.size() % 4 != 0) return false;
  out.clear();
  for (std::size_t i = 0; i < hex.size(); i += 4) {
    unsigned unit = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const int digit = base::HexDigitValue(static_cast<char16_t>(hex[i + k]));
      if (digit < 0) return false;
      unit = unit << 4 | static_cast<unsigned>(digit);
    }
    out += static_cast<utf16_unit>(unit);
  }
  return true;
}

bool HasLoneSurrogate(const string_type& text) {
  return base::HasLoneSurrogate(text.data(), text.size());
}

// A dictionary key as written: "$$..." for a key starting with "$", and
// "$utf16:<hex>" for one holding a lone surrogate. The file's own member
// names may be another program's ("$schema"), so there only the second
// form is read, and only for text UTF-8 cannot carry.
void UnescapeKey(string_type& key, bool file_member) {
  if (!file_member && key.size() >= 2 && key[0] == '$' && key[1] == '$') {
    key.erase(0, 1);
  } else if (key.compare(0, UnitsKeyPrefix().size(), UnitsKeyPrefix()) == 0) {
    string_type units;
    if (UnitsFromHex(key.substr(UnitsKeyPrefix().size()), units) &&
        (!file_member || HasLoneSurrogate(units))) {
      key = std::move(units);
    }
  }
}

// The reader has validated the UTF-8 already; its only surrogate forms
// come from escapes of lone surrogates, each read as its unit. No
// byte-order mark is skipped here: a string may well begin with U+FEFF or
// any U+Fxxx.
bool ToUtf16(const char* text, std::size_t length, string_type& out) {
  // Names and most values are ASCII: widened in one pass.
  if (std::all_of(text, text + length,
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    out.assign(text, text + length);
    return true;
  }
  return base::utf8::Decode(text, length, out);
}

// What a member held as written, beyond its decoded value: a tagged value
// takes only a JSON string or number in its places, and an integer above
// INT64_MAX survives only as a timestamp.
struct Written {
  enum Kind : std::uint8_t { kOther, kString, kNumber };
  Kind kind = kOther;
  bool above_int64 = false;
  std::uint64_t big = 0;
};

// ---- reading --------------------------------------------------------------

// An object or array being read, with what the tagged-value rules and the
// depth limit need to know of it once it ends.
struct Frame {
  bool object = false;
  VariantVector items;
  Dictionary entries;
  string_type key;  // the pending member's name, unescaped
  bool key_is_type = false;
  bool key_is_value = false;
  std::size_t members = 0;  // as written, repeated names included
  // Levels of nesting below, counted as the writer counts them.
  std::size_t height = 0;
  // The members named "$type" and "value" as written, in `entries`.
  const Variant* type = nullptr;
  Variant* value = nullptr;
  bool type_is_string = false;
  Written value_written;
  std::size_t value_height = 0;
};

bool IsInteger(const Variant& value) {
  return value.GetType() == Variant::kInt32 || value.GetType() == Variant::kInt64;
}

std::int64_t IntegerOf(const Variant& value) {
  return value.GetType() == Variant::kInt32 ? value.GetInt32() : value.GetInt64();
}

bool RealOf(const Variant& value, const Written& written, double& out) {
  if (written.kind == Written::kNumber) {
    out = IsInteger(value) ? static_cast<double>(IntegerOf(value)) : value.GetDouble();
    return true;
  }
  if (written.kind != Written::kString) return false;
  const string_type& text = value.GetString().str();
  if (Equals(text, "NaN")) {
    out = std::numeric_limits<double>::quiet_NaN();
  } else if (Equals(text, "Infinity")) {
    out = std::numeric_limits<double>::infinity();
  } else if (Equals(text, "-Infinity")) {
    out = -std::numeric_limits<double>::infinity();
  } else {
    return false;
  }
  return true;
}

// Checked whole before anything is moved: a list that is not pairs stays
// the dictionary's value.
bool PairsOf(VariantVector& items, Variant& out) {
  const auto is_pair = [](const Variant& pair) {
    return pair.GetType() == Variant::kVector && pair.GetVector().size() == 2 &&
           pair.GetVector()[0].GetType() == Variant::kString;
  };
  if (!std::all_of(items.begin(), items.end(), is_pair)) return false;
  KeyValuePairs pairs;
  pairs.reserve(items.size());
  for (Variant& pair : items) {
    VariantVector& both = pair.GetVector();
    pairs.emplace_back(both[0].GetString(), std::move(both[1]));
  }
  out = Variant(std::move(pairs));
  return true;
}

// A {"$type", "value"} object of a known kind; false leaves it a dictionary.
bool DecodeTagged(Frame& frame, Variant& out) {
  if (frame.members != 2 || frame.type == nullptr || frame.value == nullptr ||
      !frame.type_is_string) {
    return false;
  }
  const string_type& type = frame.type->GetString().str();
  Variant& value = *frame.value;
  const Written& written = frame.value_written;
  const bool number = written.kind == Written::kNumber;
  const bool int32 = number && value.GetType() == Variant::kInt32;
  if (Equals(type, "int8") && int32 && value.GetInt32() >= INT8_MIN &&
      value.GetInt32() <= INT8_MAX) {
    out = Variant(static_cast<std::int8_t>(value.GetInt32()));
  } else if (Equals(type, "int16") && int32 && value.GetInt32() >= INT16_MIN &&
             value.GetInt32() <= INT16_MAX) {
    out = Variant(static_cast<std::int16_t>(value.GetInt32()));
  } else if (Equals(type, "int64") && number && IsInteger(value)) {
    out = Variant(IntegerOf(value));
  } else if (Equals(type, "timestamp") && number && IsInteger(value) && IntegerOf(value) >= 0) {
    out = Variant::Timestamp(static_cast<std::uint64_t>(IntegerOf(value)));
  } else if (Equals(type, "timestamp") && written.above_int64) {
    out = Variant::Timestamp(written.big);
  } else if (Equals(type, "utf16") && written.kind == Written::kString) {
    string_type text;
    if (!UnitsFromHex(value.GetString().str(), text)) return false;
    out = Variant(velmar_ustring(std::move(text)));
  } else if (Equals(type, "double")) {
    double real = 0.0;
    if (!RealOf(value, written, real)) return false;
    out = Variant(real);
  } else if (Equals(type, "float")) {
    double real = 0.0;
    if (!RealOf(value, written, real)) return false;
    const auto single = static_cast<float>(real);
    // Only what a float holds exactly was written.
    if (!std::isnan(real) && static_cast<double>(single) != real) return false;
    out = Variant(single);
  } else if (Equals(type, "pairs") && value.GetType() == Variant::kVector) {
    return PairsOf(value.GetVector(), out);
  } else {
    return false;
  }
  return true;
}

// Builds the file's members straight from the reader's events, so no
// document tree is built only to be copied. Numbers are read here too:
// from_chars is exact, so every double comes back bit for bit, and
// RapidJSON's own full-precision reader misbehaves on some inputs (a zero
// mantissa with a large exponent shifts by an undefined count). The reader
// works in UTF-8 (its raw numbers are only delivered whole in UTF-8).
class VariantBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, VariantBuilder> {
 public:
  explicit VariantBuilder(Dictionary& members) : m_members(members) {
    // Deep enough for a preference file; a deeper one grows the stack.
    m_frames.reserve(8);
  }

  bool Null() { return Put(Variant(), 0, {}); }
  bool Bool(bool b) { return Put(Variant(b), 0, {}); }
  bool String(const char* text, rapidjson::SizeType length, bool /*copy*/) {
    string_type units;
    return ToUtf16(text, length, units) &&
           Put(Variant(velmar_ustring(std::move(units))), 0, {Written::kString});
  }
  bool Key(const char* text, rapidjson::SizeType length, bool /*copy*/) {
    Frame& frame = m_frames.back();
    ++frame.members;
    frame.key_is_type = length == 5 && std::memcmp(text, "$type", 5) == 0;
    frame.key_is_value = length == 5 && std::memcmp(text, "value", 5) == 0;
    if (!ToUtf16(text, length, frame.key)) return false;
    UnescapeKey(frame.key, m_frames.size() == 1);
    return true;
  }
  bool StartObject() { return Push(true); }
  bool StartArray() { return !m_frames.empty() && Push(false); }
  bool EndObject(rapidjson::SizeType /*count*/) {
    if (m_frames.size() == 1) return true;  // the root: its members are in place
    Frame& frame = m_frames.back();
    Variant value;
    std::size_t height = 0;
    if (DecodeTagged(frame, value)) {
      if (value.GetType() == Variant::kKeyValuePairs) height = frame.value_height;
    } else {
      value = Variant(std::move(frame.entries));
      height = frame.height;
    }
    m_frames.pop_back();
    return Put(std::move(value), height, {});
  }
  bool EndArray(rapidjson::SizeType /*count*/) {
    Variant value(std::move(m_frames.back().items));
    const std::size_t height = m_frames.back().height;
    m_frames.pop_back();
    return Put(std::move(value), height, {});
  }

  // A number that does not fit a double (1e400) fails the parse, as
  // RapidJSON's own reader does.
  bool RawNumber(const char* text, rapidjson::SizeType length, bool /*copy*/) {
    const char* last = text + length;
    Written written{Written::kNumber};
    if (std::find_if(text, last, [](char c) { return c == '.' || c == 'e' || c == 'E'; }) == last) {
      std::int64_t whole = 0;
      if (std::from_chars(text, last, whole).ec == std::errc()) {
        if (whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max()) {
          return Put(Variant(static_cast<std::int32_t>(whole)), 0, written);
        }
        return Put(Variant(whole), 0, written);
      }
      written.above_int64 = std::from_chars(text, last, written.big).ec == std::errc();
    }
    double real = 0.0;
    const auto result = std::from_chars(text, last, real);
    return result.ec == std::errc() && result.ptr == last && Put(Variant(real), 0, written);
  }

 private:
  bool Push(bool object) {
    if (m_frames.size() > kMaxJsonNesting) return false;
    m_frames.emplace_back().object = object;
    return true;
  }

  // Places a finished value, `height` levels deep, in the container being
  // read. A member of the file's root is one level below it.
  bool Put(Variant&& value, std::size_t height, Written written) {
    if (m_frames.empty()) return false;  // the root must be an object
    Frame& frame = m_frames.back();
    if (!frame.object) {
      frame.items.push_back(std::move(value));
      frame.height = std::max(frame.height, height + 1);
      return true;
    }
    velmar_ustring name(std::move(frame.key));
    frame.key.clear();
    if (m_frames.size() == 1) {
      if (1 + height > kMaxJsonDepth) return false;
      m_members[std::move(name)] = std::move(value);
      return true;
    }
    frame.height = std::max(frame.height, height + 1);
    Variant& placed = frame.entries[std::move(name)];
    placed = std::move(value);
    if (frame.key_is_type) {
      frame.type = &placed;
      frame.type_is_string = written.kind == Written::kString;
    }
    if (frame.key_is_value) {
      frame.value = &placed;
      frame.value_written = written;
      frame.value_height = height;
    }
    return true;
  }

  Dictionary& m_members;
  std::vector<Frame> m_frames;
};

// The code unit of the escape "\uXXXX" at `p`, or -1 when there is none.
long EscapedUnit(const char* p, const char* end) {
  if (end - p < 6 || p[0] != '\\' || p[1] != 'u') return -1;
  long unit = 0;
  for (int k = 2; k < 6; ++k) {
    const int digit = base::HexDigitValue(static_cast<unsigned char>(p[k]));
    if (digit < 0) return -1;
    unit = unit << 4 | digit;
  }
  return unit;
}

// RapidJSON refuses a high-surrogate escape that no low one follows, which
// a program that cut UTF-16 text inside a pair writes. Such an escape is
// replaced by the three-byte form ToUtf16 reads as that unit, the form
// RapidJSON gives a lone low one itself. False for text without one, which
// costs a scan: most files hold few backslashes.
bool ReplaceLoneHighEscapes(const std::string& bytes, std::size_t start, std::string& out) {
  const char* const end = bytes.data() + bytes.size();
  const char* copied = bytes.data() + start;
  const char* p = copied;
  while ((p = static_cast<const char*>(std::memchr(p, '\\', static_cast<std::size_t>(end - p)))) !=
         nullptr) {
    // Each pair in a run of backslashes is an escaped backslash.
    const char* const run = p;
    while (p != end && *p == '\\') ++p;
    if ((p - run) % 2 == 0) continue;
    const long unit = EscapedUnit(p - 1, end);
    if (unit < 0xD800 || unit > 0xDBFF) continue;
    // A pair is the reader's own: text written with every character
    // escaped keeps the direct path.
    const long next = EscapedUnit(p + 5, end);
    if (next >= 0xDC00 && next <= 0xDFFF) continue;
    out.append(copied, p - 1);
    const auto high = static_cast<utf16_unit>(unit);
    base::utf8::Encode(&high, 1, out);
    p += 5;
    copied = p;
  }
  if (copied == bytes.data() + start) return false;
  out.append(copied, end);
  return true;
}

// ---- writing --------------------------------------------------------------

// UTF-8 cannot carry a lone surrogate, so such text is kept as its code
// units, four hex digits each.
string_type UnitsAsHex(const string_type& text) {
  static const char kDigits[] = "0123456789ABCDEF";
  string_type out;
  out.reserve(text.size() * 4);
  for (const utf16_unit u : text) {
    for (int shift = 12; shift >= 0; shift -= 4)
      out += static_cast<utf16_unit>(kDigits[(u >> shift) & 0xF]);
  }
  return out;
}

void WritePlain(JsonWriter& writer, const string_type& text, bool key) {
  const auto length = static_cast<rapidjson::SizeType>(text.size());
  if (key) {
    writer.Key(text.c_str(), length);
  } else {
    writer.String(text.c_str(), length);
  }
}

void WriteKey(JsonWriter& writer, const string_type& name, bool file_member) {
  if (HasLoneSurrogate(name)) {
    WritePlain(writer, UnitsKeyPrefix() + UnitsAsHex(name), true);
  } else if (!file_member && !name.empty() && name[0] == '$') {
    WritePlain(writer, base::FromAscii("$") + name, true);
  } else {
    WritePlain(writer, name, true);
  }
}

void WriteText(JsonWriter& writer, const string_type& text) {
  if (HasLoneSurrogate(text)) {
    writer.StartObject();
    WritePlain(writer, TypeKey(), true);
    WritePlain(writer, base::FromAscii("utf16"), false);
    WritePlain(writer, ValueKey(), true);
    WritePlain(writer, UnitsAsHex(text), false);
    writer.EndObject();
  } else {
    WritePlain(writer, text, false);
  }
}

// Every save writes these names: widened on the stack, not allocated.
void WriteAscii(JsonWriter& writer, const char* text, bool key) {
  std::array<utf16_unit, 16> units{};
  const std::size_t length = std::strlen(text);
  if (length > units.size()) {
    WritePlain(writer, base::FromAscii(text), key);
    return;
  }
  std::transform(text, text + length, units.begin(),
                 [](char c) { return static_cast<utf16_unit>(static_cast<unsigned char>(c)); });
  const auto size = static_cast<rapidjson::SizeType>(length);
  if (key) {
    writer.Key(units.data(), size);
  } else {
    writer.String(units.data(), size);
  }
}

void WriteReal(JsonWriter& writer, double value) {
  if (std::isnan(value)) {
    WriteAscii(writer, "NaN", false);
  } else if (std::isinf(value)) {
    WriteAscii(writer, value > 0 ? "Infinity" : "-Infinity", false);
  } else {
    writer.Double(value);
  }
}

void BeginTagged(JsonWriter& writer, const char* type) {
  writer.StartObject();
  WriteAscii(writer, "$type", true);
  WriteAscii(writer, type, false);
  WriteAscii(writer, "value", true);
}

bool Encode(JsonWriter& writer, const Variant& value, std::size_t depth);

bool EncodeDictionary(JsonWriter& writer, const Dictionary& entries, std::size_t depth) {
  writer.StartObject();
  for (const auto& [name, item] : entries) {
    WriteKey(writer, name.str(), false);
    if (!Encode(writer, item, depth + 1)) return false;
  }
  writer.EndObject();
  return true;
}

bool Encode(JsonWriter& writer, const Variant& value, std::size_t depth) {
  if (depth > kMaxJsonDepth) return false;
  switch (value.GetType()) {
    case Variant::kBool:
      writer.Bool(value.GetBool());
      return true;
    case Variant::kInt8:
      BeginTagged(writer, "int8");
      writer.Int(value.GetInt8());
      writer.EndObject();
      return true;
    case Variant::kInt16:
      BeginTagged(writer, "int16");
      writer.Int(value.GetInt16());
      writer.EndObject();
      return true;
    case Variant::kInt32:
      writer.Int(value.GetInt32());
      return true;
    case Variant::kInt64:
      BeginTagged(writer, "int64");
      writer.Int64(value.GetInt64());
      writer.EndObject();
      return true;
    case Variant::kFloat:
      BeginTagged(writer, "float");
      WriteReal(writer, static_cast<double>(value.GetFloat()));
      writer.EndObject();
      return true;
    case Variant::kDouble:
      if (std::isfinite(value.GetDouble())) {
        writer.Double(value.GetDouble());
      } else {
        BeginTagged(writer, "double");
        WriteReal(writer, value.GetDouble());
        writer.EndObject();
      }
      return true;
    case Variant::kString:
      WriteText(writer, value.GetString().str());
      return true;
    case Variant::kTimestamp:
      BeginTagged(writer, "timestamp");
      writer.Uint64(value.GetTimestamp());
      writer.EndObject();
      return true;
    case Variant::kVector:
      writer.StartArray();
      for (const Variant& item : value.GetVector()) {
        if (!Encode(writer, item, depth + 1)) return false;
      }
      writer.EndArray();
      return true;
    case Variant::kDictionary:
      return EncodeDictionary(writer, value.GetDictionary(), depth);
    case Variant::kKeyValuePairs:
      BeginTagged(writer, "pairs");
      writer.StartArray();
      for (const auto& [name, item] : value.GetKeyValuePairs()) {
        writer.StartArray();
        WriteText(writer, name.str());
        if (!Encode(writer, item, depth + 2)) return false;
        writer.EndArray();
      }
      writer.EndArray();
      writer.EndObject();
      return true;
    default:
      writer.Null();
      return true;
  }
}

}  // namespace

bool FitsJsonDepth(const Variant& value, std::size_t depth) {
  if (depth > kMaxJsonDepth) return false;
  switch (value.GetType()) {
    case Variant::kVector:
      for (const Variant& item : value.GetVector()) {
        if (!FitsJsonDepth(item, depth + 1)) return false;
      }
      return true;
    case Variant::kDictionary:
      for (const auto& entry : value.GetDictionary()) {
        if (!FitsJsonDepth(entry.second, depth + 1)) return false;
      }
      return true;
    case Variant::kKeyValuePairs:
      for (const auto& entry : value.GetKeyValuePairs()) {
        if (!FitsJsonDepth(entry.second, depth + 2)) return false;
      }
      return true;
    default:
      return true;
  }
}

bool DecodeJsonObject(const std::string& bytes, Dictionary& members) {
  std::size_t start = 0;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;
  members.clear();
  rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>> reader;
  VariantBuilder builder(members);
  std::string replaced;
  if (!ReplaceLoneHighEscapes(bytes, start, replaced)) {
    rapidjson::MemoryStream input(bytes.data() + start, bytes.size() - start);
    return !reader.Parse<kParseFlags>(input, builder).IsError();
  }
  // The reader would refuse the forms put in, so the file is checked here
  // instead, as strictly.
  if (!base::utf8::IsValid(bytes)) return false;
  rapidjson::MemoryStream input(replaced.data(), replaced.size());
  constexpr unsigned kFlags = kParseFlags & ~rapidjson::kParseValidateEncodingFlag;
  return !reader.Parse<kFlags>(input, builder).IsError();
}

bool EncodeJsonObject(const JsonMember* first, std::size_t count, const Dictionary& rest,
                      std::string& out) {
  JsonBuffer buffer;
  JsonWriter writer(buffer);
  writer.SetIndent(' ', 2);
  writer.StartObject();
  for (std::size_t i = 0; i < count; ++i) {
    WriteAscii(writer, first[i].name, true);
    const bool encoded = first[i].value != nullptr ? Encode(writer, *first[i].value, 1)
                                                   : EncodeDictionary(writer, *first[i].object, 1);
    if (!encoded) return false;
  }
  for (const auto& [name, item] : rest) {
    WriteKey(writer, name.str(), true);
    if (!Encode(writer, item, 1)) return false;
  }
  writer.EndObject();
  out.assign(buffer.GetString(), buffer.GetSize());
  out += '\n';
  return true;
}

void CompactJson(std::string& json) {
  bool in_string = false;
  bool escaped = false;
  std::size_t kept = 0;
  for (const char c : json) {
    if (in_string) {
      in_string = escaped || c != '"';
      escaped = !escaped && c == '\\';
    } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      continue;
    } else {
      in_string = c == '"';
    }
    json[kept++] = c;
  }
  json.resize(kept);
}

}  // namespace velmar::prefs
