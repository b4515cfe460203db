// Load-time initialisation: the only work the library does when loaded.
#include "platform/host_module.h"
#include "prefs/preference_constants_internal.h"
#include "units/length_unit_texts.h"

namespace velmar {
namespace {

struct Startup {
  Startup() {
    utils::GetLengthUnitTexts();
    folian::internal::BuildPreferenceConstants();
    // Libraries the host loads later must not be picked up from whatever
    // the current directory happens to be.
    platform::RemoveCurrentDirectoryFromLibrarySearchPath();
  }
};

const Startup g_startup;

}  // namespace
}  // namespace velmar
