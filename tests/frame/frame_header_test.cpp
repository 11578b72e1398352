// The header panel, the tab strip, the free statements and the BGA preview in the frame.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "chartfmt/globals.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "deftables/header.h"
#include "frame/bgawin.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

TEST_F(FrameTest, HeaderFieldsStoreEditsAndFillingMarksNothing) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* first = WinAt(g_CurWin);
  Form1* second = Open(Sample("dual_sample.scd"));
  ASSERT_NE(second, first);
  Activate(first);
  Activate(second);
  EXPECT_EQ(g_Docs[first->WinNo()].Dirty, 0);
  EXPECT_EQ(g_Docs[second->WinNo()].Dirty, 0);
  DocData& d = second->Doc();
  Frame().Field(HeaderText::Text3)->setText("1 5 0");
  EXPECT_EQ(d.Bpm, 150);
  EXPECT_EQ(d.Dirty, -1);
  Frame().Field(HeaderText::Text4)->setText("9E99999");  // no finite value reads 0
  EXPECT_EQ(d.BaseBpm, 0);
  Frame().Field(HeaderText::Text4)->setText("&H1F");
  EXPECT_EQ(d.BaseBpm, 31);
}

// A title longer than the typing limit, read from a file, is shown whole, and an edit at its end
// keeps the rest of it; the next chart's field has the usual limit again.
TEST_F(FrameTest, ALongTitleFromTheFileIsShownWholeAndAnEditKeepsIt) {
  const std::string chart = Install() + "long.nxl";
  std::string bytes = testsupport::ReadAll(Sample("nexal_sample.nxl"));
  const size_t at = bytes.find("#TITLE ");
  ASSERT_NE(at, std::string::npos);
  const std::string title(100, 'T');
  bytes.replace(at, bytes.find("\r\n", at) - at, "#TITLE " + title);
  ASSERT_TRUE(testsupport::WriteAll(chart, bytes));
  ASSERT_TRUE(Start({chart}));
  Form1* w = WinAt(g_CurWin);
  QLineEdit* field = Frame().Field(HeaderText::Text1);
  EXPECT_EQ(field->text().toStdString(), title);
  field->setFocus();
  Pump();
  field->end(false);
  QTest::keyClick(field, Qt::Key_Backspace);
  EXPECT_EQ(w->Doc().Title, title.substr(1));
  Open(Sample("dual_sample.scd"));
  EXPECT_EQ(field->maxLength(), mk::kTextFieldLength);
}

// What the BPM field shows once it has lost the keyboard is what the save writes.
TEST_F(FrameTest, ABpmFieldShowsTheNumberItHoldsOnceItLosesTheKeyboard) {
  const std::string chart = Install() + "bpm.nxl";
  std::filesystem::copy_file(Sample("nexal_sample.nxl"), chart);
  ASSERT_TRUE(Start({chart}));
  Form1* w = WinAt(g_CurWin);
  DocData& d = w->Doc();
  QLineEdit* bpm = Frame().Field(HeaderText::Text3);
  auto type = [&](QLineEdit* field, const char* text) {
    field->setFocus();
    Pump();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
  };
  const struct {
    const char* typed;
    const char* shown;  // and written after "#BPM "
  } cases[] = {
      {"150", "150"}, {"1 5 0", "150"}, {"150.5", "150.5"}, {"1,5", "1"},    {"150abc", "150"},
      {"abc", "0"},   {"", "0"},        {"0150", "150"},    {"-20", "-20"},  {"1E9", "1000000000"},
      {"&H1F", "31"}, {"1E-300", "0"},  {"9E99999", "0"},   {".25", "0.25"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    type(bpm, c.typed);
    EXPECT_EQ(bpm->text().toStdString(), c.typed);  // as typed while it has the keyboard
    EXPECT_EQ(d.Dirty, -1);
    w->Picture1()->setFocus();
    Pump();
    EXPECT_EQ(bpm->text().toStdString(), c.shown);
    Frame().QuerySaveAs();
    EXPECT_EQ(d.Dirty, 0);
    EXPECT_NE(testsupport::ReadAll(chart).find(std::string("#BPM ") + c.shown + "\r\n"), std::string::npos);
  }
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);

  // Enter takes the text too; saved while the field still has the keyboard, the warning names
  // it, and the field then shows what was written.
  QLineEdit* base = Frame().Field(HeaderText::Text4);
  type(base, "abc");
  QTest::keyClick(base, Qt::Key_Return);
  EXPECT_EQ(base->text().toStdString(), "0");
  EXPECT_TRUE(base->hasFocus());
  type(bpm, "1,5");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "BPM：「1」", .title = "警告"});
  Frame().QuerySaveAs();
  EXPECT_EQ(bpm->text().toStdString(), "1");
  EXPECT_NE(testsupport::ReadAll(chart).find("#BPM 1\r\n"), std::string::npos);
  EXPECT_EQ(d.Dirty, 0);  // showing the held value changes nothing

  // A value longer than may be typed is shown whole.
  d.Bpm = 123.456789;
  w->SetThisWin();
  EXPECT_EQ(bpm->text().toStdString(), "123.456789");
}

