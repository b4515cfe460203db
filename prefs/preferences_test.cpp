#include "FolianUtils/preferences.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "FolianUtils/canvas_name.h"
#include "FolianUtils/temp_preferences.h"
#include "environment/paths_internal.h"
#include "environment/support_folders_test_roots.h"

namespace folian {
namespace {

using velmar::utils::Variant;
using velmar::utils::velmar_ustring;

velmar::utils::CColor Rgba(int red, int green, int blue, int alpha) {
  return velmar::utils::CColor(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                               static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(alpha));
}

// Every test starts without a singleton and with empty, private folders.
class AppPreferences : public ::testing::Test {
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

  test::ScopedSupportRoots m_roots;
};

TEST_F(AppPreferences, DefaultsThenWhatWasSetUnderItsKey) {
  Preferences& prefs = Preferences::Default();
  EXPECT_FALSE(prefs.GetDraftModeAlwaysOn());
  EXPECT_DOUBLE_EQ(prefs.GetReDrawDelay(), 0.5);
  EXPECT_FLOAT_EQ(prefs.GetScrollSpeedCoefficient(), Preferences::s_defaultScrollSpeedCoefficient);
  EXPECT_TRUE(prefs.GetAutoUpdateTrelvinModels() && prefs.GetEditTrelvinModels());
  EXPECT_FALSE(prefs.GetTwoFingerPan());
  EXPECT_EQ(GetCanvasName(), "skia");
  EXPECT_EQ(Preferences::GetXAxisColor(), Rgba(255, 0, 0, 255));
  EXPECT_EQ(Preferences::GetYAxisColor(), Rgba(0, 255, 0, 255));
  EXPECT_EQ(Preferences::GetParallelPerpendicularColor(), Rgba(255, 0, 255, 255));

  prefs.SetDraftModeOptions(7);
  prefs.SetReDrawDelay(1.25);
  prefs.SetScrollSpeedCoefficient(2.5f);
  prefs.SetTwoFingerPan(true);
  prefs.SetEditTrelvinModels(false);
  prefs.SetUseSkia(false);
  EXPECT_EQ(prefs.ReadInt(VELMAR_U("draft_mode_options"), 0), 7);
  EXPECT_DOUBLE_EQ(prefs.GetReDrawDelay() + prefs.GetScrollSpeedCoefficient(), 3.75);
  EXPECT_TRUE(prefs.GetTwoFingerPan() && !prefs.GetEditTrelvinModels());
  EXPECT_EQ(GetCanvasName(), "gdiplus");
  // Draft mode is always on for behaviour 0 only; auto update is written
  // only when it changes.
  for (const int value : {0, 1}) {
    prefs.SetDraftModeBehavior(static_cast<Preferences::FLDraftModeBehavior>(value));
    EXPECT_EQ(prefs.GetDraftModeBehavior(), value);
    EXPECT_EQ(prefs.GetDraftModeAlwaysOn(), value == 0) << value;
  }
  prefs.SetAutoUpdateTrelvinModels(true);
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("auto_update")));
  prefs.SetAutoUpdateTrelvinModels(false);
  EXPECT_FALSE(prefs.ReadBool(VELMAR_U("auto_update"), true));
}

