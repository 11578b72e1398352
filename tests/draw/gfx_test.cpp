// The picture layer: shapes with inclusive corners, lines without their end point, block copies,
// text, files, and the canvas overlay.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "drawfixture.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/picture.h"

using namespace drawtest;
using plat::Picture;
using plat::Rop;

namespace {

constexpr plat::Color kRed = plat::Rgb(255, 0, 0);

// Count of pixels of colour c inside (x1, y1)-(x2, y2).
int CountColor(const Picture& p, plat::Color c, int x1, int y1, int x2, int y2) {
  int n = 0;
  for (int y = y1; y <= y2; ++y)
    for (int x = x1; x <= x2; ++x) n += p.Pixel(x, y) == c;
  return n;
}

Picture Noise(int w, int h, quint32 seed) {
  Picture p(w, h);
  QRandomGenerator rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.FillRect(x, y, x, y, rng.generate() & 0xFFFFFF);
  return p;
}

}  // namespace

TEST(Picture, FilledRectanglesAndOutlinesIncludeBothCorners) {
  Picture p(20, 10);
  p.FillRect(2, 3, 5, 4, kRed);
  EXPECT_EQ(CountColor(p, kRed, 0, 0, 19, 9), 4 * 2);
  EXPECT_EQ(p.Pixel(2, 3), kRed);
  EXPECT_EQ(p.Pixel(5, 4), kRed);
  EXPECT_EQ(p.Pixel(6, 4), kBlack);

  Picture q(20, 10);
  q.FillRect(5, 4, 2, 3, kRed);  // corners in either order
  EXPECT_EQ(FirstDifference(p, q), "");

  Picture o(20, 12);
  o.Outline(1, 1, 10, 8, kWhite);
  EXPECT_EQ(CountColor(o, kWhite, 0, 0, 19, 11), 2 * 10 + 2 * 6);
  EXPECT_EQ(o.Pixel(2, 2), kBlack);
  o.Outline(1, 1, 10, 8, kRed, 2);
  EXPECT_EQ(o.Pixel(2, 2), kRed);
  EXPECT_EQ(o.Pixel(3, 3), kBlack);

  Picture edge(4, 4);
  edge.FillRect(-10, -10, 1, 100, kRed);  // clipped, no overrun
  EXPECT_EQ(CountColor(edge, kRed, 0, 0, 3, 3), 8);
}

TEST(Picture, LinesLeaveOutTheirEndPoint) {
  Picture p(12, 12);
  p.Line(2, 5, 7, 5, kWhite);
  EXPECT_EQ(CountColor(p, kWhite, 0, 0, 11, 11), 5);
  EXPECT_EQ(p.Pixel(6, 5), kWhite);
  EXPECT_EQ(p.Pixel(7, 5), kBlack);
  p.Line(9, 8, 9, 2, kRed);  // upward: 8 down to 3
  EXPECT_EQ(CountColor(p, kRed, 0, 0, 11, 11), 6);
  EXPECT_EQ(p.Pixel(9, 2), kBlack);
  Picture d(12, 12);
  d.Line(0, 0, 4, 4, kWhite);
  EXPECT_EQ(CountColor(d, kWhite, 0, 0, 11, 11), 4);
  EXPECT_EQ(d.Pixel(4, 4), kBlack);
}

// The copies give exactly what QPainter's Source and raster-operation modes give.
TEST(Picture, BlockCopiesMatchQPainterRasterOperations) {
  const Picture src = Noise(23, 17, 7);
  const struct {
    Rop rop;
    QPainter::CompositionMode mode;
  } ops[] = {{Rop::Copy, QPainter::CompositionMode_Source},
             {Rop::And, QPainter::RasterOp_SourceAndDestination},
             {Rop::Or, QPainter::RasterOp_SourceOrDestination}};
  const QPoint places[] = {{3, 4}, {-5, -6}, {30, 20}, {-20, 10}};
  for (const auto& op : ops) {
    for (const QPoint& at : places) {
      Picture mine = Noise(40, 30, 11);
      QImage theirs = mine.Image().copy();
      mine.Blt(at.x(), at.y(), 20, 15, src, 2, 1, op.rop);
      {
        QPainter qp(&theirs);
        qp.setRenderHint(QPainter::Antialiasing, false);
        qp.setCompositionMode(op.mode);
        qp.drawImage(at, src.Image(), QRect(2, 1, 20, 15));
      }
      EXPECT_EQ(mine.Image(), theirs) << static_cast<int>(op.rop) << " at " << at.x() << "," << at.y();
    }
  }
}