TEST_F(FrameTest, LevelSliderWithoutANameAndDragMarksAtTheEnd) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  d.Fmt.Lvn[1].clear();
  Frame().Slider1(1)->setSliderDown(true);  // a drag follows the thumb without marking
  Frame().Slider1(1)->setValue(9);
  EXPECT_EQ(Frame().Panel("Level2")->text().toStdString(), "：9");
  EXPECT_EQ(d.Level[1], 9);
  EXPECT_EQ(d.Dirty, 0);
  Frame().Slider1(1)->setSliderDown(false);  // the drag ends
  EXPECT_EQ(d.Dirty, -1);
}

TEST_F(FrameTest, WidthRuleKeepsTheControlsAsWideAsTheFrame) {
  ASSERT_TRUE(Start());
  for (int w : {161, 300}) {
    Frame().DefFrame1()->resize(w, Frame().DefFrame1()->height());
    const int left = Frame().Field(HeaderText::Text1)->x();  // right of the label column
    EXPECT_GE(left, 48);
    const int half = (w - left - 8 - 7) / 2;
    EXPECT_EQ(Frame().Field(HeaderText::Text1)->width(), w - left - 8) << w;
    EXPECT_EQ(Frame().Slider1(2)->width(), w - left - 8) << w;
    EXPECT_EQ(Frame().FileButton(4)->width(), w - left - 8) << w;
    EXPECT_EQ(Frame().Field(HeaderText::Text3)->geometry(), QRect(left, 152, half, 18)) << w;
    EXPECT_EQ(Frame().Field(HeaderText::Text4)->geometry(), QRect(left + half + 7, 152, half, 18)) << w;
    EXPECT_EQ(Frame().Label10()->width(), w) << w;
  }
}

// At the design size every label of the panel shows its whole text, the script's level names
// included; the controls start right of the label column and keep their right margin.
TEST_F(FrameTest, HeaderLabelsShowTheirWholeTextAtTheDesignSize) {
  ASSERT_TRUE(Start());
  Frame().resize(680, 564);
  Frame().show();
  for (const char* chart : {"nexal_sample.nxl", "dual_sample.scd", "simple_sample.s4k"}) {
    SCOPED_TRACE(chart);
    Open(Sample(chart));
    Pump();
    QWidget* frame = Frame().DefFrame1();
    const int left = Frame().Field(HeaderText::Text1)->x();
    int labels = 0;
    for (QLabel* l : frame->findChildren<QLabel*>()) {
      SCOPED_TRACE(l->text().toStdString());
      EXPECT_LE(l->sizeHint().width(), l->width());
      if (l != Frame().Label10()) {
        EXPECT_LE(l->x() + l->width() - 1, left);
        ++labels;
      }
    }
    EXPECT_EQ(labels, 9);
    for (QWidget* c :
         std::initializer_list<QWidget*>{Frame().Field(HeaderText::Text2), Frame().Field(HeaderText::Text3),
                                         Frame().Slider1(1), Frame().FileButton(4)})
      EXPECT_EQ(c->x(), left);
    EXPECT_EQ(Frame().Field(HeaderText::Text1)->geometry().right(), frame->width() - 9);
    EXPECT_NEAR(Frame().Field(HeaderText::Text4)->geometry().right(), frame->width() - 9, 1);  // half of an odd width
  }
  EXPECT_EQ(Frame().LevelLabel(2)->text().toStdString(), "難度2：");
  Activate(WinAt(1));  // back to the Nexal chart: its names again
  EXPECT_EQ(Frame().LevelLabel(2)->text().toStdString(), "STANDARD：");
  EXPECT_LE(Frame().LevelLabel(2)->sizeHint().width(), Frame().LevelLabel(2)->width());
}

