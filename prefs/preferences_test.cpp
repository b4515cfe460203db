#include "FolianUtils/preferences.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "FolianUtils/canvas_name.h"
#include "FolianUtils/temp_preferences.h"
#include "TrelvinViewerAPI/viewer_api.h"
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

  template <typename Fill>
  static void SaveVersion(int version, Fill fill) {
    TempPreferences store(version);
    fill(store);
    store.Save();
  }

  test::ScopedSupportRoots m_roots;
};

TEST_F(AppPreferences, DefaultsSettersAndTemporaryStores) {
  Preferences& prefs = Preferences::Default();
  EXPECT_EQ(GetCanvasName(), "skia");
  EXPECT_EQ(Preferences::GetXAxisColor(), Rgba(255, 0, 0, 255));

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
  for (const int value : {0, 1}) {
    prefs.SetDraftModeBehavior(static_cast<Preferences::FLDraftModeBehavior>(value));
    EXPECT_EQ(prefs.GetDraftModeAlwaysOn(), value == 0) << value;
  }
  prefs.SetAutoUpdateTrelvinModels(true);
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("auto_update")));
  prefs.SetAutoUpdateTrelvinModels(false);
  EXPECT_FALSE(prefs.ReadBool(VELMAR_U("auto_update"), true));

  // A temporary store of the current version is one of its own; Skia
  // logging always acts on the singleton; Destroy does not save.
  TempPreferences temporary(26);
  EXPECT_EQ(temporary.GetPrivateFilePath(), prefs.GetPrivateFilePath());
  EXPECT_EQ(temporary.GetDraftModeOptions(), 2);
  temporary.SetSkiaRTFLoggingEnabled(true);
  EXPECT_FALSE(temporary.ReadBool(VELMAR_U("skia_rtf_logging_enabled"), false));
  EXPECT_TRUE(temporary.SkiaRTFLoggingEnabled());
  Preferences::Destroy();
  EXPECT_FALSE(Preferences::Default().SkiaRTFLoggingEnabled());
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
      {true, false, Rgba(127, 0, 19, 127), "HighlightColorSharedLayer"},
      {false, false, Rgba(0, 127, 255, 127), "HighlightColorNonsharedLayer"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(prefs.GetSelectionHighlightColor(c.shared, c.locked), c.expected) << c.key;
    prefs.SetSelectionHighlightColor(Rgba(0x80, 2, 3, 0xFF), c.shared, c.locked);
    EXPECT_EQ(prefs.ReadInt(velmar_ustring(c.key), 0), static_cast<int>(0xFF030280u)) << c.key;
    prefs.ResetSelectionHighlightColor(c.shared, c.locked);
    EXPECT_EQ(prefs.GetSelectionHighlightColor(c.shared, c.locked), c.expected) << c.key;
  }
}

// A version 4 identifier, in a file that decides, beside the preferences.
TEST_F(AppPreferences, ClientIdentifierIsKeptBesideThePreferenceFiles) {
  const std::regex uuid("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}");
  const auto identifier = [] { return Preferences::Default().GetOrCreateUniqueCID().ToUTF8(); };
  const std::string first = identifier();
  EXPECT_TRUE(std::regex_match(first, uuid)) << first;
  EXPECT_EQ(TempPreferences(24).GetOrCreateUniqueCID().ToUTF8(), first);
  const std::filesystem::path file = test::ToFsPath(AppendPath(
      GetParentFolder(Preferences::Default().GetPrivateFilePath()), "trelvin.viewer.cid"));
  std::ofstream(file, std::ios::trunc) << "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f0\n";
  EXPECT_EQ(identifier(), "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f0");
  // A broken identifier is replaced by a new one, unlike the first.
  for (const char* broken :
       {"0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0fg", "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f",
        "0f1e2d3c-4b5a-4978-8695+a4b3c2d1e0f0"}) {
    std::ofstream(file, std::ios::trunc) << broken << "\n";
    const std::string fresh = identifier();
    EXPECT_TRUE(std::regex_match(fresh, uuid) && fresh != first) << broken << " gave " << fresh;
  }
  // The viewer library cuts a copy to the buffer, ending it in NUL, and
  // refuses null and reused arguments.
  TRStringRef string = nullptr;
  ASSERT_EQ(TRStringCreate(&string), TRResultSuccess);
  ASSERT_EQ(TRPreferencesGetOrCreateCID(&string), TRResultSuccess);
  std::string cut(9, 'x');
  size_t copied = 0;
  EXPECT_EQ(TRStringGetUTF8(string, 8, &cut[0], &copied), TRResultSuccess);
  EXPECT_EQ(cut, identifier().substr(0, 8) + '\0');
  EXPECT_EQ(copied, 8u);
  EXPECT_EQ(TRStringCreate(&string), TRResultInvalidInput);
  EXPECT_EQ(TRStringGetUTF8Length(string, nullptr), TRResultNullArgument);
  EXPECT_EQ(TRStringRelease(&string), TRResultSuccess);
  EXPECT_EQ(TRPreferencesGetOrCreateCID(&string), TRResultNullArgument);
  EXPECT_EQ(TRPreferencesGetXAxisColor(nullptr), TRResultNullArgument);
}

// An older version's values: listed keys of each kind, a colour tray with a
// gap, unlisted keys, and keys of versions that are not imported.
const struct {
  const char* key;
  Variant value;  // empty: not in the older files
  bool imported;
} kOlder[] = {
    {"AutosaveInterval", Variant(12.5), true},
    {"PresentationScreen", Variant(3), true},
    {"ColorChooserImagePath", Variant(velmar_ustring("C:/Images/wheel.png")), true},
    {"FilterScalesComboBox", Variant(true), true},
    {"DoAutosave", Variant(), false},
    {"ColorTray0", Variant(10), true},
    {"ColorTray1", Variant(11), true},
    {"ColorTray3", Variant(13), false},
    {"draft_mode", Variant(true), false},
};

TEST_F(AppPreferences, FirstRunImportsTheListedKeysOfTheNewestEarlierVersion) {
  SaveVersion(21, [](Preferences& old) { old.WriteBool(VELMAR_U("DoAutosave"), true); });
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
  // Once current files exist, an earlier version is imported only on
  // request, over what is set.
  prefs.Save();
  Preferences::Destroy();
  SaveVersion(25, [](Preferences& old) { old.WriteBool(VELMAR_U("Backup"), true); });
  EXPECT_FALSE(Preferences::Default().ContainsItem(VELMAR_U("Backup")));
  Preferences::Default().WriteInt(VELMAR_U("PresentationScreen"), 1);
  EXPECT_EQ(Preferences::Default().ImportPreviousVersionSettings(), 25);
  EXPECT_TRUE(Preferences::Default().ReadBool(VELMAR_U("Backup"), false));
  EXPECT_EQ(Preferences::Default().ReadInt(VELMAR_U("PresentationScreen"), 0), 3);
}

}  // namespace
}  // namespace folian
