// The chart window's scroll bar, wheel, direction, zoom and grid controls, its toolbar and the
// canvas wallpaper.
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::Chosen;
using testsupport::FrameTest;

namespace {

void Drag(QScrollBar* v, int to, const std::function<void()>& whileDown = {}) {
  v->setSliderDown(true);
  v->setSliderPosition(to);
  if (whileDown) whileDown();
  v->setSliderDown(false);
}

TEST_F(FrameTest, ScrollWheelDirectionZoomAndGridControls) {
  ASSERT_TRUE(Start());
  testsupport::ScriptedDesktop& desk = desk_;
  struct Case {
    const char* name;
    std::function<void(Form1*)> act;
    int value;       // VScroll1's value afterwards
    int32_t pos;     // DocData.ScrollPos
    int16_t scrlUp;  // DocData.ScrlUp
    double zoom;
    int16_t grid;
  };
  auto set = [](int v) { return [v](Form1* w) { w->VScroll1()->setValue(v); }; };
  auto grid = [&desk](std::optional<std::string> answer, bool warn) {
    return [&desk, answer, warn](Form1* w) {
      desk.ExpectInputBox(answer, {.title = "カスタムグリッド", .defaultText = "4"});
      if (warn)
        desk.ExpectMessageBox(plat::MsgAnswer::Ok,
                              {.text = "この値では正確に処理ができない可能性があります。ご注意下さい。",
                               .title = "警告"});
      w->Combo1()->setCurrentIndex(9);
      emit w->Combo1()->activated(9);
    };
  };
  const Case cases[] = {
      {"start: measure 0 at the bottom edge", [](Form1*) {}, 480, 0, -1, 1, 16},
      {"bottom: value 432 shows measure 1 at the edge", set(432), 432, 192, -1, 1, 16},
      {"top: value 48 shows measure 1 at the edge",
       [](Form1* w) {
         w->Toolbar1_ButtonMenuClick("TB_Up");
         w->VScroll1()->setValue(48);
       },
       48, 192, 0, 1, 16},
      {"switching the direction mirrors the value and keeps the ticks",
       [](Form1* w) {
         w->VScroll1()->setValue(432);
         w->Toolbar1_ButtonClick("TB_Scrl");
       },
       48, 192, 0, 1, 16},
      {"switching twice returns",
       [](Form1* w) {
         w->VScroll1()->setValue(432);
         w->Toolbar1_ButtonClick("TB_Scrl");
         w->Toolbar1_ButtonClick("TB_Scrl");
       },
       432, 192, -1, 1, 16},
      {"TB_Down in the same direction still mirrors",
       [](Form1* w) {
         w->VScroll1()->setValue(432);
         w->Toolbar1_ButtonMenuClick("TB_Down");
       },
       48, 1728, -1, 1, 16},
      {"wheel toward the user at the end stays", [](Form1* w) { w->vbWheelMinus(); }, 480, 0, -1, 1, 16},
      {"wheel away: a quarter measure", [](Form1* w) { w->vbWheelPlus(); }, 468, 48, -1, 1, 16},
      {"wheel 1小節: one measure",
       [](Form1* w) {
         g_Wheel = 8;
         w->vbWheelPlus();
       },
       432, 192, -1, 1, 16},
      {"wheel away at 0 stays",
       [](Form1* w) {
         w->VScroll1()->setValue(0);
         w->vbWheelPlus();
       },
       0, 1920, -1, 1, 16},
      {"skip on: a fast drag is drawn only where it stops",
       [](Form1* w) {
         w->TB_3b()->setChecked(true);
         Drag(w->VScroll1(), 400, [w] { EXPECT_EQ(w->Doc().ScrollPos, 0) << "drawn during the drag"; });
       },
       400, 320, -1, 1, 16},
      {"skip on: a slow drag is drawn",
       [](Form1* w) {
         w->TB_3b()->setChecked(true);
         Drag(w->VScroll1(), 474);
       },
       474, 24, -1, 1, 16},
      {"skip on: a click on the track is drawn",
       [](Form1* w) {
         w->TB_3b()->setChecked(true);
         w->VScroll1()->triggerAction(QAbstractSlider::SliderPageStepSub);
       },
       432, 192, -1, 1, 16},
      {"skip on: an arrow click is drawn",
       [](Form1* w) {
         w->TB_3b()->setChecked(true);
         w->VScroll1()->triggerAction(QAbstractSlider::SliderSingleStepSub);
       },
       479, 4, -1, 1, 16},
      {"skip on: a wheel notch is drawn",
       [](Form1* w) {
         w->TB_3b()->setChecked(true);
         w->vbWheelPlus();
       },
       468, 48, -1, 1, 16},
      {"zoom x3",
       [](Form1* w) {
         w->Combo2()->setCurrentIndex(2);
         emit w->Combo2()->activated(2);
       },
       480, 0, -1, 3, 16},
      {"zoom without an item keeps the zoom",
       [](Form1* w) {
         w->Combo2()->setCurrentIndex(2);
         emit w->Combo2()->activated(2);
         w->Combo2()->setCurrentIndex(-1);
         emit w->Combo2()->activated(-1);
       },
       480, 0, -1, 3, 16},
      {"grid 無制限",
       [](Form1* w) {
         w->Combo1()->setCurrentIndex(8);
         emit w->Combo1()->activated(8);
       },
       480, 0, -1, 1, 192},
      {"custom grid 5 warns", grid("5", true), 480, 0, -1, 1, 5},
      {"custom grid 96", grid("96", false), 480, 0, -1, 1, 96},
      {"custom grid 0", grid("0", false), 480, 0, -1, 1, 4},
      {"custom grid 200", grid("200", false), 480, 0, -1, 1, 4},
      {"custom grid of letters", grid("abc", false), 480, 0, -1, 1, 4},
      {"custom grid cancelled", grid(std::nullopt, false), 480, 0, -1, 1, 4},
      {"custom grid 7.9 warns", grid("7.9", true), 480, 0, -1, 1, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_Wheel = 2;
    // A fresh untitled window of the default script: 10 measures, measure 0 at the bottom,
    // value 480 of 480, grid 16, zoom x1.
    g_NewScript = g_DefaultScript;
    Form1* w = Frame().NewWindowStep();
    Activate(w);
    ASSERT_NE(w, nullptr);
    c.act(w);
    desk_.Verify();
    const DocData& d = w->Doc();
    EXPECT_EQ(w->VScroll1()->value(), c.value);
    EXPECT_EQ(d.ScrollPos, c.pos);
    EXPECT_EQ(d.ScrlUp, c.scrlUp);
    EXPECT_EQ(w->ScrlImage(), ScrollButtonImage(c.scrlUp));
    EXPECT_EQ(d.Zoom, c.zoom);
    EXPECT_EQ(d.GridDiv, c.grid);
    w->CloseWithoutQuestion();
    Pump();
  }
}

TEST_F(FrameTest, PlusAndMinusChangeTheMeasureCountOnRelease) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(1);
  const DocData& d = w->Doc();
  auto release = [](QWidget* b, Qt::MouseButton button, Qt::KeyboardModifiers mods) {
    const QPointF at(3, 3);
    QMouseEvent up(QEvent::MouseButtonRelease, at, b->mapToGlobal(at), button, Qt::NoButton, mods);
    QApplication::sendEvent(b, &up);
  };
  ASSERT_EQ(d.MesCount, 10);
  release(w->Command1(), Qt::LeftButton, Qt::NoModifier);
  EXPECT_EQ(d.MesCount, 11);
  release(w->Command1(), Qt::RightButton, Qt::ShiftModifier);
  EXPECT_EQ(d.MesCount, 19);
  EXPECT_EQ(w->VScroll1()->maximum(), VScrollMaxFor(19));
  release(w->Command2(), Qt::LeftButton, Qt::ShiftModifier);
  EXPECT_EQ(d.MesCount, 11);
  w->Command1()->click();  // from the keyboard: nothing
  EXPECT_EQ(d.MesCount, 11);
  g_MaxMeasure = 12;
  release(w->Command1(), Qt::LeftButton, Qt::ShiftModifier);  // beyond the limit: ignored
  EXPECT_EQ(d.MesCount, 11);

  QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
  QApplication::sendEvent(w->Command2(), &shiftDown);
  EXPECT_EQ(w->Command2()->cursor().shape(), Qt::CrossCursor);
  QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->Command2()->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w->Command2(), &move);
  EXPECT_EQ(w->Command2()->cursor().shape(), Qt::ArrowCursor);
}