TEST_F(FrameTest, WallpaperAndSoundChoosersRebaseAndCancelClears) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  desk_.ExpectOpenFile(testsupport::Chosen("/elsewhere/w.bmp"),
                       {.filter = "画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|", .initialName = "stage.bmp"});
  Frame().FileButton(3)->click();
  EXPECT_EQ(d.Wall, "w.bmp");
  EXPECT_EQ(d.Folder, "/elsewhere/");
  EXPECT_EQ(Frame().FileButton(3)->text().toStdString(), "w.bmp");
  EXPECT_EQ(d.Dirty, -1);
  d.Dirty = 0;
  desk_.ExpectOpenFile(testsupport::Cancelled(), {.filter = "音声ファイル(*.wav;*.zq)|*.wav;*.zq|"});
  Frame().FileButton(4)->click();  // cancel is how a preview sound is removed
  EXPECT_EQ(d.Pre, "");
  EXPECT_EQ(Frame().FileButton(4)->text().toStdString(), "None");
  EXPECT_EQ(d.Folder, "/elsewhere/");
  EXPECT_EQ(d.Dirty, -1);
}

TEST_F(FrameTest, MeasureCountDialog) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(g_CurWin);
  DocData& d = w->Doc();
  d.MesCount = 20;
  w->Mes_Change(0);
  for (const char* bad : {"-1", "500", "40000"}) {
    desk_.ExpectInputBox(std::string(bad), {.prompt = "変更後の最大小節数を入力してください\r\n(現在：20小節)",
                                            .title = "小節数変更",
                                            .defaultText = "20"});
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                           {.text = "不正な数値です", .title = "エラー", .icon = plat::MsgIcon::Critical});
    Frame().Label10_DblClick();
  }
  desk_.ExpectInputBox(std::nullopt);
  Frame().Label10_DblClick();
  EXPECT_EQ(d.MesCount, 20);
  EXPECT_EQ(d.Dirty, 0);

  desk_.ExpectInputBox(std::string("12.9"));
  desk_.ExpectMessageBox(plat::MsgAnswer::Cancel, {.title = "確認", .buttons = plat::MsgButtons::OkCancel});
  Frame().Label10_DblClick();  // a cut asks first; Cancel keeps everything
  EXPECT_EQ(d.MesCount, 20);
  desk_.ExpectInputBox(std::string("12.9"));
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "譜面が削除される場合があります"});
  Frame().Label10_DblClick();
  EXPECT_EQ(d.MesCount, 12);
  EXPECT_EQ(Frame().Label10()->text().toStdString(), "最大小節数： 12");
  EXPECT_EQ(d.Dirty, -1);                   // measures cut here are not lost silently on close
  desk_.ExpectInputBox(std::string("30"));  // growing asks nothing
  Frame().Label10_DblClick();
  EXPECT_EQ(d.MesCount, 30);
}

