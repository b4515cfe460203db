#include "prefs/common/json_codec.h"

#include <rapidjson/document.h>
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
using JsonDocument = rapidjson::GenericDocument<JsonEncoding>;
using JsonValue = rapidjson::GenericValue<JsonEncoding>;
using JsonBuffer = rapidjson::GenericStringBuffer<rapidjson::UTF8<>>;
using JsonWriter = rapidjson::PrettyWriter<JsonBuffer, JsonEncoding, rapidjson::UTF8<>>;

constexpr unsigned kParseFlags = rapidjson::kParseIterativeFlag |
                                 rapidjson::kParseNumbersAsStringsFlag |
                                 rapidjson::kParseValidateEncodingFlag;

// Builds the document from the reader's events but reads numbers itself:
// from_chars is exact, so every double comes back bit for bit, and
// RapidJSON's own full-precision reader misbehaves on some inputs (a zero
// mantissa with a large exponent shifts by an undefined count). The reader
// works in UTF-8 (its raw numbers are only delivered whole in UTF-8);
// strings and keys are transcoded into the document's UTF-16 here.
class ExactNumberHandler {
 public:
  using Ch = char;
  explicit ExactNumberHandler(JsonDocument& document) : m_document(document) {}

  bool Null() { return m_document.Null(); }
  bool Bool(bool b) { return m_document.Bool(b); }
  bool Int(int i) { return m_document.Int(i); }
  bool Uint(unsigned u) { return m_document.Uint(u); }
  bool Int64(std::int64_t i) { return m_document.Int64(i); }
  bool Uint64(std::uint64_t u) { return m_document.Uint64(u); }
  bool Double(double d) { return m_document.Double(d); }
  bool String(const char* text, rapidjson::SizeType length, bool /*copy*/) {
    return ToUtf16(text, length) && m_document.String(m_units.data(), Length(), true);
  }
  bool StartObject() { return m_document.StartObject(); }
  bool Key(const char* text, rapidjson::SizeType length, bool /*copy*/) {
    return ToUtf16(text, length) && m_document.Key(m_units.data(), Length(), true);
  }
  bool EndObject(rapidjson::SizeType count) { return m_document.EndObject(count); }
  bool StartArray() { return m_document.StartArray(); }
  bool EndArray(rapidjson::SizeType count) { return m_document.EndArray(count); }

  // A number that does not fit a double (1e400) fails the parse, as
  // RapidJSON's own reader does.
  bool RawNumber(const char* text, rapidjson::SizeType length, bool /*copy*/) {
    const char* last = text + length;
    if (std::find_if(text, last, [](char c) { return c == '.' || c == 'e' || c == 'E'; }) == last) {
      std::int64_t whole = 0;
      if (std::from_chars(text, last, whole).ec == std::errc()) {
        if (whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max()) {
          return m_document.Int(static_cast<int>(whole));
        }
        return m_document.Int64(whole);
      }
      std::uint64_t big = 0;
      if (std::from_chars(text, last, big).ec == std::errc()) return m_document.Uint64(big);
    }
    double real = 0.0;
    const auto result = std::from_chars(text, last, real);
    return result.ec == std::errc() && result.ptr == last && m_document.Double(real);
  }

 private:
  // The reader has validated the UTF-8 already, so the text holds no
  // surrogate forms. No byte-order mark is skipped here: a string may well
  // begin with U+FEFF or any U+Fxxx.
  bool ToUtf16(const char* text, rapidjson::SizeType length) {
    // Names and most values are ASCII: widened in one pass.
    if (std::all_of(text, text + length,
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
      m_units.resize(length);
      std::copy(text, text + length, m_units.begin());
      return true;
    }
    return base::utf8::Decode(text, length, m_units);
  }
  rapidjson::SizeType Length() const { return static_cast<rapidjson::SizeType>(m_units.size()); }

  JsonDocument& m_document;
  string_type m_units;
};

// Parses `size` bytes of UTF-8 into the document through the handler above.
class ExactNumberParse {
 public:
  ExactNumberParse(const char* data, std::size_t size) : m_data(data), m_size(size) {}

  bool operator()(JsonDocument& document) {
    rapidjson::MemoryStream input(m_data, m_size);
    rapidjson::GenericReader<rapidjson::UTF8<>, rapidjson::UTF8<>> reader;
    ExactNumberHandler handler(document);
    return !reader.Parse<kParseFlags>(input, handler).IsError();
  }

