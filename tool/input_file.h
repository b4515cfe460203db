// Files named on the command line, opened with the system's reason for a
// failure, so a missing file is told apart from a file with no answer.
#pragma once

#include <fstream>
#include <string>

namespace folian::tool {

// Opens the file at the UTF-8 `path` for reading and checks that it reads;
// throws FileError ("PATH: the system's reason") otherwise. A pipe, FIFO
// or terminal opens too, and is read as it comes.
void OpenInputFile(const std::string& path, std::ifstream& file);

// Checks that the file at the UTF-8 `path` is a regular file that reads,
// for a command that reads it whole; throws FileError as OpenInputFile
// does, or "PATH: not a regular file" at once for a FIFO or device, which
// could keep it waiting for ever.
void CheckWholeInputFile(const std::string& path);

}  // namespace folian::tool