TEST_F(FrameTest, TabSwitchOnReleaseRefusalAndHover) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  QTabBar* tab = Frame().Tab1();
  Frame().Tab1_MouseUp();  // released before the pointer was ever over the strip: nothing
  EXPECT_EQ(d.DefTab, 0);

  // A press does not switch; the release over the tab does.
  const QPoint at = tab->tabRect(2).center();
  QMouseEvent move(QEvent::MouseMove, at, tab->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(tab, &move);
  EXPECT_EQ(Frame().TabHover(), 3);
  QMouseEvent down(QEvent::MouseButtonPress, at, tab->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(tab, &down);
  EXPECT_EQ(tab->currentIndex(), 0);
  QMouseEvent up(QEvent::MouseButtonRelease, at, tab->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(tab, &up);
  EXPECT_EQ(d.DefTab, 2);
  EXPECT_EQ(tab->currentIndex(), 2);
  EXPECT_TRUE(Frame().Text6()->isVisibleTo(&Frame()));
  EXPECT_FALSE(Frame().DefToolButton(DefTool::TB2_Up)->isEnabled());
  EXPECT_EQ(Frame().DefToolButton(DefTool::TB2_Play)->toolTip().toStdString(), "命令文を譜面に反映");

  d.CurDef = 0;
  tab->setCurrentIndex(0);  // the keyboard goes through the same rule
  EXPECT_EQ(d.DefTab, 0);
  EXPECT_EQ(d.CurDef, 1);
  EXPECT_EQ(d.Dirty, 0);

  // A script without BGA keyword refuses the BGA tab; the strip goes back.
  Form1* simple = Open(Sample("simple_sample.s4k"));
  ASSERT_NE(simple, nullptr);
  simple->Doc().CurDef = 300;
  Frame().Tab1_Switch(2);
  EXPECT_EQ(simple->Doc().DefTab, 0);
  EXPECT_EQ(tab->currentIndex(), 0);
  tab->setCurrentIndex(1);
  EXPECT_EQ(simple->Doc().DefTab, 0);
  EXPECT_EQ(tab->currentIndex(), 0);
}

TEST_F(FrameTest, FreeStatementsApplyFromMemory) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(g_CurWin);
  DocData& d = w->Doc();
  const int mes = d.MesCount;
  const std::string file = d.FileName, folder = d.Folder;
  Frame().Tab1_Switch(3);
  Frame().Text6()->setPlainText(
      "#TITLE 新しい曲\n#WAV0B new.wav\n#010K1:01\n#600K1:01\nunknown line\n;just a remark\n\n");
  EXPECT_EQ(d.FreeText.find("#TITLE 新しい曲\r\n"), 0u);  // kept with CR LF breaks
  Frame().DefToolButton(DefTool::TB2_Play)->click();
  EXPECT_EQ(d.Title, "新しい曲");
  EXPECT_EQ(Frame().Field(HeaderText::Text1)->text().toStdString(), "新しい曲");
  EXPECT_EQ(d.Wav[11].File, "new.wav");
  EXPECT_EQ(d.MesCount, std::max(mes, 10));
  EXPECT_EQ(d.Obj[1].Mes[10].Obj[0], 1);
  // A line past the measure limit stays text and leaves the count; unknown lines stay; remarks
  // and empty lines go.
  EXPECT_EQ(d.FreeText.find("#600K1:01\r\nunknown line\r\n") != std::string::npos, true) << d.FreeText;
  EXPECT_EQ(d.FreeText.find("remark"), std::string::npos);
  EXPECT_EQ(Frame().Text6()->toPlainText().toStdString().find("\r"), std::string::npos);
  EXPECT_EQ(d.FileName, file);
  EXPECT_EQ(d.Folder, folder);
  const std::string once = d.FreeText;
  Frame().ApplyFreeText();  // a second apply changes nothing
  EXPECT_EQ(d.FreeText, once);
  EXPECT_EQ(d.MesCount, std::max(mes, 10));

  d.FreeText = "#LIGHT 99999\r\n#TITLE half\r\n";  // a failing line: nothing changes at all
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.title = "エラー"});
  Frame().ApplyFreeText();
  EXPECT_EQ(d.Title, "新しい曲");
  EXPECT_EQ(d.FreeText, "#LIGHT 99999\r\n#TITLE half\r\n");
}

