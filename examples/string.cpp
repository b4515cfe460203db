// velmar_ustring: the UTF-16 string at every interface, and reading
// numbers with the user's decimal point.
#include <FolianUtils/numeric_formatter.h>
#include <FolianUtils/ustring.h>

#include <iostream>
#include <string_view>

using velmar::utils::velmar_ustring;

int main() {
  // Narrow text is UTF-8; VELMAR_U makes a UTF-16 literal on every platform
  // (L"..." with MinGW and MSVC, u"..." elsewhere).
  const velmar_ustring name("Zürich 🗺");
  const velmar_ustring unit(VELMAR_U("mm"));

  // Lengths and positions count UTF-16 code units.
  std::cout << name.length() << " " << name.Find(VELMAR_U("🗺")) << "\n";  // 9 7

  // printf-style, as the Windows wide printf: "%s" takes a UTF-16 string,
  // "%hs" a narrow one; positional arguments are accepted.
  velmar_ustring text;
  text.Format(VELMAR_U("%2$s: %1$.1f %3$hs"), 12.5, name.c_str(), "mm");
  std::cout << text.ToUTF8() << "\n";  // Zürich 🗺: 12.5 mm

  // Streams write the string as UTF-8; FromUTF8 reads any run of bytes (a
  // std::string_view need not end in a zero). Invalid UTF-8 gives an empty
  // string, never a part of the text.
  const std::string_view bytes = "Genève, Suisse";
  std::cout << velmar_ustring::FromUTF8(bytes.substr(0, 7)) << "\n";  // Genève
  std::cout << velmar_ustring::FromUTF8("\xFF").empty() << "\n";      // 1

  // Numbers are read with the user's decimal point ("12,5" in German);
  // trailing text is no error. The result tells whether a number was read.
  double value = 0.0;
  if (velmar::utils::StringToDouble(VELMAR_U("  12.5mm"), value)) {
    std::cout << value << "\n";  // 12.5 in an English locale
  }
  if (!velmar::utils::StringToDouble(VELMAR_U("mm"), value)) std::cout << "no number\n";

  const auto point = velmar::utils::CNumericFormatter::GetDecimalPointChar();
  std::cout << "decimal point: " << velmar_ustring(1, point).ToUTF8() << "\n";
  std::cout << unit.CompareNoCase(VELMAR_U("MM")) << "\n";  // 0
  return 0;
}
