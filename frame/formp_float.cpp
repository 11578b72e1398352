// The edit palette's placement: the splitter, the side and close buttons, undocking by the title
// drag into the floating tool window FormTool, the tool window's own events, and the timer that
// pumps the sound stream and docks a floating palette again.
#include <QBoxLayout>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>

#include "chartfmt/globals.h"
#include "chartview/form1.h"
#include "chartview/formglobals.h"
#include "chartview/picturebox.h"
#include "frame/formp.h"
#include "platform/core/vbnum.h"

namespace mk {

namespace {
// Docking again needs the tool window's place on the screen, which a Wayland desktop does not
// tell its windows: there the palette floats until the program ends.
bool RedockingAvailable() { return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland")); }

double PointerX(QEvent* e) { return static_cast<QMouseEvent*>(e)->position().x(); }
}  // namespace

// The splitter at the palette's inner edge: dragging it widens or narrows the palette, between
// 140 pixels and half the frame.
void FormP::ResizeBar_Mouse(QEvent* e) {
  if (e->type() == QEvent::MouseButtonPress) splitterDragOn_ = true;
  if (e->type() == QEvent::MouseButtonRelease) splitterDragOn_ = false;
  if (e->type() != QEvent::MouseMove || !splitterDragOn_) return;
  if (const std::optional<int> w = SplitterWidth(palette_->width(), PointerX(e), dock_.Side(), width()))
    palette_->setFixedWidth(*w);
}

// The title bar: held and dragged more than 24 pixels away from the docked edge, it undocks the
// palette.
void FormP::Label1_Mouse(QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress: {
      const double x = std::clamp(PointerX(e), -1e6, 1e6);
      paletteDragX_ = static_cast<int>(plat::RoundHalfEven(x));
      paletteDragOn_ = true;
      break;
    }
    case QEvent::MouseButtonRelease: paletteDragOn_ = false; break;
    case QEvent::MouseMove:
      if (paletteDragOn_ && !dock_.Floating() && TitleDragUndocks(paletteDragX_, PointerX(e), dock_.Side())) {
        paletteDragOn_ = false;
        FloatPalette();
      }
      break;
    default: break;
  }
}

// The side button: the palette changes edges, then the current chart takes the keyboard again.
void FormP::Command1_Click() {
  if (dock_.Floating()) return;
  dock_.SwitchSide();
  DockPalette(dock_.Side());
  palette_->setFocus();
  if (g_OpenCount > 0)
    if (Form1* w = WinAt(g_CurWin)) w->Picture1()->setFocus();
}

// The close button does what View > 編集ツールバー does.
void FormP::Command2_Click() {
  menus_["Menu_View_EditTool"]->toggle();
  Menu_View_EditTool_Click();
}

void FormP::DockPalette(PaletteSide side) {
  auto* lay = static_cast<QBoxLayout*>(central_->layout());
  lay->removeWidget(palette_);
  if (palette_->parentWidget() != central_) palette_->setParent(central_);
  lay->insertWidget(side == PaletteSide::Left ? 0 : 1, palette_);
  const SideButtonFace face = SideButtonFor(side);
  paletteSide_->setText(QString::fromUtf8(face.glyph));
  paletteSide_->setToolTip(QString::fromUtf8(face.tip));
  resizeBar_->move(side == PaletteSide::Left ? palette_->width() - 2 : 0, kPaletteTitleDocked);
  palette_->setVisible(menus_["Menu_View_EditTool"]->isChecked());
}

void FormP::FloatPalette() {
  if (dock_.Floating()) return;
  for (QWidget* w : {static_cast<QWidget*>(paletteTitle_), static_cast<QWidget*>(paletteSide_),
                     static_cast<QWidget*>(paletteClose_), resizeBar_})
    w->hide();
  const int paletteLeft = palette_->mapTo(this, QPoint(0, 0)).x();
  const int paletteWidth = palette_->width();
  if (!formTool_) {
    auto* tool = new QWidget(this, Qt::Tool);
    tool->setObjectName("FormTool");
    tool->setWindowTitle(QStringLiteral("編集ﾂｰﾙﾊﾞｰ"));
    tool->installEventFilter(this);
    formTool_ = tool;
  }
  // The tool window as wide inside as the palette and four fifths of the chart area high.
  formTool_->resize(paletteWidth, std::max(1, static_cast<int>(0.8 * central_->height())));
  formTool_->show();
  // Placed over the palette's old strip, counted from the screen's left edge, at the top.
  const int border = formTool_->frameGeometry().width() - formTool_->width();
  formTool_->move(dock_.Side() == PaletteSide::Left ? paletteLeft + border : paletteLeft - border, 0);
  central_->layout()->removeWidget(palette_);
  palette_->setParent(formTool_);
  dock_.Float();
  palette_->move(0, 0);
  palette_->setFixedWidth(formTool_->width());
  palette_->resize(formTool_->width(), formTool_->height());
  palette_->show();
  Picture1_Resize();
}

bool FormP::FormTool_Event(QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize: {
      // Between 140 pixels and half the frame wide; the floating palette fills it.
      const int inner = ToolWindowInnerWidth(formTool_->width(), width());
      if (inner != formTool_->width()) formTool_->resize(inner, formTool_->height());
      if (dock_.Floating()) {
        palette_->setFixedWidth(inner);
        palette_->resize(inner, formTool_->height());
      }
      return false;
    }
    case QEvent::Close:
      // The user closed it: the palette hides with it and stays floating.
      if (ended_ || !dock_.Floating()) return false;
      menus_["Menu_View_EditTool"]->setChecked(false);
      palette_->hide();
      e->ignore();
      formTool_->hide();
      return true;
    case QEvent::WindowActivate:
      // The current chart stays the frame's active chart; the palette's own fields keep the
      // keyboard when they are clicked.
      if (g_OpenCount >= 1)
        if (Form1* w = WinAt(g_CurWin); w && mdi_->activeSubWindow() != w) mdi_->setActiveSubWindow(w);
      return false;
    default: return false;
  }
}

void FormP::Timer1_Timer() {
  sound_.Stream();
  if (!dock_.Floating() || !formTool_ || !RedockingAvailable()) return;
  const QRect g = formTool_->frameGeometry();
  if (!dock_.Tick(g.x(), g.width(), width())) return;
  for (QWidget* w : {static_cast<QWidget*>(paletteTitle_), static_cast<QWidget*>(paletteSide_),
                     static_cast<QWidget*>(paletteClose_), resizeBar_})
    w->show();
  QWidget* tool = formTool_.data();
  formTool_ = nullptr;
  DockPalette(dock_.Side());
  tool->removeEventFilter(this);
  tool->hide();
  tool->deleteLater();  // a drag of it may still be under way
  Picture1_Resize();
}

}  // namespace mk
