#include "chartview/picturebox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

namespace mk {

PictureBox::PictureBox(Source source, QWidget* parent) : QWidget(parent), source_(std::move(source)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);
}

void PictureBox::SetAcceptFiles(bool on) { setAcceptDrops(on); }

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  if (const plat::Picture* pic = source_ ? source_() : nullptr) p.drawImage(0, 0, pic->Image());
}

QStringList DroppedFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& u : data->urls())
    if (u.isLocalFile()) files << u.toLocalFile();
  return files;
}

void PictureBox::dragEnterEvent(QDragEnterEvent* e) {
  if (!DroppedFiles(e->mimeData()).isEmpty()) e->acceptProposedAction();
}

void PictureBox::dropEvent(QDropEvent* e) {
  const QStringList files = DroppedFiles(e->mimeData());
  if (files.isEmpty()) return;
  e->acceptProposedAction();
  emit FilesDropped(files);
}

}  // namespace mk
