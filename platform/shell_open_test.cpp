#include "platform/shell_open.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "FolianUtils/ustring.h"
#include "environment/support_folders_test_roots.h"
#include "platform/scoped_env_test_support.h"

namespace velmar::platform {
namespace {

using utils::velmar_ustring;

// A stand-in handler on a private PATH that writes down its arguments.
class LinuxFakeOpener : public folian::test::TemporaryFolderTest {
 protected:
  void SetUp() override {
    TemporaryFolderTest::SetUp();
    const std::string record = m_record.string();
    const velmar_ustring opener =
        MakeFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"" + record +
                                     ".tmp\"\n/bin/mv \"" + record + ".tmp\" \"" + record + "\"\n");
    std::filesystem::permissions(folian::test::ToFsPath(opener), std::filesystem::perms::owner_all);
    m_env.Set("PATH", (m_folder.path() / "bin").c_str());
  }

  // What the handler was given, once it has run.
  std::string Recorded() const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(m_record) && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(m_record);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  const std::filesystem::path m_record = m_folder.path() / "arguments";
  folian::test::ScopedEnv m_env;
};

TEST_F(LinuxFakeOpener, PassesTheTargetAsOneArgumentWithoutAShell) {
  const std::string target = "https://h.invalid/a b?x=1&y='2' \"q\" ;touch " +
                             (m_folder.path() / "pwned").string() + " $(id)";
  EXPECT_TRUE(OpenWithShell(velmar_ustring(target).str()));
  EXPECT_EQ("1\n" + target + "\n", Recorded());
  EXPECT_FALSE(std::filesystem::exists(m_folder.path() / "pwned"));
  // The handler belongs to init by now: this process has no child to reap.
  int status = 0;
  EXPECT_EQ(-1, waitpid(-1, &status, WNOHANG));
  EXPECT_EQ(ECHILD, errno);
}

TEST_F(LinuxFakeOpener, FailsWhenThereIsNoHandler) {
  std::filesystem::remove(m_folder.path() / "bin" / "xdg-open");
  EXPECT_FALSE(OpenWithShell(velmar_ustring("https://h.invalid/").str()));
  EXPECT_FALSE(std::filesystem::exists(m_record));
}

}  // namespace
}  // namespace velmar::platform
#endif
