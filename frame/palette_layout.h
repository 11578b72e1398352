// The edit palette's geometry and placement decisions, free of any window system: the layout of
// its children, the splitter, the title drag that undocks it, the floating tool window's width
// and the re-docking test. Pixels unless a name says twips.
#pragma once
#include <cstdint>
#include <optional>

namespace mk {

constexpr int kTwipsPerPixel = 15;
constexpr int kPaletteMinWidth = 140;     // the narrowest palette, docked or floating
constexpr int kPaletteTitleDocked = 17;   // title bar height while docked
constexpr int kPaletteTitleFloating = 1;  // while floating the tool window's own title stands in
constexpr int kPaletteDragDistance = 24;  // a title drag must go further than this to undock

// The docked side, as the palette's alignment in the frame.
enum class PaletteSide : int16_t { Left = 3, Right = 4 };

struct PxRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PxRect&) const = default;
};

struct PaletteLayoutInput {
  int W = 0, H = 0;  // the palette's inner size
  bool floating = false;
  PaletteSide side = PaletteSide::Right;
  int tabHeight = 25;      // T
  int toolbarHeight = 22;  // B
  int defFrameHeight = 232;
  bool defFrameShown = true;  // View > 定義入力領域 checked
};

// Where the children go. An empty optional leaves that child where it was.
struct PaletteLayout {
  PxRect title;                    // Label1
  int sideButtonX = 0;             // Command1, y = 1, 15 x 15
  int closeButtonX = 0;            // Command2, y = 1, 15 x 15
  std::optional<int> splitterX;    // ResizeBar, moved here only while docked left
  std::optional<PxRect> defFrame;  // DefFrame1 (its height unchanged)
  std::optional<PxRect> tab;       // Tab1
  std::optional<PxRect> lists;     // Grid1, Grid2, Text6
  std::optional<PxRect> toolbar;   // Toolbar2
};

PaletteLayout LayoutPalette(const PaletteLayoutInput& in);

// The palette width after a splitter move to x (relative to the bar) while the palette is
// width wide and the frame frameWidth wide; nothing for moves under 2 pixels.
std::optional<int> SplitterWidth(int width, double x, PaletteSide side, int frameWidth);

// True when a title drag pressed at pressX and now at x undocks the palette.
bool TitleDragUndocks(int pressX, double x, PaletteSide side);

// The floating tool window's inner width after the user sized it to innerWidth: at least the
// narrowest palette, at most half the frame (the lower limit first).
int ToolWindowInnerWidth(int innerWidth, int frameWidth);

// Where a floating palette docks on a timer tick: the tool window's screen left and outer width
// against the frame's inner width. Empty: it keeps floating.
std::optional<PaletteSide> RedockSide(int toolLeft, int toolOuterWidth, int frameInnerWidth);

// The side button's face for a docked side: the arrow toward the other edge and its tool tip.
struct SideButtonFace {
  const char* glyph;
  const char* tip;
};
SideButtonFace SideButtonFor(PaletteSide side);

// The palette's placement across docking, undocking and re-docking (its visibility is the View
// item's check mark alone).
class PaletteDock {
 public:
  PaletteSide Side() const { return side_; }
  bool Floating() const { return floating_; }

  // The side button: docked right becomes docked left and back. Nothing while floating.
  void SwitchSide();
  // Undocking by the title drag; returns false when already floating.
  bool Float();
  // A timer tick with the tool window at toolLeft: true when the palette docked again.
  bool Tick(int toolLeft, int toolOuterWidth, int frameInnerWidth);

 private:
  PaletteSide side_ = PaletteSide::Right;
  bool floating_ = false;
};

}  // namespace mk
