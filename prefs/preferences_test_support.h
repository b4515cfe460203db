// Test support for the application preferences: private folders and a
// fresh singleton for every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "FolianUtils/color.h"
#include "FolianUtils/preferences.h"
#include "FolianUtils/temp_preferences.h"
#include "environment/support_folders_test_roots.h"

namespace folian::test {

inline velmar::utils::CColor Rgba(int red, int green, int blue, int alpha) {
  return velmar::utils::CColor(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                               static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(alpha));
}

// Every test starts without a singleton and with empty, private folders.
class PreferencesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!m_roots.usable()) GTEST_SKIP() << "the data folders cannot be redirected here";
    Preferences::Destroy();
  }
  void TearDown() override { Preferences::Destroy(); }

  // Writes `fill`'s values into the files of `version`.
  template <typename Fill>
  static void SaveVersion(int version, Fill fill) {
    TempPreferences store(version);
    fill(store);
    store.Save();
  }

  ScopedSupportRoots m_roots;
};

}  // namespace folian::test