QString MakeBmp(const std::string& path, QColor colour, int wd = 8, int ht = 6) {
  QImage img(wd, ht, QImage::Format_RGB32);
  img.fill(colour);
  EXPECT_TRUE(img.save(QString::fromStdString(path), "BMP"));
  return QString::fromStdString(path);
}

TEST_F(FrameTest, TheWallpaperIsChosenPlacedAndRemovedPerWindow) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(1);
  const DocData& d = w->Doc();
  EXPECT_TRUE(w->TB_Wall()->Mixed());
  EXPECT_EQ(w->WallImage(), 5);
  const std::string red = Install() + "red.bmp";
  MakeBmp(red, Qt::red);
  const std::string filter = "画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|";

  // The mode works without a wallpaper: stretched, nothing drawn.
  w->Toolbar1_ButtonMenuClick("TB_W3");
  EXPECT_EQ(d.CanvasWallMode, 3);
  EXPECT_EQ(w->WallImage(), 7);
  EXPECT_EQ(d.CanvasWallOn, 0);

  g_CommonDialogFile = Install() + "last.nxl";
  desk_.ExpectOpenFile(Chosen(red), {.filter = filter, .initialName = Install() + "last.nxl"});
  w->Toolbar1_ButtonClick("TB_Wall");
  EXPECT_TRUE(desk_.CallsOf(CallKind::OpenFile).at(0).request.mustExist);
  EXPECT_EQ(d.CanvasWallOn, -1);
  EXPECT_EQ(d.CanvasWallFile, red);
  EXPECT_FALSE(w->TB_Wall()->Mixed());
  EXPECT_EQ(g_CommonDialogFile, Install() + "last.nxl");  // the shared dialog's name is put back
  // Mode 3 shows it stretched over the whole canvas at once, and again after a resize.
  EXPECT_EQ(w->WallpaperStretched().Width(), w->Picture1()->width());
  EXPECT_EQ(w->WallpaperStretched().Height(), w->Picture1()->height());
  w->resize(w->width() - 40, w->height() - 30);
  Pump();
  EXPECT_EQ(w->WallpaperStretched().Width(), w->Picture1()->width());
  EXPECT_EQ(w->WallpaperStretched().Height(), w->Picture1()->height());

  for (auto [key, image] : {std::pair{"TB_W1", 5}, {"TB_W2", 6}}) {
    w->Toolbar1_ButtonMenuClick(key);
    EXPECT_EQ(w->WallImage(), image);
    EXPECT_EQ(d.CanvasWallOn, -1);  // the mode stays apart from the picture
  }

  // Cancelling removes it; the next choice no longer proposes the removed file.
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.initialName = red});
  w->Toolbar1_ButtonClick("TB_Wall");
  EXPECT_EQ(d.CanvasWallOn, 0);
  EXPECT_EQ(d.CanvasWallFile, "");
  EXPECT_TRUE(w->TB_Wall()->Mixed());
  EXPECT_EQ(w->Wallpaper().Width(), 0);
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.initialName = Install() + "last.nxl"});
  w->Toolbar1_ButtonClick("TB_Wall");

  // A file that is no picture: reported, and no wallpaper is kept.
  desk_.ExpectOpenFile(Chosen(red));
  w->Toolbar1_ButtonClick("TB_Wall");
  ASSERT_EQ(d.CanvasWallOn, -1);
  const std::string fake = dir_.Write("fake.bmp", "not a picture");
  desk_.ExpectOpenFile(Chosen(fake));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                         {.textContains = fake, .title = "エラー", .icon = plat::MsgIcon::Critical});
  w->Toolbar1_ButtonClick("TB_Wall");
  EXPECT_EQ(d.CanvasWallOn, 0);
  EXPECT_EQ(d.CanvasWallFile, "");
  EXPECT_TRUE(w->TB_Wall()->Mixed());
  EXPECT_EQ(w->Wallpaper().Width(), 0);
  w->Toolbar1_ButtonMenuClick("TB_W2");  // tiling with no picture draws nothing
  EXPECT_EQ(d.CanvasWallMode, 2);

  // A reset starts without a wallpaper in mode 1.
  desk_.ExpectOpenFile(Chosen(red));
  w->Toolbar1_ButtonClick("TB_Wall");
  ASSERT_TRUE(w->RefleshScr());
  EXPECT_EQ(w->Doc().CanvasWallMode, 1);
  EXPECT_EQ(w->Doc().CanvasWallOn, 0);
  EXPECT_EQ(w->WallImage(), 5);
  EXPECT_TRUE(w->TB_Wall()->Mixed());
  EXPECT_FALSE(w->TB_3b()->isChecked());
}

