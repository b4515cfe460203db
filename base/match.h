// A prefix test on any string type of the library: std::string, the UTF-16
// strings, their views and literals.
#pragma once

#include <string_view>

namespace velmar::base {

template <typename Unit>
constexpr bool StartsWith(std::basic_string_view<Unit> text, std::basic_string_view<Unit> prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The same for strings and literals, whose unit type the views cannot deduce.
template <typename Text, typename Affix>
constexpr bool StartsWith(const Text& text, const Affix& prefix) {
  using Unit = typename Text::value_type;
  return StartsWith(std::basic_string_view<Unit>(text), std::basic_string_view<Unit>(prefix));
}

}  // namespace velmar::base
