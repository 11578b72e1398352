// The splash pictures drawn when the program was built (splashgen), read back as images.
#include <cstddef>
#include <cstdint>

#include "frame/splashart.h"
#include "platform/gfx/picture.h"

namespace mk {

extern const std::uint32_t kSplashUsualPixels[];  // kSplashArtWidth x kSplashArtHeight, RGB32
extern const unsigned char kSplashPngLettered[];
extern const std::size_t kSplashPngLetteredSize;

QImage StoredSplashPicture(bool lettered) {
  const QImage picture = lettered ? plat::ReadPng(kSplashPngLettered, kSplashPngLetteredSize)
                                  : QImage(reinterpret_cast<const uchar*>(kSplashUsualPixels), kSplashArtWidth,
                                           kSplashArtHeight, QImage::Format_RGB32);
  // Drawn here should the stored one not read back.
  return picture.isNull() ? SplashPicture(lettered) : picture;
}

}  // namespace mk