TEST_F(FrameTest, TheCentredWallpaperIsDrawnBehindTheChart) {
  ASSERT_TRUE(Start());
  Form1* w = WinAt(1);
  const std::string blue = Install() + "blue.bmp";
  MakeBmp(blue, QColor(0, 0, 255), 40, 30);
  desk_.ExpectOpenFile(Chosen(blue));
  w->Toolbar1_ButtonClick("TB_Wall");
  const plat::Picture& c = w->Canvas().Shown();
  const int cx = c.Width() / 2, cy = c.Height() / 2;
  // Some pixel around the centre shows the picture; the corners don't.
  int blueCount = 0;
  for (int y = cy - 10; y <= cy + 10; ++y)
    for (int x = cx - 15; x <= cx + 15; ++x) blueCount += c.Pixel(x, y) == plat::Rgb(0, 0, 255);
  EXPECT_GT(blueCount, 100);
  EXPECT_NE(c.Pixel(1, 1), plat::Rgb(0, 0, 255));
}

TEST_F(FrameTest, TheRefreshButtonPublishesThisWindowAgain) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl"), Sample("simple_sample.s4k")}));
  Form1* first = WinAt(1);
  const std::string second = Frame().Field(HeaderText::Text1)->text().toStdString();
  ASSERT_EQ(g_CurWin, 2);
  g_SkipActivate = 0;
  first->Toolbar1_ButtonClick("TB_Ref");
  EXPECT_EQ(g_CurWin, 1);
  EXPECT_EQ(Frame().Field(HeaderText::Text1)->text().toStdString(), g_Docs[1].Title);
  EXPECT_NE(g_Docs[1].Title, second);
}