TEST(Picture, CopiesClipToTheSourceAndMayReadTheirOwnPicture) {
  Picture src(4, 4, kRed);
  Picture dst(10, 10);
  dst.Blt(0, 0, 8, 8, src, -2, -2, Rop::Copy);  // only the 4 x 4 that exist, at (2, 2)
  EXPECT_EQ(CountColor(dst, kRed, 0, 0, 9, 9), 16);
  EXPECT_EQ(dst.Pixel(2, 2), kRed);
  EXPECT_EQ(dst.Pixel(1, 1), kBlack);

  Picture self(10, 3);
  for (int x = 0; x < 10; ++x) self.FillRect(x, 0, x, 2, plat::Rgb(x, 0, 0));
  self.Blt(2, 0, 8, 3, self, 0, 0, Rop::Copy);  // overlapping, reads the picture as it was
  for (int x = 2; x < 10; ++x) EXPECT_EQ(self.Pixel(x, 1), plat::Rgb(x - 2, 0, 0));

  Picture fill(4, 1, plat::Rgb(0x0F, 0xF0, 0x33));
  fill.FillRop(0, 0, 2, 1, plat::Rgb(0xFF, 0x0F, 0x00), Rop::And);
  fill.FillRop(2, 0, 2, 1, plat::Rgb(0xF0, 0x0F, 0x00), Rop::Or);
  EXPECT_EQ(fill.Pixel(0, 0), plat::Rgb(0x0F, 0x00, 0x00));
  EXPECT_EQ(fill.Pixel(3, 0), plat::Rgb(0xFF, 0xFF, 0x33));
}

TEST(Picture, StretchedCopyAndResize) {
  Picture src(2, 2);
  src.FillRect(1, 0, 1, 1, kRed);
  Picture dst(8, 4);
  dst.StretchBlt(0, 0, 8, 4, src, 0, 0, 2, 2);
  EXPECT_EQ(CountColor(dst, kRed, 0, 0, 7, 3), 16);
  EXPECT_EQ(dst.Pixel(3, 2), kBlack);
  EXPECT_EQ(dst.Pixel(4, 2), kRed);

  Picture r(4, 4, kWhite);
  r.FillRect(3, 3, 3, 3, kRed);
  r.SetBackColor(plat::Rgb(0, 0, 9));
  r.Resize(6, 2);  // keeps what fits, new pixels in the background colour
  EXPECT_EQ(r.Width(), 6);
  EXPECT_EQ(r.Pixel(3, 1), kWhite);
  EXPECT_EQ(r.Pixel(5, 0), plat::Rgb(0, 0, 9));
  r.Clear();
  EXPECT_EQ(CountColor(r, plat::Rgb(0, 0, 9), 0, 0, 5, 1), 12);
  EXPECT_EQ(plat::Rgb(300, -4, 255), plat::Rgb(255, 0, 255));  // components clamp
}

TEST(PictureText, FontsMapToTheInstalledGothicsAtPointsOf96Dpi) {
  EXPECT_EQ(plat::MapFontFamily("ＭＳ ゴシック"), "IPAGothic");
  EXPECT_EQ(plat::MapFontFamily("ＭＳ Ｐゴシック"), "IPAPGothic");
  EXPECT_EQ(plat::MapFontFamily("Marlett"), "Marlett");
  EXPECT_EQ(QFontInfo(QFont("IPAGothic")).family(), "IPAGothic");
  const int pixels[][2] = {{8, 11}, {9, 12}, {11, 15}, {12, 16}, {50, 67}};
  for (const auto& p : pixels) EXPECT_EQ(plat::PointsToPixels(p[0]), p[1]) << p[0];
}

