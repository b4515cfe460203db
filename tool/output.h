// Standard output with its failures kept: a full disk or a closed pipe is
// noticed, not lost.
#pragma once

#include <cstdio>
#include <string_view>

namespace folian::tool {

class Output {
 public:
  explicit Output(std::FILE* file) : m_file(file) {}

  // Writes `text`; false once any write has failed.
  bool Write(std::string_view text);
  bool Flush();

  bool failed() const { return m_error != 0; }
  // The system's error number of the first failure.
  int error() const { return m_error; }
  // The reader went away: the tool ends quietly, as filters do.
  bool closed_pipe() const { return m_closedPipe; }

 private:
  void Check(bool ok);

  std::FILE* m_file;
  int m_error = 0;
  bool m_closedPipe = false;
};

}  // namespace folian::tool
