// velmar_ustring: the UTF-16 string at every interface of the library.
//
// Lengths, positions and counts are in UTF-16 code units on every platform;
// a character outside the Basic Multilingual Plane takes two positions.
// Narrow text given to the string is UTF-8. Allocation happens only where
// the underlying std::basic_string allocates (construction, growth, the
// operations that return a new string).
#pragma once

#include <cstddef>
#include <string>
#include <type_traits>

#include "FolianUtils/export.h"
#include "FolianUtils/utf16.h"

namespace velmar::utils {

class FOLIAN_API velmar_ustring {
 public:
  using unit_type = utf16_unit;
  using string_type = utf16_string;
  using size_type = string_type::size_type;
  using iterator = string_type::iterator;
  using const_iterator = string_type::const_iterator;
  static constexpr size_type npos = string_type::npos;

  velmar_ustring() = default;
  // UTF-8; a null pointer or invalid/truncated UTF-8 gives an empty string.
  velmar_ustring(const char* utf8);
  velmar_ustring(const std::string& utf8);
  // Zero-terminated UTF-16; a null pointer gives an empty string.
  velmar_ustring(const utf16_unit* text);
  velmar_ustring(const utf16_unit* text, size_type count);
  velmar_ustring(size_type count, utf16_unit unit);
  explicit velmar_ustring(string_type text) : m_text(std::move(text)) {}

  velmar_ustring(const velmar_ustring&) = default;
  velmar_ustring(velmar_ustring&& other) noexcept : m_text(std::move(other.m_text)) {
    other.m_text.clear();
  }
  velmar_ustring& operator=(const velmar_ustring&) = default;
  velmar_ustring& operator=(velmar_ustring&& other) noexcept;
  // UTF-8 decoding; a null pointer leaves the string unchanged.
  velmar_ustring& operator=(const char* utf8);

  // Replaces the content with the C runtime's multibyte conversion of
  // `text` in its current locale; the fallback for legacy narrow text.
  void AssignFromMultiByte(const char* text);

  size_type length() const noexcept { return m_text.length(); }
  size_type size() const noexcept { return m_text.size(); }
  bool empty() const noexcept { return m_text.empty(); }
  void clear() noexcept { m_text.clear(); }
  const utf16_unit* c_str() const noexcept { return m_text.c_str(); }
  const utf16_unit* data() const noexcept { return m_text.data(); }
  const string_type& str() const noexcept { return m_text; }

  // Unchecked access.
  utf16_unit& operator[](size_type i) { return m_text[i]; }
  const utf16_unit& operator[](size_type i) const { return m_text[i]; }
  // Throws std::out_of_range("invalid string position") past the end.
  utf16_unit at(size_type i) const;

  iterator begin() noexcept { return m_text.begin(); }
  iterator end() noexcept { return m_text.end(); }
  const_iterator begin() const noexcept { return m_text.begin(); }
  const_iterator end() const noexcept { return m_text.end(); }

  velmar_ustring& erase(size_type pos = 0, size_type count = npos);
  void resize(size_type count, utf16_unit unit = 0);
  velmar_ustring& operator+=(const velmar_ustring& other);
  velmar_ustring& operator+=(utf16_unit unit);
  velmar_ustring& operator+=(const utf16_unit* text);
  void append(const utf16_unit* text, size_type count);

  // Ordinal comparison of code units.
  bool operator==(const velmar_ustring& other) const noexcept { return m_text == other.m_text; }
  bool operator!=(const velmar_ustring& other) const noexcept { return m_text != other.m_text; }
  bool operator<(const velmar_ustring& other) const noexcept { return m_text < other.m_text; }
  // Compares the UTF-8 form of this string byte by byte with `utf8`.
  bool operator==(const char* utf8) const;
  bool operator!=(const char* utf8) const { return !(*this == utf8); }

  // -1, 0 or 1; ordinal, a proper prefix is the smaller.
  int Compare(const velmar_ustring& other) const noexcept;
  // -1, 0 or 1; upper-case mapping, surrogate units compared as they are.
  int CompareNoCase(const velmar_ustring& other) const;

  size_type Find(const velmar_ustring& text, size_type start = 0) const noexcept;
  size_type Find(utf16_unit unit, size_type start = 0) const noexcept;
  // A start past the end means the last position.
  size_type ReverseFind(utf16_unit unit, size_type start = npos) const noexcept;

  // Negative counts and positions clamp to 0, too large ones to the length.
  velmar_ustring Left(int count) const;
  velmar_ustring Right(int count) const;
  velmar_ustring Mid(int first) const;
  // Throws std::out_of_range("invalid string position") when first > length.
  velmar_ustring Mid(size_type first, size_type count) const;

  // Replaces every non-overlapping occurrence, left to right; returns the
  // count. Equal texts and an empty `old_text` replace nothing and return 0.
  int Replace(const velmar_ustring& old_text, const velmar_ustring& new_text);
  void MakeLower();
  void TrimLeft();
  void TrimRight();
  void Trim();
  velmar_ustring Trimmed() const;

  // printf-style formatting with the meaning of the Windows wide printf on
  // every platform: "%s" takes a zero-terminated utf16_unit string, "%c" a
  // code unit, "%hs"/"%S" a narrow string; positional arguments ("%2$d")
  // and the message style ("%1!d!", "%2") are accepted. Returns false and
  // leaves the string unchanged on an empty format or a format error.
  template <typename... Args>
  bool Format(const velmar_ustring& format, Args... args) {
    static_assert(((std::is_arithmetic_v<Args> || std::is_pointer_v<Args> || std::is_enum_v<Args> ||
                    std::is_null_pointer_v<Args>)&&...),
                  "Format takes numbers, code units and zero-terminated strings; "
                  "pass c_str() for strings");
    return FormatRaw(&format, args...);
  }

  // Never fails; lone surrogates become three-byte sequences.
  std::string ToUTF8() const;
  // atol of the UTF-8 form.
  long ToInt() const;

 private:
  bool FormatRaw(const velmar_ustring* format, ...);

  string_type m_text;
};

FOLIAN_API velmar_ustring operator+(const velmar_ustring& left, const char* utf8);
FOLIAN_API velmar_ustring operator+(const velmar_ustring& left, const velmar_ustring& right);

// Converts the number at the start of `text` (after white space) with the
// user's decimal separator. Always stores the result, 0.0 when nothing was
// read; returns whether any character was consumed. Trailing text is not an
// error. Thread-safe; leaves the process locale as "C".
FOLIAN_API bool StringToDouble(const utf16_unit* text, double& value);

}  // namespace velmar::utils

template <>
struct std::hash<velmar::utils::velmar_ustring> {
  std::size_t operator()(const velmar::utils::velmar_ustring& s) const noexcept {
    return std::hash<velmar::utils::velmar_ustring::string_type>()(s.str());
  }
};
