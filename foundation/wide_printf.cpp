#include "foundation/wide_printf.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "base/ascii.h"
#include "base/utf16.h"
#include "base/utf8.h"

namespace velmar::utils {
namespace {

using string_type = velmar_ustring::string_type;

// What va_arg must read for one argument.
enum class ArgKind : std::uint8_t {
  kUnused,
  kInt,
  kLong,
  kLongLong,
  kIntMax,
  kSize,
  kPtrDiff,
  kDouble,
  kLongDouble,
  kPointer,
};

union ArgValue {
  int i;
  long l;
  long long ll;
  std::intmax_t im;
  std::size_t sz;
  std::ptrdiff_t pd;
  double d;
  long double ld;
  const void* p;
};

struct Conversion {
  std::size_t literal_begin = 0;  // literal text before the conversion
  std::size_t literal_end = 0;
  std::string flags;
  int width = -1;     // -1: none
  int width_arg = 0;  // argument index of "*", 1-based; 0: none
  int precision = -1;
  int precision_arg = 0;
  const char* length = "";  // printf length modifier
  ArgKind kind = ArgKind::kUnused;
  char type = 0;
  bool narrow = false;  // %S, %hs, %C, %hc
  int arg = 0;
};

constexpr int kMaxArguments = 100;

using base::IsDigit;
bool IsFlag(utf16_unit u) { return u == '-' || u == '+' || u == ' ' || u == '#' || u == '0'; }

int ReadNumber(const utf16_unit* f, std::size_t& i) {
  long long v = 0;
  while (IsDigit(f[i])) {
    v = v * 10 + (f[i] - '0');
    if (v > 0x7FFFFFFF) v = 0x7FFFFFFF;
    ++i;
  }
  return static_cast<int>(v);
}

// Reads "m$" after a "*" or at the start of a conversion; returns the
// index or 0 when there is none, leaving `i` unchanged then.
int ReadPosition(const utf16_unit* f, std::size_t& i) {
  std::size_t j = i;
  if (!IsDigit(f[j]) || f[j] == '0') return 0;
  const int n = ReadNumber(f, j);
  if (f[j] != '$') return 0;
  i = j + 1;
  return n;
}

class Parser {
 public:
  explicit Parser(const utf16_unit* format) : m_format(format) {}

  bool Parse(std::vector<Conversion>& conversions, std::size_t& tail_begin) {
    std::size_t literal_begin = 0;
    std::size_t i = 0;
    while (m_format[i] != 0) {
      if (m_format[i] != '%') {
        ++i;
        continue;
      }
      if (m_format[i + 1] == '%') {
        // "%%": the literal runs up to and including the first "%".
        Conversion c;
        c.literal_begin = literal_begin;
        c.literal_end = i + 1;
        c.type = '%';
        conversions.push_back(c);
        i += 2;
        literal_begin = i;
        continue;
      }
      Conversion c;
      c.literal_begin = literal_begin;
      c.literal_end = i;
      ++i;
      if (!ParseConversion(i, c)) return false;
      conversions.push_back(c);
      literal_begin = i;
    }
    tail_begin = literal_begin;
    return true;
  }

  const std::vector<ArgKind>& kinds() const { return m_kinds; }

