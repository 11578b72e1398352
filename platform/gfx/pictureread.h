// Reading picture files: every picture the program loads (definitions, wallpaper, splash, icons)
// comes through here, so that a file that does not hold its whole picture is refused instead of
// showing memory the file never filled.
#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstddef>
#include <string>

namespace plat {

// Why a picture file gave no picture.
enum class PictureFault {
  None,
  Missing,     // no such file, or it cannot be opened
  NotPicture,  // not one of the formats asked for (judged by content, not by name)
  TooLarge,    // the file or its picture is past the reader's size limit
  CutShort,    // the file ends before its picture does, or it does not decode
};

struct PictureRead {
  QImage image;  // null unless fault is None
  PictureFault fault = PictureFault::None;
};

// A BMP, JPEG or GIF file (path UTF-8), its format told by its content.
PictureRead ReadPicture(const std::string& path);

// A PNG file (a path or a Qt resource) or PNG bytes, read by Qt's own PNG reader alone; null when
// it does not read. Naming the format is not enough for that: Qt would first load every
// image-format plugin there is, to ask each whether it reads the file instead.
QImage ReadPng(const QString& path);
QImage ReadPng(const unsigned char* bytes, std::size_t size);

// True when bytes hold the whole of their picture in format ("bmp", "jpeg", "gif" or "png"): the
// pixel rows of a BMP, a JPEG up to its end marker, a GIF's first image up to its last data block,
// a PNG up to its end chunk. Only the file's structure is checked; other formats count as whole.
bool PictureIsWhole(const QByteArray& bytes, const QByteArray& format);

}  // namespace plat
