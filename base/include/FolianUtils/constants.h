/// @file
/// Process-wide constants shared by every subsystem; being constants, any
/// thread may read them.
///
/// @stable
#pragma once

namespace velmar {

/// Zero tolerance: inches for lengths, radians for the measurement-box angle.
inline constexpr double kLengthTolerance = 0.001;

/// The current major version; names versioned folders (20%d) and is the
/// default version of the preference store.
inline constexpr int kCurrentMajorVersion = 26;

}  // namespace velmar