 private:
  bool ParseConversion(std::size_t& i, Conversion& c) {
    const int position = ReadPosition(m_format, i);
    if (!SetMode(position != 0)) return false;

    while (IsFlag(m_format[i])) {
      c.flags.push_back(static_cast<char>(m_format[i]));
      ++i;
    }
    if (m_format[i] == '*') {
      ++i;
      if (!ReadStar(i, c.width_arg)) return false;
    } else if (IsDigit(m_format[i])) {
      c.width = ReadNumber(m_format, i);
    }
    if (m_format[i] == '.') {
      ++i;
      if (m_format[i] == '*') {
        ++i;
        if (!ReadStar(i, c.precision_arg)) return false;
      } else {
        c.precision = ReadNumber(m_format, i);
      }
    }

    enum class Size { kNone, kHH, kH, kL, kLL, kJ, kZ, kT, kBigL, kW, kI64 };
    Size size = Size::kNone;
    const utf16_unit* f = m_format;
    if (f[i] == 'h') {
      size = f[i + 1] == 'h' ? Size::kHH : Size::kH;
      i += size == Size::kHH ? 2 : 1;
    } else if (f[i] == 'l') {
      size = f[i + 1] == 'l' ? Size::kLL : Size::kL;
      i += size == Size::kLL ? 2 : 1;
    } else if (f[i] == 'j') {
      size = Size::kJ, ++i;
    } else if (f[i] == 'z') {
      size = Size::kZ, ++i;
    } else if (f[i] == 't') {
      size = Size::kT, ++i;
    } else if (f[i] == 'L') {
      size = Size::kBigL, ++i;
    } else if (f[i] == 'w') {
      size = Size::kW, ++i;
    } else if (f[i] == 'I') {
      if (f[i + 1] == '6' && f[i + 2] == '4') {
        size = Size::kI64, i += 3;
      } else if (f[i + 1] == '3' && f[i + 2] == '2') {
        i += 3;
      } else {
        size = Size::kZ, ++i;
      }
    }

    const utf16_unit type = f[i];
    if (type == 0 || type >= 0x80) return false;
    ++i;
    c.type = static_cast<char>(type);
    switch (type) {
      case 'd':
      case 'i':
      case 'o':
      case 'u':
      case 'x':
      case 'X':
        switch (size) {
          case Size::kNone:
          case Size::kW:
            c.kind = ArgKind::kInt;
            break;
          case Size::kHH:
            c.kind = ArgKind::kInt, c.length = "hh";
            break;
          case Size::kH:
            c.kind = ArgKind::kInt, c.length = "h";
            break;
          case Size::kL:
            c.kind = ArgKind::kLong, c.length = "l";
            break;
          case Size::kLL:
          case Size::kBigL:
          case Size::kI64:
            c.kind = ArgKind::kLongLong, c.length = "ll";
            break;
          case Size::kJ:
            c.kind = ArgKind::kIntMax, c.length = "j";
            break;
          case Size::kZ:
            c.kind = ArgKind::kSize, c.length = "z";
            break;
          case Size::kT:
            c.kind = ArgKind::kPtrDiff, c.length = "t";
            break;
        }
        break;
      case 'e':
      case 'E':
      case 'f':
      case 'F':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        if (size == Size::kBigL) {
          c.kind = ArgKind::kLongDouble, c.length = "L";
        } else {
          c.kind = ArgKind::kDouble;
        }
        break;
      case 'c':
      case 'C':
        c.kind = ArgKind::kInt;
        c.narrow = type == 'C' ? size != Size::kL && size != Size::kW : size == Size::kH;
        break;
      case 's':
      case 'S':
        c.kind = ArgKind::kPointer;
        c.narrow = type == 'S' ? size != Size::kL && size != Size::kW : size == Size::kH;
        break;
      case 'p':
        c.kind = ArgKind::kPointer;
        break;
      default:
        return false;  // "%n" and unknown conversions
    }
    c.arg = position != 0 ? position : ++m_next;
    return Use(c.arg, c.kind);
  }

  // Width or precision from an argument: "*" or "*m$".
  bool ReadStar(std::size_t& i, int& arg) {
    const int position = ReadPosition(m_format, i);
    if (m_positional != (position != 0)) return false;
    arg = position != 0 ? position : ++m_next;
    return Use(arg, ArgKind::kInt);
  }

  bool SetMode(bool positional) {
    if (!m_mode_known) {
      m_positional = positional;
      m_mode_known = true;
    }
    return m_positional == positional;
  }

  bool Use(int index, ArgKind kind) {
    if (index < 1 || index > kMaxArguments) return false;
    if (static_cast<std::size_t>(index) > m_kinds.size()) m_kinds.resize(index, ArgKind::kUnused);
    ArgKind& slot = m_kinds[index - 1];
    if (slot != ArgKind::kUnused && slot != kind) return false;
    slot = kind;
    return true;
  }

