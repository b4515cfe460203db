/// @file
/// An RGBA colour of four 8-bit channels.
///
/// @stable
#pragma once

#include <cstdint>

#include "FolianUtils/export.h"

namespace velmar::utils {

/// A colour of four unsigned 8-bit channels: red, green, blue, alpha.
///
/// A value type; copies are independent and any thread may use its own.
/// @stable
class FOLIAN_API CColor {
 public:
  /// Transparent black (every channel 0).
  constexpr CColor() = default;
  /// The four channels as given, 0 to 255; alpha 255 is opaque.
  constexpr CColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                   std::uint8_t alpha = 255)
      : m_red(red), m_green(green), m_blue(blue), m_alpha(alpha) {}
  /// Each fraction maps to 0 at or below 0, 255 at or above 1, otherwise
  /// fraction * 255 truncated toward zero (0.5 gives 127).
  CColor(double red, double green, double blue, double alpha = 1.0);

  /// Red in bits 0-7, green 8-15, blue 16-23, alpha 24-31.
  static constexpr CColor FromPacked(std::uint32_t packed) {
    return CColor(static_cast<std::uint8_t>(packed & 0xFFu),
                  static_cast<std::uint8_t>((packed >> 8) & 0xFFu),
                  static_cast<std::uint8_t>((packed >> 16) & 0xFFu),
                  static_cast<std::uint8_t>((packed >> 24) & 0xFFu));
  }
  /// The inverse of FromPacked(): red in bits 0-7 up to alpha in bits 24-31.
  constexpr std::uint32_t Packed() const {
    return static_cast<std::uint32_t>(m_red) | (static_cast<std::uint32_t>(m_green) << 8) |
           (static_cast<std::uint32_t>(m_blue) << 16) | (static_cast<std::uint32_t>(m_alpha) << 24);
  }

  /// The red channel, 0 to 255.
  constexpr std::uint8_t Red() const { return m_red; }
  /// The green channel, 0 to 255.
  constexpr std::uint8_t Green() const { return m_green; }
  /// The blue channel, 0 to 255.
  constexpr std::uint8_t Blue() const { return m_blue; }
  /// The alpha channel, 0 (transparent) to 255 (opaque).
  constexpr std::uint8_t Alpha() const { return m_alpha; }

  /// Equal when all four channels are equal.
  friend constexpr bool operator==(const CColor& a, const CColor& b) {
    return a.Packed() == b.Packed();
  }
  /// Different when any channel differs.
  friend constexpr bool operator!=(const CColor& a, const CColor& b) { return !(a == b); }

 private:
  std::uint8_t m_red = 0;
  std::uint8_t m_green = 0;
  std::uint8_t m_blue = 0;
  std::uint8_t m_alpha = 0;
};

}  // namespace velmar::utils
