#include "platform/shell_open.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "FolianUtils/ustring.h"

namespace velmar::platform {
namespace {

// A stand-in handler on a private PATH that writes down its arguments.
class LinuxFakeOpener : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() /
               ("folian-open-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(m_folder / "bin");
    m_record = m_folder / "arguments";
    const std::filesystem::path script = m_folder / "bin" / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\n' \"$#\" \"$1\" > \""
                          << m_record.string() << ".tmp\"\nmv \"" << m_record.string()
                          << ".tmp\" \"" << m_record.string() << "\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const char* path = std::getenv("PATH");
    if (path != nullptr) m_saved_path = path;
    setenv("PATH", (m_folder / "bin").c_str(), 1);
  }
  void TearDown() override {
    if (m_saved_path) {
      setenv("PATH", m_saved_path->c_str(), 1);
    } else {
      unsetenv("PATH");
    }
    std::filesystem::remove_all(m_folder);
  }

  // What the handler was given, once it has run.
  std::string Recorded() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(m_record) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(m_record);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::filesystem::path m_folder;
  std::filesystem::path m_record;
  std::optional<std::string> m_saved_path;
};

TEST_F(LinuxFakeOpener, PassesTheTargetAsOneArgumentWithoutAShell) {
  const std::string target =
      "https://h.invalid/a b?x=1&y='2' \"q\" ;touch " + (m_folder / "pwned").string() + " $(id)";
  EXPECT_TRUE(OpenWithShell(utils::velmar_ustring(target).str()));
  EXPECT_EQ("1\n" + target + "\n", Recorded());
  EXPECT_FALSE(std::filesystem::exists(m_folder / "pwned"));
  // The handler belongs to init by now: this process has no child to reap.
  int status = 0;
  EXPECT_EQ(-1, waitpid(-1, &status, WNOHANG));
  EXPECT_EQ(ECHILD, errno);
}

TEST_F(LinuxFakeOpener, FailsWhenThereIsNoHandler) {
  std::filesystem::remove(m_folder / "bin" / "xdg-open");
  EXPECT_FALSE(OpenWithShell(utils::velmar_ustring("https://h.invalid/").str()));
  EXPECT_FALSE(std::filesystem::exists(m_record));
}

}  // namespace
}  // namespace velmar::platform
#endif
