#include "tool/input_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "tool/command.h"

namespace folian::tool {

void OpenInputFile(const std::string& path, std::ifstream& file) {
  errno = 0;
  file.open(std::filesystem::u8path(path), std::ios::binary);
  // A folder opens but does not read; the first read tells.
  if (file.is_open()) file.peek();
  if (!file.is_open() || errno != 0) {
    const int error = errno != 0 ? errno : ENOENT;
    throw FileError{path + ": " + std::strerror(error)};
  }
}

void CheckWholeInputFile(const std::string& path) {
  // Opening a FIFO waits for a writer, so it is told by its type first; a
  // missing file or a folder is left to the open, which words it.
  std::error_code error;
  const auto type = std::filesystem::status(std::filesystem::u8path(path), error).type();
  if (!error && type != std::filesystem::file_type::regular &&
      type != std::filesystem::file_type::directory) {
    throw FileError{path + ": not a regular file"};
  }
  std::ifstream file;
  OpenInputFile(path, file);
}

}  // namespace folian::tool