// A refusal note takes the width the other panels leave; its count and verdict show whole even at
// the frame's design size with a selection counted beside it (the level panels step aside for
// them there), the rest is cut with "…", and the tool tip holds the whole text.
TEST_F(FrameTest, TheStatusNoteShowsItsCountAndVerdictAtTheDesignSize) {
  ASSERT_TRUE(Start());
  Form1* w = Open(Sample("nexal_sample.nxl"));
  ASSERT_TRUE(w);
  Frame().resize(680, 564);
  Frame().show();
  Pump();
  Frame().Menu_Edit_SelectAll_Click();
  ASSERT_TRUE(Frame().Panel("Info")->isVisible());
  const QString lead = QStringLiteral("1個のオブジェはこの位置では保存できません");
  const QString text = lead + QStringLiteral("（このレーンのこの層にはチャンネルがありません）");
  QLabel* note = Frame().Panel("Note");
  QWidget* bar = note->parentWidget();
  // No two panels overlap and none reaches past the bar.
  auto laidOut = [&] {
    std::vector<QRect> shown;
    for (const char* k : {"CursorLane", "CursorPos", "Level1", "Level2", "Level3", "Info", "Note"})
      if (Frame().Panel(k)->isVisible()) shown.push_back(Frame().Panel(k)->geometry());
    for (size_t i = 0; i + 1 < shown.size(); ++i) EXPECT_LT(shown[i].right(), shown[i + 1].left()) << i;
    EXPECT_LE(shown.back().right(), bar->width());
  };
  auto levelsShown = [&] {
    return Frame().Panel("Level1")->isVisible() && Frame().Panel("Level2")->isVisible() &&
           Frame().Panel("Level3")->isVisible();
  };
  EXPECT_TRUE(levelsShown());
  laidOut();

  w->StatusNote(text.toStdString());
  Pump();
  EXPECT_EQ(note->toolTip(), text);
  EXPECT_TRUE(note->text().startsWith(lead)) << note->text().toStdString();
  EXPECT_LE(note->fontMetrics().horizontalAdvance(note->text()), note->contentsRect().width());
  EXPECT_TRUE(note->text().endsWith(QStringLiteral("…"))) << note->text().toStdString();
  EXPECT_FALSE(levelsShown());
  laidOut();

  // Wide enough: the whole text beside every panel.
  Frame().resize(1400, 564);
  Pump();
  EXPECT_EQ(note->text(), text);
  EXPECT_TRUE(levelsShown());
  laidOut();

  // Back at the design size the levels return once the note is gone.
  Frame().resize(680, 564);
  Pump();
  EXPECT_FALSE(levelsShown());
  w->StatusNote("");
  Pump();
  EXPECT_TRUE(levelsShown());
  EXPECT_EQ(note->toolTip(), QString());
  laidOut();
}

}  // namespace
