// The preference keys and default colours: exported constants built when
// the library loads.
#include <cstdint>
#include <new>

#include "FolianUtils/preferences.h"
#include "prefs/preference_constants_internal.h"

namespace folian {
namespace {

using velmar::utils::CColor;
using velmar::utils::velmar_ustring;

#define FOLIAN_PREFERENCE_KEYS(X)                                                \
  X(kPathVariableFLAppData, "{FL_APPDATA}")                                      \
  X(kPathVariableFLUserData, "{FL_USERDATA}")                                    \
  X(kStartupTmpltModeStr, "TemplateMode")                                        \
  X(kLastOpenFilesOnCloseStr, "LastOpenFilesOnClose")                            \
  X(kNewDocModeStr, "NewDocMode")                                                \
  X(kStartupTmpltSpecStr, "TemplateSpec")                                        \
  X(kDumpFontListKey, "DumpFontList")                                            \
  X(kColorChooserImagePath, "ColorChooserImagePath")                             \
  X(kLastStartupTabSelected_WIN, "LastStartupTabSelectedIndex")                  \
  X(kColorTrayPrefix, "ColorTray%d")                                             \
  X(kLastCultureRan_WIN, "last_culture_ran")                                     \
  X(kCultureOverride_WIN, "QACulture")                                           \
  X(kShowCultureOverride_WIN, "QAShowCulturePrefix")                             \
  X(kFilterScalesComboBox_WIN, "FilterScalesComboBox")                           \
  X(kStubPDFDrawing_WIN, "stub_pdf_drawing")                                     \
  X(kRecentFilesList_WIN, "MRU_LIST")                                            \
  X(kMainWindowPlacement_WIN, "MAINFORM_WINDOWPLACEMENT")                        \
  X(kCascadeMainWindow, "CascadeMainWindow")                                     \
  X(kMainFrameSize, "MainFrameSize")                                             \
  X(kDefaultTemplateFile, "DefaultTemplateFile")                                 \
  X(kDefaultTemplateFolder, "DefaultTemplateFolder")                             \
  X(kDefaultStartupMode, "DefaultStartupMode")                                   \
  X(kLastStartupTabSelected, "LastStartupTabSelected")                           \
  X(kLastStyleFolderDisplayed, "LastStyleFolderDisplayed")                       \
  X(kShowDebugMenu_MAC, "ShowDebugMenu")                                         \
  X(kHighlightColorSharedLayerStr, "HighlightColorSharedLayer")                  \
  X(kHighlightColorNonsharedLayerStr, "HighlightColorNonsharedLayer")            \
  X(kHighlightColorLockedEntityStr, "HighlightColorLockedEntity")                \
  X(kLastScrapbookFile, "LastScrapbookFile")                                     \
  X(kLastScrapbookPage, "LastScrapbookPage")                                     \
  X(kLastExportFormat, "LastExportFormat")                                       \
  X(kRecentTemplatesList, "RecentTemplates")                                     \
  X(kShowNewVersionMessage, "ShowNewVersionMessage")                             \
  X(kShowWelcomeWindow, "ShowWelcomeWindow")                                     \
  X(kBackupPrefsStr, "Backup")                                                   \
  X(kAutoSavePrefsStr, "DoAutosave")                                             \
  X(kAutoSaveIntervalPrefsStr, "AutosaveInterval")                               \
  X(kTemplateFoldersCountPrefsStr, "TemplateFoldersCount")                       \
  X(kTemplateFolderPrefixPrefsStr, "TemplateFolders_")                           \
  X(kScrapbookFoldersCountPrefsStr, "ScrapbookFoldersCount")                     \
  X(kScrapbookFolderPrefixPrefsStr, "ScrapbookFolders_")                         \
  X(kPatternFillFoldersCountPrefsStr, "PatternFillFoldersCount")                 \
  X(kPatternFillFolderPrefixPrefsStr, "PatternFillFolders_")                     \
  X(kPresentationScreenEnum, "PresentationScreen")                               \
  X(kAutoUpdateTrelvinModels, "auto_update")                                     \
  X(kEditTrelvinModels, "edit_trv_models")                                       \
  X(kTwoFingerPan, "two_finger_pan")                                             \
  X(kDraftMode, "draft_mode")                                                    \
  X(kDraftModeOptions, "draft_mode_options")                                     \
  X(kReDrawDelayInSeconds, "redraw_delay_in_seconds")                            \
  X(kDraftModeBehavior, "draft_mode_behavior")                                   \
  X(kUseSkia, "use_skia")                                                        \
  X(kSkiaRTFLoggingEnabled, "skia_rtf_logging_enabled")                          \
  X(kImageEditorApplication, "ImageEditorApplication")                           \
  X(kTextEditorApplication, "TextEditorApplication")                             \
  X(kTableEditorApplication, "TableEditorApplication")                           \
  X(kUniqueUserGUIDStr, "AppGUID")                                               \
  X(kLastPromptedForUpdateStr, "LastPromptForUpdate")                            \
  X(kScrollSpeedCoefficient, "ScrollSpeedCoefficient")                           \
  X(kStyleInspectorShowThumbnails, "StyleInspectorShowThumbnails")               \
  X(kPageInspectorShowThumbnails, "PageInspectorShowThumbnails")                 \
  X(kPatternInspectorShowThumbnails, "PatternInspectorShowThumbnails")           \
  X(kTrvModelInspectorCollapseCamera, "TrvModelInspectorCollapseCamera")         \
  X(kTrvModelInspectorCollapseEffects, "TrvModelInspectorCollapseEffects")       \
  X(kTrvModelInspectorCollapseStyle, "TrvModelInspectorCollapseStyle")           \
  X(kTrvModelInspectorCollapseTags, "TrvModelInspectorCollapseTags")             \
  X(kShortcutsStr, "shortcuts")                                                  \
  X(kNamedScalesStr, "namedScales")                                              \
  X(kTrvNewRendererCount, "TrvNewRendererCount")                                 \
  X(kWarningEntitiesCannotGroup, "warning_entities_cannot_group")                \
  X(kWarningLayerHasUnselectableEntity, "warning_layer_has_unselectable_entity") \
  X(kWarningCouldNotPreserveLayer, "warning_could_not_preserve_layer")           \
  X(kWarningPastedOutsideGroup, "warning_pasted_outside_group")                  \
  X(kWarningPastedTrvOutsideGroup, "warning_pasted_trv_outside_group")           \
  X(kWarningPastedOnHiddenLayer, "warning_pasted_on_hidden_layer")               \
  X(kWarningEditGroupLayer, "warning_edit_group_layer")                          \
  X(kWarningMoveEntitySplitGroup, "warning_move_entity_split_group")             \
  X(kWarningShareLayerSplitGroup, "warning_share_layer_split_group")             \
  X(kWarningDeleteLayerSplitGroup, "warning_delete_layer_split_group")           \
  X(kWarningUnableToRenderModels, "warning_unable_to_render_models")             \
  X(kWarningUnableToPickTrvModels, "warning_unable_pick_trv_models")             \
  X(kWarnOnOlderFileOpen, "read_old_file_version_warning")                       \
  X(kWarnOnNewerFileOpen, "read_new_file_version_warning")                       \
  X(kWarnOnVectorRender, "tr_render_vector_warning")                             \
  X(kWarnOnHybridRender, "tr_render_hybrid_warning")                             \
  X(kWarningSlugMayHaveCrashed, "warning_slug_may_have_crashed")

enum KeyIndex {
#define X(name, text) name##Index,
  FOLIAN_PREFERENCE_KEYS(X)
#undef X
      kKeyCount
};

const char* const kKeyTexts[kKeyCount] = {
#define X(name, text) text,
    FOLIAN_PREFERENCE_KEYS(X)
#undef X
};

struct Constants {
  Constants() {
    for (int i = 0; i < kKeyCount; ++i) keys[i] = kKeyTexts[i];
  }
  velmar_ustring keys[kKeyCount];
  // Built from fractions: 0.5 truncates to 127, 0.075 to 19.
  CColor highlightSharedLayer{0.5, 0.0, 0.075, 0.5};
  CColor highlightNonsharedLayer{0.0, 0.5, 1.0, 0.5};
  CColor highlightLockedEntity{1.0, 0.0, 0.0, 0.5};
};

// Constant-initialised storage, so the exported references are bound before
// any code runs and the objects are built in a known order at load.
union Storage {
  constexpr Storage() : none() {}
  ~Storage() {
    if (built) constants.~Constants();
  }
  char none;
  Constants constants;
  static bool built;
};
bool Storage::built = false;

Storage g_storage;

// In the static build the startup object may not be linked in.
constexpr CColor Opaque(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return CColor(red, green, blue, std::uint8_t{255});
}

const bool g_builtHere = (internal::BuildPreferenceConstants(), true);

}  // namespace

namespace internal {

void BuildPreferenceConstants() {
  if (Storage::built) return;
  ::new (static_cast<void*>(&g_storage.constants)) Constants();
  Storage::built = true;
}

}  // namespace internal

#define X(name, text) \
  const velmar_ustring& Preferences::name = g_storage.constants.keys[name##Index];
FOLIAN_PREFERENCE_KEYS(X)
#undef X

const CColor& Preferences::kDefaultHighlightColorSharedLayer =
    g_storage.constants.highlightSharedLayer;
const CColor& Preferences::kDefaultHighlightColorNonsharedLayer =
    g_storage.constants.highlightNonsharedLayer;
const CColor& Preferences::kDefaultHighlightColorLockedEntity =
    g_storage.constants.highlightLockedEntity;

const bool Preferences::kAutoUpdateTrelvinModelsDefault = true;
const bool Preferences::kEditTrelvinModelsDefault = true;
const bool Preferences::kTwoFingerPanDefault = false;
const bool Preferences::kDraftModeDefault = false;
const int Preferences::kDraftModeOptionsDefault = 2;
const double Preferences::kReDrawDelayInSecondsDefault = 0.5;
const int Preferences::kDraftModeBehaviorDefault = 1;
const bool Preferences::kUseSkiaDefault = true;
const bool Preferences::kSkiaRTFLoggingEnabledDefault = false;

// The viewer library's built-in colours until a Preferences is constructed.
CColor Preferences::s_xAxisColor = Opaque(255, 0, 0);
CColor Preferences::s_yAxisColor = Opaque(0, 255, 0);
CColor Preferences::s_ppColor = Opaque(255, 0, 255);
float Preferences::s_defaultScrollSpeedCoefficient = 4.0f;
Preferences* Preferences::s_instance = nullptr;

}  // namespace folian
