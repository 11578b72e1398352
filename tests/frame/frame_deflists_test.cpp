// The definition lists in the frame: row clicks before their release, the erase key, comments,
// file choice, the moves on the toolbar, and the batch load dialog driven on a scratch folder.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "chartfmt/globals.h"
#include "chartview/mixedbutton.h"
#include "frame/deflistview.h"
#include "frame/wavlump.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

void Key(QWidget* w, int key, Qt::KeyboardModifiers mods) {
  QKeyEvent down(QEvent::KeyPress, key, mods);
  QApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, mods);
  QApplication::sendEvent(w, &up);
}

void Click(QTreeWidget* t, int row, Qt::MouseButton button = Qt::LeftButton) {
  QTreeWidgetItem* it = t->topLevelItem(row - 1);
  t->scrollToItem(it);
  const QPoint at = t->visualItemRect(it).center();
  QWidget* vp = t->viewport();
  QMouseEvent down(QEvent::MouseButtonPress, at, vp->mapToGlobal(at), button, button, Qt::NoModifier);
  QApplication::sendEvent(vp, &down);
  QMouseEvent up(QEvent::MouseButtonRelease, at, vp->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(vp, &up);
}

std::string Cell(QTreeWidget* t, int row, int column) { return t->topLevelItem(row - 1)->text(column).toStdString(); }

TEST_F(FrameTest, RowClicksSetTheCurrentNumberBeforeTheReleasePlays) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  QTreeWidget* g1 = Frame().List(DefList::Grid1);
  QTreeWidget* g2 = Frame().List(DefList::Grid2);
  EXPECT_EQ(g1->topLevelItemCount(), 1295);  // base 36
  EXPECT_EQ(g2->topLevelItemCount(), 256);
  Click(g1, 1);
  EXPECT_EQ(d.CurDef, 1);

  // With the preview toggle pressed, the release plays the row just clicked (its file exists):
  // here the sound library is missing, which the preview reports.
  std::ofstream(d.Folder + "snare.wav") << "x";
  Frame().DefToolButton(DefTool::TB2_Prev)->click();
  ASSERT_TRUE(Frame().DefToolButton(DefTool::TB2_Prev)->isChecked());
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "サウンドライブラリ"});
  Click(g1, 2);
  EXPECT_EQ(d.CurDef, 2);
  Click(g1, 3);  // hat.wav is not there: nothing plays
  EXPECT_EQ(d.CurDef, 3);
  desk_.Verify();
  Frame().Menu("GridM_Prop")->trigger();  // a missing file has no properties sheet
  EXPECT_EQ(desk_.CountOf(CallKind::FileProperties), 0u);
  d.CurDef = 2;
  Frame().Menu("GridM_Prop")->trigger();
  ASSERT_EQ(desk_.CountOf(CallKind::FileProperties), 1u);
  EXPECT_EQ(desk_.CallsOf(CallKind::FileProperties)[0].path, d.Folder + "snare.wav");

  Frame().Tab1_Switch(2);
  Click(g2, 1);  // the BGA row "00"
  EXPECT_EQ(d.CurDef, 0);
  Click(g2, 3, Qt::RightButton);  // the context menu acts on the current number
  EXPECT_EQ(d.CurDef, 0);
  EXPECT_TRUE(Frame().BGAM()->isVisible());
  Frame().BGAM()->hide();
  EXPECT_EQ(d.Dirty, 0);
}

TEST_F(FrameTest, ShiftDeleteAloneErasesAndMarksTheChart) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  QTreeWidget* g1 = Frame().List(DefList::Grid1);
  Click(g1, 1);
  Key(g1, Qt::Key_Delete, Qt::NoModifier);
  Key(g1, Qt::Key_Delete, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(d.Wav[1].File, "kick.wav");
  EXPECT_EQ(d.Dirty, 0);
  Key(g1, Qt::Key_Delete, Qt::ShiftModifier | Qt::KeypadModifier);  // the keypad flag is no modifier
  EXPECT_EQ(d.Wav[1], DefEntry{});
  EXPECT_EQ(Cell(g1, 1, 1), "");
  EXPECT_EQ(d.Dirty, -1);                 // closing must not lose the erase unasked
  Key(g1, Qt::Key_Down, Qt::NoModifier);  // the release makes the selected row current
  EXPECT_EQ(d.CurDef, 2);
}