 private:
  const char* m_data;
  std::size_t m_size;
};

const string_type& TypeKey() {
  static const string_type key = base::FromAscii("$type");
  return key;
}

const string_type& ValueKey() {
  static const string_type key = base::FromAscii("value");
  return key;
}

string_type StringOf(const JsonValue& value) {
  return string_type(value.GetString(), value.GetStringLength());
}

// Compared in place: loading asks this several times per tagged value.
bool Equals(const JsonValue& value, const char* ascii) {
  if (!value.IsString()) return false;
  const utf16_unit* text = value.GetString();
  const std::size_t length = value.GetStringLength();
  std::size_t i = 0;
  for (; i < length && ascii[i] != '\0'; ++i) {
    if (text[i] != static_cast<utf16_unit>(static_cast<unsigned char>(ascii[i]))) return false;
  }
  return i == length && ascii[i] == '\0';
}

const string_type& UnitsKeyPrefix() {
  static const string_type prefix = base::FromAscii("$utf16:");
  return prefix;
}

bool UnitsFromHex(const utf16_unit* hex, std::size_t size, string_type& out) {
  if (size % 4 != 0) return false;
  out.clear();
  for (std::size_t i = 0; i < size; i += 4) {
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

// A dictionary key as written: "$$..." for a key starting with "$", and
// "$utf16:<hex>" for one holding a lone surrogate.
string_type KeyOf(const JsonValue& name) {
  string_type key = StringOf(name);
  if (key.size() >= 2 && key[0] == '$' && key[1] == '$') {
    key.erase(0, 1);
  } else if (key.compare(0, UnitsKeyPrefix().size(), UnitsKeyPrefix()) == 0) {
    string_type units;
    const std::size_t skip = UnitsKeyPrefix().size();
    if (UnitsFromHex(key.data() + skip, key.size() - skip, units)) return units;
  }
  return key;
}

// A string value, or a {"$type": "utf16"} one.
bool TextOf(const JsonValue& json, string_type& out) {
  if (json.IsString()) {
    out = StringOf(json);
    return true;
  }
  if (!json.IsObject() || json.MemberCount() != 2) return false;
  const auto type = json.FindMember(TypeKey().c_str());
  const auto value = json.FindMember(ValueKey().c_str());
  return type != json.MemberEnd() && value != json.MemberEnd() && Equals(type->value, "utf16") &&
         value->value.IsString() &&
         UnitsFromHex(value->value.GetString(), value->value.GetStringLength(), out);
}

// ---- reading --------------------------------------------------------------

bool Decode(const JsonValue& json, std::size_t depth, Variant& out);

bool DecodeReal(const JsonValue& value, double& out) {
  if (value.IsNumber()) {
    out = value.GetDouble();
    return true;
  }
  if (Equals(value, "NaN")) {
    out = std::numeric_limits<double>::quiet_NaN();
  } else if (Equals(value, "Infinity")) {
    out = std::numeric_limits<double>::infinity();
  } else if (Equals(value, "-Infinity")) {
    out = -std::numeric_limits<double>::infinity();
  } else {
    return false;
  }
  return true;
}

// A {"$type", "value"} object of a known kind; false leaves it a dictionary.
bool DecodeTagged(const JsonValue& json, std::size_t depth, Variant& out) {
  if (json.MemberCount() != 2) return false;
  const auto type = json.FindMember(TypeKey().c_str());
  const auto found = json.FindMember(ValueKey().c_str());
  if (type == json.MemberEnd() || found == json.MemberEnd()) return false;
  const JsonValue& value = found->value;
  if (Equals(type->value, "int8") && value.IsInt() && value.GetInt() >= INT8_MIN &&
      value.GetInt() <= INT8_MAX) {
    out = Variant(static_cast<std::int8_t>(value.GetInt()));
  } else if (Equals(type->value, "int16") && value.IsInt() && value.GetInt() >= INT16_MIN &&
             value.GetInt() <= INT16_MAX) {
    out = Variant(static_cast<std::int16_t>(value.GetInt()));
  } else if (Equals(type->value, "int64") && value.IsInt64()) {
    out = Variant(static_cast<std::int64_t>(value.GetInt64()));
  } else if (Equals(type->value, "timestamp") && value.IsUint64()) {
    out = Variant::Timestamp(value.GetUint64());
  } else if (Equals(type->value, "utf16")) {
    string_type text;
    if (!TextOf(json, text)) return false;
    out = Variant(velmar_ustring(std::move(text)));
  } else if (Equals(type->value, "double")) {
    double real = 0.0;
    if (!DecodeReal(value, real)) return false;
    out = Variant(real);
  } else if (Equals(type->value, "float")) {
    double real = 0.0;
    if (!DecodeReal(value, real)) return false;
    const auto single = static_cast<float>(real);
    // Only what a float holds exactly was written.
    if (!std::isnan(real) && static_cast<double>(single) != real) return false;
    out = Variant(single);
  } else if (Equals(type->value, "pairs") && value.IsArray()) {
    KeyValuePairs pairs;
    for (const JsonValue& pair : value.GetArray()) {
      string_type name;
      if (!pair.IsArray() || pair.Size() != 2 || !TextOf(pair[0], name)) return false;
      Variant item;
      if (!Decode(pair[1], depth + 1, item)) return false;
      pairs.emplace_back(velmar_ustring(std::move(name)), std::move(item));
    }
    out = Variant(std::move(pairs));
  } else {
    return false;
  }
  return true;
}

bool Decode(const JsonValue& json, std::size_t depth, Variant& out) {
  if (depth > kMaxJsonDepth) return false;
  switch (json.GetType()) {
    case rapidjson::kNullType:
      out = Variant();
      return true;
    case rapidjson::kFalseType:
    case rapidjson::kTrueType:
      out = Variant(json.GetBool());
      return true;
    case rapidjson::kNumberType:
      if (json.IsInt()) {
        out = Variant(static_cast<std::int32_t>(json.GetInt()));
      } else if (json.IsInt64()) {
        out = Variant(static_cast<std::int64_t>(json.GetInt64()));
      } else {
        out = Variant(json.GetDouble());
      }
      return true;
    case rapidjson::kStringType:
      out = Variant(velmar_ustring(StringOf(json)));
      return true;
    case rapidjson::kArrayType: {
      VariantVector items;
      items.reserve(json.Size());
      for (const JsonValue& element : json.GetArray()) {
        items.emplace_back();
        if (!Decode(element, depth + 1, items.back())) return false;
      }
      out = Variant(std::move(items));
      return true;
    }
    case rapidjson::kObjectType: {
      if (DecodeTagged(json, depth, out)) return true;
      Dictionary entries;
      for (const auto& member : json.GetObject()) {
        string_type key = KeyOf(member.name);
        Variant item;
        if (!Decode(member.value, depth + 1, item)) return false;
        entries[velmar_ustring(std::move(key))] = std::move(item);
      }
      out = Variant(std::move(entries));
      return true;
    }
  }
  return false;
}

// ---- writing --------------------------------------------------------------

bool HasLoneSurrogate(const string_type& text) {
  return base::HasLoneSurrogate(text.data(), text.size());
}

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

void WriteKey(JsonWriter& writer, const string_type& name) {
  if (HasLoneSurrogate(name)) {
    WritePlain(writer, UnitsKeyPrefix() + UnitsAsHex(name), true);
  } else if (!name.empty() && name[0] == '$') {
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
    WriteKey(writer, name.str());
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
  // A small file parses without a heap block; a larger one in chunks sized
  // to the text, never a 64 KiB block for a few lines.
  alignas(std::max_align_t) char first_chunk[2048];
  rapidjson::MemoryPoolAllocator<> pool(first_chunk, sizeof(first_chunk),
                                        std::clamp<std::size_t>(bytes.size() * 2, 1024, 65536));
  JsonDocument document(&pool);
  ExactNumberParse parse(bytes.data() + start, bytes.size() - start);
  document.Populate(parse);
  if (!document.IsObject()) return false;
  members.clear();
  for (const auto& member : document.GetObject()) {
    Variant item;
    if (!Decode(member.value, 1, item)) return false;
    members[velmar_ustring(StringOf(member.name))] = std::move(item);
  }
  return true;
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
    // These names were read from a file, which holds only valid UTF-16.
    if (HasLoneSurrogate(name.str())) return false;
    WritePlain(writer, name.str(), true);
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
