// Splitting a path at its last separator, for strings of any unit type.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmar::base {

// The separators of the paths the library is given: Windows takes both.
inline constexpr std::string_view kPathSeparators = "/\\";
// A POSIX system path, in which a backslash is part of a name.
inline constexpr std::string_view kPosixPathSeparators = "/";

template <typename Unit>
struct PathParts {
  std::basic_string_view<Unit> folder;
  std::basic_string_view<Unit> name;
};

// The position of the last separator of `path`, or npos.
template <typename Unit>
constexpr std::size_t LastPathSeparator(std::basic_string_view<Unit> path,
                                        std::string_view separators = kPathSeparators) {
  for (std::size_t i = path.size(); i-- > 0;) {
    for (const char separator : separators) {
      if (path[i] == static_cast<Unit>(separator)) return i;
    }
  }
  return std::basic_string_view<Unit>::npos;
}

// "." in the path's unit type. A class member: GCC gives a variable
// template default visibility whatever the flags, and the libraries would
// export it.
template <typename Unit>
struct CurrentFolder {
  static constexpr Unit kName[] = {static_cast<Unit>('.')};
};

// The folder and the name of `path`: "a/b/c" is "a/b" and "c"; a name
// alone lies in ".", and a name right after the first separator in the
// root "/".
template <typename Unit>
constexpr PathParts<Unit> SplitPath(std::basic_string_view<Unit> path,
                                    std::string_view separators = kPathSeparators) {
  const std::size_t last = LastPathSeparator(path, separators);
  if (last == path.npos) return {std::basic_string_view<Unit>(CurrentFolder<Unit>::kName, 1), path};
  return {path.substr(0, last == 0 ? 1 : last), path.substr(last + 1)};
}

// The same for strings, whose unit type the view cannot deduce.
template <typename String>
constexpr auto SplitPath(const String& path, std::string_view separators = kPathSeparators) {
  using Unit = typename String::value_type;
  return SplitPath(std::basic_string_view<Unit>(path), separators);
}

template <typename String>
constexpr std::size_t LastPathSeparator(const String& path,
                                        std::string_view separators = kPathSeparators) {
  using Unit = typename String::value_type;
  return LastPathSeparator(std::basic_string_view<Unit>(path), separators);
}

}  // namespace velmar::base
