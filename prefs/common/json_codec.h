// The JSON form of the preference files.
//
// A file is one object. Plain JSON maps onto Variant kinds directly: null
// is empty, true/false bool, an integer that fits 32 bits int32, a larger
// one int64, a number with a fraction or exponent double, a string string,
// an array a vector, an object a dictionary. Kinds JSON cannot tell apart
// are written as {"$type": <kind>, "value": <value>} with the kinds
// "int8", "int16", "int64", "float", "double" (NaN and infinities, as the
// strings "NaN", "Infinity", "-Infinity"), "timestamp" and "pairs" (an
// array of [key, value] arrays). Dictionary keys beginning with "$" are
// written with one more "$".
//
// Every UTF-16 text comes back unit for unit. UTF-8 cannot carry a lone
// surrogate, so a string holding one is written as {"$type": "utf16",
// "value": "<code units, four upper-case hex digits each>"}, and a key
// holding one as "$utf16:<hex digits>". Other text, U+FEFF, U+FFFD and NUL
// included, is plain JSON. Read, an escape of a lone surrogate ("\ud800",
// as other programs write it) is that unit.
#pragma once

#include <cstddef>
#include <string>

#include "FolianUtils/dictionary.h"
#include "FolianUtils/variant.h"

namespace velmar::prefs {

// Deeper values are refused both ways, so what is written can be read.
constexpr std::size_t kMaxJsonDepth = 64;

// True when `value`, placed `depth` levels below the file's root object,
// nests no deeper than kMaxJsonDepth as written.
bool FitsJsonDepth(const utils::Variant& value, std::size_t depth);

// Parses UTF-8 text (an optional byte-order mark is skipped) whose root is
// an object into its members. False for anything else.
bool DecodeJsonObject(const std::string& bytes, utils::Dictionary& members);

// Appends pretty-printed UTF-8 JSON of `members` in the given order: each
// entry of `first` (a member name and its value, or an object written in
// place, so a table need not become a Variant to be written), then `rest`
// ascending. False when a value nests deeper than kMaxJsonDepth.
struct JsonMember {
  const char* name;  // ASCII
  const utils::Variant* value;
  const utils::Dictionary* object;  // written when `value` is null
};
bool EncodeJsonObject(const JsonMember* first, std::size_t count, const utils::Dictionary& rest,
                      std::string& out);

// Removes the white space between the tokens of valid JSON text, leaving
// the same values in fewer bytes.
void CompactJson(std::string& json);

}  // namespace velmar::prefs