TEST_F(FrameTest, CommentPromptCancelKeepsAndOkClears) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  d.CurDef = 1;
  desk_.ExpectInputBox(std::nullopt, {.prompt = "kick.wavのコメントを入力してください",
                                      .title = "コメント指定",
                                      .defaultText = "バスドラム"});
  Frame().Menu("GridM_Cmt")->trigger();
  EXPECT_EQ(d.Wav[1].Comment, "バスドラム");
  EXPECT_EQ(d.Dirty, 0);
  desk_.ExpectInputBox(std::string());
  Frame().Menu("GridM_Cmt")->trigger();
  EXPECT_EQ(d.Wav[1].Comment, "");
  EXPECT_EQ(Cell(Frame().List(DefList::Grid1), 1, 2), "");
  EXPECT_EQ(d.Dirty, -1);
  d.CurDef = 0;  // no WAV row: nothing is asked
  Frame().Menu("GridM_Cmt")->trigger();
  Frame().Menu("GridM_Erase")->trigger();
}

TEST_F(FrameTest, ChoosingFilesFromTwoFoldersRebasesTheChart) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  d.CurDef = 7;
  desk_.ExpectOpenFile(testsupport::Chosen("/one/a.wav"), {.filter = "音声ファイル(*.wav;*.zq)|*.wav;*.zq|"});
  Frame().Menu("GridM_Wav")->trigger();
  d.CurDef = 8;
  desk_.ExpectOpenFile(testsupport::Chosen("/two/b.wav"));
  Frame().Grid_DblClick(DefList::Grid1);
  EXPECT_EQ(d.Folder, "/two/");
  EXPECT_EQ(d.Wav[7].File, "a.wav");
  EXPECT_EQ(Cell(Frame().List(DefList::Grid1), 8, 1), "b.wav");
  desk_.ExpectOpenFile(testsupport::Cancelled());
  Frame().Grid_DblClick(DefList::Grid1);
  EXPECT_EQ(d.Folder, "/two/");
  d.Dirty = 0;
  d.CurDef = 2;
  Frame().Tab1_Switch(2);
  desk_.ExpectOpenFile(testsupport::Cancelled(),
                       {.filter = "BGAファイル(*.bmp;*.jpg)|*.bmp;*.jpg|", .initialName = "layer.bmp"});
  Frame().Menu("BGAM_BGA")->trigger();
  EXPECT_EQ(d.Dirty, 0);
}

TEST_F(FrameTest, ToolbarMovesSwapRowsAndObjectsAndRefuseSilently) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  QTreeWidget* g1 = Frame().List(DefList::Grid1);
  d.CurDef = 1;
  Frame().DefToolButton(DefTool::TB2_Up)->click();  // refused: nothing marked
  EXPECT_EQ(d.Dirty, 0);
  const int16_t k1 = d.Obj[1].Mes[1].Obj[0];
  ASSERT_EQ(k1, 1);  // #001K1:0101
  Frame().DefToolButton(DefTool::TB2_Down)->click();
  EXPECT_EQ(d.CurDef, 2);
  EXPECT_EQ(Cell(g1, 1, 1), "snare.wav");
  EXPECT_EQ(Cell(g1, 2, 1), "kick.wav");
  EXPECT_EQ(Cell(g1, 2, 2), "バスドラム");
  EXPECT_EQ(g1->currentItem(), g1->topLevelItem(1));
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 2);
  EXPECT_EQ(d.Dirty, -1);
  Frame().DefToolButton(DefTool::TB2_Up)->click();
  EXPECT_EQ(d.Obj[1].Mes[1].Obj[0], 1);
  EXPECT_EQ(Cell(g1, 1, 1), "kick.wav");
  Frame().Tab1_Switch(3);  // on the free tab the moves do nothing
  Frame().Toolbar2_ButtonClick(DefTool::TB2_Down);
  EXPECT_EQ(d.CurDef, 1);
}

