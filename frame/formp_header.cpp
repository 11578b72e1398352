// The header panel (DefFrame1: header fields, level sliders, wallpaper and preview-sound
// buttons, measure-count label), the definition tab strip, the free statements and their apply.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>

#include "chartfmt/chartio.h"
#include "chartfmt/globals.h"
#include "chartfmt/utils.h"
#include "chartview/form1.h"
#include "chartview/form1_publish.h"
#include "chartview/formglobals.h"
#include "chartview/picturebox.h"
#include "deftables/deflists.h"
#include "deftables/header.h"
#include "editing/mescount.h"
#include "frame/fieldwarn.h"
#include "frame/formp.h"
#include "frame/settings.h"
#include "platform/core/desktop.h"
#include "platform/core/vbnum.h"

namespace mk {

namespace {

// Hands the events of one widget to a function first; true from it eats the event.
class PanelHook : public QObject {
 public:
  PanelHook(QObject* watched, std::function<bool(QEvent*)> fn) : QObject(watched), fn_(std::move(fn)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override { return fn_(e); }

 private:
  std::function<bool(QEvent*)> fn_;
};

constexpr int kLabelLeft = 0, kLabelWidth = 49, kLabelHeight = 17, kControlLeft = 48;

}  // namespace

// The design layout of the header frame: one row per field, a label at the left and the control
// from 48 pixels; the widths follow the frame (DefFrame1_Resize).
void FormP::BuildDefFrame() {
  defFrame_ = new QWidget(palette_);
  defFrame_->setObjectName("DefFrame1");
  const char* fieldNames[5] = {"Text1", "Text2", "Text3", "Text4", "Text5"};
  for (int i = 0; i < 5; ++i) {
    texts_[i] = new QLineEdit(defFrame_);
    texts_[i]->setObjectName(fieldNames[i]);
    texts_[i]->setMaxLength(i == 2 || i == 3 ? kNumberFieldLength : kTextFieldLength);
  }
  texts_[2]->setText(QStringLiteral("0"));
  texts_[3]->setText(QStringLiteral("0"));
  auto label = [this](const char* name, const char* caption, int top) {
    auto* l = new QLabel(QString::fromUtf8(caption), defFrame_);
    l->setObjectName(name);
    l->setGeometry(kLabelLeft, top + 2, kLabelWidth, kLabelHeight);
    rowLabels_.push_back(l);
    return l;
  };
  auto place = [](QWidget* w, int left, int top, int height) { w->setGeometry(left, top, 49, height); };
  label("Label2", "曲名：", 8);
  place(texts_[0], kControlLeft, 8, 18);
  label("Label3", "制作者：", 32);
  place(texts_[1], kControlLeft, 32, 18);
  label("Label11", "ｼﾞｬﾝﾙ：", 56);
  place(texts_[4], kControlLeft, 56, 18);
  for (int k = 0; k < 3; ++k) {
    const int top = 80 + 24 * k;
    const std::string caption = "難度" + std::to_string(k + 1) + "：";
    levelLabels_[k] = label(("Label" + std::to_string(k + 4)).c_str(), caption.c_str(), top);
    sliders_[k] = new QSlider(Qt::Horizontal, defFrame_);
    sliders_[k]->setObjectName(QStringLiteral("Slider1_%1").arg(k));
    sliders_[k]->setTickPosition(QSlider::TicksBelow);
    sliders_[k]->setRange(0, 1);
    place(sliders_[k], kControlLeft, top, 17);
  }
  label("Label7", "BPM：", 152);
  place(texts_[2], kControlLeft, 152, 18);
  place(texts_[3], 104, 152, 18);
  label("Label8", "壁紙：", 176);
  command3_ = new QPushButton(QStringLiteral("None"), defFrame_);
  command3_->setObjectName("Command3");
  place(command3_, kControlLeft, 176, 17);
  label("Label9", "ﾌﾟﾚﾋﾞｭｰ：", 192);
  command4_ = new QPushButton(QStringLiteral("None"), defFrame_);
  command4_->setObjectName("Command4");
  place(command4_, kControlLeft, 192, 17);
  label10_ = new QLabel(QStringLiteral("最大小節数： 0"), defFrame_);
  label10_->setObjectName("Label10");
  label10_->setGeometry(0, 216, 161, kLabelHeight);
  defFrame_->resize(161, 232);
  DefFrame1_Resize();
}

// The label column is as wide as its widest text in the font in use (the level names come from
// the script), so no label is cut; the controls take the rest of the frame's width.
void FormP::DefFrame1_Resize() {
  int widest = 0;
  for (const QLabel* l : rowLabels_) widest = std::max(widest, l->sizeHint().width());
  const HeaderWidths w = HeaderWidthsFor(defFrame_->width(), widest);
  for (QLabel* l : rowLabels_) l->resize(w.labelColumn, l->height());
  auto place = [](QWidget* c, int left, int width) { c->setGeometry(left, c->y(), width, c->height()); };
  for (int i : {0, 1, 4}) place(texts_[i], w.controlLeft, w.text);
  for (QSlider* s : sliders_) place(s, w.controlLeft, w.text);
  place(texts_[2], w.controlLeft, w.bpm);
  place(texts_[3], w.bpm2Left, w.bpm);
  place(command3_, w.controlLeft, w.text);
  place(command4_, w.controlLeft, w.text);
  place(label10_, 0, w.label);
}

// The header fields, the free statements and the level sliders store the user's edits into the
// current chart and mark it modified; while g_Filling is set the frame itself is writing them.
void FormP::ConnectHeaderFields() {
  auto text = [this](QLineEdit* field, std::function<void(DocData&, const std::string&)> store) {
    connect(field, &QLineEdit::textChanged, this, [this, store](const QString& t) {
      if (g_Filling != 0) return;
      if (DocData* d = CurDoc()) {
        store(*d, t.toStdString());
        SetDirty();
      }
    });
  };
  text(texts_[0], [](DocData& d, const std::string& t) { d.Title = t; });
  text(texts_[1], [](DocData& d, const std::string& t) { d.Artist = t; });
  text(texts_[2], [](DocData& d, const std::string& t) { d.Bpm = HeaderNumberValue(t); });
  text(texts_[3], [](DocData& d, const std::string& t) { d.BaseBpm = HeaderNumberValue(t); });
  // A number field shows the number it holds once it has taken it: after Enter, and when it
  // loses the keyboard.
  for (int i : {2, 3}) connect(texts_[i], &QLineEdit::returnPressed, this, [this, i] { ShowNumberField(i); });
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
    for (int i : {2, 3})
      if (old == texts_[i]) ShowNumberField(i);
  });
  text(texts_[4], [](DocData& d, const std::string& t) { d.Genre = t; });
  connect(text6_, &QPlainTextEdit::textChanged, this, [this] {
    if (g_Filling != 0) return;
    freeTextPending_.reset();  // what the box holds now is the chart's
    if (DocData* d = CurDoc()) {
      d->FreeText = FreeTextFromBox(text6_->toPlainText().toStdString());
      SetDirty();
    }
  });
  new PanelHook(text6_, [this](QEvent* e) {
    if (e->type() == QEvent::Show) ShowPendingFreeText();
    return false;
  });
  for (int k = 0; k < 3; ++k) {
    // A drag follows the thumb without marking; the change at its end (or a step by key or
    // click) marks the chart modified.
    connect(sliders_[k], &QSlider::valueChanged, this,
            [this, k](int v) { Slider1_Change(k, v, !sliders_[k]->isSliderDown()); });
    connect(sliders_[k], &QSlider::sliderReleased, this, [this, k] { Slider1_Change(k, sliders_[k]->value(), true); });
  }
}

