/// @file
/// Drawing scales (0.02 is 1:50, 4 is 4:1) as ratio text, and the ways a
/// user types one.
///
/// Both functions may run on several threads at once, after the first call
/// has filled the user's decimal point (CNumericFormatter).
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/ustring.h"

namespace velmar::utils::ScaleFormatter {

/// "1:<n>" up to 1, "<n>:1" above, n with at most two decimals and the
/// user's decimal point; "~ " in front when the two decimals lost something.
/// A scale that is not greater than 0 (or not a number) gives "0".
FOLIAN_API velmar_ustring Format(double scale);

/// Reads a ratio written with ":", "/" or "=" ("1:50", "1/4", "1\"=4'",
/// "1cm:1m", "1yd:1'"), a percentage ("50%") or a bare number; a leading "~"
/// is skipped. Both sides of a ratio are plain numbers, or both lengths with
/// a unit (cm, mm, m, ", ', yd; any case). Returns 0 for every text that is
/// not a usable scale: a "-" anywhere, three sides, mixed sides, an unknown
/// unit, a zero second side or a result that is not finite.
[[nodiscard]] FOLIAN_API double Parse(const velmar_ustring& text);

}  // namespace velmar::utils::ScaleFormatter