TEST_F(FrameTest, BatchLoadDialogFillsSlotsInListOrderFromAScratchFolder) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  const std::string folder = dir_.path() + "/loads";
  std::filesystem::create_directories(folder + "/sub");
  for (const char* f : {"B.WAV", "a.wav", "c.Zq", "notes.txt"}) std::ofstream(folder + "/" + f) << "x";
  d.CurDef = 3;
  Frame().SelectListRow(DefList::Grid1, 3);
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = Frame().findChild<WavLump*>("WavLump");
    ASSERT_NE(dlg, nullptr);
    seen = true;
    EXPECT_EQ(dlg->windowTitle().toStdString(), "WAV一括読み込み");
    EXPECT_EQ(dlg->StartSlot(), 3);
    EXPECT_EQ(dlg->List1()->currentRow(), 2);
    EXPECT_EQ(dlg->List1()->item(0)->text().toStdString(), "01*");
    EXPECT_EQ(dlg->List1()->item(6)->text().toStdString(), "07");
    EXPECT_FALSE(dlg->OKButton()->isEnabled());
    dlg->Dir1_Change(folder);
    ASSERT_EQ(dlg->File1()->count(), 3);  // the pattern ignores letter case
    EXPECT_EQ(dlg->File1()->item(0)->text().toStdString(), "a.wav");
    EXPECT_EQ(dlg->File1()->item(1)->text().toStdString(), "B.WAV");
    EXPECT_EQ(dlg->Dir1()->item(1)->text().toStdString(), "sub");
    dlg->File1()->item(2)->setSelected(true);  // clicked first, loaded last
    dlg->File1()->setCurrentRow(0, QItemSelectionModel::Select);
    EXPECT_TRUE(dlg->OKButton()->isEnabled());
    dlg->List1_Click(6);
    dlg->OKButton()->click();
  });
  Frame().Menu("GridM_WavA")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(d.Folder, folder + "/");
  EXPECT_EQ(d.Wav[7], (DefEntry{"a.wav", ""}));
  EXPECT_EQ(d.Wav[8], (DefEntry{"c.Zq", ""}));
  EXPECT_EQ(Cell(Frame().List(DefList::Grid1), 8, 1), "c.Zq");
  EXPECT_EQ(d.Dirty, -1);

  d.Dirty = 0;  // Cancel changes nothing
  QTimer::singleShot(0, [&] { Frame().findChild<WavLump*>("WavLump")->CancelButton_Click(); });
  Frame().Menu("GridM_WavA")->trigger();
  EXPECT_EQ(d.Dirty, 0);
  EXPECT_EQ(d.Folder, folder + "/");
}

// The forms' fixed-pitch Japanese font at 9 points, or the installed gothic that stands in for it.
void ExpectFixedJapaneseFont(QWidget* w) {
  const QFontInfo info(w->font());
  EXPECT_TRUE(info.family() == "ＭＳ ゴシック" || info.family() == "IPAGothic") << info.family().toStdString();
  EXPECT_EQ(info.pointSize(), 9);
  const QFontMetrics m(w->font());
  EXPECT_EQ(m.horizontalAdvance('i'), m.horizontalAdvance('W'));  // fixed pitch
}

