// Symbol visibility for the TrelvinCommonPreferences shared library:
// macros only, nothing here runs on any thread.
#pragma once

#if defined(_WIN32)
#if defined(TRELVIN_PREFS_BUILDING)
#define TRELVIN_PREFS_API __declspec(dllexport)
#else
#define TRELVIN_PREFS_API __declspec(dllimport)
#endif
#else
#define TRELVIN_PREFS_API __attribute__((visibility("default")))
#endif
