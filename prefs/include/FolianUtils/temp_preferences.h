/// @file
/// Application settings of any version apart from the process-wide
/// singleton, folian::TempPreferences.
///
/// @stable
#pragma once

#include "FolianUtils/export.h"
#include "FolianUtils/preferences.h"

namespace folian {

/// The application's settings of any version, apart from the process-wide
/// singleton: a value object owned by its caller, used by one thread at a
/// time. Nothing reaches the files before Save().
/// @stable
class FOLIAN_API TempPreferences : public Preferences {
 public:
  /// Loads the store "folian" of `version`, creating its folders when
  /// missing, and takes the viewer library's axis colours again. Never
  /// imports an earlier version.
  explicit TempPreferences(int version);
  /// The copy has the same files and, until changed, the same values.
  TempPreferences(const TempPreferences& other);
  /// As the copy constructor; nothing is saved.
  TempPreferences& operator=(const TempPreferences& other);
  /// Does not save.
  ~TempPreferences() override;
};

}  // namespace folian
