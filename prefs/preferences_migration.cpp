// Import of an earlier version's settings on the first run of a new one.
#include "FolianUtils/preferences.h"
#include "FolianUtils/support_folders.h"
#include "FolianUtils/temp_preferences.h"
#include "base/version.h"

namespace folian {
namespace {

using velmar::utils::velmar_ustring;

// GetVersionForUpgrade reports nothing older.
using velmar::base::kOldestUpgradeVersion;

enum class ValueKind { kBool, kInt, kDouble, kString };

struct ImportedKey {
  const velmar_ustring& key;
  ValueKind kind;
};

// The keys copied before the colour tray, in the order they are copied.
const ImportedKey kImportedKeys[] = {
    {Preferences::kAutoUpdateTrelvinModels, ValueKind::kBool},
    {Preferences::kAutoSaveIntervalPrefsStr, ValueKind::kDouble},
    {Preferences::kBackupPrefsStr, ValueKind::kBool},
    {Preferences::kAutoSavePrefsStr, ValueKind::kBool},
    {Preferences::kHighlightColorSharedLayerStr, ValueKind::kInt},
    {Preferences::kHighlightColorNonsharedLayerStr, ValueKind::kInt},
    {Preferences::kPresentationScreenEnum, ValueKind::kInt},
    {Preferences::kShowNewVersionMessage, ValueKind::kBool},
    {Preferences::kImageEditorApplication, ValueKind::kString},
    {Preferences::kTableEditorApplication, ValueKind::kString},
    {Preferences::kTextEditorApplication, ValueKind::kString},
    {Preferences::kStyleInspectorShowThumbnails, ValueKind::kBool},
    {Preferences::kPageInspectorShowThumbnails, ValueKind::kBool},
    {Preferences::kPatternInspectorShowThumbnails, ValueKind::kBool},
    {Preferences::kWarningEntitiesCannotGroup, ValueKind::kBool},
    {Preferences::kWarningLayerHasUnselectableEntity, ValueKind::kBool},
    {Preferences::kWarningCouldNotPreserveLayer, ValueKind::kBool},
    {Preferences::kWarningPastedOutsideGroup, ValueKind::kBool},
    {Preferences::kWarningPastedTrvOutsideGroup, ValueKind::kBool},
    {Preferences::kWarningPastedOnHiddenLayer, ValueKind::kBool},
    {Preferences::kWarningMoveEntitySplitGroup, ValueKind::kBool},
    {Preferences::kWarningShareLayerSplitGroup, ValueKind::kBool},
    {Preferences::kWarningDeleteLayerSplitGroup, ValueKind::kBool},
    {Preferences::kWarningUnableToRenderModels, ValueKind::kBool},
    {Preferences::kWarnOnVectorRender, ValueKind::kBool},
    {Preferences::kWarnOnHybridRender, ValueKind::kBool},
    {Preferences::kWarnOnOlderFileOpen, ValueKind::kBool},
    {Preferences::kWarnOnNewerFileOpen, ValueKind::kBool},
    {Preferences::kEditTrelvinModels, ValueKind::kBool},
    {Preferences::kColorChooserImagePath, ValueKind::kString},
};

void CopyKey(Preferences& from, Preferences& to, const velmar_ustring& key, ValueKind kind) {
  if (!from.ContainsItem(key)) return;
  switch (kind) {
    case ValueKind::kBool:
      to.WriteBool(key, from.ReadBool(key, false));
      break;
    case ValueKind::kInt:
      to.WriteInt(key, from.ReadInt(key, 0));
      break;
    case ValueKind::kDouble:
      to.WriteDouble(key, from.ReadDouble(key, 0.0));
      break;
    case ValueKind::kString:
      to.WriteString(key, from.ReadString(key, velmar_ustring()));
      break;
  }
}

}  // namespace

void Preferences::LoadFromJsonVersion(int version) {
  TempPreferences previous(version);
  for (const ImportedKey& entry : kImportedKeys) {
    CopyKey(previous, *this, entry.key, entry.kind);
  }
  // The tray is copied while its keys are contiguous from ColorTray0.
  for (int n = 0;; ++n) {
    velmar_ustring key;
    key.Format(kColorTrayPrefix, n);
    if (!previous.ContainsItem(key)) break;
    WriteInt(key, previous.ReadInt(key, 0));
  }
  CopyKey(previous, *this, kFilterScalesComboBox_WIN, ValueKind::kBool);
}

void Preferences::LoadFromPreviousVersion() { ImportPreviousVersionSettings(); }

int Preferences::ImportPreviousVersionSettings() {
  const int version = GetVersionForUpgrade();
  if (version < kOldestUpgradeVersion) return -1;
  LoadFromJsonVersion(version);
  return version;
}

}  // namespace folian
