#include "tool/input_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

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

}  // namespace folian::tool
