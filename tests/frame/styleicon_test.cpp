// The toolbars' standard icons, read one size at a time: every size and mode shows the pixels of
// the style's own icon, and the frame's buttons carry them.
#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <QToolButton>
#include <memory>

#include "chartview/icons.h"
#include "frame/formp.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::FrameTest;

namespace {

QImage Pixels(const QPixmap& pm) { return pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

class StyleIconTest : public FrameTest {};

TEST_F(StyleIconTest, EverySizeAndModeMatchesTheStylesIcon) {
  const QStyle::StandardPixmap kIcons[] = {
      QStyle::SP_FileIcon,
      QStyle::SP_DialogOpenButton,
      QStyle::SP_DialogSaveButton,
      QStyle::SP_DialogApplyButton,
      QStyle::SP_ArrowRight,
      QStyle::SP_ArrowUp,
      QStyle::SP_ArrowDown,
      QStyle::SP_MediaPlay,
      QStyle::SP_MediaSeekForward,
      QStyle::SP_MediaStop,
      QStyle::SP_FileDialogContentsView,
      QStyle::SP_DesktopIcon,
      QStyle::SP_TrashIcon,  // not read by size: the style's icon itself
  };
  for (QStyle::StandardPixmap sp : kIcons) {
    SCOPED_TRACE(static_cast<int>(sp));
    for (int size : {16, 22, 32, 128}) {
      // A fresh icon for each size, so that the 16-pixel reading is the first for every mode.
      for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
        SCOPED_TRACE(size * 10 + mode);
        const QIcon ours = StyleIcon(sp), theirs = QApplication::style()->standardIcon(sp);
        EXPECT_FALSE(ours.isNull());
        EXPECT_EQ(ours.actualSize(QSize(size, size), mode), theirs.actualSize(QSize(size, size), mode));
        EXPECT_EQ(Pixels(ours.pixmap(size, mode)), Pixels(theirs.pixmap(size, mode)));
        const QSize logical(size, size);
        EXPECT_EQ(Pixels(ours.pixmap(logical, 2.0, mode)), Pixels(theirs.pixmap(logical, 2.0, mode)));
      }
    }
    const QIcon ours = StyleIcon(sp);
    EXPECT_EQ(ours.availableSizes(), QApplication::style()->standardIcon(sp).availableSizes());
  }
}

// The program's style makes the bars' overflow-button icons when they are first asked for: the
// base style's pixels in either direction; other icons are the base style's own. Under it the
// toolbar icons still read their 16-pixel picture alone and show the same pixels.
TEST_F(StyleIconTest, DeferredBarIconsShowTheBaseStylesPixels) {
  const std::unique_ptr<QStyle> base(QStyleFactory::create("fusion"));
  const std::unique_ptr<QStyle> ours(WithDeferredBarIcons(QStyleFactory::create("fusion")));
  for (Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
    QGuiApplication::setLayoutDirection(direction);
    for (QStyle::StandardPixmap sp : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                      QStyle::SP_ToolBarVerticalExtensionButton, QStyle::SP_MediaPlay}) {
      SCOPED_TRACE(static_cast<int>(sp) * 10 + direction);
      const QIcon a = ours->standardIcon(sp), b = base->standardIcon(sp);
      EXPECT_FALSE(a.isNull());
      EXPECT_EQ(a.availableSizes(), b.availableSizes());
      for (int size : {8, 16, 32})
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
          EXPECT_EQ(a.actualSize(QSize(size, size), mode), b.actualSize(QSize(size, size), mode));
          EXPECT_EQ(Pixels(a.pixmap(size, mode)), Pixels(b.pixmap(size, mode)));
        }
    }
  }
  // The direction is the one the icon was asked in, not the one when it is first drawn.
  const QIcon rightToLeft = ours->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
  QGuiApplication::setLayoutDirection(Qt::LeftToRight);
  const QIcon leftToRight = ours->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
  EXPECT_NE(Pixels(rightToLeft.pixmap(16)), Pixels(leftToRight.pixmap(16)));

  QApplication::setStyle(WithDeferredBarIcons(QStyleFactory::create("fusion")));
  for (QStyle::StandardPixmap sp : {QStyle::SP_MediaPlay, QStyle::SP_DesktopIcon})
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled})
      EXPECT_EQ(Pixels(StyleIcon(sp).pixmap(16, mode)), Pixels(base->standardIcon(sp).pixmap(16, mode)));
  QApplication::setStyle(QStyleFactory::create("fusion"));
}

// The main toolbar and the definition toolbar, with some buttons unavailable at start-up, draw the
// style's pictures.
TEST_F(StyleIconTest, FrameButtonsShowTheStylesPictures) {
  ASSERT_TRUE(Start());
  const std::pair<const char*, QStyle::StandardPixmap> kButtons[] = {
      {"TB1_New", QStyle::SP_FileIcon},          {"TB1_Open", QStyle::SP_DialogOpenButton},
      {"TB1_Save", QStyle::SP_DialogSaveButton}, {"TB1_PlayAll", QStyle::SP_MediaPlay},
      {"TB1_PlayStop", QStyle::SP_MediaStop},    {"TB1_Find", QStyle::SP_FileDialogContentsView},
      {"TB2_Play", QStyle::SP_MediaPlay},        {"TB2_Prev", QStyle::SP_DesktopIcon}};
  for (const auto& [name, sp] : kButtons) {
    SCOPED_TRACE(name);
    auto* b = Frame().findChild<QToolButton*>(name);
    ASSERT_NE(b, nullptr);
    const QIcon::Mode mode = b->isEnabled() ? QIcon::Normal : QIcon::Disabled;
    EXPECT_EQ(Pixels(b->icon().pixmap(b->iconSize(), mode)),
              Pixels(QApplication::style()->standardIcon(sp).pixmap(b->iconSize(), mode)));
  }
}

}  // namespace
