#include <gtest/gtest.h>

#include <cstdint>

#include "FolianUtils/preferences.h"
#include "FolianUtils/temp_preferences.h"
#include "environment/paths_internal.h"
#include "prefs/preferences_test_support.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

using test::Rgba;

class PreferencesImport : public test::PreferencesFixture {};

// An older version with one value of each kind in the import list, some
// keys left out, a gap in the colour tray and keys that are not imported.
void FillOlderVersion(Preferences& old) {
  old.WriteBool(VELMAR_U("Backup"), true);
  old.WriteDouble(VELMAR_U("AutosaveInterval"), 12.5);
  old.WriteBool(VELMAR_U("auto_update"), false);
  old.WriteBool(VELMAR_U("edit_trv_models"), false);
  old.WriteInt(VELMAR_U("HighlightColorSharedLayer"), -1);
  old.WriteInt(VELMAR_U("PresentationScreen"), 3);
  old.WriteString(VELMAR_U("ImageEditorApplication"), VELMAR_U("C:/Tools/Paint.exe"));
  old.WriteString(VELMAR_U("ColorChooserImagePath"), VELMAR_U("C:/Images/wheel.png"));
  old.WriteBool(VELMAR_U("warning_unable_to_render_models"), false);
  old.WriteBool(VELMAR_U("read_new_file_version_warning"), false);
  old.WriteBool(VELMAR_U("FilterScalesComboBox"), true);
  old.WriteInt(VELMAR_U("ColorTray0"), 10);
  old.WriteInt(VELMAR_U("ColorTray1"), 11);
  old.WriteInt(VELMAR_U("ColorTray3"), 13);
  // Not imported:
  old.WriteInt(VELMAR_U("HighlightColorLockedEntity"), 0x01020304);
  old.WriteBool(VELMAR_U("draft_mode"), true);
  old.WriteBool(VELMAR_U("warning_edit_group_layer"), false);
  old.WriteBool(VELMAR_U("use_skia"), false);
  old.WriteString(VELMAR_U("shortcuts"), VELMAR_U("ctrl+k"));
}

TEST_F(PreferencesImport, FirstRunImportsTheListedKeys) {
  SaveVersion(25, FillOlderVersion);
  Preferences& prefs = Preferences::Default();
  // The import stays in memory until saved.
  EXPECT_FALSE(FileExists(prefs.GetPrivateFilePath()) || FileExists(prefs.GetPublicFilePath()));
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("Backup"), false));
  EXPECT_DOUBLE_EQ(prefs.ReadDouble(VELMAR_U("AutosaveInterval"), 0.0), 12.5);
  EXPECT_FALSE(prefs.GetAutoUpdateTrelvinModels());
  EXPECT_FALSE(prefs.GetEditTrelvinModels());
  EXPECT_EQ(prefs.ReadInt(VELMAR_U("PresentationScreen"), 0), 3);
  EXPECT_EQ(prefs.ReadString(VELMAR_U("ImageEditorApplication"), VELMAR_U("")),
            "C:/Tools/Paint.exe");
  EXPECT_EQ(prefs.ReadString(VELMAR_U("ColorChooserImagePath"), VELMAR_U("")),
            "C:/Images/wheel.png");
  EXPECT_FALSE(prefs.ReadBool(VELMAR_U("warning_unable_to_render_models"), true));
  EXPECT_FALSE(prefs.ReadBool(VELMAR_U("read_new_file_version_warning"), true));
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("FilterScalesComboBox"), false));
  EXPECT_EQ(prefs.GetSelectionHighlightColor(true, false), Rgba(255, 255, 255, 255));

  // Absent in the older files, so absent here.
  for (const char* key : {"DoAutosave", "TableEditorApplication", "ShowNewVersionMessage",
                          "warning_pasted_on_hidden_layer"}) {
    EXPECT_FALSE(prefs.ContainsItem(velmar_ustring(key))) << key;
  }
  // The tray stops at its first gap.
  EXPECT_EQ(prefs.ReadInt(VELMAR_U("ColorTray0"), 0), 10);
  EXPECT_EQ(prefs.ReadInt(VELMAR_U("ColorTray1"), 0), 11);
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("ColorTray3")));
  // Keys outside the list keep their defaults.
  for (const char* key : {"HighlightColorLockedEntity", "draft_mode", "warning_edit_group_layer",
                          "use_skia", "shortcuts"}) {
    EXPECT_FALSE(prefs.ContainsItem(velmar_ustring(key))) << key;
  }
  EXPECT_EQ(prefs.GetSelectionHighlightColor(false, true), Rgba(255, 0, 0, 127));
  EXPECT_FALSE(prefs.GetDraftMode());
  EXPECT_TRUE(prefs.UseSkia());
  prefs.Save();
  Preferences::Destroy();
  EXPECT_TRUE(TempPreferences(26).ReadBool(VELMAR_U("Backup"), false));
}

TEST_F(PreferencesImport, OnlyTheNewestEarlierVersionIsRead) {
  SaveVersion(21, [](Preferences& old) {
    old.WriteBool(VELMAR_U("Backup"), true);
    old.WriteBool(VELMAR_U("DoAutosave"), true);
  });
  SaveVersion(23, [](Preferences& old) { old.WriteBool(VELMAR_U("Backup"), false); });
  Preferences& prefs = Preferences::Default();
  ASSERT_TRUE(prefs.ContainsItem(VELMAR_U("Backup")));
  EXPECT_FALSE(prefs.ReadBool(VELMAR_U("Backup"), true));
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("DoAutosave")));
}

TEST_F(PreferencesImport, VersionsOutsideTheUpgradeRangeAreIgnored) {
  for (const int version : {17, 0}) {
    SaveVersion(version, [](Preferences& old) { old.WriteBool(VELMAR_U("Backup"), true); });
  }
  EXPECT_FALSE(Preferences::Default().ContainsItem(VELMAR_U("Backup")));
}

TEST_F(PreferencesImport, NoAutomaticImportOnceCurrentFilesExist) {
  SaveVersion(26, [](Preferences& current) { current.SetDraftMode(true); });
  SaveVersion(24, [](Preferences& old) { old.WriteBool(VELMAR_U("Backup"), true); });
  Preferences& prefs = Preferences::Default();
  EXPECT_TRUE(prefs.GetDraftMode());
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("Backup")));

  // Asked for explicitly, the import runs and overwrites the listed keys.
  prefs.WriteBool(VELMAR_U("DoAutosave"), false);
  SaveVersion(24, [](Preferences& old) { old.WriteBool(VELMAR_U("DoAutosave"), true); });
  EXPECT_EQ(prefs.ImportPreviousVersionSettings(), 24);
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("Backup"), false));
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("DoAutosave"), false));
  EXPECT_TRUE(prefs.GetDraftMode());
}

TEST_F(PreferencesImport, AMissingOrEmptyEarlierVersionImportsNothing) {
  EXPECT_EQ(Preferences::Default().ImportPreviousVersionSettings(), -1);
  EXPECT_FALSE(Preferences::Default().ContainsItem(VELMAR_U("general")));
  Preferences::Destroy();
  { TempPreferences folders(22); }
  Preferences& prefs = Preferences::Default();
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("general")));
  EXPECT_EQ(prefs.ImportPreviousVersionSettings(), 22);
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("general")));
}

}  // namespace
}  // namespace folian
