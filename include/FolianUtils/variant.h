// Variant: the tagged value shared with the common preference library.
//
// The tag numbers and payload layout are fixed because both libraries
// create and destroy the same objects: scalars live in the 64-bit payload;
// a string is a reference-counted block shared by copies; vectors,
// dictionaries and key-value pairs are owned heap objects, copied deeply.
// Implemented in TrelvinCommonPreferences.
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

// The containers a Variant holds (Dictionary has a header of its own name).
// Keys ascending by code unit, unique.
using Dictionary = std::map<velmar_ustring, Variant>;
using VariantVector = std::vector<Variant>;
// Pairs kept in the order they were added; keys may repeat.
using KeyValuePairs = std::vector<std::pair<velmar_ustring, Variant>>;

// A conversion asked of a Variant of another kind. The message reads
// "Could not cast Variant to <type>: <reason>".
class TRELVIN_PREFS_API VariantCastError : public std::runtime_error {
 public:
  VariantCastError(const std::string& type_name, const std::string& reason);
  ~VariantCastError() override;
};

class TRELVIN_PREFS_API Variant {
 public:
  enum Type : std::uint32_t {
    kEmpty = 0,
    kBool = 1,
    kInt8 = 2,
    kInt16 = 3,
    kInt32 = 4,  // also a CColor, packed red to alpha from the low byte up
    kInt64 = 5,
    kFloat = 6,
    kDouble = 7,
    kString = 8,
    kTimestamp = 9,
    kVector = 10,
    kDictionary = 11,
    kKeyValuePairs = 12,
  };

  Variant() noexcept;
  explicit Variant(bool value) noexcept;
  explicit Variant(std::int8_t value) noexcept;
  explicit Variant(std::int16_t value) noexcept;
  explicit Variant(std::int32_t value) noexcept;
  explicit Variant(std::int64_t value) noexcept;
  explicit Variant(float value) noexcept;
  explicit Variant(double value) noexcept;
  explicit Variant(const velmar_ustring& value);
  explicit Variant(velmar_ustring&& value);
  explicit Variant(const VariantVector& value);
  explicit Variant(VariantVector&& value);
  explicit Variant(const Dictionary& value);
  explicit Variant(Dictionary&& value);
  explicit Variant(const KeyValuePairs& value);
  explicit Variant(KeyValuePairs&& value);
  // Zero-terminated text would otherwise silently become a bool.
  Variant(const char*) = delete;
  Variant(const utf16_unit*) = delete;
  static Variant Timestamp(std::uint64_t value) noexcept;

  // A copy shares a string block and copies containers deeply.
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  // Releases the payload: the last holder frees a string block; containers
  // release their values in turn.
  virtual ~Variant();

  std::uint32_t GetType() const noexcept { return m_type; }
  bool IsEmpty() const noexcept { return m_type == kEmpty; }
  // How many Variants share this string block; 0 for other kinds.
  std::uint32_t StringReferenceCount() const noexcept;

  // Each throws VariantCastError unless the Variant is of exactly that kind.
  bool GetBool() const;
  std::int8_t GetInt8() const;
  std::int16_t GetInt16() const;
  std::int32_t GetInt32() const;
  std::int64_t GetInt64() const;
  float GetFloat() const;
  double GetDouble() const;
  const velmar_ustring& GetString() const;
  std::uint64_t GetTimestamp() const;
  const VariantVector& GetVector() const;
  VariantVector& GetVector();
  const Dictionary& GetDictionary() const;
  Dictionary& GetDictionary();
  const KeyValuePairs& GetKeyValuePairs() const;
  KeyValuePairs& GetKeyValuePairs();

  // Same kind and value, containers compared element by element; doubles
  // and floats compare by value, with NaN equal to NaN.
  bool operator==(const Variant& other) const;
  bool operator!=(const Variant& other) const { return !(*this == other); }

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
