#include "FolianUtils/color.h"

namespace velmar::utils {
namespace {

std::uint8_t Channel(double fraction) {
  if (!(fraction > 0.0)) return 0;  // NaN counts as 0
  if (fraction >= 1.0) return 255;
  return static_cast<std::uint8_t>(fraction * 255.0);
}

}  // namespace

CColor::CColor(double red, double green, double blue, double alpha)
    : m_red(Channel(red)),
      m_green(Channel(green)),
      m_blue(Channel(blue)),
      m_alpha(Channel(alpha)) {}

}  // namespace velmar::utils
