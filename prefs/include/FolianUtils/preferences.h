/// @file
/// The application's settings over the preference store, folian::Preferences,
/// with the vocabulary of keys, typed accessors and their defaults.
///
/// @stable
#pragma once

#include "FolianUtils/color.h"
#include "FolianUtils/export.h"
#include "FolianUtils/preference_store.h"
#include "FolianUtils/ustring.h"

namespace folian {

/// The application's settings: the store "folian" with the vocabulary of
/// preference keys, typed accessors with their defaults, the highlight and
/// axis colours and the client identifier.
///
/// Use Default() for the current version and TempPreferences for another.
/// Not locked: Default() must first be called from one thread, and the object
/// is used by one thread at a time. Nothing reaches the files before Save().
///
/// @code{.cpp}
/// #include <iostream>
///
/// #include "FolianUtils/preferences.h"
///
/// folian::Preferences& prefs = folian::Preferences::Default();
/// prefs.SetDraftMode(true);
/// prefs.WriteInt(VELMAR_U("exportResolution"), 300);
/// std::cout << prefs.ReadInt(VELMAR_U("exportResolution"), 150) << "\n";  // 300
/// prefs.Save();  // both files; a failure keeps the values and says why
/// if (!prefs.LastSaveError().empty()) std::cerr << prefs.LastSaveError() << "\n";
/// folian::Preferences::Destroy();  // before the host unloads the library
/// @endcode
/// @stable
class FOLIAN_API Preferences : public utils::Preferences {
 public:
  /// The string of keys and values.
  using velmar_ustring = velmar::utils::velmar_ustring;
  /// The colour of the highlight and axis accessors.
  using CColor = velmar::utils::CColor;

  /// Stored as an int under kDraftModeBehavior; other values pass through.
  ///
  enum FLDraftModeBehavior : int {
    kDraftModeAlwaysOn = 0,  ///< draft mode is always on
    kDraftModeStandard = 1,  ///< draft mode follows the draft-mode setting (the default)
  };

  /// The process-wide settings of the current version, created on first use;
  /// on the first run of a version it imports the newest earlier version's
  /// settings. Not safe against a racing first call.
  static Preferences& Default();
  /// Deletes the singleton without saving; the next Default() loads afresh.
  static void Destroy();

  /// The same files and, until changed, the same values; the colours are not touched.
  Preferences(const Preferences& other);
  /// As the copy constructor.
  Preferences& operator=(const Preferences& other);

  /// Whether linked models update by themselves (kAutoUpdateTrelvinModels; default true).
  bool GetAutoUpdateTrelvinModels();
  /// Writes kAutoUpdateTrelvinModels only when the value differs from what
  /// is read (default true).
  void SetAutoUpdateTrelvinModels(bool value);
  /// Whether linked models may be edited (kEditTrelvinModels; default true).
  bool GetEditTrelvinModels();
  /// Writes kEditTrelvinModels.
  void SetEditTrelvinModels(bool value);
  /// Whether a two-finger gesture pans (kTwoFingerPan; default false).
  bool GetTwoFingerPan();
  /// Writes kTwoFingerPan.
  void SetTwoFingerPan(bool value);
  /// Whether draft mode is on (kDraftMode; default false).
  bool GetDraftMode();
  /// Writes kDraftMode.
  void SetDraftMode(bool value);
  /// The draft-mode option bits (kDraftModeOptions; default 2).
  int GetDraftModeOptions();
  /// Writes kDraftModeOptions.
  void SetDraftModeOptions(int value);
  /// The draft-mode behaviour (kDraftModeBehavior; default kDraftModeStandard); any stored int
  /// passes through.
  FLDraftModeBehavior GetDraftModeBehavior();
  /// Writes kDraftModeBehavior.
  void SetDraftModeBehavior(FLDraftModeBehavior value);
  /// Whether GetDraftModeBehavior() is kDraftModeAlwaysOn.
  bool GetDraftModeAlwaysOn();
  /// The delay before a redraw, in seconds (kReDrawDelayInSeconds; default 0.5).
  double GetReDrawDelay();
  /// Writes kReDrawDelayInSeconds, in seconds.
  void SetReDrawDelay(double seconds);
  /// The scroll speed factor (kScrollSpeedCoefficient; default s_defaultScrollSpeedCoefficient).
  float GetScrollSpeedCoefficient();
  /// Writes kScrollSpeedCoefficient (stored as a double).
  void SetScrollSpeedCoefficient(float value);
  /// Whether the Skia renderer is on (kUseSkia; default true); GetCanvasName() asks Default().
  bool UseSkia();
  /// Writes kUseSkia.
  void SetUseSkia(bool value);
  /// Whether rich-text rendering is logged (kSkiaRTFLoggingEnabled; default
  /// false). This and the setter act on Default(), whatever object they are
  /// called on.
  bool SkiaRTFLoggingEnabled();
  /// Writes kSkiaRTFLoggingEnabled into Default().
  void SetSkiaRTFLoggingEnabled(bool value);

