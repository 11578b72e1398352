// Where a top-level window restored from saved settings may stand: on a screen the desktop has
// now. Screens come and go (a second monitor unplugged, a smaller display), so a saved place is
// only trusted as far as it lies on one of them. Pixels, in the desktop's coordinates.
#pragma once
#include <vector>

namespace plat {

struct ScreenRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const ScreenRect&) const = default;
};

// The window's outer rectangle (its title bar and borders included) moved, and where it is
// larger than the screen shrunk, so that it lies wholly on one of the screens' available areas
// (primary first). A window wholly on a screen stays as it is. Otherwise it goes to the screen it
// overlaps most, or, lying on none, to the nearest (the first of equally near ones): as large as
// it was up to that screen's size, and moved no further than needed to lie on it, so its title
// bar and menus can always be reached. Without screens the window stays as it is.
ScreenRect FitOnScreens(const ScreenRect& window, const std::vector<ScreenRect>& screens);

}  // namespace plat
