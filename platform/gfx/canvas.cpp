#include "platform/gfx/canvas.h"

namespace plat {

void Canvas::Resize(int width, int height) {
  ClearOverlay();
  image_.Resize(width, height);
}

void Canvas::ClearOverlay() {
  overlay_ = Picture();  // drops its pixels, so the image is not shared when drawn next
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
