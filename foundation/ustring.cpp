#include "FolianUtils/ustring.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cwctype>
#include <ostream>
#include <stdexcept>
#include <type_traits>

#include "base/utf16.h"
#include "base/utf8.h"
#include "base/wide_ctype.h"
#include "foundation/message_format.h"
#include "foundation/wide_printf.h"

namespace velmar::utils {
namespace {

using string_type = velmar_ustring::string_type;

using base::IsSpace;
using base::IsSurrogate;
using base::Upper;

[[noreturn]] void ThrowInvalidPosition() { throw std::out_of_range("invalid string position"); }

// The standard library's own messages name its internals; callers see one
// documented text instead.
[[noreturn]] void ThrowTooLong() { throw std::length_error("string too long"); }

void CheckRoom(const string_type& text, std::size_t extra) {
  if (extra > text.max_size() - text.size()) ThrowTooLong();
}

string_type Repeated(std::size_t count, utf16_unit unit) {
  CheckRoom(string_type(), count);
  return string_type(count, unit);
}

string_type Copied(const utf16_unit* text, std::size_t count) {
  CheckRoom(string_type(), count);
  return string_type(text, count);
}

string_type DecodeUtf8(const char* bytes, std::size_t size) {
  string_type out;
  base::utf8::Decode(bytes, size, out);
  return out;
}

std::size_t Clamp(int count, std::size_t length) {
  if (count < 0) return 0;
  return std::min(static_cast<std::size_t>(count), length);
}

}  // namespace

// Gives the DLL an instance of the inline constant to export: a program that
// binds it to a reference (std::min) links against the import library.
constexpr velmar_ustring::size_type velmar_ustring::npos;

velmar_ustring::velmar_ustring(const char* utf8)
    : m_text(utf8 != nullptr ? DecodeUtf8(utf8, std::char_traits<char>::length(utf8))
                             : string_type()) {}

velmar_ustring::velmar_ustring(const std::string& utf8)
    : m_text(DecodeUtf8(utf8.data(), utf8.size())) {}

velmar_ustring velmar_ustring::FromUTF8(std::string_view utf8) {
  return velmar_ustring(DecodeUtf8(utf8.data(), utf8.size()));
}

velmar_ustring::velmar_ustring(const utf16_unit* text)
    : m_text(text != nullptr ? string_type(text) : string_type()) {}

velmar_ustring::velmar_ustring(const utf16_unit* text, size_type count)
    : m_text(Copied(text, count)) {}

velmar_ustring::velmar_ustring(size_type count, utf16_unit unit) : m_text(Repeated(count, unit)) {}

velmar_ustring& velmar_ustring::operator=(velmar_ustring&& other) noexcept {
  m_text = std::move(other.m_text);
  other.m_text.clear();
  return *this;
}

velmar_ustring& velmar_ustring::operator=(const char* utf8) {
  if (utf8 != nullptr) m_text = DecodeUtf8(utf8, std::char_traits<char>::length(utf8));
  return *this;
}

void velmar_ustring::AssignFromMultiByte(const char* text) {
  m_text.clear();
  if (text == nullptr) return;
  const std::size_t count = std::mbstowcs(nullptr, text, 0);
  if (count == static_cast<std::size_t>(-1)) return;
  std::wstring wide(count, L'\0');
  std::mbstowcs(wide.data(), text, count + 1);
  m_text.reserve(count);
  for (const wchar_t w : wide) {
    // wchar_t is signed on some platforms; a code point never is.
    const auto cp = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(w));
    base::AppendCodePoint(cp <= 0x10FFFF ? cp : cp & 0xFFFF, m_text);
  }
}

utf16_unit velmar_ustring::at(size_type i) const {
  if (i >= m_text.size()) ThrowInvalidPosition();
  return m_text[i];
}

velmar_ustring& velmar_ustring::erase(size_type pos, size_type count) {
  if (pos > m_text.size()) ThrowInvalidPosition();
  m_text.erase(pos, count);
  return *this;
}

void velmar_ustring::resize(size_type count, utf16_unit unit) {
  if (count > m_text.size()) CheckRoom(m_text, count - m_text.size());
  m_text.resize(count, unit);
}

velmar_ustring& velmar_ustring::operator+=(const velmar_ustring& other) {
  CheckRoom(m_text, other.m_text.size());
  m_text += other.m_text;
  return *this;
}

velmar_ustring& velmar_ustring::operator+=(utf16_unit unit) {
  CheckRoom(m_text, 1);
  m_text += unit;
  return *this;
}

velmar_ustring& velmar_ustring::operator+=(const utf16_unit* text) {
  if (text != nullptr) append(text, std::char_traits<utf16_unit>::length(text));
  return *this;
}

void velmar_ustring::append(const utf16_unit* text, size_type count) {
  CheckRoom(m_text, count);
  m_text.append(text, count);
}

bool velmar_ustring::operator==(const char* utf8) const {
  const std::string mine = ToUTF8();
  const char* other = utf8 != nullptr ? utf8 : "";
  return mine.size() == std::char_traits<char>::length(other) &&
         std::char_traits<char>::compare(mine.data(), other, mine.size()) == 0;
}

