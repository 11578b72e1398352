// Fonts of the forms' lists.
#include "frame/formfont.h"

#include "platform/gfx/picture.h"

namespace mk {

QFont FixedListFont() {
  QFont f(plat::InstalledFamily("ＭＳ ゴシック"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSize(9);
  return f;
}

}  // namespace mk