void FormP::WarnBeforeSave(int16_t w) {
  if (w != g_CurWin) {
    WarnFieldLosses(g_Docs[w]);
    return;
  }
  WarnFieldLosses(g_Docs[w],
                  HeaderNumberLosses(g_Docs[w], texts_[2]->text().toStdString(), texts_[3]->text().toStdString()));
  ShowNumberField(2);
  ShowNumberField(3);
}

void FormP::ShowAsSaved(int16_t w) {
  if (!TakeSavedFields(g_Docs[w]) || w != g_CurWin) return;
  if (Form1* form = WinAt(w)) form->SetThisWin();
}

void FormP::ShowNumberField(int i) {
  DocData* d = CurDoc();
  // While the panel is being filled the field is given its text already.
  if (!d || g_Filling != 0 || !texts_[i]->isEnabled()) return;
  const std::string shown = FormatNumberShort(i == 2 ? d->Bpm : d->BaseBpm);
  if (texts_[i]->text().toStdString() == shown) return;
  const QSignalBlocker quiet(texts_[i]);  // the value stays; only its text is made plain
  SetHeaderText(i == 2 ? HeaderText::Text3 : HeaderText::Text4, shown);
}

void FormP::Slider1_Change(int k, int position, bool change) {
  if (g_Filling != 0) return;
  DocData* d = CurDoc();
  if (!d) return;
  d->Level[k] = static_cast<int16_t>(position);
  SetPanelText("Level" + std::to_string(k + 1), LevelPanelText(d->Fmt.Lvn[k], position));
  if (change) SetDirty();
}

