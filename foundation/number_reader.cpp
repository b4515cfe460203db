#include "foundation/number_reader.h"

#include <atomic>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <string>

#include "base/utf8.h"
#include "base/wide_ctype.h"
#include "platform/user_locale.h"

namespace velmar::utils {
namespace {

constexpr std::int64_t kRecheckMilliseconds = 100;
// No check yet: far enough in the past for any clock reading.
constexpr std::int64_t kNeverChecked = INT64_MIN / 2;

std::atomic<std::uint32_t> g_decimal_point{'.'};
std::atomic<std::int64_t> g_checked_at{kNeverChecked};

using base::IsSpace;

// Copies the run of text that could belong to a number into "C" notation,
// one byte per code unit: the user's separator becomes ".", and a "." that
// is not the separator ends the run, as it ends wcstod.
template <typename Out>
void CopyCandidate(const utf16_unit* text, utf16_unit decimal_point, Out& out) {
  for (const utf16_unit* p = text;; ++p) {
    const utf16_unit u = *p;
    if (u == decimal_point) {
      out.push_back('.');
    } else if (u > 0x20 && u < 0x7F && u != '.') {
      out.push_back(static_cast<char>(u));
    } else {
      return;
    }
  }
}

struct SmallBuffer {
  static constexpr std::size_t kCapacity = 64;
  char stack[kCapacity + 1];
  std::size_t size = 0;
  std::string heap;

  void push_back(char c) {
    if (size < kCapacity) {
      stack[size++] = c;
      return;
    }
    if (heap.empty()) heap.assign(stack, size);
    heap.push_back(c);
    ++size;
  }
  const char* c_str() {
    if (size <= kCapacity) {
      stack[size] = '\0';
      return stack;
    }
    return heap.c_str();
  }
};

// Decimal notation only: hexadecimal, "inf" and "nan" are not numbers a
// user types, and the Windows runtime does not read them either, so both
// platforms agree.
std::size_t ParseC(const char* begin, std::size_t size, double& value) {
  const char* p = begin;
  const char* end = begin + size;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  value = 0.0;
  if (p == end || !((*p >= '0' && *p <= '9') || *p == '.')) return 0;
  double parsed = 0.0;
  const auto result = std::from_chars(p, end, parsed);
  if (result.ec == std::errc::invalid_argument) return 0;
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars gives no value on overflow or underflow; strtod's is
    // HUGE_VAL or the nearest representable value.
    char* stop = nullptr;
    value = platform::StrtodC(begin, &stop);
    return static_cast<std::size_t>(stop - begin);
  }
  value = negative ? -parsed : parsed;
  return static_cast<std::size_t>(result.ptr - begin);
}

}  // namespace

std::size_t ReadDouble(const utf16_unit* text, utf16_unit decimal_point, double& value) {
  value = 0.0;
  if (text == nullptr) return 0;
  std::size_t skipped = 0;
  while (text[skipped] != 0 && IsSpace(text[skipped])) ++skipped;

  SmallBuffer candidate;
  CopyCandidate(text + skipped, decimal_point, candidate);
  if (candidate.size == 0) return 0;
  const std::size_t consumed = ParseC(candidate.c_str(), candidate.size, value);
  return consumed == 0 ? 0 : skipped + consumed;
}

utf16_unit QueryUserDecimalPoint() {
  const std::string separator = platform::QueryUserDecimalSeparator();
  velmar_ustring::string_type units;
  if (!base::utf8::Decode(separator.data(), separator.size(), units) || units.empty()) return '.';
  return units[0];
}

utf16_unit UserDecimalPoint() {
  const std::int64_t now = platform::MonotonicMilliseconds();
  if (now - g_checked_at.load(std::memory_order_relaxed) >= kRecheckMilliseconds) {
    g_decimal_point.store(static_cast<std::uint16_t>(QueryUserDecimalPoint()),
                          std::memory_order_relaxed);
    g_checked_at.store(now, std::memory_order_relaxed);
  }
  return static_cast<utf16_unit>(g_decimal_point.load(std::memory_order_relaxed));
}

void ForgetUserDecimalPoint() { g_checked_at.store(kNeverChecked, std::memory_order_relaxed); }

void RestoreCLocale() {
  const char* current = std::setlocale(LC_ALL, nullptr);
  if (current == nullptr || std::strcmp(current, "C") != 0) std::setlocale(LC_ALL, "C");
}

bool StringToDouble(const utf16_unit* text, double& value) {
  const std::size_t consumed = ReadDouble(text, UserDecimalPoint(), value);
  RestoreCLocale();
  return consumed > 0;
}

}  // namespace velmar::utils
