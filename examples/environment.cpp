// The application's environment: identity, support folders and files,
// culture, help addresses, a PNG's background colour, the canvas name.
#include <FolianUtils/application.h>
#include <FolianUtils/culture.h>
#include <FolianUtils/help_urls.h>
#include <FolianUtils/host_strings.h>
#include <FolianUtils/image_background.h>
#include <FolianUtils/length_formatter.h>
#include <FolianUtils/support_folders.h>

#include <iostream>

using velmar::utils::velmar_ustring;

// The host's string table, asked for the few words the library shows (an
// English key in, the translation out). Here: a German host.
bool LookUp(const velmar_ustring& key, velmar_ustring& result) {
  if (key != "Abbreviation for point") return false;
  result = "Pkt";
  return true;
}

int main() {
  // A host that exports TRMainStringTableLookUp is found without this.
  velmar::utils::RegisterHostStringLookup(&LookUp);
  const auto points = velmar::units::UnitsInfo::kPoints;
  std::cout << velmar::utils::CLengthFormatter::GetUnitsString(points).ToUTF8() << "\n";  // " Pkt"

  std::cout << folian::ApplicationName().ToUTF8() << " documents end in "
            << folian::FileExtension().ToUTF8() << "\n";  // Folian documents end in .folian

  // The per-user folder of the current version, created when missing.
  std::cout << folian::GetUserSupportFolder().ToUTF8() << "\n";
  // A support file, searched in the user's, all users' and the program's folders.
  const velmar_ustring found = folian::FindSupportFile(VELMAR_U("helpurls.json"));
  std::cout << (found.empty() ? "no helpurls.json" : found.ToUTF8()) << "\n";

  // The culture is decided once, on the first call.
  std::cout << folian::GetCulture().ToUTF8() << " " << folian::GetLanguageCode().ToUTF8() << "\n";

  // Help addresses from helpurls.json; an unknown key gives an empty text.
  const velmar_ustring url = folian::CHelpURLs::Default().GetURL(VELMAR_U("welcome"));
  std::cout << (url.empty() ? "no help address" : url.ToUTF8()) << "\n";

  // A PNG's declared background colour; false when it declares none.
  velmar::utils::CColor background;
  if (!folian::GetImageBackgroundColor(VELMAR_U("missing.png"), &background)) {
    std::cout << "no background colour\n";
  }
  return 0;
}
