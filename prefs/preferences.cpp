#include "FolianUtils/preferences.h"

#include <cstdint>
#include <memory>

#include "TrelvinViewerAPI/viewer_api.h"
#include "environment/paths_internal.h"

namespace folian {
namespace {

using velmar::utils::CColor;
using velmar::utils::velmar_ustring;

// The stored form of a highlight colour: the packed bits as a signed int.
int PackColor(const CColor& color) { return static_cast<std::int32_t>(color.Packed()); }

CColor UnpackColor(int packed) { return CColor::FromPacked(static_cast<std::uint32_t>(packed)); }

struct HighlightSlot {
  const velmar_ustring& key;
  const CColor& defaultColor;
};

HighlightSlot ChooseHighlight(bool sharedLayer, bool lockedEntity) {
  if (lockedEntity) {
    return {Preferences::kHighlightColorLockedEntityStr,
            Preferences::kDefaultHighlightColorLockedEntity};
  }
  if (sharedLayer) {
    return {Preferences::kHighlightColorSharedLayerStr,
            Preferences::kDefaultHighlightColorSharedLayer};
  }
  return {Preferences::kHighlightColorNonsharedLayerStr,
          Preferences::kDefaultHighlightColorNonsharedLayer};
}

struct PackedHighlightDefaults {
  int sharedLayer;
  int nonsharedLayer;
  int lockedEntity;
};

const PackedHighlightDefaults& PackedDefaults() {
  static const PackedHighlightDefaults packed{
      PackColor(Preferences::kDefaultHighlightColorSharedLayer),
      PackColor(Preferences::kDefaultHighlightColorNonsharedLayer),
      PackColor(Preferences::kDefaultHighlightColorLockedEntity)};
  return packed;
}

int PackedDefaultFor(bool sharedLayer, bool lockedEntity) {
  const PackedHighlightDefaults& packed = PackedDefaults();
  if (lockedEntity) return packed.lockedEntity;
  return sharedLayer ? packed.sharedLayer : packed.nonsharedLayer;
}

// A failed call leaves the colour as it was.
void ReadViewerColor(TRResult (*query)(TRColor*), CColor& color) {
  TRColor record{color.Red(), color.Green(), color.Blue(), color.Alpha()};
  query(&record);
  color = CColor(record.red, record.green, record.blue, record.alpha);
}

struct ViewerStringReleaser {
  void operator()(TRStringRef string) const { TRStringRelease(&string); }
};

}  // namespace

Preferences::Preferences() : utils::Preferences() {
  if (!FileExists(GetPrivateFilePath()) && !FileExists(GetPublicFilePath())) {
    LoadFromPreviousVersion();
  }
  TakeAxisColors();
}

Preferences::Preferences(int version) : utils::Preferences(version) { TakeAxisColors(); }

Preferences::Preferences(const Preferences& other) = default;
Preferences& Preferences::operator=(const Preferences& other) = default;
Preferences::~Preferences() = default;

Preferences& Preferences::Default() {
  if (s_instance == nullptr) s_instance = new Preferences();
  return *s_instance;
}

void Preferences::Destroy() {
  delete s_instance;
  s_instance = nullptr;
}

void Preferences::TakeAxisColors() {
  ReadViewerColor(TRPreferencesGetXAxisColor, s_xAxisColor);
  ReadViewerColor(TRPreferencesGetYAxisColor, s_yAxisColor);
  ReadViewerColor(TRPreferencesGetParallelPerpendicularColor, s_ppColor);
}

bool Preferences::GetAutoUpdateTrelvinModels() {
  return ReadBool(kAutoUpdateTrelvinModels, kAutoUpdateTrelvinModelsDefault);
}

void Preferences::SetAutoUpdateTrelvinModels(bool value) {
  if (ReadBool(kAutoUpdateTrelvinModels, kAutoUpdateTrelvinModelsDefault) != value) {
    WriteBool(kAutoUpdateTrelvinModels, value);
  }
}

bool Preferences::GetEditTrelvinModels() {
  return ReadBool(kEditTrelvinModels, kEditTrelvinModelsDefault);
}

void Preferences::SetEditTrelvinModels(bool value) { WriteBool(kEditTrelvinModels, value); }

bool Preferences::GetTwoFingerPan() { return ReadBool(kTwoFingerPan, kTwoFingerPanDefault); }

void Preferences::SetTwoFingerPan(bool value) { WriteBool(kTwoFingerPan, value); }

bool Preferences::GetDraftMode() { return ReadBool(kDraftMode, kDraftModeDefault); }

void Preferences::SetDraftMode(bool value) { WriteBool(kDraftMode, value); }

int Preferences::GetDraftModeOptions() {
  return ReadInt(kDraftModeOptions, kDraftModeOptionsDefault);
}

void Preferences::SetDraftModeOptions(int value) { WriteInt(kDraftModeOptions, value); }

Preferences::FLDraftModeBehavior Preferences::GetDraftModeBehavior() {
  return static_cast<FLDraftModeBehavior>(ReadInt(kDraftModeBehavior, kDraftModeBehaviorDefault));
}

void Preferences::SetDraftModeBehavior(FLDraftModeBehavior value) {
  WriteInt(kDraftModeBehavior, static_cast<int>(value));
}

bool Preferences::GetDraftModeAlwaysOn() {
  return ReadInt(kDraftModeBehavior, kDraftModeBehaviorDefault) == kDraftModeAlwaysOn;
}

double Preferences::GetReDrawDelay() {
  return ReadDouble(kReDrawDelayInSeconds, kReDrawDelayInSecondsDefault);
}

void Preferences::SetReDrawDelay(double seconds) { WriteDouble(kReDrawDelayInSeconds, seconds); }

float Preferences::GetScrollSpeedCoefficient() {
  return static_cast<float>(
      ReadDouble(kScrollSpeedCoefficient, static_cast<double>(s_defaultScrollSpeedCoefficient)));
}

void Preferences::SetScrollSpeedCoefficient(float value) {
  WriteDouble(kScrollSpeedCoefficient, static_cast<double>(value));
}

bool Preferences::UseSkia() { return ReadBool(kUseSkia, kUseSkiaDefault); }

void Preferences::SetUseSkia(bool value) { WriteBool(kUseSkia, value); }

bool Preferences::SkiaRTFLoggingEnabled() {
  return Default().ReadBool(kSkiaRTFLoggingEnabled, kSkiaRTFLoggingEnabledDefault);
}

void Preferences::SetSkiaRTFLoggingEnabled(bool value) {
  Default().WriteBool(kSkiaRTFLoggingEnabled, value);
}

CColor Preferences::GetSelectionHighlightColor(bool sharedLayer, bool lockedEntity) {
  const HighlightSlot slot = ChooseHighlight(sharedLayer, lockedEntity);
  return UnpackColor(ReadInt(slot.key, PackedDefaultFor(sharedLayer, lockedEntity)));
}

void Preferences::SetSelectionHighlightColor(const CColor& color, bool sharedLayer,
                                             bool lockedEntity) {
  WriteInt(ChooseHighlight(sharedLayer, lockedEntity).key, PackColor(color));
}

void Preferences::ResetSelectionHighlightColor(bool sharedLayer, bool lockedEntity) {
  SetSelectionHighlightColor(ChooseHighlight(sharedLayer, lockedEntity).defaultColor, sharedLayer,
                             lockedEntity);
}

CColor Preferences::GetXAxisColor() { return s_xAxisColor; }

CColor Preferences::GetYAxisColor() { return s_yAxisColor; }

CColor Preferences::GetParallelPerpendicularColor() { return s_ppColor; }

velmar_ustring Preferences::GetOrCreateUniqueCID() const {
  TRStringRef handle = nullptr;
  TRStringCreate(&handle);
  const std::unique_ptr<TRStringImpl, ViewerStringReleaser> string(handle);
  TRPreferencesGetOrCreateCID(&handle);
  size_t length = 0;
  TRStringGetUTF8Length(handle, &length);
  if (length == 0) return velmar_ustring();
  std::unique_ptr<char[]> buffer(new char[length + 1]());
  size_t copied = 0;
  TRStringGetUTF8(handle, length, buffer.get(), &copied);
  return velmar_ustring(buffer.get());
}

}  // namespace folian
