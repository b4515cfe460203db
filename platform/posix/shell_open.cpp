#include "platform/shell_open.h"

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/posix/utf8_text.h"

namespace velmar::platform {
namespace {

constexpr char kOpener[] = "xdg-open";

// The search happens before forking, so that the child does nothing but
// async-signal-safe calls.
std::string FindInPath(const char* program) {
  const char* path = std::getenv("PATH");
  const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type end = folders.find(':', start);
    std::string folder = folders.substr(start, end == std::string::npos ? end : end - start);
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + program;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (end == std::string::npos) return std::string();
    start = end + 1;
  }
}

}  // namespace

bool OpenWithShell(const utils::utf16_string& target) {
  const std::string program = FindInPath(kOpener);
  if (program.empty()) return false;
  std::string opener_name = kOpener;
  std::string argument = ToUtf8(target);
  char* const argv[] = {&opener_name[0], &argument[0], nullptr};

  // The intermediate child exits at once: the handler is adopted by init, so
  // nothing is left for this process to reap and no zombie remains.
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const pid_t handler = fork();
    if (handler == 0) {
      execve(program.c_str(), argv, environ);
      _exit(127);
    }
    _exit(handler < 0 ? 1 : 0);
  }
  int status = 0;
  pid_t waited = 0;
  do {
    waited = waitpid(child, &status, 0);
  } while (waited < 0 && errno == EINTR);
  return waited == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace velmar::platform
