// A module of a host that uses FolianUtils: loading it loads the library,
// unloading it unloads the library when nothing else holds it.
#include <FolianUtils/FolianUtils.h>

#if defined(_WIN32)
#define PROBE_EXPORT extern "C" __declspec(dllexport)
#else
#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

bool ProbeLookup(const velmar::utils::velmar_ustring&, velmar::utils::velmar_ustring& result) {
  result = "probe";
  return true;
}

}  // namespace

// Fills the library's process-wide state: a registered string lookup and a
// switched-off notification centre.
PROBE_EXPORT void FolianProbeUse() {
  velmar::utils::RegisterHostStringLookup(ProbeLookup);
  velmar::utils::NotificationCenter::Default().SetEnabled(false);
}

// 1 when that state is as a freshly loaded library has it.
PROBE_EXPORT int FolianProbeIsFresh() {
  const bool enabled = velmar::utils::NotificationCenter::Default().IsEnabled();
  const bool untranslated =
      velmar::utils::CLengthFormatter::GetUnitsString(velmar::units::UnitsInfo::kFeet) != "probe";
  return enabled && untranslated ? 1 : 0;
}
