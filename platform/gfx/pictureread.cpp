#include "platform/gfx/pictureread.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstdint>
#include <limits>
#include <utility>

namespace plat {

namespace {

// Little- and big-endian fields; the caller has checked that they lie inside the bytes.
uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | (Le16(p + 2) << 16); }
uint32_t Be16(const uint8_t* p) { return (p[0] << 8) | p[1]; }
uint32_t Be32(const uint8_t* p) { return (Be16(p) << 16) | Be16(p + 2); }

// The RLE stream from start runs to its end mark, or through every row, inside the file.
bool RleIsWhole(const uint8_t* b, uint64_t n, uint64_t start, int64_t rows, bool rle8) {
  uint64_t p = start;
  int64_t y = 0;
  while (y < rows) {
    if (p + 2 > n) return false;
    const uint32_t count = b[p], code = b[p + 1];
    p += 2;
    if (count != 0) continue;  // a run of one value
    if (code == 0) {
      ++y;  // end of a row
    } else if (code == 1) {
      return true;  // end of the picture
    } else if (code == 2) {
      if (p + 2 > n) return false;
      y += b[p + 1];  // a jump
      p += 2;
    } else {
      const uint64_t bytes = rle8 ? code : (code + 1) / 2;  // literal pixels, padded to a word
      p += bytes + (bytes & 1);
      if (p > n) return false;
    }
  }
  return true;
}

bool BmpIsWhole(const uint8_t* b, uint64_t n) {
  if (n < 18) return false;
  const uint64_t offBits = Le32(b + 10), headerSize = Le32(b + 14);
  int64_t w = 0, h = 0;
  uint32_t bpp = 0, compression = 0, colorsUsed = 0;
  if (headerSize == 12) {  // the old core header
    if (n < 26) return false;
    w = static_cast<int16_t>(Le16(b + 18));
    h = static_cast<int16_t>(Le16(b + 20));
    bpp = Le16(b + 24);
  } else {
    if (headerSize < 40 || n < 54) return false;
    w = static_cast<int32_t>(Le32(b + 18));
    h = static_cast<int32_t>(Le32(b + 22));
    bpp = Le16(b + 28);
    compression = Le32(b + 30);
    colorsUsed = Le32(b + 46);
  }
  if (w <= 0 || h == 0 || bpp == 0 || bpp > 32) return true;  // the decoder refuses these itself
  if (h < 0) h = -h;
  // The pixels begin at offBits, or after the header, its masks and the colour table when
  // offBits points before them.
  uint64_t start = 14 + headerSize;
  if (headerSize == 40 && compression == 3) start += 12;
  if (headerSize == 40 && compression == 6) start += 16;
  if (bpp <= 8) start += static_cast<uint64_t>(colorsUsed != 0 ? colorsUsed : 1u << bpp) * (headerSize == 12 ? 3 : 4);
  if (offBits > start) start = offBits;
  if (start > n) return false;
  if (compression == 1 || compression == 2) return RleIsWhole(b, n, start, h, compression == 1);
  if (compression != 0 && compression != 3 && compression != 6) return true;
  const uint64_t stride = (static_cast<uint64_t>(w) * bpp + 31) / 32 * 4;
  return static_cast<uint64_t>(h) <= (n - start) / stride;
}

// Every segment up to the end marker, the coded data of each scan included.
bool JpegIsWhole(const uint8_t* b, uint64_t n) {
  uint64_t p = 2;  // after the start marker
  while (true) {
    while (p < n && b[p] != 0xFF) ++p;  // stray bytes between segments are skipped, as decoders do
    while (p < n && b[p] == 0xFF) ++p;  // fill bytes
    if (p >= n) return false;
    const uint32_t marker = b[p++];
    if (marker == 0xD9) return true;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // markers without a length
    if (p + 2 > n) return false;
    const uint32_t length = Be16(b + p);
    if (length < 2) return false;
    p += length;
    if (p > n) return false;
    if (marker != 0xDA) continue;
    // A scan's data runs to the next marker that is neither a stuffed zero nor a restart.
    while (true) {
      if (p + 1 >= n) return false;
      const uint32_t next = b[p + 1];
      if (b[p] == 0xFF && next != 0 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) break;
      ++p;
    }
  }
}

// Data sub-blocks from p up to their zero-length end.
bool SkipGifBlocks(const uint8_t* b, uint64_t n, uint64_t& p) {
  while (true) {
    if (p >= n) return false;
    const uint32_t size = b[p++];
    if (size == 0) return true;
    p += size;
  }
}

// Up to the end of the first image's data, which is all a reader takes from the file.
bool GifIsWhole(const uint8_t* b, uint64_t n) {
  if (n < 13) return false;
  uint64_t p = 13;
  if (b[10] & 0x80) p += 3u << ((b[10] & 7) + 1);  // the global colour table
  while (true) {
    if (p >= n) return false;
    const uint32_t kind = b[p++];
    if (kind == 0x21) {  // an extension: its label, then its blocks
      ++p;
      if (!SkipGifBlocks(b, n, p)) return false;
    } else if (kind == 0x2C) {  // the image: its descriptor, colour table, code size and data
      if (p + 9 > n) return false;
      const uint32_t flags = b[p + 8];
      p += 9;
      if (flags & 0x80) p += 3u << ((flags & 7) + 1);
      ++p;
      return SkipGifBlocks(b, n, p);
    } else {
      return true;  // the trailer or an unknown block: the decoder judges
    }
  }
}

bool PngIsWhole(const uint8_t* b, uint64_t n) {
  uint64_t p = 8;  // after the signature
  while (true) {
    if (p + 8 > n) return false;
    const uint64_t next = p + 12 + Be32(b + p);  // length, type, data, check sum
    if (next > n) return false;
    if (Be32(b + p + 4) == 0x49454E44u) return true;  // "IEND"
    p = next;
  }
}

// The most bytes a picture may take once read, and the largest file read for one.
qint64 SizeLimit() {
  const int megabytes = QImageReader::allocationLimit();
  return megabytes > 0 ? static_cast<qint64>(megabytes) << 20 : std::numeric_limits<int>::max();
}

// onlyPng: Qt's PNG reader alone; otherwise BMP, JPEG or GIF as the content says.
PictureRead Decode(QByteArray bytes, bool onlyPng) {
  PictureRead r;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader;
  if (onlyPng) {
    reader.setFormat("png");
    reader.setAutoDetectImageFormat(false);
  } else {
    reader.setDecideFormatFromContent(true);
  }
  reader.setDevice(&buffer);
  const QByteArray format = reader.format().toLower();
  const bool wanted = onlyPng || format == "bmp" || format == "jpeg" || format == "jpg" || format == "gif";
  if (!wanted || !reader.canRead()) {
    r.fault = PictureFault::NotPicture;
    return r;
  }
  const QSize size = reader.size();
  if (size.isValid() && static_cast<qint64>(size.width()) * size.height() * 4 > SizeLimit()) {
    r.fault = PictureFault::TooLarge;
    return r;
  }
  if (!PictureIsWhole(bytes, format)) {
    r.fault = PictureFault::CutShort;
    return r;
  }
  // Handed in black: a reader that reuses it leaves what the file skips (an RLE jump) black.
  const QImage::Format kind = reader.imageFormat();
  if (size.isValid() && kind != QImage::Format_Invalid) {
    r.image = QImage(size, kind);
    if (!r.image.isNull()) r.image.fill(0);
  }
  if (!reader.read(&r.image) || r.image.isNull()) {
    r.image = QImage();
    r.fault = PictureFault::CutShort;
  }
  return r;
}

PictureRead ReadFile(const QString& path, bool onlyPng) {
  PictureRead r;
  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    r.fault = PictureFault::Missing;
    return r;
  }
  if (file.size() > SizeLimit()) {
    r.fault = PictureFault::TooLarge;
    return r;
  }
  return Decode(file.readAll(), onlyPng);
}

}  // namespace

bool PictureIsWhole(const QByteArray& bytes, const QByteArray& format) {
  const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
  const auto n = static_cast<uint64_t>(bytes.size());
  if (format == "bmp") return BmpIsWhole(b, n);
  if (format == "jpeg" || format == "jpg") return JpegIsWhole(b, n);
  if (format == "gif") return GifIsWhole(b, n);
  if (format == "png") return PngIsWhole(b, n);
  return true;
}

PictureRead ReadPicture(const std::string& path) { return ReadFile(QString::fromStdString(path), false); }

QImage ReadPng(const QString& path) { return ReadFile(path, true).image; }

QImage ReadPng(const unsigned char* bytes, std::size_t size) {
  if (!bytes || size > static_cast<std::size_t>(std::numeric_limits<int>::max())) return {};
  return Decode(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)), true)
      .image;
}

}  // namespace plat
