#include "platform/durable_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "environment/support_folders_test_roots.h"
#include "platform/file_system.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace velmar::platform {
namespace {

namespace fs = std::filesystem;

::testing::AssertionResult Ok(const Status& status) {
  if (status.ok()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << status.ToString();
}

class DurableFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_folder.ok()); }
  utils::utf16_string Path(const char* name) const {
    return folian::test::FromFsPath(m_folder.path() / name).str();
  }
  FileReadResult Read(const char* name, std::size_t max_size) {
    return m_env.ReadFile(Path(name), max_size, m_bytes).kind;
  }
  folian::test::TemporaryFolder m_folder;
  FileEnv& m_env = DefaultFileEnv();
  std::string m_bytes;
  std::unique_ptr<FileLock> m_held;
};

TEST_F(DurableFileTest, ReadsTellMissingFromUnreadableAndTooLarge) {
  EXPECT_EQ(Read("none", 100), FileReadResult::kMissing);
  fs::create_directory(m_folder.path() / "folder");
  EXPECT_EQ(Read("folder", 100), FileReadResult::kFailed);
#if !defined(_WIN32)
  // A FIFO never blocks the read.
  ASSERT_EQ(::mkfifo((m_folder.path() / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(Read("fifo", 100), FileReadResult::kFailed);
#endif
  // Files larger than one buffer are read whole, empty ones as nothing.
  const std::string text(200000, 'x');
  std::ofstream(m_folder.path() / "long", std::ios::binary) << text;
  std::ofstream(m_folder.path() / "empty", std::ios::binary).close();
  EXPECT_EQ(Read("long", text.size()), FileReadResult::kRead);
  EXPECT_EQ(m_bytes, text);
  EXPECT_EQ(Read("long", text.size() - 1), FileReadResult::kTooLarge);
  EXPECT_TRUE(m_bytes.empty());
  m_bytes = "left over";
  EXPECT_EQ(Read("empty", 0), FileReadResult::kRead);
  EXPECT_TRUE(m_bytes.empty());
}

// A new file takes the old one's attributes, mode and owner; a file or
// folders made anew by root in another user's folder (nobody) are that
// user's, so a first run as root (sudo) leaves nothing the user cannot use.
TEST_F(DurableFileTest, AReplacedFileKeepsWhatTheSystemKeeps) {
  ASSERT_TRUE(Ok(m_env.WriteNewFile(Path("f.json"), "old", Path("f.json"))));
#if defined(_WIN32)
  ASSERT_TRUE(SetFileAttributesW(Path("f.json").c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
  const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
  const auto owner_of = [&](const char* name) {
    struct stat status {};
    return ::stat(fs::path(m_folder.path() / name).c_str(), &status) == 0 ? status.st_uid : 0;
  };
  ASSERT_EQ(::chmod(fs::path(m_folder.path() / "f.json").c_str(), 0640), 0);
  ASSERT_EQ(::chown(fs::path(m_folder.path() / "f.json").c_str(), owner, -1), 0);
  ASSERT_EQ(::chown(m_folder.path().c_str(), owner, -1), 0);
#endif
  ASSERT_TRUE(Ok(m_env.WriteNewFile(Path("f.json.1-1.tmp"), "new", Path("f.json"))));
  ASSERT_TRUE(Ok(m_env.ReplaceAtomically(Path("f.json.1-1.tmp"), Path("f.json"))));
  EXPECT_EQ(Read("f.json", 100), FileReadResult::kRead);
  EXPECT_EQ(m_bytes, "new");
#if defined(_WIN32)
  EXPECT_NE(GetFileAttributesW(Path("f.json").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
#else
  EXPECT_EQ(fs::status(m_folder.path() / "f.json").permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(owner_of("f.json"), owner);
#endif
  // A new file is made only where none exists; a rename never replaces.
  EXPECT_FALSE(Ok(m_env.WriteNewFile(Path("f.json"), "again", Path("f.json"))));
  ASSERT_TRUE(Ok(m_env.WriteNewFile(Path("b"), "b", Path("b"))));
  EXPECT_FALSE(Ok(m_env.RenameWithoutReplacing(Path("f.json"), Path("b"))));
  EXPECT_TRUE(Ok(m_env.RenameWithoutReplacing(Path("f.json"), Path("c"))));
  EXPECT_EQ(Read("b", 10), FileReadResult::kRead);
  EXPECT_EQ(m_bytes, "b");
  ASSERT_TRUE(MakeFolders(Path("x/y")));
#if !defined(_WIN32)
  EXPECT_EQ(owner_of("b") + owner_of("x") + owner_of("x/y"), 3 * owner);
#endif
}

// A holder sees its lock file removed; lock files are private, not links.
TEST_F(DurableFileTest, ALockFileRemovedWhileHeldIsNeverTrusted) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  ASSERT_TRUE(Ok(m_env.Lock(Path("f.lock"), deadline, {}, m_held)));
  std::error_code refused;
  const bool removed = fs::remove(m_folder.path() / "f.lock", refused);
  EXPECT_EQ(m_held->StillHeld(), !removed);
  m_held.reset();
  EXPECT_TRUE(Ok(m_env.Lock(Path("f.lock"), deadline, {}, m_held)));
#if !defined(_WIN32)
  fs::create_symlink(m_folder.path() / "victim", m_folder.path() / "link.lock");
  EXPECT_NE(m_env.Lock(Path("link.lock"), deadline, {}, m_held).reason().find("link"),
            std::string::npos);
  EXPECT_EQ(m_held, nullptr);
  EXPECT_FALSE(fs::exists(fs::symlink_status(m_folder.path() / "victim")));
#endif
}

#if !defined(_WIN32)
// A lock file others may open (an earlier build's 0644) is replaced before
// it is locked, so a descriptor opened before cannot block the owner; in a
// folder the group may write, lock files are the group's too.
TEST_F(DurableFileTest, LinuxLockFilesOthersMayOpenAreReplaced) {
  const fs::path lock = m_folder.path() / "g.lock";
  // The folder's mode, a lock file's there before (0: none), and after.
  const mode_t cases[][3] = {
      {0700, 0, 0600}, {0700, 0644, 0600}, {0770, 0, 0660}, {0770, 0604, 0660}, {0770, 0660, 0660}};
  for (const auto& [folder, before, after] : cases) {
    SCOPED_TRACE(before);
    ASSERT_EQ(::chmod(m_folder.path().c_str(), folder), 0);
    fs::remove(lock);
    if (before != 0) std::ofstream(lock) << "old";
    ASSERT_EQ(before == 0 || ::chmod(lock.c_str(), before) == 0, true);
    ASSERT_TRUE(Ok(m_env.Lock(Path("g.lock"), {}, {}, m_held)));
    struct stat status {};
    ASSERT_EQ(::stat(lock.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, after);
    EXPECT_EQ(status.st_size == 0, before != 0660) << "replaced or new";
  }
}
#endif

}  // namespace
}  // namespace velmar::platform
