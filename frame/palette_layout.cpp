// The edit palette's layout, splitter, undocking and re-docking decisions.
#include "frame/palette_layout.h"

#include <algorithm>
#include <cstdlib>

#include "platform/core/vbnum.h"

namespace mk {

PaletteLayout LayoutPalette(const PaletteLayoutInput& in) {
  const int W = in.W, H = in.H;
  const int L = in.floating ? kPaletteTitleFloating : kPaletteTitleDocked;
  const int T = in.tabHeight, B = in.toolbarHeight;
  PaletteLayout out;
  out.title = {0, 0, W, L};
  out.sideButtonX = W - 31;
  out.closeButtonX = W - 16;
  if (in.side == PaletteSide::Left) out.splitterX = W - 2;
  if (B + L + 1 < H) out.defFrame = PxRect{4, L + 1, W - 6, in.defFrameHeight};
  const int D = in.defFrameShown ? in.defFrameHeight : 0;
  if (T + L + D + 2 + B >= H) return out;  // too short: the rest stays where it was
  out.tab = PxRect{4, L + D + 2, W - 6, T};
  const int listHeight = H - L - D - 3 - B - T;
  out.lists = PxRect{4, T + L + D + 2, W - 6, listHeight};
  out.toolbar = PxRect{0, out.lists->y + listHeight + 1, W, B};
  return out;
}

std::optional<int> SplitterWidth(int width, double x, PaletteSide side, int frameWidth) {
  const double bounded = x < -1e6 ? -1e6 : x > 1e6 ? 1e6 : x;  // a pointer far off the screen
  int d = static_cast<int>(plat::RoundHalfEven(bounded));
  if (side == PaletteSide::Left) d = -d;
  if (std::abs(d) < 2) return std::nullopt;
  if (d > 0 && width - d < kPaletteMinWidth) return kPaletteMinWidth;
  if (d < 0 && width - d > frameWidth / 2.0) return frameWidth / 2;
  return width - d;
}

bool TitleDragUndocks(int pressX, double x, PaletteSide side) {
  return side == PaletteSide::Left ? x > pressX + kPaletteDragDistance : x < pressX - kPaletteDragDistance;
}

int ToolWindowInnerWidth(int innerWidth, int frameWidth) {
  // The lower limit wins in a frame under 280 pixels, so that a width once corrected stays.
  return std::max(kPaletteMinWidth, std::min(innerWidth, frameWidth / 2));
}

std::optional<PaletteSide> RedockSide(int toolLeft, int toolOuterWidth, int frameInnerWidth) {
  const double half = toolOuterWidth / 2.0;
  if (toolLeft < -half) return PaletteSide::Left;
  if (toolLeft > frameInnerWidth - half) return PaletteSide::Right;
  return std::nullopt;
}

SideButtonFace SideButtonFor(PaletteSide side) {
  return side == PaletteSide::Left ? SideButtonFace{"▶", "右へ移動"} : SideButtonFace{"◀", "左へ移動"};
}

void PaletteDock::SwitchSide() {
  if (floating_) return;
  side_ = side_ == PaletteSide::Right ? PaletteSide::Left : PaletteSide::Right;
}

bool PaletteDock::Float() {
  if (floating_) return false;
  floating_ = true;
  return true;
}

bool PaletteDock::Tick(int toolLeft, int toolOuterWidth, int frameInnerWidth) {
  if (!floating_) return false;
  const std::optional<PaletteSide> side = RedockSide(toolLeft, toolOuterWidth, frameInnerWidth);
  if (!side) return false;
  side_ = *side;
  floating_ = false;
  return true;
}

}  // namespace mk
