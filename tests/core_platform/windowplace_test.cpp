// A saved window place against screen layouts: kept where it is on a screen, otherwise moved
// (and shrunk when larger) onto the screen it overlaps most or lies nearest to.
#include "platform/core/windowplace.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using plat::FitOnScreens;
using plat::ScreenRect;

struct PlaceCase {
  const char* name;
  ScreenRect window;
  std::vector<ScreenRect> screens;
  ScreenRect fitted;
};

TEST(WindowPlace, SavedPlacesAgainstScreenLayouts) {
  const ScreenRect laptop{0, 0, 1400, 900};
  const ScreenRect panelled{0, 30, 1400, 870};     // a desktop bar along the top
  const ScreenRect right{1400, 0, 1920, 1080};     // a second screen to the right
  const ScreenRect left{-1920, -200, 1920, 1080};  // a second screen to the left, set higher
  const PlaceCase cases[] = {
      {"wholly on the only screen", {100, 50, 800, 600}, {laptop}, {100, 50, 800, 600}},
      {"filling the screen exactly", {0, 0, 1400, 900}, {laptop}, {0, 0, 1400, 900}},
      // Top 15000 and Left 16000 twips from a screen that is gone.
      {"off every screen, below and right", {1066, 1000, 800, 600}, {laptop}, {600, 300, 800, 600}},
      {"off every screen, far above and left", {-50000, -50000, 800, 600}, {laptop}, {0, 0, 800, 600}},
      {"partly off the left edge", {-200, 100, 800, 600}, {laptop}, {0, 100, 800, 600}},
      {"partly off the bottom edge", {300, 700, 800, 600}, {laptop}, {300, 300, 800, 600}},
      {"title bar under the desktop bar", {100, 0, 800, 600}, {panelled}, {100, 30, 800, 600}},
      // Width and Height 999999999 twips, as Qt caps them.
      {"larger than the screen", {0, 0, 32767, 32767}, {laptop}, {0, 0, 1400, 900}},
      {"larger and off the screen", {5000, -3000, 66666666, 66666666}, {laptop}, {0, 0, 1400, 900}},
      {"wider only", {200, 100, 3000, 500}, {laptop}, {0, 100, 1400, 500}},
      {"on a second screen that is still there", {1500, 100, 1200, 800}, {laptop, right}, {1500, 100, 1200, 800}},
      {"on a second screen at negative places", {-1500, -100, 1000, 700}, {laptop, left}, {-1500, -100, 1000, 700}},
      {"across two screens: onto the one it covers most",
       {1200, 100, 1000, 600},
       {laptop, right},
       {1400, 100, 1000, 600}},
      {"across two screens, mostly on the first", {1000, 100, 600, 600}, {laptop, right}, {800, 100, 600, 600}},
      {"off both screens: the nearer one", {4000, 200, 800, 600}, {laptop, right}, {2520, 200, 800, 600}},
      {"equally near two screens: the primary",
       {1400 - 400, 1100, 800, 600},
       {laptop, {1400, 0, 1400, 900}},
       {600, 300, 800, 600}},
      {"where the second screen was, now gone", {2000, 100, 1200, 800}, {laptop}, {200, 100, 1200, 800}},
      {"at the last coordinates an int holds",
       {INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX},
       {laptop},
       {0, 0, 1400, 900}},
      {"no screen known", {1066, 1000, 800, 600}, {}, {1066, 1000, 800, 600}},
      {"only an empty screen", {1066, 1000, 800, 600}, {{0, 0, 0, 0}}, {1066, 1000, 800, 600}},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ScreenRect r = FitOnScreens(c.window, c.screens);
    EXPECT_EQ(r, c.fitted) << r.x << "," << r.y << " " << r.w << "x" << r.h;
  }
}

}  // namespace