  /// The selection highlight colour of a locked entity, or else of a shared
  /// or unshared layer (kHighlightColorLockedEntityStr,
  /// kHighlightColorSharedLayerStr, kHighlightColorNonsharedLayerStr); the
  /// locked-entity flag wins over the shared-layer flag.
  CColor GetSelectionHighlightColor(bool sharedLayer, bool lockedEntity);
  /// Writes `color` (packed) under the key GetSelectionHighlightColor() reads for the two flags.
  void SetSelectionHighlightColor(const CColor& color, bool sharedLayer, bool lockedEntity);
  /// Writes the default colour of the key the two flags choose.
  void ResetSelectionHighlightColor(bool sharedLayer, bool lockedEntity);

  /// The x-axis colour as the viewer library gave it at the last
  /// construction (red until then); likewise the two below.
  static CColor GetXAxisColor();
  /// The y-axis colour (green until a viewer library gives another).
  static CColor GetYAxisColor();
  /// The parallel/perpendicular colour (magenta until a viewer library gives another).
  static CColor GetParallelPerpendicularColor();

  /// Copies the import list from the newest earlier version (25 down to 18)
  /// whose data folder exists into this store, in memory. Returns that
  /// version, or -1 when there is none and nothing was imported.
  int ImportPreviousVersionSettings();

  /// The viewer library's client identifier; empty when it has none.
  velmar_ustring GetOrCreateUniqueCID() const;

  /// Default of GetScrollSpeedCoefficient while the key is absent.
  static float s_defaultScrollSpeedCoefficient;

  /// The default of GetAutoUpdateTrelvinModels(): true.
  static const bool kAutoUpdateTrelvinModelsDefault;
  /// The default of GetEditTrelvinModels(): true.
  static const bool kEditTrelvinModelsDefault;
  /// The default of GetTwoFingerPan(): false.
  static const bool kTwoFingerPanDefault;
  /// The default of GetDraftMode(): false.
  static const bool kDraftModeDefault;
  /// The default of GetDraftModeOptions(): 2.
  static const int kDraftModeOptionsDefault;
  /// The default of GetReDrawDelay(): 0.5 seconds.
  static const double kReDrawDelayInSecondsDefault;
  /// The default of GetDraftModeBehavior(): 1, kDraftModeStandard.
  static const int kDraftModeBehaviorDefault;
  /// The default of UseSkia(): true.
  static const bool kUseSkiaDefault;
  /// The default of SkiaRTFLoggingEnabled(): false.
  static const bool kSkiaRTFLoggingEnabledDefault;
  /// The default of GetSelectionHighlightColor() on a shared layer: red 127, green 0, blue 19,
  /// alpha 127.
  static const CColor& kDefaultHighlightColorSharedLayer;
  /// The default of GetSelectionHighlightColor() on an unshared layer: red 0, green 127, blue 255,
  /// alpha 127.
  static const CColor& kDefaultHighlightColorNonsharedLayer;
  /// The default of GetSelectionHighlightColor() of a locked entity: red 255, green 0, blue 0,
  /// alpha 127.
  static const CColor& kDefaultHighlightColorLockedEntity;

