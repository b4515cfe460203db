/// @file
/// Symbol visibility for the FolianUtils shared library: macros only,
/// nothing here runs on any thread.
///
/// @stable
#pragma once

/// @def FOLIAN_API
/// Marks what the shared library exports: dllexport while building it and
/// dllimport for its users on Windows, default visibility elsewhere. Empty
/// when FOLIAN_STATIC is defined, for the static build that the library's
/// own tests link.
#if defined(FOLIAN_STATIC)
#define FOLIAN_API
#elif defined(_WIN32)
#if defined(FOLIAN_BUILDING)
#define FOLIAN_API __declspec(dllexport)
#else
#define FOLIAN_API __declspec(dllimport)
#endif
#else
#define FOLIAN_API __attribute__((visibility("default")))
#endif
