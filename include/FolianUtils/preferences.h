// folian::Preferences: the application's settings over the preference store,
// with the vocabulary of keys, typed accessors and their defaults.
#pragma once

#include "FolianUtils/color.h"
#include "FolianUtils/export.h"
#include "FolianUtils/preference_store.h"
#include "FolianUtils/ustring.h"

namespace folian {

class FOLIAN_API Preferences : public utils::Preferences {
 public:
  using velmar_ustring = velmar::utils::velmar_ustring;
  using CColor = velmar::utils::CColor;

  // Stored as an int under kDraftModeBehavior; other values pass through.
  enum FLDraftModeBehavior : int {
    kDraftModeAlwaysOn = 0,
    kDraftModeStandard = 1,
  };

  // The process-wide settings of the current version, created on first use;
  // on the first run of a version it imports the newest earlier version's
  // settings. Not safe against a racing first call.
  static Preferences& Default();
  // Deletes the singleton without saving; the next Default() loads afresh.
  static void Destroy();

  Preferences(const Preferences& other);
  Preferences& operator=(const Preferences& other);

  bool GetAutoUpdateTrelvinModels();
  // Writes only when the value differs from what is read (default true).
  void SetAutoUpdateTrelvinModels(bool value);
  bool GetEditTrelvinModels();
  void SetEditTrelvinModels(bool value);
  bool GetTwoFingerPan();
  void SetTwoFingerPan(bool value);
  bool GetDraftMode();
  void SetDraftMode(bool value);
  int GetDraftModeOptions();
  void SetDraftModeOptions(int value);
  FLDraftModeBehavior GetDraftModeBehavior();
  void SetDraftModeBehavior(FLDraftModeBehavior value);
  bool GetDraftModeAlwaysOn();
  double GetReDrawDelay();
  void SetReDrawDelay(double seconds);
  float GetScrollSpeedCoefficient();
  void SetScrollSpeedCoefficient(float value);
  bool UseSkia();
  void SetUseSkia(bool value);
  // Both act on Default(), whatever object they are called on.
  bool SkiaRTFLoggingEnabled();
  void SetSkiaRTFLoggingEnabled(bool value);

  // The locked-entity flag wins over the shared-layer flag.
  CColor GetSelectionHighlightColor(bool sharedLayer, bool lockedEntity);
  void SetSelectionHighlightColor(const CColor& color, bool sharedLayer, bool lockedEntity);
  void ResetSelectionHighlightColor(bool sharedLayer, bool lockedEntity);

  // The viewer library's colours as of the last construction.
  static CColor GetXAxisColor();
  static CColor GetYAxisColor();
  static CColor GetParallelPerpendicularColor();

  // Copies the import list from the newest earlier version (25 down to 18)
  // whose data folder exists into this store, in memory. Returns that
  // version, or -1 when there is none and nothing was imported.
  int ImportPreviousVersionSettings();

  // The viewer library's client identifier; empty when it has none.
  velmar_ustring GetOrCreateUniqueCID() const;

  // Default of GetScrollSpeedCoefficient while the key is absent.
  static float s_defaultScrollSpeedCoefficient;

  static const bool kAutoUpdateTrelvinModelsDefault;
  static const bool kEditTrelvinModelsDefault;
  static const bool kTwoFingerPanDefault;
  static const bool kDraftModeDefault;
  static const int kDraftModeOptionsDefault;
  static const double kReDrawDelayInSecondsDefault;
  static const int kDraftModeBehaviorDefault;
  static const bool kUseSkiaDefault;
  static const bool kSkiaRTFLoggingEnabledDefault;
  static const CColor& kDefaultHighlightColorSharedLayer;
  static const CColor& kDefaultHighlightColorNonsharedLayer;
  static const CColor& kDefaultHighlightColorLockedEntity;

