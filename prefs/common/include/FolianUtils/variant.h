/// @file
/// Variant: the tagged value shared with the common preference library.
///
/// The tag numbers and payload layout are fixed because both libraries
/// create and destroy the same objects: scalars live in the 64-bit payload;
/// a string is a reference-counted block shared by copies; vectors,
/// dictionaries and key-value pairs are owned heap objects, copied deeply.
/// Implemented in TrelvinCommonPreferences.
///
/// @stable
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FolianUtils/ustring.h"
#include "TrelvinCommonPreferences/export.h"

namespace velmar::utils {

class Variant;

/// The containers a Variant holds (Dictionary has a header of its own name).
/// Keys ascending by code unit, unique.
using Dictionary = std::map<velmar_ustring, Variant>;
/// A list of values, in order.
using VariantVector = std::vector<Variant>;
/// Pairs kept in the order they were added; keys may repeat.
using KeyValuePairs = std::vector<std::pair<velmar_ustring, Variant>>;

/// A conversion asked of a Variant of another kind. The message reads
/// "Could not cast Variant to <type>: <reason>".
class TRELVIN_PREFS_API VariantCastError : public std::runtime_error {
 public:
  /// "Could not cast Variant to `type_name`: `reason`".
  VariantCastError(const std::string& type_name, const std::string& reason);
  /// Nothing to release beyond the message.
  ~VariantCastError() override;
};

/// A tagged value: empty, a bool, a signed integer of 8 to 64 bits, a float,
/// a double, a string, a timestamp, a list, a dictionary or key-value pairs.
///
/// A value type; distinct objects may be used on distinct threads, but copies
/// that share a string block must not be changed on two threads at once.
/// @stable
class TRELVIN_PREFS_API Variant {
 public:
  /// The kind of value held; the numbers are stored in the preference files' objects and fixed.
  enum Type : std::uint32_t {
    kEmpty = 0,           ///< no value
    kBool = 1,            ///< bool
    kInt8 = 2,            ///< 8-bit signed integer
    kInt16 = 3,           ///< 16-bit signed integer
    kInt32 = 4,           ///< also a CColor, packed red to alpha from the low byte up
    kInt64 = 5,           ///< 64-bit signed integer
    kFloat = 6,           ///< 32-bit float
    kDouble = 7,          ///< 64-bit double
    kString = 8,          ///< velmar_ustring, shared by copies
    kTimestamp = 9,       ///< unsigned 64-bit time stamp
    kVector = 10,         ///< VariantVector
    kDictionary = 11,     ///< Dictionary
    kKeyValuePairs = 12,  ///< KeyValuePairs
  };

  /// An empty Variant (kEmpty).
  Variant() noexcept;
  /// A kBool.
  explicit Variant(bool value) noexcept;
  /// A kInt8.
  explicit Variant(std::int8_t value) noexcept;
  /// A kInt16.
  explicit Variant(std::int16_t value) noexcept;
  /// A kInt32.
  explicit Variant(std::int32_t value) noexcept;
  /// A kInt64.
  explicit Variant(std::int64_t value) noexcept;
  /// A kFloat.
  explicit Variant(float value) noexcept;
  /// A kDouble.
  explicit Variant(double value) noexcept;
  /// A kString holding a copy of `value`.
  explicit Variant(const velmar_ustring& value);
  /// A kString taking `value` over.
  explicit Variant(velmar_ustring&& value);
  /// A kVector holding a deep copy of `value`.
  explicit Variant(const VariantVector& value);
  /// A kVector taking `value` over.
  explicit Variant(VariantVector&& value);
  /// A kDictionary holding a deep copy of `value`.
  explicit Variant(const Dictionary& value);
  /// A kDictionary taking `value` over.
  explicit Variant(Dictionary&& value);
  /// A kKeyValuePairs holding a deep copy of `value`.
  explicit Variant(const KeyValuePairs& value);
  /// A kKeyValuePairs taking `value` over.
  explicit Variant(KeyValuePairs&& value);
  /// Zero-terminated text would otherwise silently become a bool.
  Variant(const char*) = delete;
  Variant(const utf16_unit*) = delete;
  /// A kTimestamp of `value` (its unit is the caller's).
  static Variant Timestamp(std::uint64_t value) noexcept;

  /// A copy shares a string block and copies containers deeply.
  Variant(const Variant& other);
  /// Takes the payload of `other`, which becomes empty.
  Variant(Variant&& other) noexcept;
  /// As the copy constructor, releasing the old payload.
  Variant& operator=(const Variant& other);
  /// As the move constructor, releasing the old payload.
  Variant& operator=(Variant&& other) noexcept;
  /// Releases the payload: the last holder frees a string block; containers
  /// release their values in turn.
  virtual ~Variant();

  /// The Type of the value held.
  std::uint32_t GetType() const noexcept { return m_type; }
  /// Whether the Variant is kEmpty.
  bool IsEmpty() const noexcept { return m_type == kEmpty; }
  /// How many Variants share this string block; 0 for other kinds.
  std::uint32_t StringReferenceCount() const noexcept;

  /// The kBool value; throws VariantCastError otherwise, as every getter below
  /// does unless the Variant is of exactly its kind.
  bool GetBool() const;
  /// The kInt8 value; throws VariantCastError otherwise.
  std::int8_t GetInt8() const;
  /// The kInt16 value; throws VariantCastError otherwise.
  std::int16_t GetInt16() const;
  /// The kInt32 value; throws VariantCastError otherwise.
  std::int32_t GetInt32() const;
  /// The kInt64 value; throws VariantCastError otherwise.
  std::int64_t GetInt64() const;
  /// The kFloat value; throws VariantCastError otherwise.
  float GetFloat() const;
  /// The kDouble value; throws VariantCastError otherwise.
  double GetDouble() const;
  /// The kString value; throws VariantCastError otherwise.
  const velmar_ustring& GetString() const;
  /// The kTimestamp value; throws VariantCastError otherwise.
  std::uint64_t GetTimestamp() const;
  /// The kVector list; throws VariantCastError otherwise.
  const VariantVector& GetVector() const;
  /// The kVector list, to change in place; throws VariantCastError otherwise.
  VariantVector& GetVector();
  /// The kDictionary map; throws VariantCastError otherwise.
  const Dictionary& GetDictionary() const;
  /// The kDictionary map, to change in place; throws VariantCastError otherwise.
  Dictionary& GetDictionary();
  /// The kKeyValuePairs pairs; throws VariantCastError otherwise.
  const KeyValuePairs& GetKeyValuePairs() const;
  /// The kKeyValuePairs pairs, to change in place; throws VariantCastError otherwise.
  KeyValuePairs& GetKeyValuePairs();

  /// Same kind and value, containers compared element by element; doubles
  /// and floats compare by value, with NaN equal to NaN.
  bool operator==(const Variant& other) const;
  /// The negation of operator==.
  bool operator!=(const Variant& other) const { return !(*this == other); }

  /// Exchanges the two values without copying.
  void swap(Variant& other) noexcept;

 private:
  struct SharedString;

  void Release() noexcept;

  std::uint32_t m_type = kEmpty;
  union Payload {
    bool b;
    std::int8_t i8;
    std::int16_t i16;
    std::int32_t i32;
    std::int64_t i64;
    float f;
    double d;
    std::uint64_t timestamp;
    SharedString* string;
    VariantVector* vector;
    Dictionary* dictionary;
    KeyValuePairs* pairs;
    std::uint64_t bits;
  } m_payload;
};

}  // namespace velmar::utils
