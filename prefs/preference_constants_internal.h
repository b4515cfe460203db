// Load-time construction of the exported preference constants.
#pragma once

namespace folian::internal {

// Builds the key strings and default highlight colours; later calls do
// nothing. Runs from the library's startup, before anything else uses them.
void BuildPreferenceConstants();

}  // namespace folian::internal
