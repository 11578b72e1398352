// The splash and About window: its load for either role, its closing rules, its draw, and the
// frame's Help > About command that shows it.
#include "frame/frmsplash.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <chrono>
#include <random>

#include "chartfmt/scriptreg.h"
#include "frame/formp.h"
#include "frame/settings.h"
#include "frame/splashart.h"
#include "platform/gfx/picture.h"

namespace mk {

int16_t g_SplashMode = 0;

namespace {

constexpr int kSplashHeight = 166;  // the picture's lower rows cut off
constexpr int kAboutHeight = 222;
constexpr int kRoleShift = kAboutHeight - kSplashHeight;  // the labels move down by this in the About role

double ClockDraw() {
  static std::mt19937 rng(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  return std::uniform_real_distribution<double>(0.0, 1.0)(rng);
}

FrmSplash::Draw& CurrentDraw() {
  static FrmSplash::Draw draw;
  return draw;
}

QFont LabelFont(const char* family, int pixels, QFont::Weight weight) {
  QFont f(plat::InstalledFamily(family, "DejaVu Sans"));
  f.setPixelSize(pixels);
  f.setWeight(weight);
  return f;
}

// The picture is drawn by Form_Load, and only the one that shows.
QLabel* Picture(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setScaledContents(false);
  return l;
}

}  // namespace

FrmSplash::Draw FrmSplash::SetDraw(Draw draw) {
  Draw previous = std::move(CurrentDraw());
  CurrentDraw() = std::move(draw);
  return previous;
}

FrmSplash::FrmSplash(QWidget* parent) : QDialog(parent) {
  setObjectName("frmSplash");
  image1_ = Picture(this, "Image1");
  image2_ = Picture(this, "Image2");
  image2_->hide();

  label1_ = new QLabel(QStringLiteral("Version.-.--"), this);
  label1_->setObjectName("Label1");
  label1_->setFont(LabelFont("Arial", 13, QFont::Bold));
  label2_ = new QLabel(QStringLiteral("Lane by lane, beat by beat"), this);
  label2_->setObjectName("Label2");
  label2_->setFont(LabelFont("Arial Black", 11, QFont::Black));
  for (QLabel* l : {label1_, label2_}) {
    l->setStyleSheet(QStringLiteral("color: #1b2140; background: transparent;"));
    l->setAttribute(Qt::WA_TranslucentBackground);
  }

  list1_ = new QListWidget(this);
  list1_->setObjectName("List1");
  list1_->setToolTip(QStringLiteral("インストールされているスクリプト一覧"));
  list1_->hide();

  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setSingleShot(false);
  // A coarse timer may end the splash up to a twentieth early; it stays its whole time.
  timer1_->setTimerType(Qt::PreciseTimer);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });

  for (QWidget* w : {static_cast<QWidget*>(image1_), static_cast<QWidget*>(image2_), static_cast<QWidget*>(label1_),
                     static_cast<QWidget*>(label2_), static_cast<QWidget*>(list1_)})
    w->installEventFilter(this);
  Form_Load();
}

void FrmSplash::Form_Load() {
  const Draw& draw = CurrentDraw();
  const double r = draw ? draw() : ClockDraw();
  const bool lettered = static_cast<int>(r * 1000) < 1;
  QLabel* shown = lettered ? image2_ : image1_;
  if (shown->pixmap().isNull()) shown->setPixmap(QPixmap::fromImage(StoredSplashPicture(lettered)));
  if (lettered) {
    image1_->hide();
    image2_->show();
  }
  label1_->setText(QStringLiteral("Version.0.24"));

  splash_ = g_SplashMode != 0;
  const int height = splash_ ? kSplashHeight : kAboutHeight;
  const int shift = splash_ ? 0 : kRoleShift;
  setFixedSize(kSplashArtWidth, height);
  image1_->setGeometry(0, 0, kSplashArtWidth, height);
  image2_->setGeometry(0, 0, kSplashArtWidth, height);
  const int labelWidth = splash_ ? kSplashArtWidth - 32 : 214;
  label1_->setGeometry(16, 114 + shift, labelWidth, 20);
  label2_->setGeometry(16, 136 + shift, labelWidth, 22);
  label1_->raise();
  label2_->raise();
  if (splash_) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    list1_->hide();
    timer1_->setInterval(g_Splash);
    timer1_->start();
  } else {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("バージョン情報"));
    list1_->setGeometry(238, kSplashArtPlainTop + 4, kSplashArtWidth - 238 - 8, kAboutHeight - kSplashArtPlainTop - 12);
    list1_->show();
    list1_->raise();
    timer1_->stop();
    if (list1_->count() == 0)
      for (int i = 1; i <= g_ScriptCount && i < static_cast<int>(g_ScriptTable.size()); ++i)
        list1_->addItem(QString::fromStdString(g_ScriptTable[i].Title));
  }
}

void FrmSplash::Form_Unload() {
  image1_->show();
  image2_->hide();
}

void FrmSplash::Timer1_Timer() {
  timer1_->stop();
  timeUp_ = true;
  accept();
}

void FrmSplash::Form_KeyPress() {
  if (!splash_) accept();
}

void FrmSplash::Picture_Click() {
  if (!splash_) accept();
}

bool FrmSplash::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    // The window sees the keys before its list does.
    keyPressEvent(static_cast<QKeyEvent*>(e));
    return e->isAccepted();
  }
  if (e->type() == QEvent::MouseButtonPress && watched != list1_) {
    Picture_Click();
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

void FrmSplash::keyPressEvent(QKeyEvent* e) {
  const int k = e->key();
  const bool character = !e->text().isEmpty() || k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape;
  if (!character) {
    e->ignore();  // arrows and the like move in the list
    return;
  }
  e->accept();
  Form_KeyPress();
}

// The splash closes only when its time is up.
void FrmSplash::closeEvent(QCloseEvent* e) {
  if (splash_ && !timeUp_) {
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

void FrmSplash::reject() {
  if (splash_ && !timeUp_) return;
  QDialog::reject();
}

void FrmSplash::done(int r) {
  timer1_->stop();
  Form_Unload();
  QDialog::done(r);
}

void FormP::Menu_Help_About_Click() {
  FrmSplash about(this);
  about.exec();
}

}  // namespace mk
