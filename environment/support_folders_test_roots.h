// Test support: temporary folders, and private support-folder roots: on
// POSIX the XDG variables point into a temporary folder; Windows cannot
// redirect its special folders, so the tests run only under Wine with the
// build tree's own prefix, its "Trelvin" trees removed before and after.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "FolianUtils/culture.h"
#include "FolianUtils/ustring.h"
#include "environment/paths_internal.h"
#include "platform/file_system.h"
#include "platform/scoped_env_test_support.h"

namespace folian::test {

using velmar::platform::DataFolder;
using velmar::utils::velmar_ustring;

inline std::filesystem::path ToFsPath(const velmar_ustring& path) {
  return std::filesystem::u8path(path.ToUTF8());
}

inline velmar_ustring FromFsPath(const std::filesystem::path& path) {
  return NormalizePath(velmar_ustring(path.u8string()));
}

// A new, empty temporary folder, removed with its content at destruction.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::random_device random;
    std::error_code error;
    for (int attempt = 0; attempt < 9 && m_path.empty(); ++attempt) {
      const std::filesystem::path candidate =
          std::filesystem::temp_directory_path(error) / ("folian-env-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, error)) m_path = candidate;
    }
  }
  ~TemporaryFolder() {
    std::error_code error;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, error);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  bool ok() const { return !m_path.empty(); }
  const std::filesystem::path& path() const { return m_path; }
  velmar_ustring upath() const { return FromFsPath(m_path); }

 private:
  std::filesystem::path m_path;
};

class TemporaryFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_folder.ok()); }

  velmar_ustring Path(const velmar_ustring& relative) const {
    return AppendPath(m_folder.upath(), relative);
  }
  // Creates the file's folders first.
  static velmar_ustring WriteFile(const velmar_ustring& path, const std::string& bytes = "x") {
    EXPECT_TRUE(CreateDirectories(GetParentFolder(path)));
    std::ofstream(ToFsPath(path), std::ios::binary) << bytes;
    return path;
  }
  velmar_ustring MakeFile(const velmar_ustring& relative, const std::string& bytes = "x") const {
    return WriteFile(Path(relative), bytes);
  }

  TemporaryFolder m_folder;
};

class ScopedSupportRoots {
 public:
  ScopedSupportRoots() {
#if defined(_WIN32)
    m_usable = std::getenv("WINEPREFIX") != nullptr;
    RemoveTrelvinTrees();
#else
    if (!m_root.ok()) return;
    std::error_code error;
    for (const char* name : {"roaming", "local", "common"}) {
      std::filesystem::create_directory(m_root.path() / name, error);
    }
    m_env.Set("XDG_CONFIG_HOME", (m_root.path() / "roaming").c_str());
    m_env.Set("XDG_DATA_HOME", (m_root.path() / "local").c_str());
    m_env.Set("XDG_DATA_DIRS", ((m_root.path() / "common").string() + ":/usr/share").c_str());
    m_usable = !error;
#endif
  }
#if defined(_WIN32)
  ~ScopedSupportRoots() { RemoveTrelvinTrees(); }
#endif

  // False where the tests could touch real user folders.
  bool usable() const { return m_usable; }
  static velmar_ustring roaming() { return Base(DataFolder::kRoaming); }
  static velmar_ustring local() { return Base(DataFolder::kLocal); }
  static velmar_ustring common() { return Base(DataFolder::kCommon); }

 private:
  static velmar_ustring Base(DataFolder folder) {
    return NormalizePath(velmar_ustring(velmar::platform::GetDataFolder(folder)));
  }
#if defined(_WIN32)
  void RemoveTrelvinTrees() const {
    for (const velmar_ustring& base : {roaming(), local(), common()}) {
      std::error_code error;
      if (m_usable && !base.empty())
        std::filesystem::remove_all(ToFsPath(AppendPath(base, "Trelvin")), error);
    }
  }
#else
  TemporaryFolder m_root;
  ScopedEnv m_env;
#endif
  bool m_usable = false;
};

// Tests whose support folders lie in private roots; skipped where they
// cannot be redirected.
class SupportRootsTest : public TemporaryFolderTest {
 protected:
  void SetUp() override {
    TemporaryFolderTest::SetUp();
    if (!m_roots.usable()) GTEST_SKIP() << "the support folders cannot be redirected here";
  }
  // The culture is decided before the support folders move, as it would be
  // in the application.
  const velmar_ustring m_web_code = GetFolianWebCode();
  ScopedSupportRoots m_roots;
};

}  // namespace folian::test