TEST_F(FrameTest, DefinitionListsFollowTheSelectedRowAsSoonAsAKeyMovesIt) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  auto* g1 = static_cast<DefListView*>(Frame().List(DefList::Grid1));
  Frame().SelectListRow(DefList::Grid1, 1);
  ASSERT_EQ(d.CurDef, 1);
  QTest::keyPress(g1, Qt::Key_Down);  // a held key: the row is current before the release
  EXPECT_EQ(d.CurDef, 2);
  QTest::keyPress(g1, Qt::Key_End);
  EXPECT_EQ(d.CurDef, 1295);
  QTest::keyRelease(g1, Qt::Key_End);
  QTest::keyClick(g1, Qt::Key_PageUp);
  EXPECT_LT(d.CurDef, 1295);
  EXPECT_EQ(d.CurDef, g1->SelectedRow());
  // The canvas made another number current: a click on the selected row takes it back.
  const int row = g1->SelectedRow();
  d.CurDef = 5;
  Click(g1, row);
  EXPECT_EQ(d.CurDef, row);

  Frame().Tab1_Switch(2);
  auto* g2 = static_cast<DefListView*>(Frame().List(DefList::Grid2));
  QTest::keyPress(g2, Qt::Key_Home);
  EXPECT_EQ(d.CurDef, 0);  // the BGA row "00"
  QTest::keyRelease(g2, Qt::Key_Home);
  QTest::keyClick(g2, Qt::Key_Down);
  QTest::keyClick(g2, Qt::Key_Down);
  EXPECT_EQ(d.CurDef, 2);
  Click(g2, 5, Qt::RightButton);  // the menu acts on the row still shown selected
  EXPECT_EQ(d.CurDef, 2);
  EXPECT_EQ(g2->SelectedRow(), 3);
  Frame().BGAM()->hide();
  EXPECT_EQ(d.Dirty, 0);
}

TEST_F(FrameTest, DefinitionPanelTextsFontAndFreeBox) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  const std::pair<DefTool, const char*> tips[] = {{DefTool::TB2_Stop, "プレビューを停止"},
                                                  {DefTool::TB2_Up, "上へ"},
                                                  {DefTool::TB2_Down, "下へ"},
                                                  {DefTool::TB2_Prev, "プレビューのON/OFF"}};
  for (const auto& [t, tip] : tips) EXPECT_EQ(Frame().DefToolButton(t)->toolTip().toStdString(), tip);
  for (DefList l : {DefList::Grid1, DefList::Grid2}) {
    QTreeWidget* t = Frame().List(l);
    QTreeWidgetItem* head = t->headerItem();
    EXPECT_EQ(head->text(0), "");  // the code column has no heading
    EXPECT_EQ(head->text(1), "ファイル名");
    EXPECT_EQ(head->text(2), "コメント");
    ExpectFixedJapaneseFont(t);
  }
  // A long free statement stays on one line; the box scrolls sideways to it.
  auto* text6 = Frame().findChild<QPlainTextEdit*>("Text6");
  ASSERT_NE(text6, nullptr);
  Frame().Tab1_Switch(3);
  text6->setPlainText(QString("#LONGLINE ") + QString(400, 'x'));
  QApplication::processEvents();
  EXPECT_EQ(text6->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(text6->document()->lineCount(), 1);
  EXPECT_EQ(text6->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text6->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_GT(text6->horizontalScrollBar()->maximum(), 0);
}

// Keyboard only, on the sample chart: WAV row 01 current, one file picked, Down to slot 07, Enter.
// Definition 01 stays; 07 takes the file. Enter in the folder list only opens folders. Then the BGA mode: End reaches
// the last slot FF, and of two files only the first fits.
TEST_F(FrameTest, BatchLoadFillsTheSlotTheKeysMovedTo) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  DocData& d = g_Docs[g_CurWin];
  const std::string folder = dir_.path() + "/keys";
  std::filesystem::create_directories(folder + "/gone");
  for (const char* f : {"new.wav", "p1.bmp", "p2.bmp"}) std::ofstream(folder + "/" + f) << "x";
  Frame().SelectListRow(DefList::Grid1, 1);
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = Frame().findChild<WavLump*>("WavLump");
    ASSERT_NE(dlg, nullptr);
    seen = true;
    ExpectFixedJapaneseFont(dlg->List1());
    dlg->Dir1_Change(folder);
    QTest::keyClick(dlg->File1(), Qt::Key_Down);
    EXPECT_TRUE(dlg->OKButton()->isEnabled());
    EXPECT_EQ(dlg->StartSlot(), 1);
    // Enter on a folder that has gone meanwhile opens nothing, and loads nothing either.
    std::filesystem::remove(folder + "/gone");
    QTest::keyClick(dlg->Dir1(), Qt::Key_Home);  // "..", the first key makes a row current
    QTest::keyClick(dlg->Dir1(), Qt::Key_End);
    EXPECT_EQ(dlg->Dir1()->currentRow(), 1);
    QTest::keyClick(dlg->Dir1(), Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(d.Wav[1], (DefEntry{"kick.wav", "バスドラム"}));
    for (int i = 0; i < 6; ++i) QTest::keyClick(dlg->List1(), Qt::Key_Down);
    EXPECT_EQ(dlg->List1()->currentItem()->text().toStdString(), "07");
    EXPECT_EQ(dlg->StartSlot(), 7);
    QTest::keyClick(dlg->List1(), Qt::Key_Return);  // the default button
  });
  Frame().Menu("GridM_WavA")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_EQ(d.Wav[1], (DefEntry{"kick.wav", "バスドラム"}));
  EXPECT_EQ(d.Wav[7], (DefEntry{"new.wav", ""}));
  EXPECT_EQ(Cell(Frame().List(DefList::Grid1), 7, 1), "new.wav");

  Frame().Tab1_Switch(2);
  Frame().SelectListRow(DefList::Grid2, 3);
  const std::vector<DefEntry> bgaBefore = d.Bga;
  seen = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = Frame().findChild<WavLump*>("WavLump");
    ASSERT_NE(dlg, nullptr);
    seen = true;
    EXPECT_EQ(dlg->StartSlot(), 2);
    dlg->Dir1_Change(folder);
    QTest::keyClick(dlg->File1(), Qt::Key_Down);
    QTest::keyClick(dlg->File1(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(dlg->File1()->selectedItems().size(), 2);
    QTest::keyClick(dlg->List1(), Qt::Key_End);
    EXPECT_EQ(dlg->StartSlot(), 255);
    QTest::keyClick(dlg->List1(), Qt::Key_Return);
  });
  Frame().Menu("BGAM_BGAA")->trigger();
  ASSERT_TRUE(seen);
  for (int n = 0; n < 255; ++n) EXPECT_EQ(d.Bga[n], bgaBefore[n]) << n;
  EXPECT_EQ(d.Bga[255], (DefEntry{"p1.bmp", ""}));
}

