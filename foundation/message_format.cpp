#include "foundation/message_format.h"

#include "base/ascii.h"

namespace velmar::utils {
namespace {

using base::IsDigit;

}  // namespace

velmar_ustring::string_type RewriteMessageFormat(const velmar_ustring::string_type& format) {
  enum class State { kCopy, kPercent, kArgument, kType };
  velmar_ustring::string_type out;
  out.reserve(format.size() + 8);
  State state = State::kCopy;
  const std::size_t n = format.size();
  for (std::size_t i = 0; i < n; ++i) {
    const utf16_unit u = format[i];
    switch (state) {
      case State::kCopy:
        out += u;
        if (u == '%') state = State::kPercent;
        break;
      case State::kPercent:
        out += u;
        state = (u >= '1' && u <= '9') ? State::kArgument : State::kCopy;
        break;
      case State::kArgument:
        state = State::kCopy;
        if (u == '!') {
          out += '$';
          state = State::kType;
        } else if (u == ' ') {
          out += VELMAR_U("$s ");
        } else if (u == '.' && !(i + 1 < n && IsDigit(format[i + 1]))) {
          out += VELMAR_U("$s.");
        } else {
          out += u;
        }
        break;
      case State::kType:
        if (u == '!') {
          state = State::kCopy;
        } else {
          out += u;
        }
        break;
    }
  }
  if (state == State::kArgument) out += VELMAR_U("$s");
  return out;
}

}  // namespace velmar::utils
