// Fonts of the forms' lists, named as the forms name them.
#pragma once
#include <QFont>

namespace mk {

// The forms' fixed-pitch Japanese font "ＭＳ ゴシック" at 9 points; where it is not installed the
// Japanese gothic family that stands in for it takes its place, never a font without Japanese.
QFont FixedListFont();

}  // namespace mk
