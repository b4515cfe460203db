// The viewer library's colours and strings.
#include "TrelvinViewerAPI/viewer_api.h"

#include <cstring>
#include <new>
#include <string>

#include "prefs/viewer/client_id_internal.h"

struct TRStringImpl {
  std::string utf8;
};

namespace {

TRResult CopyColor(TRColor* color, TRColor value) {
  if (color == nullptr) return TRResultNullArgument;
  *color = value;
  return TRResultSuccess;
}

}  // namespace

extern "C" {

TRResult TRPreferencesGetXAxisColor(TRColor* color) {
  return CopyColor(color, TRColor{255, 0, 0, 255});
}

TRResult TRPreferencesGetYAxisColor(TRColor* color) {
  return CopyColor(color, TRColor{0, 255, 0, 255});
}

TRResult TRPreferencesGetParallelPerpendicularColor(TRColor* color) {
  return CopyColor(color, TRColor{255, 0, 255, 255});
}

TRResult TRStringCreate(TRStringRef* string) {
  if (string == nullptr) return TRResultNullArgument;
  if (*string != nullptr) return TRResultInvalidInput;
  *string = new (std::nothrow) TRStringImpl();
  return *string != nullptr ? TRResultSuccess : TRResultOutOfMemory;
}

TRResult TRPreferencesGetOrCreateCID(TRStringRef* string) {
  if (string == nullptr || *string == nullptr) return TRResultNullArgument;
  try {
    std::string id = trelvin::viewer::GetOrCreateClientId();
    if (id.empty()) return TRResultUnavailable;
    (*string)->utf8 = std::move(id);
    return TRResultSuccess;
  } catch (const std::bad_alloc&) {
    return TRResultOutOfMemory;
  }
}

TRResult TRStringGetUTF8Length(TRStringRef string, size_t* length) {
  if (string == nullptr || length == nullptr) return TRResultNullArgument;
  *length = string->utf8.size();
  return TRResultSuccess;
}

TRResult TRStringGetUTF8(TRStringRef string, size_t buffer_length, char* buffer, size_t* copied) {
  if (string == nullptr || buffer == nullptr) return TRResultNullArgument;
  const size_t count = string->utf8.size() < buffer_length ? string->utf8.size() : buffer_length;
  std::memcpy(buffer, string->utf8.data(), count);
  buffer[count] = '\0';
  if (copied != nullptr) *copied = count;
  return TRResultSuccess;
}

TRResult TRStringRelease(TRStringRef* string) {
  if (string == nullptr) return TRResultNullArgument;
  delete *string;
  *string = nullptr;
  return TRResultSuccess;
}

}  // extern "C"