TEST(PictureText, TextIsSolidOnATransparentBackgroundFromItsTopLeftCell) {
  Picture p(60, 30, kRed);
  p.DrawText(10, 5, "AB", kWhite, plat::Font{"ＭＳ ゴシック", 11, true});
  int white = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const plat::Color c = p.Pixel(x, y);
      ASSERT_TRUE(c == kRed || c == kWhite) << "blended pixel at " << x << "," << y;
      if (c == kWhite) {
        ++white;
        EXPECT_GE(x, 10);
        EXPECT_GE(y, 5);
        EXPECT_LT(y, 5 + 15);
      }
    }
  EXPECT_GT(white, 20);

  // Bold at small sizes and at the 50-point size of the measure digits (67 pixels, past the
  // glyph size that the raster engine draws from bitmaps).
  for (double points : {11.0, 50.0}) {
    Picture thin(120, 100), bold(120, 100);
    thin.DrawText(0, 0, "W0", kWhite, plat::Font{"ＭＳ ゴシック", points, false});
    bold.DrawText(0, 0, "W0", kWhite, plat::Font{"ＭＳ ゴシック", points, true});
    const int thinCount = CountColor(thin, kWhite, 0, 0, 119, 99);
    const int boldCount = CountColor(bold, kWhite, 0, 0, 119, 99);
    EXPECT_GT(boldCount, thinCount + thinCount / 10) << points;
    EXPECT_EQ(CountColor(bold, kBlack, 0, 0, 119, 99) + boldCount, 120 * 100) << points;  // no blending
  }

  Picture byPoints(60, 30), byPixels(60, 30);  // 11 points at 96 dpi is 15 pixels
  byPoints.DrawText(0, 0, "Ag", kWhite, plat::Font{"ＭＳ ゴシック", 11, true});
  byPixels.DrawText(0, 0, "Ag", kWhite, plat::Font{"ＭＳ ゴシック", 99, true, 15});
  EXPECT_EQ(FirstDifference(byPoints, byPixels), "");

  Picture clipped(60, 30);
  clipped.DrawText(0, 0, "WWW", kWhite, plat::Font{}, 0, 0, 4, 29);
  EXPECT_EQ(CountColor(clipped, kWhite, 5, 0, 59, 29), 0);
  EXPECT_GT(CountColor(clipped, kWhite, 0, 0, 4, 29), 0);
}

TEST(PictureFiles, BmpRoundTripAndJpegAndGifLoad) {
  QTemporaryDir dir;
  const std::string base = dir.path().toStdString() + "/";
  const Picture src = Noise(13, 7, 3);
  ASSERT_TRUE(src.SaveBmp(base + "a.bmp"));
  Picture back;
  ASSERT_TRUE(back.Load(base + "a.bmp"));
  EXPECT_EQ(FirstDifference(src, back), "");

  Picture flat(16, 16, plat::Rgb(0, 0, 255));
  ASSERT_TRUE(flat.Image().save(QString::fromStdString(base + "b.jpg"), "JPEG", 95));
  Picture jpeg;
  ASSERT_TRUE(jpeg.Load(base + "b.jpg"));
  EXPECT_EQ(jpeg.Width(), 16);
  EXPECT_GT(jpeg.Pixel(8, 8) & 0xFF, 0xF0u);

  // A 1 x 1 GIF whose one pixel is red.
  const unsigned char gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0,    0, 0,  0,
                               0,   ',', 0,   0,   0,   0,   1, 0, 1, 0, 0,    2, 2, 0x44, 0x01, 0, ';'};
  std::ofstream(base + "c.gif", std::ios::binary).write(reinterpret_cast<const char*>(gif), sizeof gif);
  Picture g;
  ASSERT_TRUE(g.Load(base + "c.gif"));
  EXPECT_EQ(g.Pixel(0, 0), kRed);
  EXPECT_EQ(g.Image().format(), QImage::Format_RGB32);
}

TEST(PictureFiles, FailuresLeaveThePictureAndTheOldFileAlone) {
  QTemporaryDir dir;
  const std::string base = dir.path().toStdString() + "/";
  std::ofstream(base + "t.txt") << "not a picture";
  Picture png(3, 3, kRed);
  ASSERT_TRUE(png.Image().save(QString::fromStdString(base + "p.png"), "PNG"));
  Picture p(5, 5, kWhite);
  for (const char* name : {"t.txt", "p.png", "missing.bmp"}) {
    EXPECT_FALSE(p.Load(base + name)) << name;
    EXPECT_EQ(p.Width(), 5);
    EXPECT_EQ(p.Pixel(2, 2), kWhite);
  }
  // A truncated BMP is not read as a picture either.
  ASSERT_TRUE(p.SaveBmp(base + "whole.bmp"));
  std::ifstream in(base + "whole.bmp", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(base + "cut.bmp", std::ios::binary) << bytes.substr(0, 20);
  Picture q(2, 2);
  EXPECT_FALSE(q.Load(base + "cut.bmp"));
  EXPECT_EQ(q.Width(), 2);
  // A header claiming 60000 x 60000 pixels over a few bytes of data: refused, nothing allocated.
  std::string huge = bytes.substr(0, 54);
  for (int i = 0; i < 2; ++i) {
    huge[18 + 4 * i] = static_cast<char>(60000 & 0xFF);
    huge[19 + 4 * i] = static_cast<char>(60000 >> 8);
  }
  std::ofstream(base + "huge.bmp", std::ios::binary) << huge << std::string(64, '\x7f');
  EXPECT_FALSE(q.Load(base + "huge.bmp"));
  EXPECT_EQ(q.Width(), 2);

  // Nothing to save, or a folder that does not exist: false, and the old file stays.
  EXPECT_FALSE(Picture().SaveBmp(base + "whole.bmp"));
  EXPECT_FALSE(p.SaveBmp(base + "no/such/dir/x.bmp"));
  std::ifstream again(base + "whole.bmp", std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()), bytes);
}

namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void PutLe(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A w x h GIF with a grey palette, pixel (x, y) grey (x + y) & 255, its codes written as nine-bit
// literals with a clear code before the table would grow.
std::string GreyGif(int w, int h) {
  std::string s = "GIF89a";
  PutLe(s, w, 2);
  PutLe(s, h, 2);
  s += "\xF7";
  s += std::string(2, '\0');
  for (int i = 0; i < 256; ++i) s += std::string(3, static_cast<char>(i));
  s += ',';
  PutLe(s, 0, 4);
  PutLe(s, w, 2);
  PutLe(s, h, 2);
  s += std::string(1, '\0') + "\x08";
  std::string codes;
  uint32_t bits = 0;
  int used = 0;
  auto put = [&](uint32_t code) {
    bits |= code << used;
    for (used += 9; used >= 8; used -= 8, bits >>= 8) codes += static_cast<char>(bits & 0xFF);
  };
  put(256);
  for (int i = 0; i < w * h; ++i) {
    if (i > 0 && i % 254 == 0) put(256);
    put(((i % w) + (i / w)) & 255);
  }
  put(257);
  if (used > 0) codes += static_cast<char>(bits & 0xFF);
  for (size_t i = 0; i < codes.size(); i += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - i);
    s += static_cast<char>(n) + codes.substr(i, n);
  }
  return s + std::string(1, '\0') + ";";
}

// A w x h eight-bit RLE BMP whose bottom row is colour 5 (red), then an end mark: the rows above
// are never written by the file. Colour 0 is black, every other a grey of its own or red.
std::string RleBmp(int w, int h) {
  std::string data;
  for (int left = w; left > 0; left -= 255) data += static_cast<char>(std::min(left, 255)) + std::string("\x05");
  data += std::string("\0\0\0\x01", 4);
  std::string s = "BM";
  const uint32_t off = 14 + 40 + 256 * 4;
  PutLe(s, off + static_cast<uint32_t>(data.size()), 4);
  PutLe(s, 0, 4);
  PutLe(s, off, 4);
  for (uint32_t v : {40u, static_cast<uint32_t>(w), static_cast<uint32_t>(h)}) PutLe(s, v, 4);
  PutLe(s, 1, 2);
  PutLe(s, 8, 2);
  for (uint32_t v : {1u, static_cast<uint32_t>(data.size()), 2835u, 2835u, 256u, 0u}) PutLe(s, v, 4);
  for (int i = 0; i < 256; ++i) PutLe(s, i == 5 ? 0xFF0000u : i * 0x010101u, 4);
  return s + data;
}

}  // namespace

