// Symbol visibility for the FolianUtils shared library.
#pragma once

// FOLIAN_STATIC: consumers of the static build (the library's own tests).
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
