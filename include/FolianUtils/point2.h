// A point in the host's page coordinates.
#pragma once

namespace velmar::geometry {

template <typename T>
struct Point2 {
  T x{};
  T y{};

  friend constexpr bool operator==(const Point2& a, const Point2& b) {
    return a.x == b.x && a.y == b.y;
  }
  friend constexpr bool operator!=(const Point2& a, const Point2& b) { return !(a == b); }
};

}  // namespace velmar::geometry
