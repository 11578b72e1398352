// A drawing surface in two layers: the persistent image that full repaints compose, and a
// transient overlay for pointer feedback (rubber band, placement preview). The overlay starts as
// a copy of the persistent image, so raster operations on it combine with what is shown; clearing
// it shows the persistent image again, untouched.
#pragma once
#include "platform/gfx/picture.h"

namespace plat {

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height) : image_(width, height) {}

  int Width() const { return image_.Width(); }
  int Height() const { return image_.Height(); }
  void Resize(int width, int height);

  // The persistent image.
  Picture& Image() { return image_; }
  const Picture& Image() const { return image_; }

  // The overlay, begun from the persistent image when none is shown.
  Picture& Overlay();
  bool OverlayShown() const { return overlayOn_; }
  void ClearOverlay();

  // What the window shows: the overlay while there is one, else the persistent image.
  const Picture& Shown() const { return overlayOn_ ? overlay_ : image_; }

 private:
  Picture image_;
  Picture overlay_;
  bool overlayOn_ = false;
};

}  // namespace plat