  /// Key "{FL_APPDATA}": path variable naming the application-data folder (not a preference
  /// key). This and the keys below are built when the library loads.
  static const velmar_ustring& kPathVariableFLAppData;
  /// Key "{FL_USERDATA}": path variable naming the user-data folder (not a preference key).
  static const velmar_ustring& kPathVariableFLUserData;
  /// Key "TemplateMode".
  static const velmar_ustring& kStartupTmpltModeStr;
  /// Key "LastOpenFilesOnClose".
  static const velmar_ustring& kLastOpenFilesOnCloseStr;
  /// Key "NewDocMode".
  static const velmar_ustring& kNewDocModeStr;
  /// Key "TemplateSpec".
  static const velmar_ustring& kStartupTmpltSpecStr;
  /// Key "DumpFontList".
  static const velmar_ustring& kDumpFontListKey;
  /// Key "ColorChooserImagePath": string; imported from an earlier version.
  static const velmar_ustring& kColorChooserImagePath;
  /// Key "LastStartupTabSelectedIndex".
  static const velmar_ustring& kLastStartupTabSelected_WIN;
  /// Key "ColorTray%d": format of the keys ColorTray0, ColorTray1 and so on; int each; imported
  /// from an earlier version.
  static const velmar_ustring& kColorTrayPrefix;
  /// Key "last_culture_ran".
  static const velmar_ustring& kLastCultureRan_WIN;
  /// Key "QACulture".
  static const velmar_ustring& kCultureOverride_WIN;
  /// Key "QAShowCulturePrefix".
  static const velmar_ustring& kShowCultureOverride_WIN;
  /// Key "FilterScalesComboBox": bool; imported from an earlier version.
  static const velmar_ustring& kFilterScalesComboBox_WIN;
  /// Key "stub_pdf_drawing".
  static const velmar_ustring& kStubPDFDrawing_WIN;
  /// Key "MRU_LIST".
  static const velmar_ustring& kRecentFilesList_WIN;
  /// Key "MAINFORM_WINDOWPLACEMENT".
  static const velmar_ustring& kMainWindowPlacement_WIN;
  /// Key "CascadeMainWindow".
  static const velmar_ustring& kCascadeMainWindow;
  /// Key "MainFrameSize".
  static const velmar_ustring& kMainFrameSize;
  /// Key "DefaultTemplateFile".
  static const velmar_ustring& kDefaultTemplateFile;
  /// Key "DefaultTemplateFolder".
  static const velmar_ustring& kDefaultTemplateFolder;
  /// Key "DefaultStartupMode".
  static const velmar_ustring& kDefaultStartupMode;
  /// Key "LastStartupTabSelected".
  static const velmar_ustring& kLastStartupTabSelected;
  /// Key "LastStyleFolderDisplayed".
  static const velmar_ustring& kLastStyleFolderDisplayed;
  /// Key "ShowDebugMenu".
  static const velmar_ustring& kShowDebugMenu_MAC;
  /// Key "HighlightColorSharedLayer": int (packed colour); `GetSelectionHighlightColor(true,
  /// false)`; default packed `kDefaultHighlightColorSharedLayer` = 2131951743 (0x7F13007F);
  /// imported from an earlier version.
  static const velmar_ustring& kHighlightColorSharedLayerStr;
  /// Key "HighlightColorNonsharedLayer": int (packed colour); `GetSelectionHighlightColor(false,
  /// false)`; default 2147450624 (0x7FFF7F00); imported from an earlier version.
  static const velmar_ustring& kHighlightColorNonsharedLayerStr;
  /// Key "HighlightColorLockedEntity": int (packed colour); `GetSelectionHighlightColor(any,
  /// true)`; default 2130706687 (0x7F0000FF); not imported from an earlier version.
  static const velmar_ustring& kHighlightColorLockedEntityStr;
  /// Key "LastScrapbookFile".
  static const velmar_ustring& kLastScrapbookFile;
  /// Key "LastScrapbookPage".
  static const velmar_ustring& kLastScrapbookPage;
  /// Key "LastExportFormat".
  static const velmar_ustring& kLastExportFormat;
  /// Key "RecentTemplates".
  static const velmar_ustring& kRecentTemplatesList;
  /// Key "ShowNewVersionMessage": bool; imported from an earlier version.
  static const velmar_ustring& kShowNewVersionMessage;
  /// Key "ShowWelcomeWindow".
  static const velmar_ustring& kShowWelcomeWindow;
  /// Key "Backup": bool; imported from an earlier version.
  static const velmar_ustring& kBackupPrefsStr;
  /// Key "DoAutosave": bool; imported from an earlier version.
  static const velmar_ustring& kAutoSavePrefsStr;
  /// Key "AutosaveInterval": double; imported from an earlier version.
  static const velmar_ustring& kAutoSaveIntervalPrefsStr;
  /// Key "TemplateFoldersCount".
  static const velmar_ustring& kTemplateFoldersCountPrefsStr;
  /// Key "TemplateFolders_": key prefix.
  static const velmar_ustring& kTemplateFolderPrefixPrefsStr;
  /// Key "ScrapbookFoldersCount".
  static const velmar_ustring& kScrapbookFoldersCountPrefsStr;
  /// Key "ScrapbookFolders_": key prefix.
  static const velmar_ustring& kScrapbookFolderPrefixPrefsStr;
  /// Key "PatternFillFoldersCount".
  static const velmar_ustring& kPatternFillFoldersCountPrefsStr;
  /// Key "PatternFillFolders_": key prefix.
  static const velmar_ustring& kPatternFillFolderPrefixPrefsStr;
  /// Key "PresentationScreen": int; imported from an earlier version.
  static const velmar_ustring& kPresentationScreenEnum;
  /// Key "auto_update": bool; `GetAutoUpdateTrelvinModels`/`SetAutoUpdateTrelvinModels`; default
  /// true; imported from an earlier version.
  static const velmar_ustring& kAutoUpdateTrelvinModels;
  /// Key "edit_trv_models": bool; `GetEditTrelvinModels`/`SetEditTrelvinModels`; default true;
  /// imported from an earlier version.
  static const velmar_ustring& kEditTrelvinModels;
  /// Key "two_finger_pan": bool; `GetTwoFingerPan`/`SetTwoFingerPan`; default false.
  static const velmar_ustring& kTwoFingerPan;
  /// Key "draft_mode": bool; `GetDraftMode`/`SetDraftMode`; default false.
  static const velmar_ustring& kDraftMode;
  /// Key "draft_mode_options": int; `GetDraftModeOptions`/`SetDraftModeOptions`; default 2.
  static const velmar_ustring& kDraftModeOptions;
  /// Key "redraw_delay_in_seconds": double, seconds; `GetReDrawDelay`/`SetReDrawDelay`; default
  /// 0.5.
  static const velmar_ustring& kReDrawDelayInSeconds;
  /// Key "draft_mode_behavior": int (`FLDraftModeBehavior`);
  /// `GetDraftModeBehavior`/`SetDraftModeBehavior`, `GetDraftModeAlwaysOn`; default 1.
  static const velmar_ustring& kDraftModeBehavior;
  /// Key "use_skia": bool; `UseSkia`/`SetUseSkia`; default true.
  static const velmar_ustring& kUseSkia;
  /// Key "skia_rtf_logging_enabled": bool; `SkiaRTFLoggingEnabled`/`SetSkiaRTFLoggingEnabled`;
  /// default false.
  static const velmar_ustring& kSkiaRTFLoggingEnabled;
  /// Key "ImageEditorApplication": string; imported from an earlier version.
  static const velmar_ustring& kImageEditorApplication;
  /// Key "TextEditorApplication": string; imported from an earlier version.
  static const velmar_ustring& kTextEditorApplication;
  /// Key "TableEditorApplication": string; imported from an earlier version.
  static const velmar_ustring& kTableEditorApplication;
  /// Key "AppGUID".
  static const velmar_ustring& kUniqueUserGUIDStr;
  /// Key "LastPromptForUpdate".
  static const velmar_ustring& kLastPromptedForUpdateStr;
  /// Key "ScrollSpeedCoefficient": double, stored from a float;
  /// `GetScrollSpeedCoefficient`/`SetScrollSpeedCoefficient`; default
  /// `s_defaultScrollSpeedCoefficient` (4.0).
  static const velmar_ustring& kScrollSpeedCoefficient;
  /// Key "StyleInspectorShowThumbnails": bool; imported from an earlier version.
  static const velmar_ustring& kStyleInspectorShowThumbnails;
  /// Key "PageInspectorShowThumbnails": bool; imported from an earlier version.
  static const velmar_ustring& kPageInspectorShowThumbnails;
  /// Key "PatternInspectorShowThumbnails": bool; imported from an earlier version.
  static const velmar_ustring& kPatternInspectorShowThumbnails;
  /// Key "TrvModelInspectorCollapseCamera".
  static const velmar_ustring& kTrvModelInspectorCollapseCamera;
  /// Key "TrvModelInspectorCollapseEffects".
  static const velmar_ustring& kTrvModelInspectorCollapseEffects;
  /// Key "TrvModelInspectorCollapseStyle".
  static const velmar_ustring& kTrvModelInspectorCollapseStyle;
  /// Key "TrvModelInspectorCollapseTags".
  static const velmar_ustring& kTrvModelInspectorCollapseTags;
  /// Key "shortcuts": kept in category "shortcuts".
  static const velmar_ustring& kShortcutsStr;
  /// Key "namedScales": kept in category "namedScales".
  static const velmar_ustring& kNamedScalesStr;
  /// Key "TrvNewRendererCount".
  static const velmar_ustring& kTrvNewRendererCount;
  /// Key "warning_entities_cannot_group": bool; imported from an earlier version.
  static const velmar_ustring& kWarningEntitiesCannotGroup;
  /// Key "warning_layer_has_unselectable_entity": bool; imported from an earlier version.
  static const velmar_ustring& kWarningLayerHasUnselectableEntity;
  /// Key "warning_could_not_preserve_layer": bool; imported from an earlier version.
  static const velmar_ustring& kWarningCouldNotPreserveLayer;
  /// Key "warning_pasted_outside_group": bool; imported from an earlier version.
  static const velmar_ustring& kWarningPastedOutsideGroup;
  /// Key "warning_pasted_trv_outside_group": bool; imported from an earlier version.
  static const velmar_ustring& kWarningPastedTrvOutsideGroup;
  /// Key "warning_pasted_on_hidden_layer": bool; imported from an earlier version.
  static const velmar_ustring& kWarningPastedOnHiddenLayer;
  /// Key "warning_edit_group_layer".
  static const velmar_ustring& kWarningEditGroupLayer;
  /// Key "warning_move_entity_split_group": bool; imported from an earlier version.
  static const velmar_ustring& kWarningMoveEntitySplitGroup;
  /// Key "warning_share_layer_split_group": bool; imported from an earlier version.
  static const velmar_ustring& kWarningShareLayerSplitGroup;
  /// Key "warning_delete_layer_split_group": bool; imported from an earlier version.
  static const velmar_ustring& kWarningDeleteLayerSplitGroup;
  /// Key "warning_unable_to_render_models": bool; imported from an earlier version.
  static const velmar_ustring& kWarningUnableToRenderModels;
  /// Key "warning_unable_pick_trv_models".
  static const velmar_ustring& kWarningUnableToPickTrvModels;
  /// Key "read_old_file_version_warning": bool; imported from an earlier version.
  static const velmar_ustring& kWarnOnOlderFileOpen;
  /// Key "read_new_file_version_warning": bool; imported from an earlier version.
  static const velmar_ustring& kWarnOnNewerFileOpen;
  /// Key "tr_render_vector_warning": bool; imported from an earlier version.
  static const velmar_ustring& kWarnOnVectorRender;
  /// Key "tr_render_hybrid_warning": bool; imported from an earlier version.
  static const velmar_ustring& kWarnOnHybridRender;
  /// Key "warning_slug_may_have_crashed".
  static const velmar_ustring& kWarningSlugMayHaveCrashed;

 protected:
  /// The current version's store; imports an earlier version's settings
  /// when neither current file exists yet.
  Preferences();
  /// The store of `version`'s files; never imports.
  explicit Preferences(int version);
  /// Does not save.
  ~Preferences() override;

  /// The singleton of Default(); null before the first call and after Destroy().
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
