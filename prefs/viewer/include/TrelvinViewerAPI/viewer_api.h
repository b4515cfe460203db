/* TrelvinViewerAPI: the viewer library's flat interface, as far as Folian
 * uses it: the axis and parallel/perpendicular colours and the unique client
 * identifier, with the library's own string type. */
#pragma once

#include <stddef.h>

#if defined(_WIN32)
#if defined(TRELVIN_VIEWER_BUILDING)
#define TRELVIN_VIEWER_API __declspec(dllexport)
#else
#define TRELVIN_VIEWER_API __declspec(dllimport)
#endif
#else
#define TRELVIN_VIEWER_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum TRResult {
  TRResultSuccess = 0,
  TRResultNullArgument = 1,
  TRResultInvalidInput = 2,
  TRResultOutOfMemory = 3,
  TRResultUnavailable = 4 /* no identifier could be created or kept */
} TRResult;

typedef struct TRColor {
  unsigned char red;
  unsigned char green;
  unsigned char blue;
  unsigned char alpha;
} TRColor;

/* A library string; create with TRStringCreate, free with TRStringRelease. */
typedef struct TRStringImpl* TRStringRef;

/* The colours are the library's built-in ones: red, green and magenta,
 * opaque. The record is left alone on failure. */
TRELVIN_VIEWER_API TRResult TRPreferencesGetXAxisColor(TRColor* color);
TRELVIN_VIEWER_API TRResult TRPreferencesGetYAxisColor(TRColor* color);
TRELVIN_VIEWER_API TRResult TRPreferencesGetParallelPerpendicularColor(TRColor* color);

/* `*string` must be null; it receives a new empty string. */
TRELVIN_VIEWER_API TRResult TRStringCreate(TRStringRef* string);
/* Sets `*string` to the client identifier: a random version 4 UUID
 * ("xxxxxxxx-xxxx-4xxx-yxxx-xxxxxxxxxxxx", lower case), made on first use
 * and kept in the file "trelvin.viewer.cid" beside Folian's private
 * preference file of the current version, so every later call and run gives
 * the same one. On failure the string is left unchanged. */
TRELVIN_VIEWER_API TRResult TRPreferencesGetOrCreateCID(TRStringRef* string);
/* The length in UTF-8 bytes, without a terminator. */
TRELVIN_VIEWER_API TRResult TRStringGetUTF8Length(TRStringRef string, size_t* length);
/* Copies at most `buffer_length` bytes of text and a terminating zero after
 * them, so `buffer` must hold `buffer_length` + 1 bytes. `*copied` (may be
 * null) receives the number of text bytes copied. */
TRELVIN_VIEWER_API TRResult TRStringGetUTF8(TRStringRef string, size_t buffer_length, char* buffer,
                                            size_t* copied);
/* Frees the string and sets `*string` to null; a null string is fine. */
TRELVIN_VIEWER_API TRResult TRStringRelease(TRStringRef* string);

#ifdef __cplusplus
}
#endif