  const utf16_unit* m_format;
  bool m_mode_known = false;
  bool m_positional = false;
  int m_next = 0;
  std::vector<ArgKind> m_kinds;
};

bool FetchArguments(const std::vector<ArgKind>& kinds, std::va_list args,
                    std::vector<ArgValue>& values) {
  values.resize(kinds.size());
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    ArgValue& v = values[k];
    switch (kinds[k]) {
      case ArgKind::kUnused:
        return false;  // its type cannot be known
      case ArgKind::kInt:
        v.i = va_arg(args, int);
        break;
      case ArgKind::kLong:
        v.l = va_arg(args, long);
        break;
      case ArgKind::kLongLong:
        v.ll = va_arg(args, long long);
        break;
      case ArgKind::kIntMax:
        v.im = va_arg(args, std::intmax_t);
        break;
      case ArgKind::kSize:
        v.sz = va_arg(args, std::size_t);
        break;
      case ArgKind::kPtrDiff:
        v.pd = va_arg(args, std::ptrdiff_t);
        break;
      case ArgKind::kDouble:
        v.d = va_arg(args, double);
        break;
      case ArgKind::kLongDouble:
        v.ld = va_arg(args, long double);
        break;
      case ArgKind::kPointer:
        v.p = va_arg(args, const void*);
        break;
    }
  }
  return true;
}

void AppendAscii(const char* text, std::size_t n, string_type& out) {
  for (std::size_t k = 0; k < n; ++k) {
    const auto byte = static_cast<unsigned char>(text[k]);
    if (byte >= 0x80) {
      // A locale's multibyte decimal point or a narrow argument.
      string_type decoded;
      if (base::utf8::Decode(text + k, n - k, decoded)) {
        out += decoded;
      } else {
        for (; k < n; ++k) out += static_cast<utf16_unit>(static_cast<unsigned char>(text[k]));
      }
      return;
    }
    out += static_cast<utf16_unit>(byte);
  }
}

void AppendPadded(const string_type& body, const Conversion& c, int width, string_type& out) {
  const bool left = c.flags.find('-') != std::string::npos;
  const bool zero = !left && c.flags.find('0') != std::string::npos;
  const std::size_t pad =
      width > 0 && static_cast<std::size_t>(width) > body.size() ? width - body.size() : 0;
  if (!left) out.append(pad, zero ? utf16_unit('0') : utf16_unit(' '));
  out += body;
  if (left) out.append(pad, ' ');
}

bool HasFlag(const Conversion& c, char flag) { return c.flags.find(flag) != std::string::npos; }

// A number as printf lays it out: sign, then radix prefix, then digits;
// zero padding goes between the prefix and the digits.
struct NumberText {
  char sign = 0;
  const char* prefix = "";
  std::string digits;
  bool zero_pad = true;  // false where printf ignores the "0" flag
};

void AppendNumberText(const NumberText& n, const Conversion& c, int width, string_type& out) {
  const bool left = HasFlag(c, '-');
  const bool zero = !left && n.zero_pad && HasFlag(c, '0');
  const std::size_t length =
      (n.sign != 0 ? 1 : 0) + std::char_traits<char>::length(n.prefix) + n.digits.size();
  const std::size_t pad =
      width > 0 && static_cast<std::size_t>(width) > length ? width - length : 0;
  if (!left && !zero) out.append(pad, ' ');
  if (n.sign != 0) out += static_cast<utf16_unit>(n.sign);
  base::AppendAscii(n.prefix, out);
  if (zero) out.append(pad, '0');
  AppendAscii(n.digits.data(), n.digits.size(), out);
  if (left) out.append(pad, ' ');
}

char SignOf(bool negative, const Conversion& c) {
  if (negative) return '-';
  if (HasFlag(c, '+')) return '+';
  if (HasFlag(c, ' ')) return ' ';
  return 0;
}

std::string_view LengthOf(const Conversion& c) { return c.length; }

// The argument read at the size its length modifier names; "hh" and "h"
// narrow it, as printf does.
long long SignedValue(const Conversion& c, const ArgValue& v) {
  switch (c.kind) {
    case ArgKind::kInt:
      if (LengthOf(c) == "hh") return static_cast<signed char>(v.i);
      if (LengthOf(c) == "h") return static_cast<short>(v.i);
      return v.i;
    case ArgKind::kLong:
      return v.l;
    case ArgKind::kLongLong:
      return v.ll;
    case ArgKind::kIntMax:
      return static_cast<long long>(v.im);
    case ArgKind::kSize:
      return static_cast<long long>(static_cast<std::make_signed_t<std::size_t>>(v.sz));
    case ArgKind::kPtrDiff:
      return static_cast<long long>(v.pd);
    default:
      return 0;
  }
}

unsigned long long UnsignedValue(const Conversion& c, const ArgValue& v) {
  switch (c.kind) {
    case ArgKind::kInt:
      if (LengthOf(c) == "hh") return static_cast<unsigned char>(v.i);
      if (LengthOf(c) == "h") return static_cast<unsigned short>(v.i);
      return static_cast<unsigned int>(v.i);
    case ArgKind::kLong:
      return static_cast<unsigned long>(v.l);
    case ArgKind::kLongLong:
      return static_cast<unsigned long long>(v.ll);
    case ArgKind::kIntMax:
      return static_cast<std::uintmax_t>(v.im);
    case ArgKind::kSize:
      return v.sz;
    case ArgKind::kPtrDiff:
      return static_cast<std::make_unsigned_t<std::ptrdiff_t>>(v.pd);
    default:
      return 0;
  }
}

std::string Digits(unsigned long long value, int base, bool upper) {
  char buffer[72];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, base);
  std::string digits(buffer, result.ptr);
  if (upper) {
    for (char& ch : digits) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  return digits;
}

NumberText IntegerText(const Conversion& c, int precision, const ArgValue& v) {
  NumberText n;
  unsigned long long magnitude = 0;
  if (c.type == 'd' || c.type == 'i') {
    const long long value = SignedValue(c, v);
    magnitude = value < 0 ? 0ull - static_cast<unsigned long long>(value)
                          : static_cast<unsigned long long>(value);
    n.sign = SignOf(value < 0, c);
  } else {
    magnitude = UnsignedValue(c, v);
  }
  const int base = c.type == 'o' ? 8 : (c.type == 'x' || c.type == 'X') ? 16 : 10;
  n.digits =
      precision == 0 && magnitude == 0 ? std::string() : Digits(magnitude, base, c.type == 'X');
  if (precision > 0 && n.digits.size() < static_cast<std::size_t>(precision)) {
    n.digits.insert(0, static_cast<std::size_t>(precision) - n.digits.size(), '0');
  }
  if (HasFlag(c, '#')) {
    if (base == 8 && (n.digits.empty() || n.digits[0] != '0')) n.digits.insert(0, 1, '0');
    if (base == 16 && magnitude != 0) n.prefix = c.type == 'X' ? "0X" : "0x";
  }
  n.zero_pad = precision < 0;
  return n;
}

std::string FloatDigits(double magnitude, std::chars_format format, int precision) {
  // Room for 309 integer digits, the point, the precision and an exponent.
  std::string buffer(static_cast<std::size_t>(precision) + 330, '\0');
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, format, precision);
  buffer.resize(static_cast<std::size_t>(result.ptr - buffer.data()));
  return buffer;
}

