#include "FolianUtils/preferences.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "FolianUtils/canvas_name.h"
#include "FolianUtils/temp_preferences.h"
#include "environment/paths_internal.h"
#include "prefs/preferences_test_support.h"

namespace folian {
namespace {

using velmar::utils::CColor;
using velmar::utils::velmar_ustring;

using test::Rgba;

class AppPreferences : public test::PreferencesFixture {};

TEST_F(AppPreferences, DefaultsWithEmptyFiles) {
  Preferences& prefs = Preferences::Default();
  EXPECT_FALSE(prefs.GetDraftMode());
  EXPECT_EQ(prefs.GetDraftModeOptions(), 2);
  EXPECT_EQ(prefs.GetDraftModeBehavior(), 1);
  EXPECT_FALSE(prefs.GetDraftModeAlwaysOn());
  EXPECT_DOUBLE_EQ(prefs.GetReDrawDelay(), 0.5);
  EXPECT_FLOAT_EQ(prefs.GetScrollSpeedCoefficient(), 4.0f);
  EXPECT_TRUE(prefs.UseSkia());
  EXPECT_FALSE(prefs.GetTwoFingerPan());
  EXPECT_TRUE(prefs.GetAutoUpdateTrelvinModels());
  EXPECT_TRUE(prefs.GetEditTrelvinModels());
  EXPECT_FALSE(prefs.SkiaRTFLoggingEnabled());
  EXPECT_EQ(GetCanvasName(), "skia");
  // The scroll default follows its writable static.
  const float saved = Preferences::s_defaultScrollSpeedCoefficient;
  Preferences::s_defaultScrollSpeedCoefficient = 2.0f;
  EXPECT_FLOAT_EQ(prefs.GetScrollSpeedCoefficient(), 2.0f);
  Preferences::s_defaultScrollSpeedCoefficient = saved;
}

TEST_F(AppPreferences, SettersRoundTripUnderTheirKeys) {
  Preferences& prefs = Preferences::Default();
  prefs.SetDraftMode(true);
  prefs.SetDraftModeOptions(7);
  prefs.SetReDrawDelay(1.25);
  prefs.SetScrollSpeedCoefficient(2.5f);
  prefs.SetTwoFingerPan(true);
  prefs.SetEditTrelvinModels(false);
  prefs.SetUseSkia(false);
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("draft_mode"), false));
  EXPECT_EQ(prefs.ReadInt(VELMAR_U("draft_mode_options"), 0), 7);
  EXPECT_DOUBLE_EQ(prefs.ReadDouble(VELMAR_U("redraw_delay_in_seconds"), 0.0), 1.25);
  EXPECT_DOUBLE_EQ(prefs.ReadDouble(VELMAR_U("ScrollSpeedCoefficient"), 0.0), 2.5);
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("two_finger_pan"), false));
  EXPECT_FALSE(prefs.ReadBool(VELMAR_U("edit_trv_models"), true));
  EXPECT_FLOAT_EQ(prefs.GetScrollSpeedCoefficient(), 2.5f);
  EXPECT_EQ(GetCanvasName(), "gdiplus");
}

TEST_F(AppPreferences, DraftModeAlwaysOnOnlyForZero) {
  Preferences& prefs = Preferences::Default();
  for (const int value : {0, 1, 2, -1, 99}) {
    prefs.SetDraftModeBehavior(static_cast<Preferences::FLDraftModeBehavior>(value));
    EXPECT_EQ(prefs.GetDraftModeBehavior(), value);
    EXPECT_EQ(prefs.GetDraftModeAlwaysOn(), value == 0) << value;
  }
}

TEST_F(AppPreferences, AutoUpdateWritesOnlyAChange) {
  Preferences& prefs = Preferences::Default();
  prefs.SetAutoUpdateTrelvinModels(true);
  EXPECT_FALSE(prefs.ContainsItem(VELMAR_U("auto_update")));
  prefs.SetAutoUpdateTrelvinModels(false);
  ASSERT_TRUE(prefs.ContainsItem(VELMAR_U("auto_update")));
  EXPECT_FALSE(prefs.ReadBool(VELMAR_U("auto_update"), true));
  prefs.SetAutoUpdateTrelvinModels(true);
  EXPECT_TRUE(prefs.ReadBool(VELMAR_U("auto_update"), false));
}

