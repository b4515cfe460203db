// Angle conversion factors, exact to the last bit of a double.
#pragma once

namespace velmar::base {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kRadiansPerDegree = kPi / 180.0;   // 0.017453292519943295
inline constexpr double kRadiansPerGradian = kPi / 200.0;  // 0.015707963267948967

}  // namespace velmar::base