TEST_F(AppPreferences, HighlightColorKeysAndDefaults) {
  Preferences& prefs = Preferences::Default();
  const struct {
    bool shared;
    bool locked;
    velmar::utils::CColor expected;
    const char* key;
  } cases[] = {
      {true, true, Rgba(255, 0, 0, 127), "HighlightColorLockedEntity"},
      {false, true, Rgba(255, 0, 0, 127), "HighlightColorLockedEntity"},
      {true, false, Rgba(127, 0, 19, 127), "HighlightColorSharedLayer"},
      {false, false, Rgba(0, 127, 255, 127), "HighlightColorNonsharedLayer"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(prefs.GetSelectionHighlightColor(c.shared, c.locked), c.expected) << c.key;
    // Stored as the packed bits, as a signed int.
    prefs.SetSelectionHighlightColor(Rgba(0x80, 2, 3, 0xFF), c.shared, c.locked);
    EXPECT_EQ(prefs.ReadInt(velmar_ustring(c.key), 0), static_cast<int>(0xFF030280u)) << c.key;
    EXPECT_EQ(prefs.GetSelectionHighlightColor(c.shared, c.locked), Rgba(0x80, 2, 3, 0xFF));
    prefs.ResetSelectionHighlightColor(c.shared, c.locked);
    EXPECT_EQ(static_cast<std::uint32_t>(prefs.ReadInt(velmar_ustring(c.key), 0)),
              c.expected.Packed())
        << c.key;
  }
}

TEST_F(AppPreferences, TemporaryStoresAreIndependentOfTheSingletonWhichIsNotSaved) {
  Preferences& singleton = Preferences::Default();
  TempPreferences temporary(26);
  // The singleton is the current version's store.
  EXPECT_EQ(temporary.GetPrivateFilePath(), singleton.GetPrivateFilePath());
  temporary.SetDraftMode(true);
  EXPECT_FALSE(singleton.GetDraftMode());
  TempPreferences copy(temporary);
  copy.SetDraftMode(false);
  EXPECT_TRUE(temporary.GetDraftMode());
  // Skia logging always acts on the singleton.
  temporary.SetSkiaRTFLoggingEnabled(true);
  EXPECT_FALSE(temporary.ReadBool(VELMAR_U("skia_rtf_logging_enabled"), false));
  EXPECT_TRUE(singleton.ReadBool(VELMAR_U("skia_rtf_logging_enabled"), false));
  EXPECT_TRUE(temporary.SkiaRTFLoggingEnabled());
  // Destroy does not save.
  Preferences::Destroy();
  EXPECT_FALSE(Preferences::Default().SkiaRTFLoggingEnabled());
}

// A version 4 identifier, kept in a file beside the preference files that
// decides: a replaced one is read, a removed or broken one is made anew.
TEST_F(AppPreferences, ClientIdentifierIsKeptBesideThePreferenceFiles) {
  const std::regex uuid("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
  const auto identifier = [] { return Preferences::Default().GetOrCreateUniqueCID().ToUTF8(); };
  const std::string first = identifier();
  EXPECT_TRUE(std::regex_match(first, uuid)) << first;
  Preferences::Destroy();
  EXPECT_EQ(identifier(), first);
  EXPECT_EQ(TempPreferences(24).GetOrCreateUniqueCID().ToUTF8(), first);
  const std::filesystem::path file = test::ToFsPath(AppendPath(
      GetParentFolder(Preferences::Default().GetPrivateFilePath()), "trelvin.viewer.cid"));
  std::string stored;
  std::getline(std::ifstream(file), stored);
  EXPECT_EQ(stored, first);

  std::ofstream(file, std::ios::trunc) << "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f0\n";
  EXPECT_EQ(identifier(), "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f0");
  std::filesystem::remove(file);
  const std::string fresh = identifier();
  EXPECT_TRUE(std::regex_match(fresh, uuid)) << fresh;
  EXPECT_NE(fresh, first);
  for (const char* broken : {"not an identifier", "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f",
                             "0f1e2d3c-4b5a-4978-8695+a4b3c2d1e0f0"}) {
    std::ofstream(file, std::ios::trunc) << broken << "\n";
    EXPECT_TRUE(std::regex_match(identifier(), uuid)) << broken;
  }
}

// Values of an older version: one of each kind on the import list, a key
// on it left out, a colour tray with a gap, keys not on the list, and keys
// of versions that are not the newest earlier one in the upgrade range.
const struct {
  const char* key;
  Variant value;  // empty: not in the older files
  bool imported;
} kOlder[] = {
    {"auto_update", Variant(false), true},
    {"AutosaveInterval", Variant(12.5), true},
    {"PresentationScreen", Variant(3), true},
    {"ColorChooserImagePath", Variant(velmar_ustring("C:/Images/wheel.png")), true},
    {"FilterScalesComboBox", Variant(true), true},
    {"DoAutosave", Variant(), false},
    {"ColorTray0", Variant(10), true},
    {"ColorTray1", Variant(11), true},
    {"ColorTray3", Variant(13), false},
    {"draft_mode", Variant(true), false},
    {"shortcuts", Variant(velmar_ustring("ctrl+k")), false},
    {"Backup", Variant(), false},
};

TEST_F(AppPreferences, FirstRunImportsTheListedKeysOfTheNewestEarlierVersion) {
  SaveVersion(21, [](Preferences& old) { old.WriteBool(VELMAR_U("DoAutosave"), true); });
  for (const int version : {17, 0}) {
    SaveVersion(version, [](Preferences& old) { old.WriteBool(VELMAR_U("Backup"), true); });
  }
  SaveVersion(25, [](Preferences& old) {
    for (const auto& row : kOlder) {
      if (!row.value.IsEmpty()) old.SetItem(velmar_ustring(row.key), row.value);
    }
  });
  Preferences& prefs = Preferences::Default();
  // The import stays in memory until saved.
  EXPECT_FALSE(FileExists(prefs.GetPrivateFilePath()) || FileExists(prefs.GetPublicFilePath()));
  for (const auto& row : kOlder) {
    EXPECT_EQ(prefs.GetItem(velmar_ustring(row.key)), row.imported ? row.value : Variant())
        << row.key;
  }
}

// Once current files exist, or asked for explicitly, the import runs only
// when asked for and overwrites the listed keys; with no earlier version
// it reports -1, with an empty one it imports nothing.
TEST_F(AppPreferences, ImportOnRequest) {
  EXPECT_EQ(Preferences::Default().ImportPreviousVersionSettings(), -1);
  Preferences::Destroy();
  { TempPreferences folders(22); }
  EXPECT_EQ(Preferences::Default().ImportPreviousVersionSettings(), 22);
  EXPECT_FALSE(Preferences::Default().ContainsItem(VELMAR_U("general")));
  Preferences::Default().SetDraftMode(true);
  Preferences::Default().Save();
  Preferences::Destroy();
  SaveVersion(24, [](Preferences& old) { old.WriteBool(VELMAR_U("Backup"), true); });
  Preferences& prefs = Preferences::Default();
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("Backup")));
  prefs.WriteBool(VELMAR_U("Backup"), false);
  EXPECT_EQ(prefs.ImportPreviousVersionSettings(), 24);
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("Backup"), false));
  EXPECT_TRUE(prefs.GetDraftMode());
}

}  // namespace
}  // namespace folian
