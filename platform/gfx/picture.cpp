#include "platform/gfx/picture.h"

#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace plat {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

QImage MakeImage(int w, int h, Color back) {
  if (w <= 0 || h <= 0) return QImage();
  QImage img(w, h, QImage::Format_RGB32);
  if (!img.isNull()) img.fill(kOpaque | back);
  return img;
}

// Clips the rectangle (x, y, w, h) to 0..W-1 x 0..H-1; false when nothing is left.
bool ClipRect(int& x, int& y, int& w, int& h, int W, int H) {
  if (x < 0) {
    w += x;
    x = 0;
  }
  if (y < 0) {
    h += y;
    y = 0;
  }
  w = std::min(w, W - x);
  h = std::min(h, H - y);
  return w > 0 && h > 0;
}

}  // namespace

Picture::Picture(int width, int height, Color back) : img_(MakeImage(width, height, back)), back_(back) {}

void Picture::Resize(int width, int height) {
  if (width == Width() && height == Height()) return;
  QImage next = MakeImage(width, height, back_);
  if (!next.isNull() && !img_.isNull()) {
    const int w = std::min(width, Width());
    const int h = std::min(height, Height());
    for (int y = 0; y < h; ++y) std::memcpy(next.scanLine(y), img_.constScanLine(y), static_cast<size_t>(w) * 4);
  }
  img_ = std::move(next);
}

void Picture::Clear() {
  if (!img_.isNull()) img_.fill(kOpaque | back_);
}

Color Picture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  return reinterpret_cast<const uint32_t*>(img_.constScanLine(y))[x] & 0xFFFFFFu;
}

void Picture::FillRop(int x, int y, int w, int h, Color c, Rop rop) {
  if (!ClipRect(x, y, w, h, Width(), Height())) return;
  const uint32_t v = kOpaque | (c & 0xFFFFFFu);
  uchar* bits = img_.bits();
  const qsizetype stride = img_.bytesPerLine();
  uint32_t* first = reinterpret_cast<uint32_t*>(bits + y * stride) + x;
  if (rop == Rop::Copy) {
    // One row by hand, the others copied from it.
    std::fill(first, first + w, v);
    for (int row = y + 1; row < y + h; ++row)
      std::memcpy(reinterpret_cast<uint32_t*>(bits + row * stride) + x, first, static_cast<size_t>(w) * 4);
    return;
  }
  for (int row = y; row < y + h; ++row) {
    uint32_t* p = reinterpret_cast<uint32_t*>(bits + row * stride) + x;
    if (rop == Rop::And)
      for (int i = 0; i < w; ++i) p[i] &= v;
    else
      for (int i = 0; i < w; ++i) p[i] |= v;
  }
}

void Picture::RepeatRow(int y1, int y2, const std::vector<Color>& row) {
  y1 = std::max(y1, 0);
  y2 = std::min(y2, Height() - 1);
  const int w = std::min(Width(), static_cast<int>(row.size()));
  if (y1 > y2 || w <= 0) return;
  uchar* bits = img_.bits();
  const qsizetype stride = img_.bytesPerLine();
  uint32_t* first = reinterpret_cast<uint32_t*>(bits + y1 * stride);
  for (int x = 0; x < w; ++x) first[x] = kOpaque | (row[x] & 0xFFFFFFu);
  for (int y = y1 + 1; y <= y2; ++y) std::memcpy(bits + y * stride, first, static_cast<size_t>(w) * 4);
}

void Picture::FillRect(int x1, int y1, int x2, int y2, Color c) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  FillRop(x1, y1, x2 - x1 + 1, y2 - y1 + 1, c, Rop::Copy);
}

void Picture::Outline(int x1, int y1, int x2, int y2, Color c, int penWidth) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  for (int ring = 0; ring < std::max(1, penWidth) && x1 <= x2 && y1 <= y2; ++ring) {
    FillRect(x1, y1, x2, y1, c);
    FillRect(x1, y2, x2, y2, c);
    FillRect(x1, y1, x1, y2, c);
    FillRect(x2, y1, x2, y2, c);
    ++x1, ++y1, --x2, --y2;
  }
}

void Picture::Line(int x1, int y1, int x2, int y2, Color c) {
  // Bresenham from the start point up to, not including, the end point.
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    FillRop(x, y, 1, 1, c, Rop::Copy);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Picture::Blt(int dx, int dy, int w, int h, const Picture& src, int sx, int sy, Rop rop) {
  if (&src == this) {
    const Picture copy = src;
    Blt(dx, dy, w, h, copy, sx, sy, rop);
    return;
  }
  // Clip against the source, moving the destination along, then against the destination.
  int ox = sx, oy = sy;
  if (!ClipRect(sx, sy, w, h, src.Width(), src.Height())) return;
  dx += sx - ox;
  dy += sy - oy;
  ox = dx, oy = dy;
  if (!ClipRect(dx, dy, w, h, Width(), Height())) return;
  sx += dx - ox;
  sy += dy - oy;
  const uchar* sbits = src.img_.constBits();
  const qsizetype sstride = src.img_.bytesPerLine();
  uchar* dbits = img_.bits();
  const qsizetype dstride = img_.bytesPerLine();
  for (int row = 0; row < h; ++row) {
    const uint32_t* s = reinterpret_cast<const uint32_t*>(sbits + (sy + row) * sstride) + sx;
    uint32_t* d = reinterpret_cast<uint32_t*>(dbits + (dy + row) * dstride) + dx;
    switch (rop) {
      case Rop::Copy: std::memcpy(d, s, static_cast<size_t>(w) * 4); break;
      case Rop::And:
        for (int i = 0; i < w; ++i) d[i] &= s[i];
        break;
      case Rop::Or:
        for (int i = 0; i < w; ++i) d[i] |= s[i];
        break;
    }
  }
}

void Picture::StretchBlt(int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy, int sw, int sh) {
  if (img_.isNull() || src.img_.isNull() || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  QPainter p(&img_);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(QRect(dx, dy, dw, dh), src.img_, QRect(sx, sy, sw, sh));
}

bool Picture::Load(const std::string& path) {
  PictureRead r = ReadPicture(path);
  if (r.fault != PictureFault::None) return false;
  img_ = r.image.convertToFormat(QImage::Format_RGB32);
  return true;
}

bool Picture::SaveBmp(const std::string& path) const {
  if (img_.isNull()) return false;
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!img_.save(&file, "BMP")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace plat