// Tab goes through the batch load dialog as it reads (the folder column, the file list, the
// buttons, the slot list) and every stop shows that it has the keyboard: a list by its frame in
// the highlight colour, the drive list and the buttons by the style's focus outline.
TEST_F(FrameTest, BatchLoadDialogShowsWhereTheKeyboardIsInTheOrderItReads) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  WavLump dlg(&Frame(), g_Docs[g_CurWin], DefKind::Wav, 3);
  dlg.Dir1_Change(dir_.path() + "/samples/sounds");
  dlg.show();
  QApplication::setActiveWindow(&dlg);
  dlg.Dir1()->setFocus(Qt::TabFocusReason);
  Pump();
  const QWidget* order[] = {
      dlg.Dir1(),  dlg.Drive1(), dlg.File1(), dlg.OKButton(), dlg.findChild<QPushButton*>("CancelButton"),
      dlg.List1(), dlg.Dir1()};
  const QColor highlight = dlg.palette().color(QPalette::Active, QPalette::Highlight);
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    QWidget* w = QApplication::focusWidget();
    ASSERT_EQ(w, order[i]) << i;
    SCOPED_TRACE(w->objectName().toStdString());
    const QImage focused = w->grab().toImage();
    QTest::keyClick(w, Qt::Key_Tab);
    Pump();
    ASSERT_EQ(QApplication::focusWidget(), order[i + 1]);
    const QImage unfocused = w->grab().toImage();
    EXPECT_NE(focused, unfocused);
    if (qobject_cast<QListWidget*>(w)) {
      // The frame's left edge, half-way down, is the mark.
      EXPECT_EQ(focused.pixelColor(0, focused.height() / 2), highlight);
      EXPECT_NE(unfocused.pixelColor(0, unfocused.height() / 2), highlight);
    }
  }
}

}  // namespace
