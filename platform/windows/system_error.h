// A failed system call's error code as a Status in the system's words.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "base/utf8.h"
#include "platform/status.h"

namespace velmar::platform {

inline Status SystemError(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message;
  if (length != 0 && text != nullptr) {
    utils::utf16_string wide(text, length);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ' ||
                             wide.back() == L'.')) {
      wide.pop_back();
    }
    base::utf8::Encode(wide.c_str(), wide.size(), message);
  }
  if (text != nullptr) LocalFree(text);
  if (message.empty()) message = "system error " + std::to_string(code);
  return Status::Error(std::move(message));
}

}  // namespace velmar::platform
