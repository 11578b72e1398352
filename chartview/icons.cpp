// The program's own icons, drawn in code at each size so that small sizes stay sharp.
#include "chartview/icons.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include "platform/gfx/picture.h"

namespace mk {

namespace {

// Objects on a four-lane grid: lane, height from the top (0 to 1), colour.
struct Note {
  int lane;
  double y;
  QColor colour;
};

// A chart grid in the square (x, y, side): black lanes with thin grey lines between them, a white
// measure line, and objects as bevelled bars.
void DrawChart(QPainter& p, double x, double y, double side) {
  const double lane = side / 4.0;
  p.fillRect(QRectF(x, y, side, side), QColor(0, 0, 0));
  for (int i = 1; i < 4; ++i)
    p.fillRect(QRectF(x + lane * i - side / 64.0, y, std::max(1.0, side / 32.0), side), QColor(96, 96, 96));
  p.fillRect(QRectF(x, y + side * 0.62, side, std::max(1.0, side / 24.0)), QColor(255, 255, 255));
  const Note notes[] = {{0, 0.12, QColor(80, 160, 255)},
                        {2, 0.30, QColor(255, 80, 80)},
                        {1, 0.45, QColor(80, 230, 120)},
                        {3, 0.78, QColor(255, 210, 60)}};
  const double h = std::max(2.0, side / 8.0);
  for (const Note& n : notes) {
    const QRectF r(x + lane * n.lane + side / 32.0, y + side * n.y, lane - side / 16.0, h);
    p.fillRect(r, n.colour);
    if (side >= 24) {
      p.fillRect(QRectF(r.left(), r.top(), r.width(), h / 4.0), n.colour.lighter(150));
      p.fillRect(QRectF(r.left(), r.bottom() - h / 4.0, r.width(), h / 4.0), n.colour.darker(180));
    }
  }
}

QPixmap ChartPixmap(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  DrawChart(p, 0, 0, size);
  p.setPen(QPen(QColor(160, 160, 170), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, size - 1, size - 1));
  return pm;
}

QPixmap ApplicationPixmap(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing, true);
  // A rounded tile in deep blue to violet, the chart sheet on it tilted a little.
  QLinearGradient g(0, 0, size, size);
  g.setColorAt(0, QColor(70, 90, 210));
  g.setColorAt(1, QColor(120, 40, 160));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  const double r = size * 0.18;
  p.drawRoundedRect(QRectF(0, 0, size, size), r, r);
  p.save();
  p.translate(size / 2.0, size / 2.0);
  p.rotate(-8);
  const double side = size * 0.62;
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRectF(-side / 2 - size / 24.0, -side / 2 - size / 24.0, side + size / 12.0, side + size / 12.0),
             QColor(240, 240, 250));
  DrawChart(p, -side / 2, -side / 2, side);
  p.restore();
  return pm;
}

// An icon drawn at the size asked for, when it is first asked for: start-up draws none of them,
// and each size drawn once is kept.
class DrawnIconEngine : public QIconEngine {
 public:
  DrawnIconEngine(QPixmap (*draw)(int), QList<QSize> sizes) : draw_(draw), sizes_(std::move(sizes)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    const int side = std::max(1, std::min(size.width(), size.height()));
    auto it = drawn_.find(side);
    if (it == drawn_.end()) it = drawn_.emplace(side, draw_(side)).first;
    if (mode != QIcon::Disabled || !qApp) return it->second;
    QStyleOption opt;
    opt.palette = QApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, it->second, &opt);
  }
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int side = std::min(size.width(), size.height());
    return {side, side};
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }
  QIconEngine* clone() const override { return new DrawnIconEngine(*this); }
  QString key() const override { return QStringLiteral("MirkanDrawnIcon"); }

 private:
  QPixmap (*draw_)(int);
  QList<QSize> sizes_;
  std::map<int, QPixmap> drawn_;
};

QIcon DrawnIcon(QPixmap (*draw)(int), std::initializer_list<int> sides) {
  QList<QSize> sizes;
  for (int s : sides) sizes.push_back(QSize(s, s));
  return QIcon(new DrawnIconEngine(draw, std::move(sizes)));
}

// The style's 16-pixel picture of sp when the style takes its standard icons from its own pictures
// (no icon theme): those the program shows on its toolbars; empty for any other.
QString SmallStylePicture(QStyle::StandardPixmap sp) {
  static const std::pair<QStyle::StandardPixmap, const char*> kPictures[] = {
      {QStyle::SP_FileIcon, "file"},
      {QStyle::SP_DialogOpenButton, "standardbutton-open"},
      {QStyle::SP_DialogSaveButton, "standardbutton-save"},
      {QStyle::SP_DialogApplyButton, "standardbutton-apply"},
      {QStyle::SP_ArrowRight, "right"},
      {QStyle::SP_ArrowUp, "up"},
      {QStyle::SP_ArrowDown, "down"},
      {QStyle::SP_MediaPlay, "media-play"},
      {QStyle::SP_MediaSeekForward, "media-seek-forward"},
      {QStyle::SP_MediaStop, "media-stop"},
      {QStyle::SP_FileDialogContentsView, "filecontents"},
      {QStyle::SP_DesktopIcon, "desktop"}};
  const QStyle* style = QApplication::style();
  if (auto* proxy = qobject_cast<const QProxyStyle*>(style)) style = proxy->baseStyle();
  if (!style || style->name() != QLatin1String("fusion")) return {};
  if (QGuiApplication::desktopSettingsAware() && !QIcon::themeName().isEmpty()) return {};
  for (const auto& [p, name] : kPictures)
    if (p == sp) return QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-16.png").arg(QLatin1String(name));
  return {};
}

