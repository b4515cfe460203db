// What a store knows of each of its files: how it last found it, and a
// fingerprint of its bytes, by which a later read tells whether another
// process changed it since.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "FolianUtils/dictionary.h"

namespace velmar::prefs {

enum class FileStatus : std::uint32_t {
  kMissing,     // no file yet; saving creates it
  kLoaded,      // read and parsed
  kCorrupt,     // read but not understood; saving first renames it aside
  kUnreadable,  // exists but could not be read, or a link to what is no
                // preference file; saving leaves it alone
};

// What a file held when the store last read or wrote it.
struct Fingerprint {
  bool exists = false;
  std::size_t size = 0;
  std::size_t hash = 0;
  // What a file holding `bytes` looks like.
  static Fingerprint Of(const std::string& bytes) {
    return Fingerprint{true, bytes.size(), std::hash<std::string>()(bytes)};
  }
  bool operator==(const Fingerprint& other) const {
    return exists == other.exists && size == other.size && hash == other.hash;
  }
  bool operator!=(const Fingerprint& other) const { return !(*this == other); }
};

struct FileState {
  FileStatus status = FileStatus::kMissing;
  std::uint64_t timestamp = 0;
  // Top-level members of the file this library does not know.
  utils::Dictionary unknown;
  Fingerprint seen;
};

}  // namespace velmar::prefs