int velmar_ustring::Compare(const velmar_ustring& other) const noexcept {
  const size_type common = std::min(m_text.size(), other.m_text.size());
  for (size_type i = 0; i < common; ++i) {
    const auto a = static_cast<char16_t>(m_text[i]);
    const auto b = static_cast<char16_t>(other.m_text[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  if (m_text.size() == other.m_text.size()) return 0;
  return m_text.size() < other.m_text.size() ? -1 : 1;
}

int velmar_ustring::CompareNoCase(const velmar_ustring& other) const {
  const utf16_unit* a = c_str();
  const utf16_unit* b = other.c_str();
  for (;; ++a, ++b) {
    if (*a == *b) {
      if (*a == 0) return 0;
      continue;
    }
    if (IsSurrogate(*a) || IsSurrogate(*b)) break;
    if (Upper(*a) != Upper(*b)) break;
  }
  return static_cast<char16_t>(Upper(*a)) < static_cast<char16_t>(Upper(*b)) ? -1 : 1;
}

velmar_ustring::size_type velmar_ustring::Find(const velmar_ustring& text,
                                               size_type start) const noexcept {
  return m_text.find(text.m_text, start);
}

velmar_ustring::size_type velmar_ustring::Find(utf16_unit unit, size_type start) const noexcept {
  return m_text.find(unit, start);
}

velmar_ustring::size_type velmar_ustring::ReverseFind(utf16_unit unit,
                                                      size_type start) const noexcept {
  return m_text.rfind(unit, start);
}

velmar_ustring velmar_ustring::Left(int count) const {
  return velmar_ustring(m_text.substr(0, Clamp(count, m_text.size())));
}

velmar_ustring velmar_ustring::Right(int count) const {
  const size_type n = Clamp(count, m_text.size());
  return velmar_ustring(m_text.substr(m_text.size() - n));
}

velmar_ustring velmar_ustring::Mid(int first) const {
  const size_type start = Clamp(first, m_text.size());
  return velmar_ustring(m_text.substr(start));
}

velmar_ustring velmar_ustring::Mid(size_type first, size_type count) const {
  if (first > m_text.size()) ThrowInvalidPosition();
  return velmar_ustring(m_text.substr(first, count));
}

int velmar_ustring::Replace(const velmar_ustring& old_text, const velmar_ustring& new_text) {
  if (old_text.m_text == new_text.m_text || old_text.empty()) return 0;
  const string_type& old_units = old_text.m_text;
  size_type pos = m_text.find(old_units);
  if (pos == npos) return 0;

  string_type result;
  result.reserve(m_text.size());
  size_type done = 0;
  int count = 0;
  while (pos != npos) {
    CheckRoom(result, pos - done + new_text.m_text.size());
    result.append(m_text, done, pos - done);
    result += new_text.m_text;
    ++count;
    done = pos + old_units.size();
    pos = m_text.find(old_units, done);
  }
  CheckRoom(result, m_text.size() - done);
  result.append(m_text, done, npos);
  m_text = std::move(result);
  return count;
}

void velmar_ustring::MakeLower() {
  for (utf16_unit& u : m_text) {
    if (!IsSurrogate(u)) u = static_cast<utf16_unit>(std::towlower(static_cast<std::wint_t>(u)));
  }
}

void velmar_ustring::TrimLeft() {
  const auto first = std::find_if_not(m_text.begin(), m_text.end(), IsSpace);
  m_text.erase(m_text.begin(), first);
}

void velmar_ustring::TrimRight() {
  const auto last = std::find_if_not(m_text.rbegin(), m_text.rend(), IsSpace);
  m_text.erase(last.base(), m_text.end());
}

void velmar_ustring::Trim() {
  TrimRight();
  TrimLeft();
}

velmar_ustring velmar_ustring::Trimmed() const {
  velmar_ustring copy(*this);
  copy.Trim();
  return copy;
}

bool velmar_ustring::FormatRaw(const velmar_ustring* format, ...) {
  if (format->empty()) return false;
  const string_type rewritten = RewriteMessageFormat(format->m_text);
  std::va_list args;
  va_start(args, format);
  string_type result;
  const bool ok = FormatUtf16(rewritten.c_str(), args, result);
  va_end(args);
  if (ok) m_text = std::move(result);
  return ok;
}

std::string velmar_ustring::ToUTF8() const {
  std::string out;
  base::utf8::Encode(m_text.data(), m_text.size(), out);
  return out;
}

long velmar_ustring::ToInt() const {
  // strtol is atol with defined overflow behaviour (it saturates).
  return std::strtol(ToUTF8().c_str(), nullptr, 10);
}

velmar_ustring operator+(const velmar_ustring& left, const char* utf8) {
  velmar_ustring result(left);
  result += velmar_ustring(utf8);
  return result;
}

std::ostream& operator<<(std::ostream& out, const velmar_ustring& text) {
  return out << text.ToUTF8();
}

velmar_ustring operator+(const velmar_ustring& left, const velmar_ustring& right) {
  velmar_ustring result(left);
  result += right;
  return result;
}

}  // namespace velmar::utils
