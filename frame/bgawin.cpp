// The BGA preview window and the frame's PreviewBGA, ShowBgaWin and CloseBgaWin.
#include "frame/bgawin.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "chartfmt/globals.h"
#include "deftables/header.h"
#include "frame/formp.h"
#include "platform/gfx/pictureread.h"

namespace mk {

namespace {

const char kCaption[] = "BGAプレビュー";

// The caption's note and the tooltip's sentence for a black area; empty where nothing was to show.
struct BlackReason {
  const char* note;
  const char* sentence;
};

BlackReason ReasonFor(BgaBlack black, plat::PictureFault fault) {
  switch (black) {
    case BgaBlack::NoFile: return {"", ""};
    case BgaBlack::Missing: return {"ファイルなし", "ファイルが見つかりません"};
    case BgaBlack::OtherKind: return {"表示できない形式", "JPG、BMP、GIF 以外のファイルは表示しません"};
    case BgaBlack::None: break;
  }
  switch (fault) {
    case plat::PictureFault::None: return {"", ""};
    case plat::PictureFault::Missing: return {"ファイルなし", "ファイルを開けません"};
    case plat::PictureFault::NotPicture:
      return {"表示できない形式", "中身が JPG、BMP、GIF のどれでもないため表示できません"};
    case plat::PictureFault::TooLarge: return {"大きすぎる画像", "画像が大きすぎるため表示できません"};
    case plat::PictureFault::CutShort: return {"壊れた画像", "画像が壊れているか途中で切れているため表示できません"};
  }
  return {"", ""};
}

}  // namespace

BgaPreviewWin::BgaPreviewWin(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setObjectName("BGAWin");
  setWindowTitle(QString::fromUtf8(kCaption));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kSide, kSide);
  picture1_ = new QLabel(this);
  picture1_->setObjectName("Picture1");
  picture1_->setGeometry(0, 0, kSide, kSide);
  picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Show({});
}

void BgaPreviewWin::Show(const BgaPreviewFile& file) {
  QImage area(kSide, kSide, QImage::Format_RGB32);
  area.fill(Qt::black);
  plat::PictureFault fault = plat::PictureFault::None;
  if (file.black == BgaBlack::None) {
    const plat::PictureRead pic = plat::ReadPicture(file.path);
    fault = pic.fault;
    if (fault == plat::PictureFault::None) {
      QPainter p(&area);
      p.drawImage(0, 0, pic.image);
    }
  }
  const BlackReason why = ReasonFor(file.black, fault);
  QString caption = QString::fromUtf8(kCaption);
  QString tip;
  if (*why.note) {
    caption += QStringLiteral(" (%1)").arg(QString::fromUtf8(why.note));
    tip = QString::fromStdString(file.path) + "\n" + QString::fromUtf8(why.sentence);
  }
  setWindowTitle(caption);
  picture1_->setToolTip(tip);
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
