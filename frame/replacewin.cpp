// The batch edit dialog: option frames, field validation and OK.
#include "frame/replacewin.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>

#include "chartfmt/defcode.h"
#include "chartview/form1.h"
#include "editing/fieldrules.h"
#include "frame/dialogrows.h"
#include "platform/core/desktop.h"

namespace mk {

namespace {

struct OptionSpec {
  int k;
  const char* caption;
  const char* tip;
};

}  // namespace

ReplaceWin::ReplaceWin(Form1* win, std::unique_ptr<RandomSource> random, QWidget* parent)
    : QDialog(parent), win_(win), random_(std::move(random)) {
  if (!random_) random_ = std::make_unique<ClockRandom>();
  setObjectName("ReplaceWin");
  setWindowTitle(QStringLiteral("オブジェ一括編集"));
  setModal(true);
  auto* lay = new QVBoxLayout(this);

  // The two operation frames: four options, then the range fields.
  auto opFrame = [&](const char* caption, std::initializer_list<OptionSpec> specs, int firstText) {
    auto* box = new QGroupBox(QString::fromUtf8(caption), this);
    auto* row = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (const OptionSpec& s : specs) {
      auto* o = new QRadioButton(QString::fromUtf8(s.caption), box);
      o->setObjectName(QStringLiteral("Option%1").arg(s.k));
      o->setToolTip(QString::fromUtf8(s.tip));
      group->addButton(o);
      row->addWidget(o);
      options_[s.k] = o;
    }
    for (int k = firstText; k <= firstText + 1; ++k) {
      auto* t = new QLineEdit(box);
      t->setObjectName(QStringLiteral("Text%1").arg(k));
      t->setMaximumWidth(50);
      texts_[k - 1] = t;
      row->addWidget(t);
      if (k == firstText) row->addWidget(new QLabel(QStringLiteral("～"), box));
    }
    lay->addWidget(box);
  };
  opFrame("WAV/BGA数値操作",
          {{1, "一定値", "オブジェの番号を絶対的に指定します"},
           {2, "加算", "オブジェの番号を相対的に指定します"},
           {7, "減算", "ｵﾌﾞｼﾞｪの番号を相対的に指定します"},
           {3, "ランダム", "オブジェの番号を指定した範囲でランダムに決定します"}},
          1);
  opFrame("レーン操作",
          {{4, "一定値", "レーンの番号を絶対的に指定します"},
           {5, "加算", "レーンの番号を相対的に指定します"},
           {8, "減算", "レーンの番号を相対的に指定します"},
           {6, "ランダム", "レーンの番号を指定した範囲でランダムに決定します"}},
          3);
  texts_[0]->setMaxLength(2);
  texts_[1]->setMaxLength(2);

  // The three kind frames, options "表", "裏", "ｵｰﾌﾟﾝ" from left to right.
  auto* kinds = new QHBoxLayout;
  const std::pair<const char*, std::array<int, 3>> kindFrames[] = {{"表オブジェ→", {9, 10, 11}},
                                                                   {"裏オブジェ→", {14, 13, 12}},
                                                                   {"オープンオブジェ→", {15, 16, 17}}};
  for (const auto& [caption, ks] : kindFrames) {
    auto* box = new QGroupBox(QString::fromUtf8(caption), this);
    auto* row = new QHBoxLayout(box);
    auto* group = new QButtonGroup(box);
    const char* captions[] = {"表", "裏", "ｵｰﾌﾟﾝ"};
    for (int i = 0; i < 3; ++i) {
      auto* o = new QRadioButton(QString::fromUtf8(captions[i]), box);
      o->setObjectName(QStringLiteral("Option%1").arg(ks[i]));
      group->addButton(o);
      row->addWidget(o);
      options_[ks[i]] = o;
    }
    kinds->addWidget(box);
  }
  lay->addLayout(kinds);

  AddOkCancelRow(this, lay, ok_, cancel_);

  for (int k = 1; k <= 17; ++k) connect(options_[k], &QRadioButton::clicked, this, [this, k] { OptionClick(k); });
  for (int k = 0; k < 4; ++k) connect(texts_[k], &QLineEdit::editingFinished, this, [this, k] { TextValidate(k + 1); });
  connect(ok_, &QPushButton::clicked, this, [this] { OKButton_Click(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  Form_Load();
}

void ReplaceWin::Form_Load() {
  const DocData& d = win_->Doc();
  maxNum_ = DefNumMax(d.Fmt.WNum);
  bool backLanes = false;
  for (int i = 1; i <= d.LaneCount && i < static_cast<int>(d.Lane.size()); ++i)
    backLanes = backLanes || d.Lane[i].BackChannel != "__";
  texts_[0]->setText("00");
  texts_[1]->setText("00");
  texts_[1]->setEnabled(false);
  texts_[2]->setText("0");
  texts_[3]->setText("0");
  texts_[3]->setEnabled(false);
  p_ = BatchParams{};
  for (int k = 1; k <= 17; ++k) options_[k]->setEnabled(true);
  for (int k : {2, 5, 9, 13, 17}) options_[k]->setChecked(true);
  if (!backLanes)
    for (int k : {10, 12, 13, 14, 16}) options_[k]->setEnabled(false);
  if (d.Fmt.GtCount == -1)
    for (int k : {11, 12, 15, 16, 17}) options_[k]->setEnabled(false);
}

void ReplaceWin::OptionClick(int k) {
  switch (k) {
    case 1:
    case 2:
    case 7:
    case 3:
      p_.numOp = k == 1 ? kOpConstant : k == 2 ? kOpAdd : k == 7 ? kOpSubtract : kOpRandom;
      texts_[1]->setEnabled(k == 3);
      break;
    case 4:
    case 5:
    case 8:
    case 6:
      p_.laneOp = k == 4 ? kOpConstant : k == 5 ? kOpAdd : k == 8 ? kOpSubtract : kOpRandom;
      texts_[3]->setEnabled(k == 6);
      break;
    case 9: p_.frontTo = kKindFront; break;
    case 10: p_.frontTo = kKindBack; break;
    case 11: p_.frontTo = kKindOpen; break;
    case 14: p_.backTo = kKindFront; break;
    case 13: p_.backTo = kKindBack; break;
    case 12: p_.backTo = kKindOpen; break;
    case 15: p_.openTo = kKindFront; break;
    case 16: p_.openTo = kKindBack; break;
    case 17: p_.openTo = kKindOpen; break;
    default: break;
  }
}

void ReplaceWin::TextValidate(int k) {
  const DocData& d = win_->Doc();
  QLineEdit* t = texts_[k - 1];
  std::string text = t->text().toStdString();
  switch (k) {
    case 1: p_.numLo = CodeFieldRule(text, d.Fmt.WNum, 0, "00", maxNum_); break;
    case 2: p_.numHi = CodeFieldRule(text, d.Fmt.WNum, 0, "00", maxNum_); break;
    case 3: p_.laneLo = IntegerFieldRule(text, d.LaneCount); break;
    case 4: p_.laneHi = IntegerFieldRule(text, d.LaneCount); break;
    default: return;
  }
  t->setText(QString::fromStdString(text));
}

void ReplaceWin::OKButton_Click() {
  for (int k = 1; k <= 4; ++k) TextValidate(k);
  switch (CheckBatch(p_)) {
    case BatchRefusal::Number:
      plat::TheDesktop().MessageBox("WAVの値が不正です", "警告", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
      return;
    case BatchRefusal::Lane:
      plat::TheDesktop().MessageBox("レーンの値が不正です", "警告", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
      return;
    case BatchRefusal::None: break;
  }
  DocData& d = win_->Doc();
  if (d.LaneCount >= 1) {  // a chart without lanes has nothing to edit
    win_->ObjBackup();
    win_->StatusNote(BatchUnchangedText(BatchEdit(d, p_, *random_)));
  }
  accept();
}

}  // namespace mk
