// The program's own icons, drawn in code: the chart window's and the application's.
#pragma once
#include <QIcon>
#include <QStyle>

namespace mk {

// A chart grid: dark lanes, a measure line and coloured objects (16, 32 and 48 pixels).
QIcon ChartWindowIcon();
// The application: a chart sheet on a rounded tile (16 to 256 pixels).
QIcon ApplicationIcon();
// The style's standard icon sp, reading its pictures only when they are drawn: at 16 pixels (a
// toolbar's size) only the 16-pixel picture is read; any other size, and an icon theme or a style
// of other pictures, take the style's own icon whole. The same pixels as the style's icon.
QIcon StyleIcon(QStyle::StandardPixmap sp);
// The style base (owned from then on) with the overflow buttons' icons of tool bars and the menu
// bar built when first drawn: every bar makes its hidden button at once, and building those icons
// reads pictures in every image format there is. Everything else is base's own.
QStyle* WithDeferredBarIcons(QStyle* base);

}  // namespace mk
