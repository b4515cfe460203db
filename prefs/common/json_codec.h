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
#pragma once

#include <cstddef>
#include <string>

#include "FolianUtils/dictionary.h"
#include "FolianUtils/variant.h"

namespace velmar::prefs {

// Deeper values are refused both ways, so what is written can be read.
constexpr std::size_t kMaxJsonDepth = 64;

// Parses UTF-8 text (an optional byte-order mark is skipped) whose root is
// an object into its members. False for anything else.
bool DecodeJsonObject(const std::string& bytes, utils::Dictionary& members);

// Appends pretty-printed UTF-8 JSON of `members` in the given order: each
// entry of `first` (a member name and its value), then `rest` ascending.
// False when a value nests deeper than kMaxJsonDepth.
struct JsonMember {
  const char* name;  // ASCII
  const utils::Variant* value;
};
bool EncodeJsonObject(const JsonMember* first, std::size_t count, const utils::Dictionary& rest,
                      std::string& out);

}  // namespace velmar::prefs
