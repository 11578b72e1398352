#include <QSet>

#include "qt_desktop.h"

namespace plat {

QString QtFilterDescription(const QString& nameFilter) {
  qsizetype open = nameFilter.lastIndexOf(QStringLiteral(" ("));
  return (open < 0 ? nameFilter : nameFilter.left(open)).simplified();
}

int QtFilterIndex(const QStringList& nameFilters, const QString& selected) {
  for (qsizetype i = 0; i < nameFilters.size(); ++i)
    if (nameFilters[i] == selected || QtFilterDescription(nameFilters[i]) == selected.simplified())
      return static_cast<int>(i);
  return -1;
}

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
    // Repeated entries are told apart by an invisible zero-width space after the description
    // (the dialog shows descriptions only, simplified), so the chosen index stays exact.
    while (seen.contains(QtFilterDescription(f))) {
      desc += QChar(0x200B);
      f = desc + QStringLiteral(" (") + pats.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    seen.insert(QtFilterDescription(f));
    out << f;
  }
  return out;
}

}  // namespace plat
