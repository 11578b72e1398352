#include "platform/gfx/canvas.h"

namespace plat {

void Canvas::Resize(int width, int height) {
  image_.Resize(width, height);
  overlayOn_ = false;
}

Picture& Canvas::Overlay() {
  if (!overlayOn_) {
    overlay_ = image_;  // shares the pixels until the first change
    overlayOn_ = true;
  }
  return overlay_;
}

}  // namespace plat