// A picture file cut short reads as nothing, whatever its format and wherever it was cut; never
// as a picture part of which is memory the file did not fill.
TEST(PictureFiles, CutShortFilesReadAsNothing) {
  QTemporaryDir dir;
  const std::string base = dir.path().toStdString() + "/";
  const Picture noise = Noise(200, 200, 5);
  ASSERT_TRUE(noise.SaveBmp(base + "n.bmp"));
  ASSERT_TRUE(noise.Image().save(QString::fromStdString(base + "n.jpg"), "JPEG", 90));
  const std::string bmp = FileBytes(base + "n.bmp"), jpg = FileBytes(base + "n.jpg");
  const std::string gif = GreyGif(200, 200), rle = RleBmp(200, 200);
  ASSERT_GT(jpg.size(), 4000u);
  const struct {
    const char* name;
    std::string bytes;
    bool whole;
  } cases[] = {
      {"bmp", bmp, true},
      {"bmp cut to 2,000 bytes", bmp.substr(0, 2000), false},
      {"bmp cut in half", bmp.substr(0, bmp.size() / 2), false},
      {"bmp without its last byte", bmp.substr(0, bmp.size() - 1), false},
      {"bmp cut in its header", bmp.substr(0, 40), false},
      {"rle bmp", rle, true},
      {"rle bmp without its end mark", rle.substr(0, rle.size() - 2), false},
      {"jpg", jpg, true},
      {"jpg cut to 2,000 bytes", jpg.substr(0, 2000), false},
      {"jpg cut in half", jpg.substr(0, jpg.size() / 2), false},
      {"jpg without its end marker", jpg.substr(0, jpg.size() - 2), false},
      {"gif", gif, true},
      {"gif without its trailer", gif.substr(0, gif.size() - 1), true},  // the image itself is whole
      {"gif cut to 2,000 bytes", gif.substr(0, 2000), false},
      {"gif cut in half", gif.substr(0, gif.size() / 2), false},
      {"gif without its last block's end", gif.substr(0, gif.size() - 2), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = base + "case." + std::string(c.name).substr(0, 3);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
    const plat::PictureRead r = plat::ReadPicture(path);
    Picture p(3, 3, kRed);
    EXPECT_EQ(p.Load(path), c.whole);
    if (!c.whole) {
      EXPECT_EQ(r.fault, plat::PictureFault::CutShort);
      EXPECT_TRUE(r.image.isNull());
      EXPECT_EQ(p.Width(), 3);
      EXPECT_EQ(p.Pixel(1, 1), kRed);
      continue;
    }
    ASSERT_EQ(r.fault, plat::PictureFault::None);
    ASSERT_EQ(p.Width(), 200);
    ASSERT_EQ(p.Height(), 200);
    // Every pixel is the file's: checked exactly where the format is exact.
    int wrong = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        const plat::Color got = p.Pixel(x, y);
        if (c.bytes.size() == bmp.size() && c.name[0] == 'b') wrong += got != noise.Pixel(x, y);
        if (c.name[0] == 'r') wrong += got != (y == 199 ? kRed : kBlack);
        if (c.name[0] == 'g') wrong += got != static_cast<plat::Color>(((x + y) & 255) * 0x010101);
      }
    EXPECT_EQ(wrong, 0);
  }
  // A PNG without its end chunk does not read either.
  const std::string cutPng = base + "cut.png";
  ASSERT_TRUE(noise.Image().save(QString::fromStdString(cutPng), "PNG"));
  const std::string png = FileBytes(cutPng);
  EXPECT_FALSE(plat::ReadPng(QString::fromStdString(cutPng)).isNull());
  std::ofstream(cutPng, std::ios::binary | std::ios::trunc) << png.substr(0, png.size() - 12);
  EXPECT_TRUE(plat::ReadPng(QString::fromStdString(cutPng)).isNull());
}

// PNG pictures read by Qt's own reader from a file or from bytes; anything else, cut short or
// missing, reads as nothing.
TEST(PictureFiles, PngReadsFromFilesAndBytes) {
  QTemporaryDir dir;
  const QString base = dir.path() + "/";
  QImage drawn(7, 4, QImage::Format_ARGB32);
  drawn.fill(QColor(10, 200, 30, 128));
  drawn.setPixel(3, 2, qRgba(1, 2, 3, 255));
  ASSERT_TRUE(drawn.save(base + "d.png", "PNG"));
  EXPECT_EQ(plat::ReadPng(base + "d.png"), drawn);
  std::ifstream in((base + "d.png").toStdString(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  EXPECT_EQ(plat::ReadPng(data, bytes.size()), drawn);

  ASSERT_TRUE(drawn.save(base + "d.bmp", "BMP"));
  for (const char* name : {"d.bmp", "missing.png"}) EXPECT_TRUE(plat::ReadPng(base + name).isNull()) << name;
  EXPECT_TRUE(plat::ReadPng(data, 20).isNull());
  EXPECT_TRUE(plat::ReadPng(nullptr, 0).isNull());
}

TEST(Canvas, OverlayShowsOverThePersistentImageAndClearsBackToIt) {
  plat::Canvas c(20, 10);
  c.Image().FillRect(0, 0, 19, 9, plat::Rgb(0, 0, 0x40));
  const Picture before = c.Image();
  EXPECT_FALSE(c.OverlayShown());
  c.Overlay().FillRop(0, 0, 5, 5, plat::Rgb(0x10, 0, 0), Rop::Or);  // combines with what is shown
  c.Overlay().Outline(6, 1, 12, 6, kWhite, 2);
  EXPECT_TRUE(c.OverlayShown());
  EXPECT_EQ(c.Shown().Pixel(1, 1), plat::Rgb(0x10, 0, 0x40));
  EXPECT_EQ(c.Shown().Pixel(7, 2), kWhite);
  EXPECT_EQ(FirstDifference(c.Image(), before), "");  // the persistent image is untouched
  c.ClearOverlay();
  EXPECT_EQ(FirstDifference(c.Shown(), before), "");
  c.Overlay().FillRect(0, 0, 0, 0, kRed);  // a new overlay starts from the image again
  EXPECT_EQ(c.Shown().Pixel(1, 1), plat::Rgb(0, 0, 0x40));
}
