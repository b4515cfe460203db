// Import of an earlier version's settings on the first run of a new one.
#include "FolianUtils/preferences.h"
#include "FolianUtils/support_folders.h"
#include "FolianUtils/temp_preferences.h"
#include "base/version.h"
#include "prefs/preference_kinds.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

// GetVersionForUpgrade reports nothing older.
using velmar::base::kOldestUpgradeVersion;

// The keys copied before the colour tray, in the order they are copied;
// their kinds come from TypedPreferenceKeys().
const velmar_ustring* const kImportedKeys[] = {
    &Preferences::kAutoUpdateTrelvinModels,
    &Preferences::kAutoSaveIntervalPrefsStr,
    &Preferences::kBackupPrefsStr,
    &Preferences::kAutoSavePrefsStr,
    &Preferences::kHighlightColorSharedLayerStr,
    &Preferences::kHighlightColorNonsharedLayerStr,
    &Preferences::kPresentationScreenEnum,
    &Preferences::kShowNewVersionMessage,
    &Preferences::kImageEditorApplication,
    &Preferences::kTableEditorApplication,
    &Preferences::kTextEditorApplication,
    &Preferences::kStyleInspectorShowThumbnails,
    &Preferences::kPageInspectorShowThumbnails,
    &Preferences::kPatternInspectorShowThumbnails,
    &Preferences::kWarningEntitiesCannotGroup,
    &Preferences::kWarningLayerHasUnselectableEntity,
    &Preferences::kWarningCouldNotPreserveLayer,
    &Preferences::kWarningPastedOutsideGroup,
    &Preferences::kWarningPastedTrvOutsideGroup,
    &Preferences::kWarningPastedOnHiddenLayer,
    &Preferences::kWarningMoveEntitySplitGroup,
    &Preferences::kWarningShareLayerSplitGroup,
    &Preferences::kWarningDeleteLayerSplitGroup,
    &Preferences::kWarningUnableToRenderModels,
    &Preferences::kWarnOnVectorRender,
    &Preferences::kWarnOnHybridRender,
    &Preferences::kWarnOnOlderFileOpen,
    &Preferences::kWarnOnNewerFileOpen,
    &Preferences::kEditTrelvinModels,
    &Preferences::kColorChooserImagePath,
};

void CopyKey(Preferences& from, Preferences& to, const velmar_ustring& key) {
  PreferenceKind kind = PreferenceKind::kString;
  if (!FindPreferenceKind(key, kind) || !from.ContainsItem(key)) return;
  switch (kind) {
    case PreferenceKind::kBool:
      to.WriteBool(key, from.ReadBool(key, false));
      break;
    case PreferenceKind::kInt:
      to.WriteInt(key, from.ReadInt(key, 0));
      break;
    case PreferenceKind::kDouble:
      to.WriteDouble(key, from.ReadDouble(key, 0.0));
      break;
    case PreferenceKind::kString:
      to.WriteString(key, from.ReadString(key, velmar_ustring()));
      break;
  }
}

}  // namespace

void Preferences::LoadFromJsonVersion(int version) {
  TempPreferences previous(version);
  for (const velmar_ustring* key : kImportedKeys) CopyKey(previous, *this, *key);
  // The tray is copied while its keys are contiguous from ColorTray0.
  for (int n = 0;; ++n) {
    velmar_ustring key;
    key.Format(kColorTrayPrefix, n);
    if (!previous.ContainsItem(key)) break;
    WriteInt(key, previous.ReadInt(key, 0));
  }
  CopyKey(previous, *this, kFilterScalesComboBox_WIN);
}

void Preferences::LoadFromPreviousVersion() { ImportPreviousVersionSettings(); }

int Preferences::ImportPreviousVersionSettings() {
  const int version = GetVersionForUpgrade();
  if (version < kOldestUpgradeVersion) return -1;
  LoadFromJsonVersion(version);
  return version;
}

}  // namespace folian
