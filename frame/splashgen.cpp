// Build step: draws the splash pictures once and writes them into a C++ source file, so that the
// program shows them at start-up without drawing them: the usual picture as pixels (reading it
// back costs nothing; decoding a PNG file costs more than a whole paint of the frame), the rare
// one as a PNG file.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <string>

#include "frame/splashart.h"

namespace {

bool AppendPicture(std::string& out, const char* name, bool lettered) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!mk::SplashPicture(lettered).save(&buffer, "PNG")) return false;
  out += "extern const unsigned char " + std::string(name) + "[] = {";
  for (qsizetype i = 0; i < png.size(); ++i) {
    if (i % 24 == 0) out += "\n   ";
    out += " " + std::to_string(static_cast<unsigned char>(png[i])) + ",";
  }
  out += "\n};\nextern const std::size_t " + std::string(name) + "Size = " + std::to_string(png.size()) + ";\n";
  return true;
}

bool AppendPixels(std::string& out, const char* name, const QImage& drawn) {
  const QImage picture = drawn.convertToFormat(QImage::Format_RGB32);
  if (picture.width() != mk::kSplashArtWidth || picture.height() != mk::kSplashArtHeight) return false;
  out += "extern const std::uint32_t " + std::string(name) + "[] = {";
  char word[16];
  int n = 0;
  for (int y = 0; y < picture.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x, ++n) {
      if (n % 10 == 0) out += "\n   ";
      std::snprintf(word, sizeof word, " 0x%08X,", static_cast<unsigned>(row[x]));
      out += word;
    }
  }
  out += "\n};\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: splashgen <output.cpp>\n");
    return 2;
  }
  const std::string path = argv[1];
  QGuiApplication app(argc, argv);  // the title is set in an installed face
  std::string out =
      "// Made by splashgen at build time: the splash pictures.\n"
      "#include <cstddef>\n#include <cstdint>\n\nnamespace mk {\n\n";
  if (!AppendPixels(out, "kSplashUsualPixels", mk::SplashPicture(false)) ||
      !AppendPicture(out, "kSplashPngLettered", true)) {
    std::fprintf(stderr, "splashgen: a picture could not be encoded\n");
    return 1;
  }
  out += "\n}  // namespace mk\n";
  // A new file under another name first, so that a failed run never leaves half a file behind.
  const std::string part = path + ".part";
  {
    std::ofstream f(part, std::ios::binary | std::ios::trunc);
    f << out;
    if (!f.flush()) {
      std::fprintf(stderr, "splashgen: cannot write %s\n", part.c_str());
      return 1;
    }
  }
  if (std::rename(part.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "splashgen: cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}
