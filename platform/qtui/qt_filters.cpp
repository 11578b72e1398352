#include <QSet>

#include "qt_desktop.h"

namespace plat {

QStringList QtNameFilters(const std::string& classicFilter) {
  QStringList out;
  QSet<QString> seen;
  for (const FilterEntry& e : ParseFilter(classicFilter)) {
    QStringList pats;
    for (const std::string& p : e.patterns) pats << QString::fromStdString(p);
    if (pats.isEmpty()) pats << QStringLiteral("*");
    // Qt reads the patterns from the last "( … )" group; the description keeps its own text.
    QString desc = QString::fromStdString(e.description).trimmed();
    QString f = desc + QStringLiteral(" (") + pats.join(QLatin1Char(' ')) + QLatin1Char(')');
    // Repeated entries are told apart by a trailing blank so the chosen index stays exact.
    while (seen.contains(f)) f.insert(desc.size(), QLatin1Char(' '));
    seen.insert(f);
    out << f;
  }
  return out;
}

}  // namespace plat
