#include "platform/file_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "FolianUtils/ustring.h"
#include "environment/support_folders_test_roots.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace velmar::platform {
namespace {

using FileStreamTest = folian::test::TemporaryFolderTest;
using utils::velmar_ustring;

TEST_F(FileStreamTest, SeeksPastTheEndAndReadsShort) {
  std::FILE* stream = OpenFileStream(MakeFile("data", "0123456789").str(), VELMAR_U("rb"));
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
#if !defined(_WIN32)
  // A FIFO without a writer would block an ordinary open.
  ASSERT_EQ(0, mkfifo(folian::test::ToFsPath(Path("fifo")).c_str(), 0600));
#endif
  for (const velmar_ustring& path : {Path("fifo"), m_folder.upath(), velmar_ustring()}) {
    EXPECT_EQ(nullptr, OpenFileStream(path.str(), VELMAR_U("rb"))) << path;
  }
  EXPECT_EQ(nullptr, OpenFileStream(MakeFile("file").str(), utils::utf16_string()));
}

}  // namespace
}  // namespace velmar::platform
