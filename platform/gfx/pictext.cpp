// Text on pictures: the forms' font names mapped to installed families, no antialiasing.
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "platform/gfx/picture.h"

namespace plat {

std::string MapFontFamily(const std::string& family) {
  if (family == "ＭＳ ゴシック") return "IPAGothic";
  if (family == "ＭＳ Ｐゴシック") return "IPAPGothic";
  return family;
}

QString InstalledFamily(const std::string& family, const std::string& standIn) {
  const QString wanted = QString::fromStdString(family);
  if (QFontDatabase::families().contains(wanted, Qt::CaseInsensitive)) return wanted;
  return QString::fromStdString(standIn.empty() ? MapFontFamily(family) : standIn);
}

int PointsToPixels(double points) {
  // points * 96 / 72, halves away from zero.
  return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

namespace {

QFont MakeFont(const Font& f) {
  QFont font(QString::fromStdString(MapFontFamily(f.family)));
  font.setPixelSize(std::max(1, f.pixels > 0 ? f.pixels : PointsToPixels(f.points)));
  font.setBold(f.bold);
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setKerning(false);
  return font;
}

// Largest em height whose glyphs the raster engine draws from FreeType's bitmaps; larger text is
// filled from the glyph outlines, which leaves out FreeType's synthetic bold.
constexpr int kLargestBitmapGlyph = 64;

// True when the family has no bold face of its own, so that bold is made up from the regular one.
bool SyntheticBold(const QFont& font) {
  const QString family = QFontInfo(font).family();
  for (const QString& style : QFontDatabase::styles(family))
    if (QFontDatabase::bold(family, style)) return false;
  return true;
}

void PaintText(QImage& img, int x, int y, const std::string& utf8, Color c, const Font& f, const QRect* clip) {
  if (img.isNull() || utf8.empty()) return;
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  if (clip) p.setClipRect(*clip);
  const QFont font = MakeFont(f);
  const QColor colour = QColor::fromRgb(0xFF000000u | c);
  // The cell's top is at y: the baseline lies one ascent below it.
  const QFontMetrics fm(font);
  const QPoint baseline(x, y + fm.ascent());
  const QString text = QString::fromStdString(utf8);
  const int em = font.pixelSize();
  if (f.bold && em > kLargestBitmapGlyph && SyntheticBold(font)) {
    // Bold made up as FreeType makes it for smaller text: the outline widened by em / 24.
    QPainterPath path;
    path.addText(baseline, font, text);
    p.setPen(QPen(colour, em / 24.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(colour);
    p.drawPath(path);
    return;
  }
  p.setFont(font);
  p.setPen(colour);
  p.drawText(baseline, text);
}

}  // namespace

CharExtent MaxCharExtent(const Font& f, const std::string& utf8Chars) {
  const QFontMetrics fm(MakeFont(f));
  CharExtent e;
  bool first = true;
  for (const QChar ch : QString::fromStdString(utf8Chars)) {
    const QRect ink = fm.boundingRect(ch);
    e.advance = std::max(e.advance, fm.horizontalAdvance(ch));
    if (ink.isEmpty()) continue;
    e.inkLeft = first ? ink.left() : std::min(e.inkLeft, ink.left());
    e.inkRight = first ? ink.right() : std::max(e.inkRight, ink.right());
    first = false;
  }
  return e;
}

void Picture::DrawText(int x, int y, const std::string& utf8, Color c, const Font& font) {
  PaintText(img_, x, y, utf8, c, font, nullptr);
}

void Picture::DrawText(int x, int y, const std::string& utf8, Color c, const Font& font, int clipX1, int clipY1,
                       int clipX2, int clipY2) {
  const QRect clip(QPoint(clipX1, clipY1), QPoint(clipX2, clipY2));
  PaintText(img_, x, y, utf8, c, font, &clip);
}

}  // namespace plat
