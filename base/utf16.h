// Facts about UTF-16 code units.
#pragma once

namespace velmar::base {

constexpr bool IsSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

}  // namespace velmar::base
