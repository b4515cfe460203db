/// @file
/// The UTF-16 string at every interface of the library, velmar_ustring.
///
/// Lengths, positions and counts are in UTF-16 code units on every platform;
/// a character outside the Basic Multilingual Plane takes two positions.
/// Narrow text given to the string is UTF-8. Allocation happens only where
/// the underlying std::basic_string allocates (construction, growth, the
/// operations that return a new string).
///
/// @stable
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <type_traits>

#include "FolianUtils/export.h"
#include "FolianUtils/utf16.h"

namespace velmar::utils {

/// The UTF-16 string of every interface of the library.
///
/// Lengths, positions and counts are in UTF-16 code units; a failed search
/// returns npos. Narrow text given to it is UTF-8. A value type: copies are
/// deep, moves leave the source empty; distinct objects may be used on
/// distinct threads. Hashable with std::hash.
///
/// @code{.cpp}
/// #include <iostream>
///
/// #include "FolianUtils/ustring.h"
///
/// const velmar::utils::velmar_ustring name("Zürich 🗺");  // from UTF-8
/// std::cout << name.length() << "\n";  // 9 (UTF-16 code units)
/// velmar::utils::velmar_ustring text;
/// text.Format(VELMAR_U("%s: %.1f mm"), name.c_str(), 12.5);
/// std::cout << text << "\n";  // Zürich 🗺: 12.5 mm (UTF-8)
/// @endcode
/// @stable
class FOLIAN_API velmar_ustring {
 public:
  /// The code unit (utf16_unit).
  using unit_type = utf16_unit;
  /// The standard string that holds the text.
  using string_type = utf16_string;
  /// Lengths, positions and counts, in code units.
  using size_type = string_type::size_type;
  /// Walks the code units.
  using iterator = string_type::iterator;
  /// Walks the code units, read-only.
  using const_iterator = string_type::const_iterator;
  /// The position of a failed search (all bits set; -1 as a signed value).
  static constexpr size_type npos = string_type::npos;

  /// An empty string.
  velmar_ustring() = default;
  /// UTF-8; a null pointer or invalid/truncated UTF-8 gives an empty string.
  velmar_ustring(const char* utf8);
  /// The bytes of `utf8` decoded as UTF-8; invalid or truncated UTF-8 gives an empty string.
  velmar_ustring(const std::string& utf8);
  /// Zero-terminated UTF-16; a null pointer gives an empty string.
  velmar_ustring(const utf16_unit* text);
  /// The first `count` code units of `text`, zeros included.
  velmar_ustring(const utf16_unit* text, size_type count);
  /// `count` copies of `unit`.
  velmar_ustring(size_type count, utf16_unit unit);
  /// Takes over the code units of `text`.
  explicit velmar_ustring(string_type text) : m_text(std::move(text)) {}
  /// UTF-8 of any length, NUL bytes included; invalid or truncated UTF-8
  /// gives an empty string, as the constructors do.
  /// @maychange
  static velmar_ustring FromUTF8(std::string_view utf8);

  /// A deep copy.
  velmar_ustring(const velmar_ustring&) = default;
  /// Takes the text of `other` and leaves it empty.
  velmar_ustring(velmar_ustring&& other) noexcept : m_text(std::move(other.m_text)) {
    other.m_text.clear();
  }
  /// A deep copy.
  velmar_ustring& operator=(const velmar_ustring&) = default;
  /// Takes the text of `other` and leaves it empty.
  velmar_ustring& operator=(velmar_ustring&& other) noexcept;
  /// UTF-8 decoding; a null pointer leaves the string unchanged.
  velmar_ustring& operator=(const char* utf8);

  /// Replaces the content with the C runtime's multibyte conversion of
  /// `text` in its current locale; the fallback for legacy narrow text.
  void AssignFromMultiByte(const char* text);

  /// The number of code units.
  size_type length() const noexcept { return m_text.length(); }
  /// The number of code units, as length().
  size_type size() const noexcept { return m_text.size(); }
  /// Whether there are no code units.
  bool empty() const noexcept { return m_text.empty(); }
  /// Removes every code unit.
  void clear() noexcept { m_text.clear(); }
  /// The zero-terminated code units, valid until the string changes.
  const utf16_unit* c_str() const noexcept { return m_text.c_str(); }
  /// The code units, as c_str().
  const utf16_unit* data() const noexcept { return m_text.data(); }
  /// The standard string that holds the text.
  const string_type& str() const noexcept { return m_text; }

  /// Unchecked access; `i` must be below length().
  utf16_unit& operator[](size_type i) { return m_text[i]; }
  /// Unchecked access; `i` must be below length().
  const utf16_unit& operator[](size_type i) const { return m_text[i]; }
  /// Throws std::out_of_range("invalid string position") past the end.
  utf16_unit at(size_type i) const;

  /// The first code unit.
  iterator begin() noexcept { return m_text.begin(); }
  /// Past the last code unit.
  iterator end() noexcept { return m_text.end(); }
  /// The first code unit, read-only.
  const_iterator begin() const noexcept { return m_text.begin(); }
  /// Past the last code unit, read-only.
  const_iterator end() const noexcept { return m_text.end(); }

