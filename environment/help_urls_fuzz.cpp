// Loading the help-URL table from arbitrary text, then finding keys in it.
// Placeholders are not filled: that would create support folders on disk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "environment/help_url_table_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  folian::HelpURLTable table([](const velmar::utils::velmar_ustring&) { __builtin_trap(); });
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The same UTF-8 check as loading from a file.
  table.Parse(velmar::utils::velmar_ustring(text).ToUTF8());
  // A key taken from the input can match the names it holds.
  const std::string own_key = text.size() > 2 ? text.substr(2, text.find('"', 2) - 2) : text;
  for (const std::string& key : {std::string("a"), std::string(), own_key}) {
    velmar::utils::velmar_ustring url_template;
    table.FindTemplate(velmar::utils::velmar_ustring(key), url_template);
  }
  return 0;
}
