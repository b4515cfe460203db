// The type the library fixes for each application preference key that has
// a typed accessor: what an import copies and what a tool may check.
#pragma once

#include <vector>

#include "FolianUtils/preferences.h"
#include "FolianUtils/ustring.h"

namespace folian {

enum class PreferenceKind { kBool, kInt, kDouble, kString };

struct TypedPreferenceKey {
  const velmar::utils::velmar_ustring& key;
  PreferenceKind kind;
};

// Every key whose type the library fixes; the colour tray follows them.
inline const std::vector<TypedPreferenceKey>& TypedPreferenceKeys() {
  using P = Preferences;
  static const std::vector<TypedPreferenceKey> keys = {
      {P::kAutoUpdateTrelvinModels, PreferenceKind::kBool},
      {P::kEditTrelvinModels, PreferenceKind::kBool},
      {P::kTwoFingerPan, PreferenceKind::kBool},
      {P::kDraftMode, PreferenceKind::kBool},
      {P::kDraftModeOptions, PreferenceKind::kInt},
      {P::kDraftModeBehavior, PreferenceKind::kInt},
      {P::kReDrawDelayInSeconds, PreferenceKind::kDouble},
      {P::kScrollSpeedCoefficient, PreferenceKind::kDouble},
      {P::kUseSkia, PreferenceKind::kBool},
      {P::kSkiaRTFLoggingEnabled, PreferenceKind::kBool},
      {P::kHighlightColorSharedLayerStr, PreferenceKind::kInt},
      {P::kHighlightColorNonsharedLayerStr, PreferenceKind::kInt},
      {P::kHighlightColorLockedEntityStr, PreferenceKind::kInt},
      {P::kBackupPrefsStr, PreferenceKind::kBool},
      {P::kAutoSavePrefsStr, PreferenceKind::kBool},
      {P::kAutoSaveIntervalPrefsStr, PreferenceKind::kDouble},
      {P::kPresentationScreenEnum, PreferenceKind::kInt},
      {P::kShowNewVersionMessage, PreferenceKind::kBool},
      {P::kImageEditorApplication, PreferenceKind::kString},
      {P::kTextEditorApplication, PreferenceKind::kString},
      {P::kTableEditorApplication, PreferenceKind::kString},
      {P::kColorChooserImagePath, PreferenceKind::kString},
      {P::kFilterScalesComboBox_WIN, PreferenceKind::kBool},
      {P::kStyleInspectorShowThumbnails, PreferenceKind::kBool},
      {P::kPageInspectorShowThumbnails, PreferenceKind::kBool},
      {P::kPatternInspectorShowThumbnails, PreferenceKind::kBool},
      {P::kWarningEntitiesCannotGroup, PreferenceKind::kBool},
      {P::kWarningLayerHasUnselectableEntity, PreferenceKind::kBool},
      {P::kWarningCouldNotPreserveLayer, PreferenceKind::kBool},
      {P::kWarningPastedOutsideGroup, PreferenceKind::kBool},
      {P::kWarningPastedTrvOutsideGroup, PreferenceKind::kBool},
      {P::kWarningPastedOnHiddenLayer, PreferenceKind::kBool},
      {P::kWarningMoveEntitySplitGroup, PreferenceKind::kBool},
      {P::kWarningShareLayerSplitGroup, PreferenceKind::kBool},
      {P::kWarningDeleteLayerSplitGroup, PreferenceKind::kBool},
      {P::kWarningUnableToRenderModels, PreferenceKind::kBool},
      {P::kWarnOnOlderFileOpen, PreferenceKind::kBool},
      {P::kWarnOnNewerFileOpen, PreferenceKind::kBool},
      {P::kWarnOnVectorRender, PreferenceKind::kBool},
      {P::kWarnOnHybridRender, PreferenceKind::kBool},
  };
  return keys;
}

// The kind the library fixes for `key`; false when it fixes none.
inline bool FindPreferenceKind(const velmar::utils::velmar_ustring& key, PreferenceKind& kind) {
  for (const TypedPreferenceKey& entry : TypedPreferenceKeys()) {
    if (entry.key == key) {
      kind = entry.kind;
      return true;
    }
  }
  return false;
}

}  // namespace folian
