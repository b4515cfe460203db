// Preferences: the application's settings, kept in two JSON files of the
// current version. Reads take a default; nothing is written until Save().
#include <FolianUtils/preferences.h>
#include <FolianUtils/temp_preferences.h>

#include <iostream>

using folian::Preferences;

int main() {
  // The process-wide settings, loaded on first use.
  Preferences& prefs = Preferences::Default();

  // Typed accessors with the application's defaults.
  std::cout << "draft mode: " << prefs.GetDraftMode() << "\n";  // 0
  prefs.SetDraftMode(true);

  // Any key by name: a read gives the default when the key is absent or
  // holds another kind of value.
  const auto& key = Preferences::kLastExportFormat;
  std::cout << prefs.ReadString(key, VELMAR_U("pdf")).ToUTF8() << "\n";  // pdf
  prefs.WriteString(key, VELMAR_U("png"));
  prefs.WriteInt(VELMAR_U("exportResolution"), 300);
  std::cout << prefs.ReadInt(VELMAR_U("exportResolution"), 150) << "\n";  // 300

  // Writes both files; a failure keeps the values and says why.
  prefs.Save();
  if (!prefs.LastSaveError().empty()) std::cerr << prefs.LastSaveError() << "\n";
  std::cout << prefs.GetPublicFilePath().ToUTF8() << "\n";

  // Settings of a given version, apart from the singleton: what was saved.
  folian::TempPreferences saved(26);
  std::cout << saved.ReadString(key, VELMAR_U("pdf")).ToUTF8() << " " << saved.GetDraftMode()
            << "\n";  // png 1

  // The host ends the singleton before unloading the library.
  Preferences::Destroy();
  return 0;
}
