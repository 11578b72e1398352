// The edit palette: title bar, definition input area, tab strip, WAV and BGA lists, free
// statements and the definition toolbar; its layout, and the per-chart controls on it.
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>

#include "chartfmt/globals.h"
#include "chartfmt/utils.h"
#include "chartview/form1.h"
#include "chartview/formglobals.h"
#include "chartview/icons.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "deftables/header.h"
#include "frame/deflistview.h"
#include "frame/formfont.h"
#include "frame/formp.h"
#include "platform/core/vbnum.h"
#include "platform/gfx/picture.h"

namespace mk {

namespace {
constexpr int kPaletteWidth = 240;
constexpr int kTitleHeight = kPaletteTitleDocked;
constexpr int kDefFrameHeight = 232;

// A header field's text. A field shows the whole value it holds: its input limit grows to fit a
// longer one (a title read from a file, "1E9" written out) rather than cutting it short, which
// the next keystroke would store. A value too long to show whole shows its start and its length,
// and can't be edited in the field: an edit there would store the cut copy. The record keeps it
// whole, so a save writes it back as it was read.
void ShowFieldText(QLineEdit* f, const std::string& text, bool number) {
  const ShownValue shown = ShownValueOf(text);
  const QString t = QString::fromStdString(shown.text);
  f->setReadOnly(shown.cut);
  f->setToolTip(shown.cut ? QStringLiteral("値が長すぎるため先頭だけを表示しています。ここでは編集できません"
                                           "（保存では全体がそのまま書かれます）。")
                          : QString());
  f->setMaxLength(std::max<int>(number ? kNumberFieldLength : kTextFieldLength, static_cast<int>(t.size())));
  f->setText(t);
  if (shown.cut) f->setCursorPosition(0);  // the start in view; the length at the end
}

QTreeWidget* MakeList(QWidget* parent, const char* name) {
  auto* t = new DefListView(parent);
  t->setObjectName(name);
  t->setColumnCount(3);
  t->setHeaderLabels({QString(), QStringLiteral("ファイル名"), QStringLiteral("コメント")});  // the code has no heading
  t->setFont(FixedListFont());
  t->setRootIsDecorated(false);
  t->setUniformRowHeights(true);
  t->setSelectionMode(QAbstractItemView::SingleSelection);
  t->header()->resizeSection(0, 36);
  t->header()->resizeSection(1, 110);
  return t;
}
}  // namespace

void FormP::BuildPalette() {
  central_ = new QWidget(this);
  auto* row = new QHBoxLayout(central_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  row->addWidget(mdi_, 1);
  palette_ = new QWidget(central_);
  palette_->setObjectName("Picture1");
  palette_->setFixedWidth(kPaletteWidth);
  palette_->installEventFilter(this);
  row->addWidget(palette_);
  setCentralWidget(central_);

  paletteTitle_ = new QLabel(QStringLiteral(" 編集ﾂｰﾙﾊﾞｰ"), palette_);
  paletteTitle_->setObjectName("Label1");
  paletteTitle_->setAutoFillBackground(true);
  QPalette tp = paletteTitle_->palette();
  tp.setColor(QPalette::Window, tp.color(QPalette::Highlight));
  tp.setColor(QPalette::WindowText, tp.color(QPalette::HighlightedText));
  paletteTitle_->setPalette(tp);
  QFont tf(QString::fromStdString(plat::MapFontFamily("ＭＳ Ｐゴシック")), 9);
  tf.setBold(true);
  paletteTitle_->setFont(tf);
  paletteTitle_->installEventFilter(this);  // the title drag undocks the palette
  paletteSide_ = new QPushButton(QStringLiteral("◀"), palette_);
  paletteSide_->setObjectName("Command1");
  paletteSide_->setToolTip(QStringLiteral("左へ移動"));
  paletteSide_->setFlat(true);
  paletteClose_ = new QPushButton(QStringLiteral("×"), palette_);
  paletteClose_->setObjectName("Command2");
  paletteClose_->setToolTip(QStringLiteral("閉じる"));
  paletteClose_->setFlat(true);
  for (QPushButton* b : {paletteSide_, paletteClose_}) {
    QFont f = b->font();
    f.setPixelSize(10);
    b->setFont(f);
  }
  connect(paletteClose_, &QPushButton::clicked, this, [this] { Command2_Click(); });
  connect(paletteSide_, &QPushButton::clicked, this, [this] { Command1_Click(); });
  resizeBar_ = new QWidget(palette_);
  resizeBar_->setObjectName("ResizeBar");
  resizeBar_->setCursor(Qt::SizeHorCursor);
  resizeBar_->installEventFilter(this);

  BuildDefFrame();

  tab1_ = new QTabBar(palette_);
  tab1_->setObjectName("Tab1");
  tab1_->addTab(QStringLiteral("WAV"));
  tab1_->addTab(QStringLiteral("----"));
  tab1_->addTab(QStringLiteral("Free"));
  tab1_->setExpanding(false);
  grid1_ = MakeList(palette_, "Grid1");
  grid2_ = MakeList(palette_, "Grid2");
  grid2_->hide();
  text6_ = new QPlainTextEdit(palette_);
  text6_->setObjectName("Text6");
  // Free statements are chart lines: each stays on one line, the box scrolls both ways.
  text6_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text6_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text6_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text6_->hide();

  toolbar2_ = new QToolBar(palette_);
  toolbar2_->setObjectName("Toolbar2");
  toolbar2_->setIconSize(QSize(16, 16));
  const std::pair<DefTool, std::pair<const char*, QStyle::StandardPixmap>> defs[] = {
      {DefTool::TB2_Play, {"TB2_Play", QStyle::SP_MediaPlay}},
      {DefTool::TB2_Stop, {"TB2_Stop", QStyle::SP_MediaStop}},
      {DefTool::TB2_Up, {"TB2_Up", QStyle::SP_ArrowUp}},
      {DefTool::TB2_Down, {"TB2_Down", QStyle::SP_ArrowDown}},
      {DefTool::TB2_Prev, {"TB2_Prev", QStyle::SP_DesktopIcon}}};
  // The play button's tooltip names the tab's action once a chart is shown.
  const char* tips[] = {"プレビューを再生/BGAを表示", "プレビューを停止", "上へ", "下へ", "プレビューのON/OFF"};
  int i = 0;
  for (const auto& [t, d] : defs) {
    auto* b = new MixedToolButton(toolbar2_);
    b->setObjectName(d.first);
    b->setIcon(StyleIcon(d.second));
    b->setToolTip(QString::fromUtf8(tips[i++]));
    b->setAutoRaise(true);
    toolbar2_->addWidget(b);
    defTools_[t] = b;
  }
  palette_->resize(kPaletteWidth, 500);
  Picture1_Resize();
  ConnectHeaderFields();
}

void FormP::Picture1_Resize() {
  PaletteLayoutInput in;
  in.W = palette_->width();
  in.H = palette_->height();
  in.floating = dock_.Floating();
  in.side = dock_.Side();
  in.tabHeight = tab1_->sizeHint().height();
  in.toolbarHeight = toolbar2_->sizeHint().height();
  in.defFrameHeight = kDefFrameHeight;
  in.defFrameShown = menus_.count("Menu_View_DefFrame") && menus_["Menu_View_DefFrame"]->isChecked();
  const PaletteLayout l = LayoutPalette(in);
  auto place = [](QWidget* w, const PxRect& r) { w->setGeometry(r.x, r.y, r.w, r.h); };
  place(paletteTitle_, l.title);
  paletteSide_->setGeometry(l.sideButtonX, 1, 15, 15);
  paletteClose_->setGeometry(l.closeButtonX, 1, 15, 15);
  resizeBar_->setGeometry(l.splitterX.value_or(resizeBar_->x()), kTitleHeight, 2, in.H);
  if (l.defFrame) place(defFrame_, *l.defFrame);
  if (l.tab) place(tab1_, *l.tab);
  if (l.lists)
    for (QWidget* w : {static_cast<QWidget*>(grid1_), static_cast<QWidget*>(grid2_), static_cast<QWidget*>(text6_)})
      place(w, *l.lists);
  if (l.toolbar) place(toolbar2_, *l.toolbar);
}

void FormP::SetDefToolbarEnabled(bool enabled) { toolbar2_->setEnabled(enabled); }
void FormP::SetDefToolMixed(DefTool button, bool mixed) { defTools_.at(button)->SetMixed(mixed); }
void FormP::SetDefToolAvailable(DefTool button, bool available) { defTools_.at(button)->SetAvailable(available); }
MixedToolButton* FormP::DefToolButton(DefTool t) const { return defTools_.at(t); }
void FormP::SetDefPlayTooltip(const std::string& text) {
  defTools_.at(DefTool::TB2_Play)->setToolTip(QString::fromStdString(text));
}

void FormP::SetTabEnabled(bool enabled) { tab1_->setEnabled(enabled); }
void FormP::SelectTab(int position) {
  if (position >= 1 && position <= tab1_->count()) tab1_->setCurrentIndex(position - 1);
}
void FormP::SetBgaTabCaption(const std::string& caption) { tab1_->setTabText(1, QString::fromStdString(caption)); }

void FormP::ClearList(DefList list) { List(list)->clear(); }
void FormP::AppendListRows(DefList list, const std::vector<DefRow>& rows) {
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const DefRow& r : rows)
    items << new QTreeWidgetItem(
        {QString::fromStdString(r.code), QString::fromStdString(r.file), QString::fromStdString(r.comment)});
  List(list)->addTopLevelItems(items);
}
void FormP::SetListEnabled(DefList list, bool enabled) { List(list)->setEnabled(enabled); }
void FormP::SetListVisible(DefList list, bool visible) { List(list)->setVisible(visible); }
void FormP::SelectListRow(DefList list, int position) {
  QTreeWidget* t = List(list);
  if (position < 1 || position > t->topLevelItemCount()) return;
  QTreeWidgetItem* it = t->topLevelItem(position - 1);
  t->setCurrentItem(it);
  t->scrollToItem(it);
}

QLineEdit* FormP::Field(HeaderText f) const {
  switch (f) {
    case HeaderText::Text1: return texts_[0];
    case HeaderText::Text2: return texts_[1];
    case HeaderText::Text3: return texts_[2];
    case HeaderText::Text4: return texts_[3];
    case HeaderText::Text5: return texts_[4];
    case HeaderText::Text6: return nullptr;
  }
  return nullptr;
}
void FormP::SetHeaderText(HeaderText field, const std::string& text) {
  if (field == HeaderText::Text6)
    SetFreeText(text);
  else
    ShowFieldText(Field(field), text, field == HeaderText::Text3 || field == HeaderText::Text4);
}
void FormP::SetHeaderEnabled(HeaderText field, bool enabled) {
  QWidget* w = field == HeaderText::Text6 ? static_cast<QWidget*>(text6_) : Field(field);
  w->setEnabled(enabled);
}
void FormP::SetHeaderEditableLook(HeaderText field, bool editable) {
  QWidget* w = field == HeaderText::Text6 ? static_cast<QWidget*>(text6_) : Field(field);
  QPalette p = w->palette();
  p.setColor(QPalette::Base, editable ? palette().color(QPalette::Base) : palette().color(QPalette::Button));
  w->setPalette(p);
  w->setProperty("editableLook", editable);
}
void FormP::SetFreeTextVisible(bool visible) { text6_->setVisible(visible); }

// The free statements are laid out once their box is shown: a chart line of megabytes would
// otherwise hold up every open for seconds, for a tab that may never be looked at. Until then the
// box stays empty and keeps the text to show (the record holds the same).
void FormP::SetFreeText(const std::string& text) {
  if (text6_->isVisible()) {
    freeTextPending_.reset();
    FillFreeText(text);
    return;
  }
  freeTextPending_ = text;
  if (!text6_->document()->isEmpty()) FillFreeText(std::string());
}
void FormP::ShowPendingFreeText() {
  if (!freeTextPending_) return;
  const std::string text = std::move(*freeTextPending_);
  freeTextPending_.reset();
  FillFreeText(text);
}
void FormP::FillFreeText(const std::string& text) {
  const int16_t filling = g_Filling;
  g_Filling = -1;  // the frame writes the box: no edit of the chart
  text6_->setPlainText(QString::fromStdString(FreeTextForBox(text)));
  g_Filling = filling;
}

void FormP::SetSliderMax(int k, int max) { sliders_[k]->setMaximum(max); }
void FormP::SetSliderPosition(int k, int position) { sliders_[k]->setValue(position); }
void FormP::SetSliderEnabled(int k, bool enabled) { sliders_[k]->setEnabled(enabled); }
void FormP::SetSliderTickSpacing(int k, int spacing) { sliders_[k]->setTickInterval(spacing); }

void FormP::SetFileButton(int k, const std::string& caption, bool enabled) {
  QPushButton* b = FileButton(k);
  b->setText(QString::fromStdString(caption));
  b->setEnabled(enabled);
}
void FormP::SetMesLabel(const std::string& caption, bool enabled) {
  label10_->setText(QString::fromStdString(caption));
  label10_->setEnabled(enabled);
}
void FormP::SetLevelCaption(int k, const std::string& caption) {
  levelLabels_[k - 1]->setText(QString::fromStdString(caption));
  DefFrame1_Resize();  // the label column follows the script's level names
}

}  // namespace mk
