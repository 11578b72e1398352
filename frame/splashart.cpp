// Drawing the splash pictures: background with lanes and notes, the title, the edition line.
#include "frame/splashart.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace mk {

namespace {

constexpr QRgb kInk = 0xFF101528;

// A few lanes at the right with falling notes, over a night-blue gradient.
void Background(QPainter& p) {
  QLinearGradient sky(0, 0, 0, kSplashArtPlainTop);
  sky.setColorAt(0, QColor(0x12, 0x18, 0x36));
  sky.setColorAt(1, QColor(0x31, 0x22, 0x58));
  p.fillRect(0, 0, kSplashArtWidth, kSplashArtPlainTop, sky);
  p.setPen(QColor(255, 255, 255, 26));
  for (int y = 14; y < kSplashArtPlainTop; y += 24) p.drawLine(0, y, kSplashArtWidth, y);

  const QColor laneColour[] = {QColor(0xE8, 0x4A, 0x5F), QColor(0xF5, 0xF5, 0xF5), QColor(0x3E, 0x8E, 0xF7),
                               QColor(0xF5, 0xF5, 0xF5), QColor(0x3E, 0x8E, 0xF7), QColor(0xF5, 0xF5, 0xF5),
                               QColor(0xF2, 0xC1, 0x4E)};
  const int laneLeft = 296, laneWidth = 20;
  for (int i = 0; i < 7; ++i) {
    const int x = laneLeft + i * laneWidth;
    p.fillRect(x, 0, laneWidth - 2, kSplashArtPlainTop, QColor(255, 255, 255, 14));
    // Notes at fixed places that read as a short phrase.
    for (int k = 0; k < 4; ++k) {
      const int y = (i * 37 + k * 53 + (i % 2) * 11) % (kSplashArtPlainTop - 8);
      if ((i + k) % 3 == 0) continue;
      QColor c = laneColour[i];
      c.setAlpha(200 - k * 30);
      p.fillRect(x + 2, y, laneWidth - 6, 5, c);
    }
  }
  // The judgement line, just above the plain part.
  p.fillRect(laneLeft - 4, kSplashArtPlainTop - 12, 7 * laneWidth + 6, 2, QColor(0xFF, 0x9C, 0x3A));
}

QLinearGradient TitleFill(double top, double bottom) {
  QLinearGradient g(0, top, 0, bottom);
  g.setColorAt(0, QColor(0xFF, 0xE8, 0x9A));
  g.setColorAt(0.55, QColor(0xFF, 0xB0, 0x3C));
  g.setColorAt(1, QColor(0xE0, 0x5A, 0x2A));
  return g;
}

void TypesetTitle(QPainter& p) {
  QFont f;
  f.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(62);
  f.setWeight(QFont::Black);
  f.setItalic(true);
  QPainterPath title;
  title.addText(20, 74, f, QStringLiteral("Tovel"));
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillPath(title.translated(3, 3), QColor(0, 0, 0, 120));
  p.setPen(QPen(QColor(0x1A, 0x10, 0x08), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(TitleFill(20, 78));
  p.drawPath(title);
}

// The rare picture's own lettering: each letter a few pen strokes in a box one unit high (top 0,
// baseline 1), slanted and drawn with a round brush.
void LetterTitle(QPainter& p) {
  const double cap = 62, left = 22, top = 14, slant = 0.2;
  auto at = [&](double x, double y) { return QPointF(left + (x + (1 - y) * slant) * cap, top + y * cap); };
  QPainterPath path;
  double x0 = 0;
  // T
  path.moveTo(at(x0 - 0.02, 0.06));
  path.cubicTo(at(x0 + 0.25, -0.03), at(x0 + 0.5, 0.04), at(x0 + 0.74, -0.01));
  path.moveTo(at(x0 + 0.37, 0.02));
  path.cubicTo(at(x0 + 0.36, 0.4), at(x0 + 0.3, 0.8), at(x0 + 0.36, 1.0));
  x0 += 0.8;
  // o
  path.moveTo(at(x0 + 0.3, 0.46));
  path.cubicTo(at(x0 + 0.02, 0.44), at(x0, 0.98), at(x0 + 0.24, 1.0));
  path.cubicTo(at(x0 + 0.5, 1.0), at(x0 + 0.52, 0.44), at(x0 + 0.26, 0.47));
  x0 += 0.6;
  // v
  path.moveTo(at(x0, 0.46));
  path.cubicTo(at(x0 + 0.08, 0.6), at(x0 + 0.16, 0.9), at(x0 + 0.22, 1.0));
  path.cubicTo(at(x0 + 0.3, 0.8), at(x0 + 0.38, 0.55), at(x0 + 0.5, 0.44));
  x0 += 0.6;
  // e
  path.moveTo(at(x0 + 0.02, 0.74));
  path.lineTo(at(x0 + 0.46, 0.72));
  path.cubicTo(at(x0 + 0.47, 0.52), at(x0 + 0.36, 0.45), at(x0 + 0.25, 0.45));
  path.cubicTo(at(x0 + 0.08, 0.45), at(x0, 0.6), at(x0 + 0.02, 0.75));
  path.cubicTo(at(x0 + 0.03, 0.92), at(x0 + 0.14, 1.0), at(x0 + 0.27, 1.0));
  path.cubicTo(at(x0 + 0.37, 1.0), at(x0 + 0.44, 0.95), at(x0 + 0.48, 0.88));
  x0 += 0.6;
  // l, with a flick that runs on as the underline
  path.moveTo(at(x0 + 0.12, -0.02));
  path.cubicTo(at(x0 + 0.1, 0.3), at(x0 + 0.04, 0.7), at(x0 + 0.08, 0.94));
  path.cubicTo(at(x0 + 0.1, 1.04), at(x0 + 0.24, 1.02), at(x0 + 0.3, 0.94));
  path.moveTo(at(0.72, 1.16));
  path.cubicTo(at(1.4, 1.1), at(2.2, 1.16), at(x0 + 0.5, 1.08));

  p.setRenderHint(QPainter::Antialiasing, true);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0, 0, 0, 130), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path.translated(3, 3));
  p.setPen(QPen(QBrush(TitleFill(top, top + cap)), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(QPen(QColor(255, 255, 255, 110), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path.translated(-1.5, -1.5));
}

void EditionLine(QPainter& p) {
  QFont f;
  f.setFamilies({QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(11);
  f.setBold(true);
  f.setLetterSpacing(QFont::AbsoluteSpacing, 1.4);
  p.setFont(f);
  p.setPen(QColor(0xC9, 0xD3, 0xFF));
  p.drawText(QPointF(26, 98), QStringLiteral("MIRKAN EDITION  \u00B7  CHART EDITOR"));
}

}  // namespace

QImage SplashPicture(bool lettered) {
  QImage img(kSplashArtWidth, kSplashArtHeight, QImage::Format_RGB32);
  img.fill(kSplashArtPlain);
  QPainter p(&img);
  Background(p);
  if (lettered)
    LetterTitle(p);
  else
    TypesetTitle(p);
  EditionLine(p);
  // An accent strip between the picture and the plain part.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(0, kSplashArtPlainTop - 3, kSplashArtWidth, 3, QColor(0xFF, 0x9C, 0x3A));
  p.fillRect(0, kSplashArtHeight - 4, kSplashArtWidth, 4, QColor(kInk));
  return img;
}

}  // namespace mk
