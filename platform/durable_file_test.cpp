#include "platform/durable_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "environment/support_folders_test_roots.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace velmar::platform {
namespace {

namespace fs = std::filesystem;

class DurableFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_folder.ok()); }
  utils::utf16_string Path(const char* name) const {
    return folian::test::FromFsPath(m_folder.path() / name).str();
  }
  folian::test::TemporaryFolder m_folder;
  FileEnv& m_env = DefaultFileEnv();
};

TEST_F(DurableFileTest, ReadsTellMissingFromUnreadableAndTooLarge) {
  std::string bytes;
  std::string error;
  EXPECT_EQ(m_env.ReadFile(Path("none.json"), 100, bytes, error), FileReadResult::kMissing);
  fs::create_directory(m_folder.path() / "folder.json");
  EXPECT_EQ(m_env.ReadFile(Path("folder.json"), 100, bytes, error), FileReadResult::kFailed);
  EXPECT_FALSE(error.empty());
  std::ofstream(m_folder.path() / "big.json") << "0123456789";
  EXPECT_EQ(m_env.ReadFile(Path("big.json"), 9, bytes, error), FileReadResult::kTooLarge);
  EXPECT_EQ(m_env.ReadFile(Path("big.json"), 10, bytes, error), FileReadResult::kRead);
  EXPECT_EQ(bytes, "0123456789");
  // Files larger than one buffer are read whole, empty ones as nothing.
  const std::string text(200000, 'x');
  std::ofstream(m_folder.path() / "long", std::ios::binary) << text;
  std::ofstream(m_folder.path() / "empty", std::ios::binary).close();
  EXPECT_EQ(m_env.ReadFile(Path("long"), text.size(), bytes, error), FileReadResult::kRead);
  EXPECT_EQ(bytes, text);
  EXPECT_EQ(m_env.ReadFile(Path("long"), text.size() - 1, bytes, error), FileReadResult::kTooLarge);
  EXPECT_TRUE(bytes.empty());
  bytes = "left over";
  EXPECT_EQ(m_env.ReadFile(Path("empty"), 0, bytes, error), FileReadResult::kRead);
  EXPECT_TRUE(bytes.empty());
}

TEST_F(DurableFileTest, AReplacedFileKeepsWhatTheSystemKeeps) {
  std::string error;
  ASSERT_TRUE(m_env.WriteNewFile(Path("f.json"), "old", Path("f.json"), error)) << error;
#if defined(_WIN32)
  ASSERT_TRUE(SetFileAttributesW(Path("f.json").c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
  ASSERT_EQ(::chmod(fs::path(m_folder.path() / "f.json").c_str(), 0640), 0);
#endif
  ASSERT_TRUE(m_env.WriteNewFile(Path("f.json.1-1.tmp"), "new", Path("f.json"), error)) << error;
  ASSERT_TRUE(m_env.ReplaceAtomically(Path("f.json.1-1.tmp"), Path("f.json"), error)) << error;
  std::string bytes;
  EXPECT_EQ(m_env.ReadFile(Path("f.json"), 100, bytes, error), FileReadResult::kRead);
  EXPECT_EQ(bytes, "new");
  EXPECT_FALSE(fs::exists(m_folder.path() / "f.json.1-1.tmp"));
#if defined(_WIN32)
  EXPECT_NE(GetFileAttributesW(Path("f.json").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
#else
  struct stat status {};
  ASSERT_EQ(::stat(fs::path(m_folder.path() / "f.json").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
#endif
  // A new file is created only when none exists.
  EXPECT_FALSE(m_env.WriteNewFile(Path("f.json"), "again", Path("f.json"), error));
}

TEST_F(DurableFileTest, RenameWithoutReplacingLeavesAnExistingTarget) {
  std::string error;
  ASSERT_TRUE(m_env.WriteNewFile(Path("a"), "a", Path("a"), error));
  ASSERT_TRUE(m_env.WriteNewFile(Path("b"), "b", Path("b"), error));
  EXPECT_FALSE(m_env.RenameWithoutReplacing(Path("a"), Path("b"), error));
  EXPECT_TRUE(m_env.RenameWithoutReplacing(Path("a"), Path("c"), error)) << error;
  std::string bytes;
  m_env.ReadFile(Path("b"), 10, bytes, error);
  EXPECT_EQ(bytes, "b");
}

LockDeadline InTenSeconds() { return std::chrono::steady_clock::now() + std::chrono::seconds(10); }

TEST_F(DurableFileTest, ALockIsFreeAgainOnceReleased) {
  std::string error;
  for (int round = 0; round < 3; ++round) {
    const auto start = std::chrono::steady_clock::now();
    auto lock = m_env.Lock(Path("f.json.lock"), InTenSeconds(), error);
    ASSERT_NE(lock, nullptr) << error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  }
  EXPECT_TRUE(fs::is_regular_file(m_folder.path() / "f.json.lock"));
}

// Where lock files can be removed while held, a waiter that then gets the
// removed file's lock opens the file now at the path instead; a holder sees
// that its lock file went.
TEST_F(DurableFileTest, ALockFileRemovedWhileHeldIsNeverTrusted) {
  std::string error;
  auto held = m_env.Lock(Path("f.lock"), InTenSeconds(), error);
  ASSERT_NE(held, nullptr) << error;
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::error_code refused;
    const bool removed = fs::remove(m_folder.path() / "f.lock", refused);
    EXPECT_EQ(held->StillHeld(), !removed);
    held.reset();
  });
  auto next = m_env.Lock(Path("f.lock"), InTenSeconds(), error);
  holder.join();
  ASSERT_NE(next, nullptr) << error;
  EXPECT_TRUE(next->StillHeld());
  EXPECT_TRUE(fs::is_regular_file(m_folder.path() / "f.lock"));
  std::error_code refused;
  const bool removed = fs::remove(m_folder.path() / "f.lock", refused);
  EXPECT_EQ(next->StillHeld(), !removed);
}

}  // namespace
}  // namespace velmar::platform
