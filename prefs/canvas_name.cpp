#include "FolianUtils/canvas_name.h"

#include "FolianUtils/preferences.h"

namespace folian {

velmar::utils::velmar_ustring GetCanvasName() {
  return velmar::utils::velmar_ustring(Preferences::Default().UseSkia() ? "skia" : "gdiplus");
}

}  // namespace folian
