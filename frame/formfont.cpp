// Fonts of the forms' lists.
#include "frame/formfont.h"

#include "platform/gfx/picture.h"

namespace mk {

QFont FixedListFont() {
  const std::string family = "ＭＳ ゴシック";
  QFont f;
  f.setFamilies({QString::fromStdString(family), QString::fromStdString(plat::MapFontFamily(family))});
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSize(9);
  return f;
}

}  // namespace mk
