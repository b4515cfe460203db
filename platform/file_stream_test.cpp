#include "platform/file_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "FolianUtils/ustring.h"
#include "environment/support_folders_test_roots.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace velmar::platform {
namespace {

utils::utf16_string Units(const char* ascii) { return utils::velmar_ustring(ascii).str(); }

class FileStreamTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_temp.ok()); }

  utils::utf16_string Path(const char* name) const {
    return utils::velmar_ustring((m_folder / name).u8string()).str();
  }

  folian::test::TemporaryFolder m_temp;
  const std::filesystem::path& m_folder = m_temp.path();
};

TEST_F(FileStreamTest, SeeksPastTheEndAndReadsShort) {
  std::ofstream(m_folder / "data", std::ios::binary) << "0123456789";
  std::FILE* stream = OpenFileStream(Path("data"), Units("rb"));
  ASSERT_NE(nullptr, stream);
  char bytes[4] = {};
  EXPECT_TRUE(SeekForward(stream, 6));
  EXPECT_EQ(4u, std::fread(bytes, 1, sizeof bytes, stream));
  EXPECT_EQ(std::string("6789"), std::string(bytes, 4));
  EXPECT_TRUE(SeekForward(stream, 0xFFFFFFFFull + 4));
  EXPECT_EQ(0u, std::fread(bytes, 1, sizeof bytes, stream));
  std::fclose(stream);
}

TEST_F(FileStreamTest, OnlyRegularFilesOpenForReading) {
  std::filesystem::create_directory(m_folder / "folder");
  for (const char* name : {"folder", "missing"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(nullptr, OpenFileStream(Path(name), Units("rb")));
  }
  EXPECT_EQ(nullptr, OpenFileStream(utils::utf16_string(), Units("rb")));
  EXPECT_EQ(nullptr, OpenFileStream(Path("missing"), utils::utf16_string()));
}

#if !defined(_WIN32)
using LinuxFileStreamTest = FileStreamTest;

TEST_F(LinuxFileStreamTest, AFifoIsNotOpenedForReading) {
  // A FIFO without a writer would block an ordinary open.
  ASSERT_EQ(0, mkfifo((m_folder / "fifo").c_str(), 0600));
  EXPECT_EQ(nullptr, OpenFileStream(Path("fifo"), Units("rb")));
}
#endif

}  // namespace
}  // namespace velmar::platform
