#include "foundation/wide_printf.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/ascii.h"
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
  const char* length = "";  // printf length modifier for snprintf
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

void AppendNumber(const Conversion& c, int width, int precision, const ArgValue& v,
                  string_type& out) {
  std::string narrow_format = "%" + c.flags;
  if (width >= 0) narrow_format += std::to_string(width);
  if (precision >= 0) narrow_format += "." + std::to_string(precision);
  narrow_format += c.length;
  narrow_format += c.type;

  char stack[128];
  std::string heap;
  char* buffer = stack;
  std::size_t capacity = sizeof(stack);
  for (;;) {
    int n = -1;
    switch (c.kind) {
      case ArgKind::kInt:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.i);
        break;
      case ArgKind::kLong:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.l);
        break;
      case ArgKind::kLongLong:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.ll);
        break;
      case ArgKind::kIntMax:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.im);
        break;
      case ArgKind::kSize:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.sz);
        break;
      case ArgKind::kPtrDiff:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.pd);
        break;
      case ArgKind::kDouble:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.d);
        break;
      case ArgKind::kLongDouble:
        n = std::snprintf(buffer, capacity, narrow_format.c_str(), v.ld);
        break;
      case ArgKind::kPointer:
      case ArgKind::kUnused:
        break;
    }
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < capacity) {
      AppendAscii(buffer, static_cast<std::size_t>(n), out);
      return;
    }
    heap.resize(static_cast<std::size_t>(n) + 1);
    buffer = heap.data();
    capacity = heap.size();
  }
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
      char digits[32];
      const int n =
          std::snprintf(digits, sizeof(digits), "%016llX",
                        static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(v.p)));
      string_type body;
      AppendAscii(digits, static_cast<std::size_t>(n), body);
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