  /// Removes `count` code units from `pos` (to the end by default); throws std::out_of_range past
  /// the end.
  velmar_ustring& erase(size_type pos = 0, size_type count = npos);
  /// Cuts to `count` code units or pads with `unit`.
  void resize(size_type count, utf16_unit unit = 0);
  /// Appends `other`.
  velmar_ustring& operator+=(const velmar_ustring& other);
  /// Appends one code unit.
  velmar_ustring& operator+=(utf16_unit unit);
  /// Appends zero-terminated UTF-16 text.
  velmar_ustring& operator+=(const utf16_unit* text);
  /// Appends the first `count` code units of `text`.
  void append(const utf16_unit* text, size_type count);

  /// Ordinal comparison of code units.
  bool operator==(const velmar_ustring& other) const noexcept { return m_text == other.m_text; }
  /// Whether any code unit or the length differs.
  bool operator!=(const velmar_ustring& other) const noexcept { return m_text != other.m_text; }
  /// Ordinal order of code units, a proper prefix first.
  bool operator<(const velmar_ustring& other) const noexcept { return m_text < other.m_text; }
  /// Compares the UTF-8 form of this string byte by byte with `utf8`.
  bool operator==(const char* utf8) const;
  /// The negation of operator==(const char*).
  bool operator!=(const char* utf8) const { return !(*this == utf8); }

  /// -1, 0 or 1; ordinal, a proper prefix is the smaller.
  int Compare(const velmar_ustring& other) const noexcept;
  /// -1, 0 or 1; upper-case mapping, surrogate units compared as they are.
  int CompareNoCase(const velmar_ustring& other) const;

  /// The first position at or after `start` where `text` occurs; npos when
  /// it does not fit there. An empty `text` is found at `start`.
  size_type Find(const velmar_ustring& text, size_type start = 0) const noexcept;
  /// The first position of `unit` at or after `start`, or npos.
  size_type Find(utf16_unit unit, size_type start = 0) const noexcept;
  /// A start past the end means the last position.
  size_type ReverseFind(utf16_unit unit, size_type start = npos) const noexcept;

  /// Negative counts and positions clamp to 0, too large ones to the length.
  velmar_ustring Left(int count) const;
  /// The last `count` code units, clamped as Left().
  velmar_ustring Right(int count) const;
  /// From `first` to the end; a negative `first` counts as 0, one past the end gives an empty
  /// string.
  velmar_ustring Mid(int first) const;
  /// Throws std::out_of_range("invalid string position") when first > length.
  velmar_ustring Mid(size_type first, size_type count) const;

  /// Replaces every non-overlapping occurrence, left to right; returns the
  /// count. Equal texts and an empty `old_text` replace nothing and return 0.
  int Replace(const velmar_ustring& old_text, const velmar_ustring& new_text);
  /// Maps every code unit outside the surrogate range to lower case.
  void MakeLower();
  /// Removes leading white space.
  void TrimLeft();
  /// Removes trailing white space.
  void TrimRight();
  /// Removes leading and trailing white space.
  void Trim();
  /// A copy without leading and trailing white space.
  velmar_ustring Trimmed() const;

  /// printf-style formatting with the meaning of the Windows wide printf on
  /// every platform: "%s" takes a zero-terminated utf16_unit string, "%c" a
  /// code unit, "%hs"/"%S" a narrow string; positional arguments ("%2$d")
  /// and the message style ("%1!d!", "%2") are accepted. Returns false and
  /// leaves the string unchanged on an empty format or a format error.
  template <typename... Args>
  bool Format(const velmar_ustring& format, Args... args) {
    static_assert(((std::is_arithmetic_v<Args> || std::is_pointer_v<Args> || std::is_enum_v<Args> ||
                    std::is_null_pointer_v<Args>)&&...),
                  "Format takes numbers, code units and zero-terminated strings; "
                  "pass c_str() for strings");
    return FormatRaw(&format, args...);
  }

  /// Never fails; lone surrogates become three-byte sequences.
  std::string ToUTF8() const;
  /// atol of the UTF-8 form.
  long ToInt() const;

 private:
  bool FormatRaw(const velmar_ustring* format, ...);

  string_type m_text;
};

/// `left` followed by `utf8` decoded as UTF-8 (nothing for invalid UTF-8).
FOLIAN_API velmar_ustring operator+(const velmar_ustring& left, const char* utf8);
/// `left` followed by `right`.
FOLIAN_API velmar_ustring operator+(const velmar_ustring& left, const velmar_ustring& right);
/// Writes ToUTF8() of `text`, with the stream's width and fill as for a
/// std::string; lone surrogates become three-byte sequences.
/// @maychange
FOLIAN_API std::ostream& operator<<(std::ostream& out, const velmar_ustring& text);

/// Converts the number at the start of `text` (after white space) with the
/// user's decimal separator. Always stores the result, 0.0 when nothing was
/// read; returns whether any character was consumed. Trailing text is not an
/// error. Thread-safe; leaves the process locale as "C".
[[nodiscard]] FOLIAN_API bool StringToDouble(const utf16_unit* text, double& value);

}  // namespace velmar::utils

/// @cond
template <>
struct std::hash<velmar::utils::velmar_ustring> {
  std::size_t operator()(const velmar::utils::velmar_ustring& s) const noexcept {
    return std::hash<velmar::utils::velmar_ustring::string_type>()(s.str());
  }
};
/// @endcond