// A standard icon of the style whose 16-pixel picture is read alone when only that is drawn; the
// style's whole icon (every size read) is built the first time anything else is asked for.
class StyleIconEngine : public QIconEngine {
 public:
  StyleIconEngine(QStyle::StandardPixmap sp, QString small) : sp_(sp), smallFile_(std::move(small)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (size == QSize(16, 16) && !Small().isNull()) {
      if (mode == QIcon::Normal || !qApp) return small_;
      // As the style's icon does for a mode it has no picture of.
      QStyleOption opt;
      opt.palette = QGuiApplication::palette();
      return QApplication::style()->generatedIconPixmap(mode, small_, &opt);
    }
    return Whole().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    if (scale <= 1.0) return pixmap(size, mode, state);
    return Whole().pixmap(size / scale, scale, mode, state);
  }
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const QPaintDevice* device = painter->device();
    const qreal dpr = device ? device->devicePixelRatio() : qApp->devicePixelRatio();
    painter->drawPixmap(rect, scaledPixmap(rect.size() * dpr, mode, state, dpr));
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    // The style files its pictures under their nominal size (one is 15 pixels wide).
    if (size == QSize(16, 16) && !Small().isNull()) return size;
    return Whole().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Whole().availableSizes(mode, state);
  }
  bool isNull() override { return Small().isNull() && Whole().isNull(); }
  QIconEngine* clone() const override { return new StyleIconEngine(*this); }
  QString key() const override { return QStringLiteral("MirkanStyleIcon"); }

 private:
  const QPixmap& Small() {
    if (small_.isNull() && !smallRead_) {
      smallRead_ = true;
      const QImage picture = plat::ReadPng(smallFile_);
      if (!picture.isNull()) small_ = QPixmap::fromImage(picture);
    }
    return small_;
  }
  const QIcon& Whole() {
    if (whole_.isNull() && qApp) whole_ = QApplication::style()->standardIcon(sp_);
    return whole_;
  }

  QStyle::StandardPixmap sp_;
  QString smallFile_;
  bool smallRead_ = false;
  QPixmap small_;
  QIcon whole_;
};

// An icon built by make the first time anything is asked of it.
class DeferredIconEngine : public QIconEngine {
 public:
  explicit DeferredIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    return Icon().pixmap(size / scale, scale, mode, state);
  }
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  bool isNull() override { return Icon().isNull(); }
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
  QString key() const override { return QStringLiteral("MirkanDeferredIcon"); }

 private:
  const QIcon& Icon() {
    if (make_) {
      icon_ = make_();
      make_ = nullptr;
    }
    return icon_;
  }

  std::function<QIcon()> make_;
  QIcon icon_;
};

class DeferredBarIconStyle : public QProxyStyle {
 public:
  explicit DeferredBarIconStyle(QStyle* base) : QProxyStyle(base) {}

  QIcon standardIcon(StandardPixmap sp, const QStyleOption* option, const QWidget* widget) const override {
    if (sp != SP_ToolBarHorizontalExtensionButton && sp != SP_ToolBarVerticalExtensionButton)
      return QProxyStyle::standardIcon(sp, option, widget);
    // The direction the icon points in is settled now, as the style would.
    QStyleOption settled;
    if (option)
      settled = *option;
    else
      settled.direction = QGuiApplication::layoutDirection();
    QPointer<QStyle> base(baseStyle());
    return QIcon(
        new DeferredIconEngine([base, sp, settled] { return base ? base->standardIcon(sp, &settled) : QIcon(); }));
  }
};

}  // namespace

QStyle* WithDeferredBarIcons(QStyle* base) { return new DeferredBarIconStyle(base); }

QIcon StyleIcon(QStyle::StandardPixmap sp) {
  QString small = SmallStylePicture(sp);
  if (small.isEmpty()) return QApplication::style()->standardIcon(sp);
  return QIcon(new StyleIconEngine(sp, std::move(small)));
}

QIcon ChartWindowIcon() {
  static const QIcon icon = DrawnIcon(ChartPixmap, {16, 32, 48});
  return icon;
}

QIcon ApplicationIcon() {
  static const QIcon icon = DrawnIcon(ApplicationPixmap, {16, 32, 48, 64, 128, 256});
  return icon;
}

}  // namespace mk
