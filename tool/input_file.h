// Files named on the command line, opened with the system's reason for a
// failure, so a missing file is told apart from a file with no answer.
#pragma once

#include <fstream>
#include <string>

namespace folian::tool {

// Opens the file at the UTF-8 `path` for reading and checks that it reads;
// throws FileError ("PATH: the system's reason") otherwise.
void OpenInputFile(const std::string& path, std::ifstream& file);

}  // namespace folian::tool