// %g: the style of %e with precision P - 1 decides between the two forms;
// without "#" trailing zeros of the fraction go, and the point with them.
std::string GeneralDigits(double magnitude, int precision, bool alternative) {
  const int p = precision < 0 ? 6 : precision == 0 ? 1 : precision;
  std::string text = FloatDigits(magnitude, std::chars_format::scientific, p - 1);
  const int exponent = std::atoi(text.c_str() + text.find('e') + 1);
  if (p > exponent && exponent >= -4) {
    text = FloatDigits(magnitude, std::chars_format::fixed, p - 1 - exponent);
  }
  const std::size_t e = text.find('e');
  std::string mantissa = text.substr(0, e);
  const std::string tail = e == std::string::npos ? std::string() : text.substr(e);
  if (alternative) {
    if (mantissa.find('.') == std::string::npos) mantissa += '.';
  } else if (mantissa.find('.') != std::string::npos) {
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  return mantissa + tail;
}

// The Universal CRT's spellings: "inf", "nan", "nan(ind)" for the default
// NaN of invalid operations (negative, no payload), "nan(snan)".
std::string NotFiniteText(double value) {
  if (std::isinf(value)) return "inf";
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof(bits));
  const std::uint64_t quiet_bit = std::uint64_t{1} << 51;
  if ((bits & quiet_bit) == 0) return "nan(snan)";
  if (std::signbit(value) && (bits & (quiet_bit - 1)) == 0) return "nan(ind)";
  return "nan";
}

