// The toolkit's own Japanese texts (standard buttons, file dialogs, input boxes).
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/qtui/qt_desktop.h"

namespace plat {

bool LoadToolkitTranslations() {
  auto* t = new QTranslator(QCoreApplication::instance());
  if (!t->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete t;
    return false;
  }
  QCoreApplication::installTranslator(t);
  return true;
}

}  // namespace plat
