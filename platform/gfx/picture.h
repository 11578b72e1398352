// A picture with a persistent 32-bit RGB image, drawn in pixels with the origin at the top left.
//
// Rectangles name both corners and include them; a line leaves out its end point. Colours are
// 0xRRGGBB values built with Rgb(). Block copies follow the classic raster operations: Copy
// replaces the destination, And / Or combine the source with it bit by bit. Everything clips to
// the pictures' bounds, so any coordinates are safe.
#pragma once
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/pictureread.h"

namespace plat {

using Color = uint32_t;  // 0xRRGGBB

// Components below 0 count as 0 and above 255 as 255.
constexpr Color Rgb(int r, int g, int b) {
  auto c = [](int v) { return static_cast<Color>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
  return (c(r) << 16) | (c(g) << 8) | c(b);
}

enum class Rop { Copy, And, Or };  // SRCCOPY, SRCAND, SRCPAINT

// A font as the forms name it: family, size in points (or directly in pixels), boldness.
struct Font {
  std::string family = "ＭＳ ゴシック";
  double points = 9;
  bool bold = true;
  int pixels = 0;  // above 0: the em height in pixels, in place of points
};

// Installed family that stands in for a family name of the original forms.
std::string MapFontFamily(const std::string& family);
// The family itself where it is installed, else standIn, or MapFontFamily's family when standIn
// is empty. Asking Qt for a family that is not installed costs a search through every installed
// font for each new size and weight of it.
QString InstalledFamily(const std::string& family, const std::string& standIn = {});
// Pixel height of the em square for a point size at 96 dots per inch (rounded like MulDiv).
int PointsToPixels(double points);

// The widest advance among some characters of a font, and how far their ink reaches left and
// right of the pen position (inclusive pixel columns; left may be negative).
struct CharExtent {
  int advance = 0;
  int inkLeft = 0;
  int inkRight = 0;
};
CharExtent MaxCharExtent(const Font& font, const std::string& utf8Chars);

class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, Color back = 0);

  int Width() const { return img_.width(); }
  int Height() const { return img_.height(); }
  Color BackColor() const { return back_; }
  void SetBackColor(Color c) { back_ = c; }

  // New size; what fits stays, new pixels get the background colour.
  void Resize(int width, int height);
  // Whole image to the background colour.
  void Clear();

  Color Pixel(int x, int y) const;  // 0 outside the image
  void FillRect(int x1, int y1, int x2, int y2, Color c);
  // One-pixel border of the rectangle; a wider pen adds rings inside it.
  void Outline(int x1, int y1, int x2, int y2, Color c, int penWidth = 1);
  void Line(int x1, int y1, int x2, int y2, Color c);

  // Text with a transparent background, (x, y) the top-left corner of its cell. With a clip
  // rectangle (inclusive corners) only pixels inside it change.
  void DrawText(int x, int y, const std::string& utf8, Color c, const Font& font);
  void DrawText(int x, int y, const std::string& utf8, Color c, const Font& font, int clipX1, int clipY1, int clipX2,
                int clipY2);

  // Fills the rectangle (x, y, w, h) with a colour combined by the raster operation.
  void FillRop(int x, int y, int w, int h, Color c, Rop rop);
  // Rows y1..y2 (clipped) take the colours of row, from x 0 on.
  void RepeatRow(int y1, int y2, const std::vector<Color>& row);
  // Copies the w x h rectangle at (sx, sy) of src to (dx, dy); src may be this picture.
  void Blt(int dx, int dy, int w, int h, const Picture& src, int sx, int sy, Rop rop);
  // Stretches src's (sx, sy, sw, sh) into (dx, dy, dw, dh), nearest pixel, replacing.
  void StretchBlt(int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy, int sw, int sh);

  // Loads a BMP, JPEG or GIF file (path UTF-8) through ReadPicture; the picture takes the file's
  // size. False and unchanged when the file cannot be read whole as a picture.
  bool Load(const std::string& path);
  // Writes the image as a BMP file; an existing file is replaced only when writing succeeded.
  bool SaveBmp(const std::string& path) const;

  const QImage& Image() const { return img_; }
  QImage& Image() { return img_; }

 private:
  QImage img_;
  Color back_ = 0;
};

}  // namespace plat
