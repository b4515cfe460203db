#include "FolianUtils/application.h"

#include "base/version.h"

namespace folian {

using velmar::utils::velmar_ustring;

const velmar_ustring& ApplicationName() {
  static const velmar_ustring name(velmar::base::kApplicationName);
  return name;
}

const velmar_ustring& FileExtensionOnly() {
  static const velmar_ustring extension("folian");
  return extension;
}

const velmar_ustring& FileExtension() {
  static const velmar_ustring extension = velmar_ustring(".") + FileExtensionOnly();
  return extension;
}

}  // namespace folian
