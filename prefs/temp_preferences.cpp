#include "FolianUtils/temp_preferences.h"

namespace folian {

TempPreferences::TempPreferences(int version) : Preferences(version) {}

TempPreferences::TempPreferences(const TempPreferences& other) = default;
TempPreferences& TempPreferences::operator=(const TempPreferences& other) = default;
TempPreferences::~TempPreferences() = default;

}  // namespace folian
