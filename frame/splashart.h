// The product pictures of the splash and About window, drawn by code: 440 x 220 pixels, the
// title logo in the upper part and a plain lower part for the labels.
#pragma once
#include <QImage>

namespace mk {

inline constexpr int kSplashArtWidth = 440;
inline constexpr int kSplashArtHeight = 220;
// The first row of the plain lower part and its colour.
inline constexpr int kSplashArtPlainTop = 114;
inline constexpr QRgb kSplashArtPlain = 0xFFF3F1EA;

// The usual picture: the title set in an installed bold face. lettered: the rare picture, the
// same layout with the title in the program's own hand-drawn lettering.
QImage SplashPicture(bool lettered);

// The same picture as drawn when the program was built: start-up shows it without drawing.
QImage StoredSplashPicture(bool lettered);

}  // namespace mk