  // Keys of the preference files (and two path variables, three key
  // prefixes and the colour tray's key format). Built when the library
  // loads.
  static const velmar_ustring& kPathVariableFLAppData;
  static const velmar_ustring& kPathVariableFLUserData;
  static const velmar_ustring& kStartupTmpltModeStr;
  static const velmar_ustring& kLastOpenFilesOnCloseStr;
  static const velmar_ustring& kNewDocModeStr;
  static const velmar_ustring& kStartupTmpltSpecStr;
  static const velmar_ustring& kDumpFontListKey;
  static const velmar_ustring& kColorChooserImagePath;
  static const velmar_ustring& kLastStartupTabSelected_WIN;
  static const velmar_ustring& kColorTrayPrefix;
  static const velmar_ustring& kLastCultureRan_WIN;
  static const velmar_ustring& kCultureOverride_WIN;
  static const velmar_ustring& kShowCultureOverride_WIN;
  static const velmar_ustring& kFilterScalesComboBox_WIN;
  static const velmar_ustring& kStubPDFDrawing_WIN;
  static const velmar_ustring& kRecentFilesList_WIN;
  static const velmar_ustring& kMainWindowPlacement_WIN;
  static const velmar_ustring& kCascadeMainWindow;
  static const velmar_ustring& kMainFrameSize;
  static const velmar_ustring& kDefaultTemplateFile;
  static const velmar_ustring& kDefaultTemplateFolder;
  static const velmar_ustring& kDefaultStartupMode;
  static const velmar_ustring& kLastStartupTabSelected;
  static const velmar_ustring& kLastStyleFolderDisplayed;
  static const velmar_ustring& kShowDebugMenu_MAC;
  static const velmar_ustring& kHighlightColorSharedLayerStr;
  static const velmar_ustring& kHighlightColorNonsharedLayerStr;
  static const velmar_ustring& kHighlightColorLockedEntityStr;
  static const velmar_ustring& kLastScrapbookFile;
  static const velmar_ustring& kLastScrapbookPage;
  static const velmar_ustring& kLastExportFormat;
  static const velmar_ustring& kRecentTemplatesList;
  static const velmar_ustring& kShowNewVersionMessage;
  static const velmar_ustring& kShowWelcomeWindow;
  static const velmar_ustring& kBackupPrefsStr;
  static const velmar_ustring& kAutoSavePrefsStr;
  static const velmar_ustring& kAutoSaveIntervalPrefsStr;
  static const velmar_ustring& kTemplateFoldersCountPrefsStr;
  static const velmar_ustring& kTemplateFolderPrefixPrefsStr;
  static const velmar_ustring& kScrapbookFoldersCountPrefsStr;
  static const velmar_ustring& kScrapbookFolderPrefixPrefsStr;
  static const velmar_ustring& kPatternFillFoldersCountPrefsStr;
  static const velmar_ustring& kPatternFillFolderPrefixPrefsStr;
  static const velmar_ustring& kPresentationScreenEnum;
  static const velmar_ustring& kAutoUpdateTrelvinModels;
  static const velmar_ustring& kEditTrelvinModels;
  static const velmar_ustring& kTwoFingerPan;
  static const velmar_ustring& kDraftMode;
  static const velmar_ustring& kDraftModeOptions;
  static const velmar_ustring& kReDrawDelayInSeconds;
  static const velmar_ustring& kDraftModeBehavior;
  static const velmar_ustring& kUseSkia;
  static const velmar_ustring& kSkiaRTFLoggingEnabled;
  static const velmar_ustring& kImageEditorApplication;
  static const velmar_ustring& kTextEditorApplication;
  static const velmar_ustring& kTableEditorApplication;
  static const velmar_ustring& kUniqueUserGUIDStr;
  static const velmar_ustring& kLastPromptedForUpdateStr;
  static const velmar_ustring& kScrollSpeedCoefficient;
  static const velmar_ustring& kStyleInspectorShowThumbnails;
  static const velmar_ustring& kPageInspectorShowThumbnails;
  static const velmar_ustring& kPatternInspectorShowThumbnails;
  static const velmar_ustring& kTrvModelInspectorCollapseCamera;
  static const velmar_ustring& kTrvModelInspectorCollapseEffects;
  static const velmar_ustring& kTrvModelInspectorCollapseStyle;
  static const velmar_ustring& kTrvModelInspectorCollapseTags;
  static const velmar_ustring& kShortcutsStr;
  static const velmar_ustring& kNamedScalesStr;
  static const velmar_ustring& kTrvNewRendererCount;
  static const velmar_ustring& kWarningEntitiesCannotGroup;
  static const velmar_ustring& kWarningLayerHasUnselectableEntity;
  static const velmar_ustring& kWarningCouldNotPreserveLayer;
  static const velmar_ustring& kWarningPastedOutsideGroup;
  static const velmar_ustring& kWarningPastedTrvOutsideGroup;
  static const velmar_ustring& kWarningPastedOnHiddenLayer;
  static const velmar_ustring& kWarningEditGroupLayer;
  static const velmar_ustring& kWarningMoveEntitySplitGroup;
  static const velmar_ustring& kWarningShareLayerSplitGroup;
  static const velmar_ustring& kWarningDeleteLayerSplitGroup;
  static const velmar_ustring& kWarningUnableToRenderModels;
  static const velmar_ustring& kWarningUnableToPickTrvModels;
  static const velmar_ustring& kWarnOnOlderFileOpen;
  static const velmar_ustring& kWarnOnNewerFileOpen;
  static const velmar_ustring& kWarnOnVectorRender;
  static const velmar_ustring& kWarnOnHybridRender;
  static const velmar_ustring& kWarningSlugMayHaveCrashed;

 protected:
  // The current version's store; imports an earlier version's settings
  // when neither current file exists yet.
  Preferences();
  // The store of `version`'s files; never imports.
  explicit Preferences(int version);
  ~Preferences() override;

  static Preferences* s_instance;

 private:
  void LoadFromPreviousVersion();
  void LoadFromJsonVersion(int version);
  static void TakeAxisColors();

  static CColor s_xAxisColor;
  static CColor s_yAxisColor;
  static CColor s_ppColor;
};

}  // namespace folian
