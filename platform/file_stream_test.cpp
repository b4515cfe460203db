#include "platform/file_stream.h"

#include <gtest/gtest.h>

#include "FolianUtils/ustring.h"
#include "environment/support_folders_test_roots.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace velmar::platform {
namespace {

// Reading and seeking past the end are covered by the PNG background tests.
using FileStreamTest = folian::test::TemporaryFolderTest;

TEST_F(FileStreamTest, OnlyRegularFilesOpenForReading) {
#if !defined(_WIN32)
  // A FIFO without a writer would block an ordinary open.
  ASSERT_EQ(0, mkfifo(folian::test::ToFsPath(Path("fifo")).c_str(), 0600));
#endif
  for (const utils::velmar_ustring& path :
       {Path("fifo"), m_folder.upath(), utils::velmar_ustring()}) {
    EXPECT_EQ(nullptr, OpenFileStream(path.str(), VELMAR_U("rb"))) << path;
  }
  EXPECT_EQ(nullptr, OpenFileStream(MakeFile("file").str(), utils::utf16_string()));
  std::FILE* stream = OpenFileStream(Path("file").str(), VELMAR_U("rb"));
  EXPECT_NE(nullptr, stream);
  if (stream != nullptr) std::fclose(stream);
}

}  // namespace
}  // namespace velmar::platform