void FormP::ConnectHeaderPanel() {
  connect(command3_, &QPushButton::clicked, this, [this] { Command_Click(3); });
  connect(command4_, &QPushButton::clicked, this, [this] { Command_Click(4); });
  new PanelHook(label10_, [this](QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) Label10_DblClick();
    return false;
  });
  new PanelHook(defFrame_, [this](QEvent* e) {
    if (e->type() == QEvent::Resize || e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
      DefFrame1_Resize();
    return false;
  });
  // The strip switches on the release over it, never on the press; the keyboard and the wheel
  // go through the same rule, so the strip and the document's tab always agree.
  tab1_->setMouseTracking(true);
  new PanelHook(tab1_, [this](QEvent* e) {
    switch (e->type()) {
      case QEvent::MouseMove: Tab1_MouseMove(static_cast<QMouseEvent*>(e)->position().toPoint().x()); return false;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: return true;
      case QEvent::MouseButtonRelease: Tab1_MouseUp(); return true;
      default: return false;
    }
  });
  connect(tab1_, &QTabBar::currentChanged, this, [this](int index) {
    DocData* d = CurDoc();
    // The frame itself showing the document's tab (or filling the panel) is no switch.
    if (!d || g_Filling != 0 || index < 0 || index == d->DefTab) return;
    Tab1_Switch(index + 1);
  });
}

void FormP::Command_Click(int k) {
  DocData* d = CurDoc();
  if (!d) return;
  palette_->setFocus();
  if (g_OpenCount > 0)
    if (Form1* w = WinAt(g_CurWin)) w->Picture1()->setFocus();
  const std::string& field = k == 3 ? d->Wall : d->Pre;
  plat::FileDialogRequest req;
  req.filter = HeaderFileFilter(k);
  const FileChoiceStart start = DefFileChoiceStart(*d, field, g_CommonDialogFile);
  req.initialDir = start.folder;
  req.initialName = start.name;
  req.mustExist = true;
  const plat::FileDialogResult r = plat::TheDesktop().OpenFileDialog(req);
  if (!r.cancelled) g_CommonDialogFile = r.path;
  const std::string caption = ApplyHeaderFile(*d, k, r.cancelled, r.path, r.fileTitle);
  SetFileButton(k, caption, true);
  SetDirty();
  WarnFieldLoss(*d, k == 3 ? ChartField::Wall : ChartField::Pre);
}

void FormP::Label10_DblClick() {
  DocData* d = CurDoc();
  Form1* w = WinAt(g_CurWin);
  if (!d || !w) return;
  const int n = d->MesCount;
  const plat::InputResult a = plat::TheDesktop().InputBox(MesCountPrompt(n), "小節数変更", std::to_string(n));
  const MesCountDecision dec = DecideMesCount(a.cancelled, a.text, n, g_MaxMeasure);
  switch (dec.kind) {
    case MesCountDecision::Nothing: return;
    case MesCountDecision::Invalid:
      plat::TheDesktop().MessageBox(kMesCountInvalid, "エラー", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
      return;
    case MesCountDecision::AskCut:
      if (plat::TheDesktop().MessageBox(kMesCountCutQuestion, "確認", plat::MsgButtons::OkCancel,
                                        plat::MsgIcon::None) != plat::MsgAnswer::Ok)
        return;
      // As a cut by the "-" button: one undo step, and the chart is marked modified, so the
      // measures cut are neither lost on close unasked nor beyond Undo.
      w->ObjBackup();
      break;
    case MesCountDecision::Change: break;
  }
  w->Mes_Change(static_cast<int16_t>(dec.value - n));
  w->ObjDraw();
  if (dec.kind == MesCountDecision::Change && d->MesCount != n) SetDirty();
}

void FormP::Tab1_MouseMove(int x) {
  std::vector<int> lefts;
  for (int i = 0; i < tab1_->count(); ++i) lefts.push_back(tab1_->tabRect(i).left());
  tabHover_ = static_cast<int16_t>(TabHoverFor(lefts, x, tabHover_));
}

void FormP::Tab1_MouseUp() {
  if (tabHover_ == 0) return;
  Tab1_Switch(tabHover_);
}

void FormP::Tab1_Switch(int tab) {
  DocData* d = CurDoc();
  if (!d) return;
  if (SwitchDefTab(*d, tab))
    ApplyDefTabView(*d, *this);
  else
    SelectTab(d->DefTab + 1);  // the BGA tab of a script without BGA: back to the tab shown
}

void FormP::ApplyFreeText() {
  DocData* d = CurDoc();
  Form1* w = WinAt(g_CurWin);
  if (!d || !w) return;
  // Read from memory into a copy: all or nothing. Lines for measures past the limit stay text.
  const std::string before = d->FreeText;
  const ChartReadResult r = ChartReadStatements(g_CurWin, d->FreeText, g_MaxMeasure);
  if (!r) {
    plat::TheDesktop().MessageBox(ChartReadMessage(r), "エラー", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
    return;
  }
  w->Mes_Change(0);
  w->ObjDraw();
  w->SetThisWin();
  // Applied lines left the free text for the header, tables or grid: the file written now
  // differs from the one saved before, whatever the box held when it was saved.
  if (d->FreeText != before) SetDirty();
}

}  // namespace mk