NumberText FloatText(const Conversion& c, int precision, double value) {
  NumberText n;
  n.sign = SignOf(std::signbit(value), c);
  const double magnitude = std::fabs(value);
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c.type)));
  const bool alternative = HasFlag(c, '#');
  if (!std::isfinite(value)) {
    n.digits = NotFiniteText(value);
    n.zero_pad = false;
  } else if (lower == 'f') {
    n.digits = FloatDigits(magnitude, std::chars_format::fixed, precision < 0 ? 6 : precision);
    if (alternative && precision == 0) n.digits += '.';
  } else if (lower == 'e') {
    n.digits = FloatDigits(magnitude, std::chars_format::scientific, precision < 0 ? 6 : precision);
    if (alternative && precision == 0) n.digits.insert(1, 1, '.');
  } else if (lower == 'g') {
    n.digits = GeneralDigits(magnitude, precision, alternative);
  } else {
    // The Windows runtime writes all 13 hexadecimal digits of a double
    // when no precision is given.
    n.digits = FloatDigits(magnitude, std::chars_format::hex, precision < 0 ? 13 : precision);
    if (alternative && precision == 0) n.digits.insert(1, 1, '.');
    n.prefix = c.type == 'A' ? "0X" : "0x";
  }
  if (c.type != lower) {
    for (char& ch : n.digits) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  return n;
}

void AppendNumber(const Conversion& c, int width, int precision, const ArgValue& v,
                  string_type& out) {
  NumberText n;
  switch (c.kind) {
    case ArgKind::kDouble:
      n = FloatText(c, precision, v.d);
      break;
    case ArgKind::kLongDouble:
      // The Windows runtime's long double is a double.
      n = FloatText(c, precision, static_cast<double>(v.ld));
      break;
    default:
      n = IntegerText(c, precision, v);
  }
  AppendNumberText(n, c, width, out);
}

void AppendConversion(const Conversion& c, const std::vector<ArgValue>& values, string_type& out) {
  int width = c.width_arg != 0 ? values[c.width_arg - 1].i : c.width;
  int precision = c.precision_arg != 0 ? values[c.precision_arg - 1].i : c.precision;
  Conversion adjusted = c;
  if (width < 0 && c.width_arg != 0) {
    // A negative "*" width means left alignment, as in printf.
    adjusted.flags.push_back('-');
    width = width == INT32_MIN ? INT32_MAX : -width;
  }
  if (precision < -1) precision = -1;
  const ArgValue& v = values[c.arg - 1];

  switch (c.type) {
    case 'c':
    case 'C': {
      const utf16_unit unit = c.narrow ? static_cast<utf16_unit>(static_cast<unsigned char>(v.i))
                                       : static_cast<utf16_unit>(v.i);
      AppendPadded(string_type(1, unit), adjusted, width, out);
      return;
    }
    case 's':
    case 'S': {
      string_type body;
      if (v.p == nullptr) {
        body = VELMAR_U("(null)");
      } else if (c.narrow) {
        const char* text = static_cast<const char*>(v.p);
        std::size_t n = 0;
        while (text[n] != 0 && (precision < 0 || n < static_cast<std::size_t>(precision))) ++n;
        AppendAscii(text, n, body);
      } else {
        const auto* text = static_cast<const utf16_unit*>(v.p);
        std::size_t n = 0;
        while (text[n] != 0 && (precision < 0 || n < static_cast<std::size_t>(precision))) ++n;
        body.assign(text, n);
      }
      AppendPadded(body, adjusted, width, out);
      return;
    }
    case 'p': {
      std::string digits =
          Digits(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(v.p)), 16, true);
      digits.insert(0, 16 - std::min<std::size_t>(16, digits.size()), '0');
      string_type body;
      AppendAscii(digits.data(), digits.size(), body);
      AppendPadded(body, adjusted, width, out);
      return;
    }
    default:
      AppendNumber(adjusted, width, precision, v, out);
  }
}

}  // namespace

bool FormatUtf16(const utf16_unit* format, std::va_list args, string_type& out) {
  std::vector<Conversion> conversions;
  std::size_t tail_begin = 0;
  Parser parser(format);
  if (!parser.Parse(conversions, tail_begin)) return false;

  std::vector<ArgValue> values;
  std::va_list copy;
  va_copy(copy, args);
  const bool fetched = FetchArguments(parser.kinds(), copy, values);
  va_end(copy);
  if (!fetched) return false;

  string_type result;
  for (const Conversion& c : conversions) {
    result.append(format + c.literal_begin, c.literal_end - c.literal_begin);
    if (c.type != '%') AppendConversion(c, values, result);
  }
  result.append(format + tail_begin);
  out = std::move(result);
  return true;
}

}  // namespace velmar::utils