TEST_F(FrameTest, BgaPreviewFollowsTheListAndShowsOnlyKnownPictures) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  const std::string folder = dir_.path() + "/pics/";
  std::filesystem::create_directories(folder);
  QImage big(400, 300, QImage::Format_RGB32);
  big.fill(Qt::red);
  big.setPixel(0, 0, qRgb(0, 255, 0));
  ASSERT_TRUE(big.save(QString::fromStdString(folder + "big.Bmp"), "BMP"));
  QImage small(10, 10, QImage::Format_RGB32);
  small.fill(Qt::blue);
  ASSERT_TRUE(small.save(QString::fromStdString(folder + "p.jpeg"), "JPEG"));
  ASSERT_TRUE(small.save(QString::fromStdString(folder + "p.png"), "PNG"));
  ASSERT_TRUE(small.save(QString::fromStdString(folder + "s.bmp"), "BMP"));
  d.Folder = folder;
  d.Bga[1].File = "big.Bmp";
  d.Bga[2].File = "p.jpeg";
  d.Bga[3].File = "p.png";
  d.Bga[4].File = "gone.bmp";
  d.Bga[5].File = "s.bmp";
  Frame().Tab1_Switch(2);
  QTreeWidget* g2 = Frame().List(DefList::Grid2);

  d.CurDef = 1;
  Frame().Grid_MouseUp(DefList::Grid2, 1, {});  // preview off: nothing opens
  EXPECT_EQ(Frame().BgaWin(), nullptr);
  Frame().DefToolButton(DefTool::TB2_Play)->click();
  auto* win = static_cast<BgaPreviewWin*>(Frame().BgaWin());
  ASSERT_NE(win, nullptr);
  EXPECT_EQ(win->windowTitle().toStdString(), "BGAプレビュー");
  EXPECT_TRUE(win->windowFlags() & Qt::WindowStaysOnTopHint);
  QImage shown = win->Shown();
  EXPECT_EQ(shown.size(), QSize(255, 255));
  EXPECT_EQ(shown.pixel(0, 0), qRgb(0, 255, 0));  // top-left, unscaled, clipped
  EXPECT_EQ(shown.pixel(254, 254), qRgb(255, 0, 0));
  // Black for each file it cannot show, and the caption says why; the area's tooltip names the file.
  big.save(QString::fromStdString(folder + "whole.bmp"), "BMP");
  std::ifstream in(folder + "whole.bmp", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(folder + "cut.bmp", std::ios::binary) << bytes.substr(0, 2000);
  std::ofstream(folder + "text.gif") << "not a picture";
  d.Bga[6].File = "cut.bmp";
  d.Bga[7].File = "text.gif";
  const struct {
    int n;
    const char* caption;
  } black[] = {{2, "BGAプレビュー (表示できない形式)"}, {3, "BGAプレビュー (表示できない形式)"},
               {4, "BGAプレビュー (ファイルなし)"},     {6, "BGAプレビュー (壊れた画像)"},
               {7, "BGAプレビュー (表示できない形式)"}, {9, "BGAプレビュー"}};
  for (const auto& c : black) {
    d.CurDef = static_cast<int16_t>(c.n);
    Frame().PreviewBGA();
    EXPECT_EQ(win->windowTitle().toStdString(), c.caption) << c.n;
    const QImage& area = win->Shown();
    int lit = 0;
    for (int y = 0; y < area.height(); ++y)
      for (int x = 0; x < area.width(); ++x) lit += area.pixel(x, y) != qRgb(0, 0, 0);
    EXPECT_EQ(lit, 0) << c.n;
    const std::string tip = win->Picture1()->toolTip().toStdString();
    if (c.n == 9)
      EXPECT_EQ(tip, "");
    else
      EXPECT_EQ(tip.rfind(folder + d.Bga[c.n].File + "\n", 0), 0u) << tip;
  }
  Frame().SelectListRow(DefList::Grid2, 6);  // a key release in the list redraws
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(g2, &up);
  EXPECT_EQ(d.CurDef, 5);
  EXPECT_EQ(win->Shown().pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_EQ(win->Shown().pixel(20, 20), qRgb(0, 0, 0));
  EXPECT_EQ(win->windowTitle().toStdString(), "BGAプレビュー");  // a picture shown: nothing to explain
  EXPECT_EQ(win->Picture1()->toolTip().toStdString(), "");

  win->close();  // closed by hand: it stays closed while rows change
  Pump();
  EXPECT_EQ(d.BgaPreview, 0);
  Frame().Grid_MouseUp(DefList::Grid2, 1, {});
  EXPECT_EQ(Frame().BgaWin(), nullptr);
  Frame().DefToolButton(DefTool::TB2_Play)->click();
  ASSERT_NE(Frame().BgaWin(), nullptr);
  Frame().Tab1_Switch(1);  // leaving for the WAV tab closes it
  Pump();
  EXPECT_EQ(Frame().BgaWin(), nullptr);
  EXPECT_EQ(d.BgaPreview, 0);
}

}  // namespace
