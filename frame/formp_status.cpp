// The frame's status bar: the pointer's lane and position, the three levels, the selection count
// and the note that says why an edit was refused.
#include <QLabel>
#include <QLayout>
#include <QStatusBar>

#include "frame/formp.h"

namespace mk {

namespace {

constexpr const char* kPanelKeys[] = {"CursorLane", "CursorPos", "Level1", "Level2", "Level3", "Info", "Note"};
constexpr const char* kLevelKeys[] = {"Level1", "Level2", "Level3"};

// What a note must show whatever the width: its count and verdict, the text before the reason
// in brackets.
QString NoteLead(const QString& note) {
  const qsizetype reason = note.indexOf(QStringLiteral("（"));
  return reason < 0 ? note : note.left(reason);
}

}  // namespace

void FormP::BuildStatusBar() {
  QStatusBar* sb = statusBar();
  sb->setObjectName("StatusBar1");
  for (const char* key : kPanelKeys) {
    auto* l = new QLabel(sb);
    l->setObjectName(key);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    sb->addWidget(l, std::string_view(key) == "Note" ? 1 : 0);
    panels_[key] = l;
  }
  // The pointer's panels are as wide as their widest usual text, so that the panels beside them
  // stay put while the pointer moves (a longer text still widens them). The level panels and the
  // selection count take the width of their texts; the count is left out while it is empty.
  auto widest = [](QLabel* l, const char* text) {
    l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QString::fromUtf8(text)) + 2 * l->frameWidth() + 4);
  };
  widest(Panel("CursorLane"), "レーン99 (Part99)");
  widest(Panel("CursorPos"), "999小節目   191拍");
  Panel("Info")->hide();
  // The note takes the width the other panels leave, shows as much of its text as fits and holds
  // the whole text in its tool tip.
  QLabel* note = Panel("Note");
  note->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  note->installEventFilter(this);
}

void FormP::SetPanelText(const std::string& key, const std::string& text) {
  QLabel* l = Panel(key);
  if (!l) return;
  const QString t = QString::fromStdString(text);
  if (key == "Note") {
    if (note_ == t) return;
    note_ = t;
    l->setToolTip(t);
  } else {
    l->setText(t);
    // The pointer's panels change with every move: they leave the layout alone, and a text
    // that widens a panel reaches the note as its resize.
    if (key != "Info") return;
    l->setVisible(!t.isEmpty());
  }
  FitStatusNote();
}

void FormP::SetPanelEnabled(const std::string& key, bool enabled) {
  if (QLabel* l = Panel(key)) l->setEnabled(enabled);
}

// Lays the note out in the width the other panels leave. When that width cannot show the note's
// count and verdict, the level panels (whose values the header panel's sliders show as well)
// step aside until the note is cleared or the bar is wide enough again.
void FormP::FitStatusNote() {
  if (fittingNote_) return;
  fittingNote_ = true;
  QStatusBar* sb = statusBar();
  QLabel* note = Panel("Note");
  auto showLevels = [&](bool show) {
    bool changed = false;
    for (const char* k : kLevelKeys) {
      changed = changed || Panel(k)->isHidden() == show;
      Panel(k)->setVisible(show);
    }
    if (changed && sb->layout()) sb->layout()->activate();
  };
  showLevels(true);
  const QString lead = NoteLead(note_);
  if (!note_.isEmpty() && sb->isVisible() && note->fontMetrics().horizontalAdvance(lead) > note->contentsRect().width())
    showLevels(false);
  note->setText(note->fontMetrics().elidedText(note_, Qt::ElideRight, note->contentsRect().width()));
  fittingNote_ = false;
}

}  // namespace mk
