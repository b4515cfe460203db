/// @file
/// A point in the host's page coordinates; a plain value, which distinct
/// threads may use each their own.
///
/// @stable
#pragma once

namespace velmar::geometry {

template <typename T>
/// A point of two coordinates, `x` then `y`; the library uses `Point2<float>` in
/// the host's page coordinates.
/// @stable
struct Point2 {
  T x{};  ///< The horizontal coordinate.
  T y{};  ///< The vertical coordinate.

  /// Equal when both coordinates compare equal.
  friend constexpr bool operator==(const Point2& a, const Point2& b) {
    return a.x == b.x && a.y == b.y;
  }
  /// Different when either coordinate differs.
  friend constexpr bool operator!=(const Point2& a, const Point2& b) { return !(a == b); }
};

}  // namespace velmar::geometry