TEST_F(AppPreferences, HighlightColorKeysAndDefaults) {
  Preferences& prefs = Preferences::Default();
  const struct {
    bool shared;
    bool locked;
    CColor expected;
    const char* key;
  } cases[] = {
      {true, true, Rgba(255, 0, 0, 127), "HighlightColorLockedEntity"},
      {false, true, Rgba(255, 0, 0, 127), "HighlightColorLockedEntity"},
      {true, false, Rgba(127, 0, 19, 127), "HighlightColorSharedLayer"},
      {false, false, Rgba(0, 127, 255, 127), "HighlightColorNonsharedLayer"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(prefs.GetSelectionHighlightColor(c.shared, c.locked), c.expected) << c.key;
    prefs.SetSelectionHighlightColor(Rgba(1, 2, 3, 4), c.shared, c.locked);
    EXPECT_EQ(prefs.ReadInt(velmar_ustring(c.key), 0), 67305985) << c.key;
    EXPECT_EQ(prefs.GetSelectionHighlightColor(c.shared, c.locked), Rgba(1, 2, 3, 4));
    prefs.ResetSelectionHighlightColor(c.shared, c.locked);
    EXPECT_EQ(static_cast<std::uint32_t>(prefs.ReadInt(velmar_ustring(c.key), 0)),
              c.expected.Packed())
        << c.key;
  }
}

TEST_F(AppPreferences, HighlightColorPackingUsesAllBits) {
  Preferences& prefs = Preferences::Default();
  prefs.WriteInt(VELMAR_U("HighlightColorSharedLayer"), -1);
  EXPECT_EQ(prefs.GetSelectionHighlightColor(true, false), Rgba(255, 255, 255, 255));
  prefs.SetSelectionHighlightColor(Rgba(0x80, 0x00, 0x00, 0xFF), false, false);
  EXPECT_EQ(prefs.ReadInt(VELMAR_U("HighlightColorNonsharedLayer"), 0),
            static_cast<int>(0xFF000080u));
  EXPECT_EQ(prefs.GetSelectionHighlightColor(false, false), Rgba(0x80, 0x00, 0x00, 0xFF));
}

TEST_F(AppPreferences, AxisColorsComeFromTheViewerLibrary) {
  Preferences::Default();
  EXPECT_EQ(Preferences::GetXAxisColor(), Rgba(255, 0, 0, 255));
  EXPECT_EQ(Preferences::GetYAxisColor(), Rgba(0, 255, 0, 255));
  EXPECT_EQ(Preferences::GetParallelPerpendicularColor(), Rgba(255, 0, 255, 255));
}

TEST_F(AppPreferences, TemporaryStoresAreIndependentOfTheSingleton) {
  Preferences& singleton = Preferences::Default();
  TempPreferences temporary(26);
  // The singleton is the current version's store.
  EXPECT_EQ(temporary.GetPrivateFilePath(), singleton.GetPrivateFilePath());
  temporary.SetDraftMode(true);
  EXPECT_FALSE(singleton.GetDraftMode());
  singleton.SetDraftModeOptions(5);
  EXPECT_EQ(temporary.GetDraftModeOptions(), 2);

  TempPreferences copy(temporary);
  copy.SetDraftMode(false);
  EXPECT_TRUE(temporary.GetDraftMode());
  EXPECT_EQ(copy.GetPrivateFilePath(), temporary.GetPrivateFilePath());
}

TEST_F(AppPreferences, SkiaLoggingActsOnTheSingleton) {
  TempPreferences temporary(26);
  temporary.SetSkiaRTFLoggingEnabled(true);
  EXPECT_FALSE(temporary.ReadBool(VELMAR_U("skia_rtf_logging_enabled"), false));
  EXPECT_TRUE(Preferences::Default().ReadBool(VELMAR_U("skia_rtf_logging_enabled"), false));
  EXPECT_TRUE(temporary.SkiaRTFLoggingEnabled());
}

TEST_F(AppPreferences, DestroyDoesNotSave) {
  Preferences::Default().SetDraftMode(true);
  Preferences::Destroy();
  EXPECT_FALSE(Preferences::Default().GetDraftMode());
  Preferences::Default().SetDraftMode(true);
  Preferences::Default().Save();
  Preferences::Destroy();
  EXPECT_TRUE(Preferences::Default().GetDraftMode());
}

bool IsVersion4Uuid(const std::string& text) {
  if (text.size() != 36 || text[14] != '4') return false;
  if (std::string("89ab").find(text[19]) == std::string::npos) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash != (text[i] == '-')) return false;
    if (!dash && std::string("0123456789abcdef").find(text[i]) == std::string::npos) return false;
  }
  return true;
}

TEST_F(AppPreferences, ClientIdentifierIsKeptBesideThePreferenceFiles) {
  const std::string first = Preferences::Default().GetOrCreateUniqueCID().ToUTF8();
  EXPECT_TRUE(IsVersion4Uuid(first)) << first;
  Preferences::Destroy();
  EXPECT_EQ(Preferences::Default().GetOrCreateUniqueCID().ToUTF8(), first);
  EXPECT_EQ(TempPreferences(24).GetOrCreateUniqueCID().ToUTF8(), first);

  const std::filesystem::path file = test::ToFsPath(AppendPath(
      GetParentFolder(Preferences::Default().GetPrivateFilePath()), "trelvin.viewer.cid"));
  std::string stored;
  std::getline(std::ifstream(file), stored);
  EXPECT_EQ(stored, first);

  // The file decides: a replaced one is read, a removed one is made anew.
  std::ofstream(file, std::ios::trunc) << "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f0\n";
  EXPECT_EQ(Preferences::Default().GetOrCreateUniqueCID(), "0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f0");
  std::filesystem::remove(file);
  const std::string fresh = Preferences::Default().GetOrCreateUniqueCID().ToUTF8();
  EXPECT_TRUE(IsVersion4Uuid(fresh)) << fresh;
  EXPECT_NE(fresh, first);

  std::ofstream(file, std::ios::trunc) << "not an identifier\n";
  const std::string replaced = Preferences::Default().GetOrCreateUniqueCID().ToUTF8();
  EXPECT_TRUE(IsVersion4Uuid(replaced)) << replaced;
}

}  // namespace
}  // namespace folian
