/// @file
/// Symbol visibility for the TrelvinCommonPreferences shared library:
/// macros only, nothing here runs on any thread.
///
/// @stable
#pragma once

/// @def TRELVIN_PREFS_API
/// Marks what the shared library exports: dllexport while building it and
/// dllimport for its users on Windows, default visibility elsewhere.

#if defined(_WIN32)
#if defined(TRELVIN_PREFS_BUILDING)
#define TRELVIN_PREFS_API __declspec(dllexport)
#else
#define TRELVIN_PREFS_API __declspec(dllimport)
#endif
#else
#define TRELVIN_PREFS_API __attribute__((visibility("default")))
#endif
