// The BGA preview window and the frame's PreviewBGA, ShowBgaWin and CloseBgaWin.
#include "frame/bgawin.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "chartfmt/globals.h"
#include "deftables/header.h"
#include "frame/formp.h"

namespace mk {

BgaPreviewWin::BgaPreviewWin(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName("BGAWin");
  setWindowTitle(QStringLiteral("BGAプレビュー"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kSide, kSide);
  picture1_ = new QLabel(this);
  picture1_->setObjectName("Picture1");
  picture1_->setGeometry(0, 0, kSide, kSide);
  picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Show("");
}

void BgaPreviewWin::Show(const std::string& path) {
  QImage area(kSide, kSide, QImage::Format_RGB32);
  area.fill(Qt::black);
  if (!path.empty()) {
    const QImage pic(QString::fromStdString(path));
    if (!pic.isNull()) {
      QPainter p(&area);
      p.drawImage(0, 0, pic);
    }
  }
  shown_ = area;
  picture1_->setPixmap(QPixmap::fromImage(area));
}

void BgaPreviewWin::closeEvent(QCloseEvent* e) {
  if (unloaded) unloaded();
  e->accept();
}

QWidget* FormP::BgaWin() const { return bgaWin_.data(); }

void FormP::CloseBgaWin() {
  if (bgaWin_) bgaWin_->close();  // its unload clears the current chart's preview flag
}

void FormP::ShowBgaWin() {
  if (!CurDoc()) return;
  OpenBgaWin();
  PreviewBGA();
}

void FormP::OpenBgaWin() {
  if (bgaWin_) return;
  auto* w = new mk::BgaPreviewWin(this);
  w->unloaded = [this] {
    bgaWin_.clear();  // gone for the program at once, deleted with the next events
    if (DocData* d = CurDoc()) d->BgaPreview = 0;
  };
  bgaWin_ = w;
  w->show();
  w->raise();
}

void FormP::PreviewBGA() {
  DocData* d = CurDoc();
  if (!d || d->BgaPreview == 0) return;
  OpenBgaWin();
  static_cast<mk::BgaPreviewWin*>(bgaWin_.data())->Show(BgaPreviewPath(*d));
}

}  // namespace mk
