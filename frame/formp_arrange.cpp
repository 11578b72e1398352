// The Window menu's arrangements of the chart windows: cascade, tiles and the minimised icons.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include "frame/arrange.h"
#include "frame/formp.h"

namespace mk {

void FormP::Menu_Win_Cas_Click() { ArrangeWindows(0); }
void FormP::Menu_Win_Hor_Click() { ArrangeWindows(1); }
void FormP::Menu_Win_Ver_Click() { ArrangeWindows(2); }
void FormP::Menu_Win_Ico_Click() { ArrangeWindows(3); }

void FormP::ArrangeWindows(int arrangement) {
  const QSize area = mdi_->viewport()->size();
  if (arrangement == 3) {
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder))
      if (w->isMinimized()) icons << w;
    if (icons.isEmpty()) return;
    const QSize icon = icons.first()->size();
    const std::vector<PxRect> r =
        IconRects(static_cast<int>(icons.size()), icon.width(), icon.height(), area.width(), area.height());
    for (qsizetype i = 0; i < icons.size(); ++i) icons[i]->move(r[i].x, r[i].y);
    return;
  }
  // The open windows that are not minimised, from the bottom of the stack up, so that the
  // topmost stays on top.
  QList<QMdiSubWindow*> list;
  for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::StackingOrder))
    if (w->isVisible() && !w->isMinimized()) list << w;
  if (list.isEmpty()) return;
  const int n = static_cast<int>(list.size());
  const int step = std::max(8, list.first()->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, list.first()));
  const std::vector<PxRect> r = arrangement == 0 ? CascadeRects(n, area.width(), area.height(), step)
                                                 : TileRects(n, area.width(), area.height(), arrangement == 1);
  for (int i = 0; i < n; ++i) {
    list[i]->showNormal();
    list[i]->setGeometry(r[i].x, r[i].y, r[i].w, r[i].h);
    list[i]->raise();
  }
}

}  // namespace mk
