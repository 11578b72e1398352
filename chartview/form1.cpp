// The chart window: controls, load, activation, layout, close, caption, reload, drops and the
// toolbar switch.
#include "chartview/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "chartfmt/defcode.h"
#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/canvasdraw.h"
#include "chartview/form1_calc.h"
#include "chartview/form1_publish.h"
#include "chartview/form1_reset.h"
#include "chartview/formglobals.h"
#include "chartview/icons.h"
#include "chartview/laneheader.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "chartview/sprites.h"
#include "chartview/viewsettings.h"
#include "editing/dropsel.h"
#include "editing/gesture.h"
#include "editing/undo.h"
#include "platform/core/desktop.h"

namespace mk {

std::vector<QPointer<Form1>> g_Wins;
bool g_Ending = false;
std::string g_CommonDialogFile;

Form1* WinAt(int n) {
  if (n < 1 || n >= static_cast<int>(g_Wins.size())) return nullptr;
  if (n - 1 >= static_cast<int>(g_SlotUsed.size()) || g_SlotUsed[n - 1] == 0) return nullptr;
  Form1* w = g_Wins[n].data();
  return (w && w->WinNo() == n) ? w : nullptr;
}

namespace {
DocData g_NoDoc;  // the record of a window that has no number yet
}

DocData& Form1::Doc() {
  if (winNo_ >= 1 && winNo_ < static_cast<int>(g_Docs.size())) return g_Docs[winNo_];
  return g_NoDoc;
}
const DocData& Form1::Doc() const { return const_cast<Form1*>(this)->Doc(); }

void Form1::BuildControls() {
  client_ = new QWidget(this);
  client_->setObjectName("Form1Client");
  setWidget(client_);

  toolbar1_ = new QToolBar(client_);
  toolbar1_->setObjectName("Toolbar1");
  toolbar1_->setIconSize(QSize(16, 16));
  toolbar1_->setGeometry(0, 0, 736, kForm1ToolbarHeight);
  combo1_ = new QComboBox(toolbar1_);
  combo1_->setObjectName("Combo1");
  combo1_->setToolTip(QStringLiteral("編集単位"));
  for (const char* s : {"4分", "8分", "12分", "16分", "24分", "32分", "48分", "64分", "無制限", "ｶｽﾀﾑ"})
    combo1_->addItem(QString::fromUtf8(s));
  combo1_->setFixedWidth(60);
  toolbar1_->addWidget(combo1_)->setObjectName("Place_Grid");
  toolbar1_->addSeparator();
  combo2_ = new QComboBox(toolbar1_);
  combo2_->setObjectName("Combo2");
  combo2_->setToolTip(QStringLiteral("譜面倍率"));
  for (int i = 1; i <= 10; ++i) combo2_->addItem(QStringLiteral("x%1").arg(i));
  combo2_->setFixedWidth(48);
  toolbar1_->addWidget(combo2_)->setObjectName("Place_Bai");
  toolbar1_->addSeparator();

  tbScrl_ = new QToolButton(toolbar1_);
  tbScrl_->setObjectName("TB_Scrl");
  tbScrl_->setToolTip(QStringLiteral("スクロール方向"));
  tbScrl_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  auto* scrlMenu = new QMenu(tbScrl_);
  scrlMenu->addAction(QStringLiteral("下方向"))->setObjectName("TB_Down");
  scrlMenu->addAction(QStringLiteral("上方向"))->setObjectName("TB_Up");
  tbScrl_->setMenu(scrlMenu);
  tbScrl_->setPopupMode(QToolButton::MenuButtonPopup);
  toolbar1_->addWidget(tbScrl_);
  tb3b_ = new QToolButton(toolbar1_);
  tb3b_->setObjectName("TB_3b");
  tb3b_->setToolTip(QStringLiteral("スクロールスキップ"));
  tb3b_->setCheckable(true);
  tb3b_->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
  toolbar1_->addWidget(tb3b_);
  tbWall_ = new MixedToolButton(toolbar1_);
  tbWall_->setObjectName("TB_Wall");
  tbWall_->setToolTip(QStringLiteral("壁紙"));
  tbWall_->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
  auto* wallMenu = new QMenu(tbWall_);
  wallMenu->addAction(QStringLiteral("中心に表示"))->setObjectName("TB_W1");
  wallMenu->addAction(QStringLiteral("並べて表示"))->setObjectName("TB_W2");
  wallMenu->addAction(QStringLiteral("拡大して表示"))->setObjectName("TB_W3");
  tbWall_->setMenu(wallMenu);
  tbWall_->setPopupMode(QToolButton::MenuButtonPopup);
  toolbar1_->addWidget(tbWall_);
  toolbar1_->addSeparator();
  QAction* ref = toolbar1_->addAction(style()->standardIcon(QStyle::SP_BrowserReload), QString());
  ref->setObjectName("TB_Ref");
  ref->setToolTip(QStringLiteral("最新の情報に更新"));
  connect(ref, &QAction::triggered, this, [this] { Toolbar1_ButtonClick("TB_Ref"); });
  connect(tbScrl_, &QToolButton::clicked, this, [this] { Toolbar1_ButtonClick("TB_Scrl"); });
  connect(tbWall_, &QToolButton::clicked, this, [this] { Toolbar1_ButtonClick("TB_Wall"); });
  for (QMenu* m : {scrlMenu, wallMenu})
    connect(m, &QMenu::triggered, this,
            [this](QAction* a) { Toolbar1_ButtonMenuClick(a->objectName().toStdString()); });

  frame1_ = new QWidget(client_);
  frame1_->setObjectName("Frame1");
  frame1_->setGeometry(0, 24, 521, kForm1StripHeight);
  picture3_ = new PictureBox([this] { return &strip_; }, frame1_);
  picture3_->setObjectName("Picture3");
  picture3_->setGeometry(0, 0, 137, kForm1StripHeight);
  picture1_ = new PictureBox([this] { return &canvas_.Shown(); }, client_);
  picture1_->setObjectName("Picture1");
  picture1_->setGeometry(0, 48, 521, 337);
  picture1_->SetAcceptFiles(true);
  picture1_->setFocusPolicy(Qt::StrongFocus);
  connect(picture1_, &PictureBox::FilesDropped, this, &Form1::Picture1_OLEDragDrop);

  hscroll1_ = new QScrollBar(Qt::Horizontal, client_);
  hscroll1_->setObjectName("HScroll1");
  hscroll1_->setGeometry(0, 384, 521, kForm1HScrollHeight);
  vscroll1_ = new QScrollBar(Qt::Vertical, client_);
  vscroll1_->setObjectName("VScroll1");
  vscroll1_->setGeometry(528, 40, kForm1VScrollWidth, 321);
  connect(vscroll1_, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
  connect(vscroll1_, &QScrollBar::sliderReleased, this, [this] { VScroll1_Change(); });
  connect(hscroll1_, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
  connect(combo1_, &QComboBox::activated, this, [this] { Combo1_Click(); });
  connect(combo2_, &QComboBox::activated, this, [this] { Combo2_Click(); });

  QFont bold(QStringLiteral("IPAPGothic"));
  bold.setPixelSize(12);
  bold.setBold(true);
  command1_ = new QPushButton(QStringLiteral("+"), client_);
  command1_->setObjectName("Command1");
  command1_->setToolTip(QStringLiteral("小節を増やす"));
  command1_->setFont(bold);
  command1_->setGeometry(528, 24, 17, kForm1ButtonHeight);
  command2_ = new QPushButton(QStringLiteral("-"), client_);
  command2_->setObjectName("Command2");
  command2_->setToolTip(QStringLiteral("小節を減らす"));
  command2_->setFont(bold);
  command2_->setGeometry(528, 360, 17, kForm1ButtonHeight);
  command1_->setMouseTracking(true);
  command2_->setMouseTracking(true);
  command1_->installEventFilter(this);
  command2_->installEventFilter(this);
  vscroll1_->installEventFilter(this);
  hscroll1_->installEventFilter(this);
  check1_ = new QCheckBox(client_);
  check1_->setObjectName("Check1");
  check1_->setToolTip(QStringLiteral("ツールバーのON/OFF"));
  check1_->setGeometry(528, 376, 17, 17);
  check1_->setChecked(true);
  check1_->installEventFilter(this);
  connect(check1_, &QCheckBox::toggled, this, [this] { Check1_Click(); });

  client_->setMinimumSize(1, 1);
  SetDesignSize();
}

void Form1::SetDesignSize() {
  const QMargins m = contentsMargins();
  resize(736 + m.left() + m.right(), 520 + m.top() + m.bottom());
}

bool Form1::Form_Load() {
  if (!isVisible()) show();
  winNo_ = g_NewSlot;
  if (g_NewScript == 0) g_NewScript = g_DefaultScript;
  Doc().ScriptNo = g_NewScript;
  if (winNo_ >= 1 && winNo_ - 1 < static_cast<int>(g_SlotUsed.size())) g_SlotUsed[winNo_ - 1] = -1;
  ClearThisWin();
  Doc().Sel.assign(1, SelEntry{});
  const ScriptReadResult r = ScrRead(g_NewScript);
  if (!r.ok) {
    if (!r.message.empty())
      plat::TheDesktop().MessageBox(r.message.text, r.message.title, plat::MsgButtons::Ok, r.message.icon);
    return false;
  }
  combo1_->setCurrentIndex(g_DefGrid);
  Combo1_Click();
  combo2_->setCurrentIndex(g_DefMag);
  Combo2_Click();
  Mes_Change(g_DefMeasure);
  g_WizState = 99;
  return true;
}

ScriptReadResult Form1::ScrRead(int16_t scriptNo) { return mk::ScrRead(scriptNo, Doc(), *this); }

void Form1::ClearThisWin() {
  gesture_->Reset();
  wheelScroll_ = false;
  ResetDocument(Doc());

  toolbar1_->setVisible(true);
  tb3b_->setChecked(false);
  {
    QSignalBlocker b(check1_);
    check1_->setChecked(true);
  }
  Check1_Click();
  SetVScroll(0, 0);
  vscroll1_->setPageStep(VScrollPageStep());
  combo1_->setCurrentIndex(3);
  combo2_->setCurrentIndex(0);
  Form_Resize();
  toolbar1_->update();

  ClearFramePanels(*frame_);
  wall_ = plat::Picture();
  wallStretched_ = plat::Picture();
  wallImage_ = WallButtonImage(Doc().CanvasWallMode);
  tbWall_->SetMixed(true);
}

void Form1::SetThisWin() { PublishChart(Doc(), winNo_, frame_->ScriptInfo(Doc().ScriptNo), *frame_); }

void Form1::Form_Activate() {
  if (g_SkipActivate != 0) {
    g_SkipActivate = 0;
    return;
  }
  g_CurWin = winNo_;
  SetThisWin();
}

int Form1::ToolbarHeight() const { return toolbar1_->isVisibleTo(client_) ? kForm1ToolbarHeight : 0; }

void Form1::Form_Resize() {
  if (inResize_ || isMinimized() || (window() && window()->isMinimized())) return;
  const int tb = ToolbarHeight();
  const int frameW = width() - client_->width(), frameH = height() - client_->height();
  const int minH = Form1MinOuterHeight(tb);
  setMinimumSize(kForm1MinOuterWidth, minH);
  if (height() < minH) {
    if (isMaximized()) return;
    resize(width(), minH);
  }
  if (width() < kForm1MinOuterWidth) {
    if (isMaximized()) return;
    resize(kForm1MinOuterWidth, height());
  }
  (void)frameW;
  (void)frameH;
  inResize_ = true;
  const Form1Layout l = ComputeForm1Layout(tb, client_->width(), client_->height());
  toolbar1_->setGeometry(0, 0, client_->width(), kForm1ToolbarHeight);
  frame1_->setGeometry(0, l.frame1Top, l.frame1Width, kForm1StripHeight);
  picture1_->setGeometry(0, l.canvasTop, std::max(0, l.canvasWidth), std::max(0, l.canvasHeight));
  picture3_->setGeometry(0, 0, std::max(0, l.stripWidth), kForm1StripHeight);
  hscroll1_->setGeometry(0, l.hscrollTop, std::max(0, l.hscrollWidth), kForm1HScrollHeight);
  vscroll1_->setGeometry(l.vscrollLeft, l.vscrollTop, kForm1VScrollWidth, std::max(0, l.vscrollHeight));
  command1_->move(l.vscrollLeft, l.command1Top);
  command2_->move(l.vscrollLeft, l.command2Top);
  check1_->move(l.vscrollLeft, l.check1Top);
  canvas_.Resize(std::max(1, l.canvasWidth), std::max(1, l.canvasHeight));
  strip_.Resize(std::max(1, l.stripWidth), kForm1StripHeight);
  inResize_ = false;
  if (Doc().CanvasWallMode == 3 && Doc().CanvasWallOn != 0) StretchWallpaper();
  Scr_Chg();
  HeadDraw2();
  ObjDraw();
}

void Form1::resizeEvent(QResizeEvent* e) {
  QMdiSubWindow::resizeEvent(e);
  if (client_) Form_Resize();
}

void Form1::closeEvent(QCloseEvent* e) {
  if (g_Ending) {
    e->accept();
    return;
  }
  if (winNo_ < 1 || WinAt(winNo_) != this) {  // never loaded, or already closed
    e->accept();
    return;
  }
  if (!discard_) {
    ObjDeSel();
    DocData& d = Doc();
    if (d.Dirty != 0) {
      const plat::MsgAnswer a = plat::TheDesktop().MessageBox(ModifiedQuestion(d.FileName), "確認",
                                                              plat::MsgButtons::YesNoCancel, plat::MsgIcon::None);
      if (a == plat::MsgAnswer::Cancel) {
        e->ignore();
        return;
      }
      if (a == plat::MsgAnswer::Yes) {
        frame_->QuerySave(winNo_);
        if (g_SaveCancel != 0) {
          g_SaveCancel = 0;
          e->ignore();
          return;
        }
      }
    }
  }
  gesture_->GestureLost();
  HoldErrorBoxesWhilePressed();
  ClearThisWin();
  g_OpenCount = static_cast<int16_t>(g_OpenCount - 1);
  g_SlotUsed[winNo_ - 1] = 0;
  e->accept();
  frame_->WindowClosed(winNo_);
}

void Form1::CloseWithoutQuestion() {
  discard_ = true;
  close();
}

void Form1::CheckDirty() { SetCaption(CaptionText(Doc(), frame_->ScriptTitle(Doc().ScriptNo))); }

bool Form1::RefleshScr() {
  sheets_.Head.Clear();
  return Form_Load();
}

void Form1::SetCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

namespace {
// Rows with a code and empty file and comment.
std::vector<DefRow> EmptyRows(const std::vector<std::string>& codes) {
  std::vector<DefRow> rows;
  rows.reserve(codes.size());
  for (const std::string& c : codes) rows.push_back(DefRow{c, {}, {}});
  return rows;
}
}  // namespace

void Form1::AppendWavRows(const std::vector<std::string>& codes) {
  frame_->AppendListRows(DefList::Grid1, EmptyRows(codes));
}

void Form1::AppendBgaRows(const std::vector<std::string>& codes) {
  frame_->AppendListRows(DefList::Grid2, EmptyRows(codes));
}

ViewState Form1::View() const {
  ViewState v;
  v.CanvasWidth = picture1_->width();
  v.CanvasHeight = picture1_->height();
  v.StripHeight = kForm1StripHeight;
  v.HScrollValue = hscroll1_->value();
  v.Parts = frame_->Parts();
  v.Wall = &wall_;
  v.WallStretched = &wallStretched_;
  return v;
}

void Form1::ObjMake() { mk::ObjMake(Doc(), sheets_.Obj); }

void Form1::HeadDraw() { mk::HeadDraw(Doc(), kForm1StripHeight, sheets_.Head); }

void Form1::HeadDraw2() {
  mk::HeadDraw2(Doc(), View(), sheets_, strip_);
  picture3_->update();
}

void Form1::HeadObj() {
  mk::HeadObj(Doc(), View(), sheets_, strip_);
  picture3_->update();
}

void Form1::ObjDraw() {
  FitVScrollToView();
  mk::ObjDraw(Doc(), View(), sheets_, canvas_, frame_, winNo_ == g_CurWin);
  picture1_->update();
}

void Form1::ObjBackup() {
  mk::ObjBackup(Doc());  // marks this chart modified, keeping the flag Undo gives back
  frame_->SetMenuEnabled(FrameMenu::Menu_Edit_Undo, true);
  CheckDirty();
}

void Form1::Undo() {
  DocData& d = Doc();
  if (!mk::Undo(d)) return;
  frame_->SetMenuEnabled(FrameMenu::Menu_Edit_Undo, false);
  // The restored grid has the measure count it was taken with: the scroll range follows.
  Mes_Change(0);
  CheckDirty();
  ObjDraw();
}

void Form1::DropLastBackup() {
  DocData& d = Doc();
  mk::DropLastBackup(d);
  if (winNo_ == g_CurWin) frame_->SetMenuEnabled(FrameMenu::Menu_Edit_Undo, d.UndoOn != 0);
  CheckDirty();
}

void Form1::ObjDeSel(bool keep) {
  DocData& d = Doc();
  if (d.SelCount < 1) return;
  frame_->SetWaitCursor(true);
  const DropResult r = mk::ObjDeSel(d, g_MaxMeasure, keep);
  if (r.grew) Mes_Change(0);
  if (winNo_ == g_CurWin) frame_->SetPanelText("Info", SelectionInfoText(d.SelCount));
  if (r.kept > 0) StatusNote(KeptFloatingText(r));
  frame_->SetWaitCursor(false);
  if (r.full > 0)
    frame_->ErrorBox("オブジェが多すぎるため、選択中のオブジェを " + std::to_string(r.full) +
                     " 個配置できませんでした");
}

void Form1::StatusNote(const std::string& text) {
  if (winNo_ == g_CurWin) frame_->SetPanelText("Note", text);
}

void Form1::Check1_Click() {
  toolbar1_->setVisible(check1_->isChecked());
  toolbar1_->update();
  Form_Resize();
  ObjDraw();
  picture1_->setFocus();
}

bool Form1::eventFilter(QObject* watched, QEvent* e) {
  if ((watched == picture1_ || watched == picture3_) && CanvasEvent(watched, e)) return true;
  // The scroll bars hand the keyboard focus to the canvas (the horizontal one not while the
  // conversion wizard's lane page is open).
  if (e->type() == QEvent::FocusIn && (watched == vscroll1_ || (watched == hscroll1_ && g_WizState != -99))) {
    picture1_->setFocus();
    return false;
  }
  // "+" and "-" show the crosshair while Shift is down.
  if ((watched == command1_ || watched == command2_) &&
      (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease || e->type() == QEvent::MouseMove)) {
    bool shift = false;
    if (e->type() == QEvent::MouseMove) {
      shift = static_cast<QMouseEvent*>(e)->modifiers() & Qt::ShiftModifier;
    } else {
      auto* k = static_cast<QKeyEvent*>(e);  // the Shift key's own event tells the state after it
      shift = k->key() == Qt::Key_Shift ? e->type() == QEvent::KeyPress : bool(k->modifiers() & Qt::ShiftModifier);
    }
    static_cast<QWidget*>(watched)->setCursor(shift ? Qt::CrossCursor : Qt::ArrowCursor);
  }
  if (e->type() == QEvent::MouseButtonRelease) {
    auto* me = static_cast<QMouseEvent*>(e);
    if (watched == check1_ && me->button() == Qt::MiddleButton &&
        me->modifiers() == (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
      DumpSheets();
      return true;
    }
    if (watched == command1_ || watched == command2_) {
      MesButtonUp(watched == command1_ ? 1 : -1, me->modifiers() & Qt::ShiftModifier);
      return false;
    }
  }
  return QMdiSubWindow::eventFilter(watched, e);
}

bool Form1::DumpSheets() {
  const bool ok = sheets_.Obj.SaveBmp(g_InstallDir + "Debug.bmp") && sheets_.Head.SaveBmp(g_InstallDir + "Debug2.bmp");
  if (ok)
    plat::TheDesktop().MessageBox("メモリ内ピクチャの書き出しに成功しました", "デバッグ", plat::MsgButtons::Ok,
                                  plat::MsgIcon::Information);
  else
    plat::TheDesktop().MessageBox("メモリ内ピクチャの書き出しに失敗しました", "デバッグ", plat::MsgButtons::Ok,
                                  plat::MsgIcon::Critical);
  return ok;
}

void Form1::Picture1_OLEDragDrop(const QStringList& files) {
  int16_t last = 0;
  const int16_t self = winNo_;
  for (const QString& f : files) last = frame_->QueryScriptOpen(f.toStdString(), self);
  if (!files.isEmpty() && last == -1) plat::TheDesktop().Beep();
}

}  // namespace mk
