// The Edit menu and the chart context menu through the real frame: captions, shortcuts and
// enabled states, the clipboard and measure commands on a chart that is then saved, the mode
// switch, and the focus rule of the edit palette.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <filesystem>
#include <fstream>
#include <functional>

#include "chartfmt/globals.h"
#include "chartview/formglobals.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "editing/clipboard.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::FrameTest;

namespace fs = std::filesystem;

namespace {

struct Item {
  std::string name;  // "-" for a separator
  std::string caption{};
  std::string shortcut{};
};

std::vector<Item> Items(const QMenu* menu) {
  std::vector<Item> out;
  for (const QAction* a : menu->actions())
    out.push_back(a->isSeparator() ? Item{"-", "", ""}
                                   : Item{a->objectName().toStdString(), a->text().toStdString(),
                                          a->shortcut().toString().toStdString()});
  return out;
}

void ExpectItems(const QMenu* menu, const std::vector<Item>& expected) {
  const std::vector<Item> got = Items(menu);
  ASSERT_EQ(got.size(), expected.size()) << menu->title().toStdString();
  for (size_t i = 0; i < got.size(); ++i) {
    if (expected[i].name == "-") {
      EXPECT_EQ(got[i].name, "-") << "item " << i;
      continue;
    }
    EXPECT_EQ(got[i].name, expected[i].name) << "item " << i;
    EXPECT_EQ(got[i].caption, expected[i].caption) << expected[i].name;
    EXPECT_EQ(got[i].shortcut, expected[i].shortcut) << expected[i].name;
  }
}

// Lifts every object of lanes 1..LaneCount in measure mes into the selection.
void LiftMeasure(DocData& d, int mes) {
  for (int l = 1; l <= d.LaneCount; ++l) {
    const MesData cell = d.Obj[l].Mes[mes];
    for (int t = 0; t < kTicksPerMeasure; ++t) {
      for (int back = 0; back < 2; ++back) {
        const int16_t v = (back ? cell.BackObj : cell.Obj)[t];
        if (v <= 0) continue;
        d.Sel.push_back(SelEntry{static_cast<int16_t>(l), static_cast<int16_t>(mes), static_cast<int16_t>(t), v,
                                 static_cast<int16_t>(back ? -1 : 0)});
        ++d.SelCount;
      }
    }
    d.Obj[l].Mes.Clear(mes);
  }
}

// Objects of both layers left in the grid on lanes lo..hi, every measure.
int GridObjects(const DocData& d, int lo, int hi) {
  int n = 0;
  for (int l = lo; l <= hi; ++l)
    for (int m = 0; m <= d.MesCount; ++m)
      for (int t = 0; t < kTicksPerMeasure; ++t) n += (d.Obj[l].Mes[m].Obj[t] != 0) + (d.Obj[l].Mes[m].BackObj[t] != 0);
  return n;
}

class FrameEditTest : public FrameTest {
 protected:
  bool Enabled(const char* name) { return Frame().Menu(name)->isEnabled(); }
  // A copy of a sample chart in the install folder, opened in a new window.
  Form1* OpenCopy(const std::string& sample, const std::string& name) {
    fs::copy_file(Sample(sample), Install() + name);
    return Open(Install() + name);
  }
};

TEST_F(FrameEditTest, TheEditMenuCarriesItsCaptionsAndShortcutsInOrder) {
  ASSERT_TRUE(Start());
  const QMenu* edit = Frame().Menu("Menu_Edit")->menu();
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->title().toStdString(), "編集(&E)");
  ExpectItems(edit, {{"Menu_Edit_Undo", "元に戻す(&U)", "Ctrl+Z"},
                     {"-"},
                     {"Menu_Edit_Cut", "切り取り(&T)", "Ctrl+X"},
                     {"Menu_Edit_Copy", "コピー(&C)", "Ctrl+C"},
                     {"Menu_Edit_Paste", "貼り付け(&P)", "Ctrl+V"},
                     {"Menu_Edit_Delete", "削除(&E)", "Del"},
                     {"-"},
                     {"Menu_Edit_Mode", "編集モード切替(&M)", "F8"},
                     {"-"},
                     {"Menu_Edit_Find", "検索(&F)...", "Ctrl+F"},
                     {"Menu_Edit_WAVCmp", "WAV配列の整理(&W)", ""},
                     {"Menu_Edit_WAVDel", "未使用WAVの解除(&D)", ""},
                     {"-"},
                     {"Menu_Edit_SelectAll", "全て選択(&A)", "Ctrl+A"}});
}

TEST_F(FrameEditTest, CopyAMeasurePasteItAtAnotherAndSaveHoldsBothCopies) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("simple_sample.s4k", "copied.s4k");
  ASSERT_TRUE(w);
  DocData& d = w->Doc();
  EXPECT_FALSE(Enabled("Menu_Edit_Copy"));
  EXPECT_FALSE(Enabled("EditM_Paste"));
  LiftMeasure(d, 1);  // lane D tick 0, lane F ticks 0, 48, 96, 144
  w->ObjDraw();
  for (const char* n : {"Menu_Edit_Cut", "Menu_Edit_Copy", "Menu_Edit_Delete", "EditM_Cut", "EditM_Copy",
                        "EditM_Delete", "EditM_Replace"})
    EXPECT_TRUE(Enabled(n)) << n;
  Frame().Menu("EditM_Copy")->trigger();
  EXPECT_EQ(g_ClipCount, 5);
  EXPECT_TRUE(Enabled("Menu_Edit_Paste"));
  EXPECT_TRUE(Enabled("EditM_Paste"));
  EXPECT_EQ(d.Dirty, 0);  // copying changes nothing

  // The right press that opened the menu: lane D, measure 3, step 0.
  d.CurLane = 3;
  d.CurMes = 3;
  d.CurStep = 0;
  Frame().Menu("EditM_Paste")->trigger();
  EXPECT_EQ(d.SelCount, 5);
  EXPECT_EQ(d.Obj[3].Mes[1].Obj[0], 1);  // the copied selection landed back
  EXPECT_NE(w->windowTitle().toStdString().find('*'), std::string::npos);
  EXPECT_TRUE(Enabled("Menu_Edit_Undo"));

  Frame().Menu("Menu_File_Save")->trigger();
  const std::string text = testsupport::ReadAll(Install() + "copied.s4k");
  for (const char* line : {"#001D:01", "#001F:02020202", "#003D:01", "#003F:02020202"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(FrameEditTest, EditMenuPasteGoesToTheVisibleStartAndCutThenUndoBringsTheSelectionBack) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("simple_sample.s4k", "menu.s4k");
  DocData& d = w->Doc();
  LiftMeasure(d, 1);
  w->ObjDraw();
  Frame().Menu_Edit_Cut_Click();
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(d.Obj[3].Mes[1].Obj[0], 0);
  EXPECT_FALSE(Enabled("Menu_Edit_Cut"));
  w->Undo();
  EXPECT_EQ(d.SelCount, 5);
  Frame().Menu_Edit_Delete_Click();
  EXPECT_EQ(d.SelCount, 0);

  d.ScrollPos = 2 * 192 + 1;  // measure 3 is the first to begin inside the view
  Frame().Menu_Edit_Paste_Click();
  ASSERT_EQ(d.SelCount, 5);
  EXPECT_EQ(d.Sel[1], (SelEntry{3, 3, 0, 1, 0}));
  EXPECT_EQ(d.Sel[3], (SelEntry{4, 3, 48, 2, 0}));
}

TEST_F(FrameEditTest, MeasureCommandsReachTheWindowAndUndoRestoresTheCount) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("simple_sample.s4k", "measures.s4k");
  DocData& d = w->Doc();
  const int16_t count = d.MesCount;
  const int scrollMax = w->VScroll1()->maximum();
  d.CurMes = 1;
  Frame().EditM_MesInsert_Click();
  EXPECT_EQ(d.MesCount, count + 1);
  EXPECT_EQ(d.Obj[3].Mes[2].Obj[0], 1);  // measure 1 moved to 2
  EXPECT_GT(w->VScroll1()->maximum(), scrollMax);
  EXPECT_EQ(Frame().Label10()->text().toStdString(), "最大小節数： " + std::to_string(count + 1));
  Frame().Menu_Edit_Undo_Click();
  EXPECT_EQ(d.MesCount, count);
  EXPECT_EQ(w->VScroll1()->maximum(), scrollMax);
  EXPECT_EQ(d.Obj[3].Mes[1].Obj[0], 1);

  Frame().EditM_MesDelete_Click();
  EXPECT_EQ(d.MesCount, count - 1);
  EXPECT_EQ(d.Obj[3].Mes[1].Obj[0], 0);

  // At the measure limit nothing changes and no snapshot is taken.
  Frame().Menu_Edit_Undo_Click();
  d.UndoOn = 0;
  g_MaxMeasure = count;
  Frame().EditM_MesInsert_Click();
  EXPECT_EQ(d.MesCount, count);
  EXPECT_EQ(d.UndoOn, 0);

  desk_.ExpectInputBox("0.5",
                       {.prompt = "1小節の倍率を入力してください", .title = "小節の短縮化", .defaultText = "0.000"});
  Frame().EditM_MesChange_Click();
  EXPECT_EQ(d.Obj[0].Mes[1].Length, 0.5);
}

TEST_F(FrameEditTest, F8SwitchesTheModeAndKeepsTheSelectionWhereTheToolbarLandsIt) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("simple_sample.s4k", "mode.s4k");
  DocData& d = w->Doc();
  MixedToolButton* select = Frame().Tool("TB1_ModeSelect");
  MixedToolButton* draw = Frame().Tool("TB1_ModeDraw");
  ASSERT_TRUE(Frame().SelectMode());
  LiftMeasure(d, 1);
  Frame().show();
  QApplication::setActiveWindow(&Frame());
  w->Picture1()->setFocus();
  QTest::keyClick(w->Picture1(), Qt::Key_F8);
  EXPECT_FALSE(Frame().SelectMode());
  EXPECT_TRUE(draw->isChecked());
  EXPECT_FALSE(select->isChecked());
  EXPECT_EQ(d.SelCount, 5);
  Frame().Menu("Menu_Edit_Mode")->trigger();
  EXPECT_TRUE(Frame().SelectMode());
  EXPECT_FALSE(draw->isChecked());
  EXPECT_EQ(d.SelCount, 5);
  draw->click();  // the toolbar button lands the selection
  EXPECT_FALSE(Frame().SelectMode());
  EXPECT_EQ(d.SelCount, 0);
  EXPECT_EQ(d.Obj[3].Mes[1].Obj[0], 1);
}

TEST_F(FrameEditTest, PasteFollowsTheNumberingModeAndNothingActsWithoutAChart) {
  ASSERT_TRUE(Start());
  Form1* simple = OpenCopy("simple_sample.s4k", "a.s4k");
  Form1* nexal = OpenCopy("nexal_sample.nxl", "b.nxl");
  Activate(simple);
  LiftMeasure(simple->Doc(), 1);
  Frame().EditM_Copy_Click();
  EXPECT_TRUE(Enabled("Menu_Edit_Paste"));
  Activate(nexal);  // another WAV numbering mode
  EXPECT_FALSE(Enabled("Menu_Edit_Paste"));
  EXPECT_FALSE(Enabled("EditM_Paste"));
  Frame().Menu_Edit_Paste_Click();
  EXPECT_EQ(nexal->Doc().SelCount, 0);
  EXPECT_EQ(nexal->Doc().UndoOn, 0);
  Activate(simple);
  EXPECT_TRUE(Enabled("Menu_Edit_Paste"));

  for (QMdiSubWindow* f : Frame().MdiArea()->subWindowList()) f->close();
  Pump();
  ASSERT_EQ(g_OpenCount, 0);
  for (const char* n : {"Menu_Edit_Cut", "Menu_Edit_Copy", "Menu_Edit_Paste", "Menu_Edit_Delete", "Menu_Edit_Mode",
                        "Menu_Edit_WAVDel", "EditM_Paste", "Menu_Edit_Undo", "Menu_Edit_SelectAll"})
    EXPECT_FALSE(Enabled(n)) << n;
  const bool mode = Frame().SelectMode();
  Frame().Menu_Edit_Mode_Click();
  Frame().Menu_Edit_SelectAll_Click();
  Frame().Menu_Edit_WAVCmp_Click();
  Frame().Menu_Edit_WAVDel_Click();
  Frame().EditM_SelectPart_Click();
  Frame().Menu_Edit_Paste_Click();
  Frame().EditM_MesInsert_Click();
  EXPECT_EQ(Frame().SelectMode(), mode);
}

TEST_F(FrameEditTest, ThePaletteKeepsCutCopyAndDeleteButNotPasteOffTheChart) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("simple_sample.s4k", "focus.s4k");
  DocData& d = w->Doc();
  Frame().show();
  QApplication::setActiveWindow(&Frame());
  LiftMeasure(d, 1);
  w->ObjDraw();
  Frame().EditM_Copy_Click();
  ClearClipboard();

  QTreeWidget* list = Frame().List(DefList::Grid1);
  list->setFocus();
  Pump();
  EXPECT_EQ(g_TextFocus, -1);
  for (const char* n : {"Menu_Edit_Copy", "Menu_Edit_Cut", "Menu_Edit_Delete"}) Frame().Menu(n)->trigger();
  EXPECT_EQ(g_ClipCount, 0);
  EXPECT_EQ(d.SelCount, 5);
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(list, Qt::Key_Delete);
  EXPECT_EQ(g_ClipCount, 0);
  EXPECT_EQ(d.SelCount, 5);

  // The context menu's items have no such rule; Paste has none either.
  Frame().EditM_Copy_Click();
  EXPECT_EQ(g_ClipCount, 5);
  QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(d.SelCount, 5);
  EXPECT_EQ(d.UndoOn, -1);  // pasted: the selection landed and the block floats

  // A header text box takes Ctrl+C and Del as its own.
  QLineEdit* title = Frame().Field(HeaderText::Text1);
  title->setFocus();
  Pump();
  EXPECT_EQ(g_TextFocus, -1);
  QTest::keyClick(title, Qt::Key_Delete);
  EXPECT_EQ(d.SelCount, 5);

  w->Picture1()->setFocus();
  Pump();
  EXPECT_EQ(g_TextFocus, 0);
  QTest::keyClick(w->Picture1(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(d.SelCount, 0);
}

// Dual Stage: lanes 1..4 are part 1, 5..8 part 2, 9 part 3, 10 part 88, 11..13 part 99.
TEST_F(FrameEditTest, SelectionCommandsLiftTheirRectanglesAndSelectingTwiceAddsNothing) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("dual_sample.scd", "select.scd");
  ASSERT_TRUE(w);
  DocData& d = w->Doc();
  ASSERT_EQ(d.LaneCount, 13);
  const int tempo = GridObjects(d, 0, 0);
  const int all = GridObjects(d, 1, d.LaneCount);
  ASSERT_GT(tempo, 0);
  struct Case {
    const char* item;
    int16_t lane, mes;
    int lo, hi;  // the lanes that must be left empty
  } cases[] = {
      {"EditM_SelectLane", 4, 0, 4, 4}, {"EditM_SelectLane", 0, 2, 0, 0}, {"EditM_SelectPart", 6, 3, 5, 8},
      {"EditM_SelectPart", 9, 0, 9, 9}, {"EditM_SelectAll", 2, 1, 1, 13}, {"Menu_Edit_SelectAll", -1, -1, 1, 13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.item) + " on lane " + std::to_string(c.lane));
    const int inside = GridObjects(d, c.lo, c.hi);
    ASSERT_GT(inside, 0);
    d.CurLane = c.lane;
    d.CurMes = c.mes;
    Frame().Menu(c.item)->trigger();
    EXPECT_EQ(d.SelCount, inside);
    EXPECT_EQ(GridObjects(d, c.lo, c.hi), 0);
    EXPECT_EQ(GridObjects(d, 0, d.LaneCount), tempo + all - inside);
    Frame().Menu(c.item)->trigger();
    EXPECT_EQ(d.SelCount, inside);
    EXPECT_TRUE(Enabled("Menu_Edit_Copy"));  // redrawn: the edit items follow the selection
    EXPECT_EQ(d.Dirty, 0);
    EXPECT_EQ(d.UndoOn, 0);
    w->ObjDeSel();
  }

  // This measure: every lane but the tempo lane, measure 1 only, added to what floats already.
  const auto inMeasure = [&d](int mes) {
    int n = 0;
    for (int l = 1; l <= d.LaneCount; ++l)
      for (int t = 0; t < kTicksPerMeasure; ++t)
        n += (d.Obj[l].Mes[mes].Obj[t] != 0) + (d.Obj[l].Mes[mes].BackObj[t] != 0);
    return n;
  };
  const int m1 = inMeasure(1), m2 = inMeasure(2);
  ASSERT_GT(m1, 0);
  ASSERT_GT(m2, 0);
  for (int16_t mes : {1, 2}) {
    d.CurLane = 3;
    d.CurMes = mes;
    Frame().Menu("EditM_SelectMes")->trigger();
  }
  EXPECT_EQ(d.SelCount, m1 + m2);
  EXPECT_EQ(inMeasure(1) + inMeasure(2), 0);
  EXPECT_EQ(GridObjects(d, 0, 0), tempo);
}

// While a text field has the keyboard the standard text keys edit the field; the Edit menu's
// shortcuts of the same keys act on the chart again once the keyboard is back on the canvas.
TEST_F(FrameEditTest, TheStandardTextKeysEditAHeaderTextBoxAndNotTheChart) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("simple_sample.s4k", "keys.s4k");
  DocData& d = w->Doc();
  Frame().show();
  QApplication::setActiveWindow(&Frame());
  LiftMeasure(d, 1);
  w->ObjDraw();
  Frame().EditM_Copy_Click();  // the chart clipboard holds the five objects: Paste is on
  ASSERT_TRUE(Enabled("Menu_Edit_Paste"));
  const int16_t undo = d.UndoOn;
  auto chartUntouched = [&] {
    EXPECT_EQ(d.SelCount, 5);
    EXPECT_EQ(d.UndoOn, undo);
  };

  QLineEdit* title = Frame().Field(HeaderText::Text1);
  title->setText(QStringLiteral("abc"));
  title->setFocus();
  Pump();
  // One key on the field: what the field holds and has selected afterwards, and the system
  // clipboard; the chart is never touched.
  auto key = [&](Qt::Key k, Qt::KeyboardModifiers m, const char* text, const char* selected, const char* clip) {
    SCOPED_TRACE(QKeySequence(k | m).toString().toStdString());
    QTest::keyClick(title, k, m);
    EXPECT_EQ(title->text(), QString::fromUtf8(text));
    EXPECT_EQ(title->selectedText(), QString::fromUtf8(selected));
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(clip));
    EXPECT_EQ(d.Title, text);
    chartUntouched();
  };
  QApplication::clipboard()->clear();
  key(Qt::Key_A, Qt::ControlModifier, "abc", "abc", "");
  key(Qt::Key_X, Qt::ControlModifier, "", "", "abc");
  key(Qt::Key_V, Qt::ControlModifier, "abc", "", "abc");  // the chart clipboard is not empty
  key(Qt::Key_Z, Qt::ControlModifier, "", "", "abc");
  ClearClipboard();  // a copy of the chart would fill it again
  title->setText(QStringLiteral("xyz"));
  key(Qt::Key_A, Qt::ControlModifier, "xyz", "xyz", "abc");
  key(Qt::Key_C, Qt::ControlModifier, "xyz", "xyz", "xyz");
  EXPECT_EQ(g_ClipCount, 0);
  key(Qt::Key_Delete, Qt::NoModifier, "", "", "xyz");

  QPlainTextEdit* free = Frame().Text6();
  free->setPlainText(QStringLiteral("#ANY 1"));
  free->setFocus();
  Pump();
  QTest::keyClick(free, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(free->textCursor().selectedText(), QStringLiteral("#ANY 1"));
  chartUntouched();

  // On the canvas Ctrl+A is the Edit menu's again: every object of the lanes, the tempo stays.
  w->Picture1()->setFocus();
  Pump();
  QTest::keyClick(w->Picture1(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(d.SelCount, 8);  // lanes A, S, D and F
  EXPECT_EQ(d.Obj[0].Mes[0].Obj[0], 0x78);
  EXPECT_EQ(GridObjects(d, 1, d.LaneCount), 0);
}

TEST_F(FrameEditTest, WavCompactionLandsTheSelectionRenumbersAndRefillsTheList) {
  ASSERT_TRUE(Start());
  Form1* w = OpenCopy("dual_sample.scd", "compact.scd");
  DocData& d = w->Doc();
  const auto file = [&d](int lane, int mes) {
    for (int t = 0; t < kTicksPerMeasure; ++t)
      if (const int16_t v = d.Obj[lane].Mes[mes].Obj[t]; v > 0) return d.Wav[v].File;
    return std::string("(none)");
  };
  ASSERT_EQ(file(4, 1), "stack.wav");  // SND10
  d.CurLane = 4;
  d.CurMes = 1;
  Frame().Menu("EditM_SelectLane")->trigger();
  ASSERT_GT(d.SelCount, 0);
  Frame().Menu("Menu_Edit_WAVCmp")->trigger();
  EXPECT_EQ(d.SelCount, 0);
  const std::vector<std::string> files = {"left.wav", "right.wav", "stack.wav", "end.wav"};
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(d.Wav[i].File, files[i - 1]) << i;
  EXPECT_EQ(d.Wav[36], DefEntry{});
  EXPECT_EQ(file(4, 1), "stack.wav");
  EXPECT_EQ(d.Obj[4].Mes[1].Obj[0], 3);
  QTreeWidget* list = Frame().List(DefList::Grid1);
  EXPECT_EQ(list->topLevelItem(2)->text(1).toStdString(), "stack.wav");
  EXPECT_EQ(list->topLevelItem(35)->text(1).toStdString(), "");
  EXPECT_EQ(d.Dirty, -1);
  EXPECT_NE(w->windowTitle().toStdString().find('*'), std::string::npos);

  Frame().Menu("Menu_File_Save")->trigger();
  const std::string text = testsupport::ReadAll(Install() + "compact.scd");
  for (const char* line : {"#SND03 stack.wav", "#SND04 end.wav", "#001L-4:03"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(FrameEditTest, ReleasingUnusedWavsEmptiesTheirRowsAndEndsTheUndo) {
  ASSERT_TRUE(Start());
  fs::copy_file(Sample("simple_sample.s4k"), Install() + "release.s4k");
  std::ofstream(Install() + "release.s4k", std::ios::app) << "#WAV05 spare.wav\n";
  Form1* w = Open(Install() + "release.s4k");
  ASSERT_TRUE(w);
  DocData& d = w->Doc();
  ASSERT_EQ(d.Wav[5].File, "spare.wav");
  w->ObjBackup();
  ASSERT_TRUE(Enabled("Menu_Edit_Undo"));
  Frame().Menu("Menu_Edit_WAVDel")->trigger();
  EXPECT_EQ(d.Wav[5], DefEntry{});
  EXPECT_EQ(d.Wav[1].File, "a.wav");
  EXPECT_EQ(d.Wav[2].File, "b.wav");
  EXPECT_EQ(Frame().List(DefList::Grid1)->topLevelItem(4)->text(1).toStdString(), "");
  EXPECT_EQ(d.UndoOn, 0);
  EXPECT_FALSE(Enabled("Menu_Edit_Undo"));
  EXPECT_EQ(d.Dirty, -1);
}

// The enabled state of every item of both menus after each step of a short session.
TEST_F(FrameEditTest, EveryItemFollowsTheChartTheSelectionTheClipboardAndTheUndo) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(OpenCopy("simple_sample.s4k", "states.s4k"));
  const std::vector<const char*> items = {
      "Menu_Edit_Undo",  "Menu_Edit_Cut",   "Menu_Edit_Copy",   "Menu_Edit_Paste",  "Menu_Edit_Delete",
      "Menu_Edit_Mode",  "Menu_Edit_Find",  "Menu_Edit_WAVCmp", "Menu_Edit_WAVDel", "Menu_Edit_SelectAll",
      "EditM_Cut",       "EditM_Copy",      "EditM_Paste",      "EditM_Delete",     "EditM_Replace",
      "EditM_MesInsert", "EditM_MesDelete", "EditM_MesChange",  "EditM_Sel"};
  struct Step {
    const char* name;
    std::function<void()> act;
    const char* states;  // one letter per item: 1 enabled, 0 disabled
  } steps[] = {
      {"opened", [] {}, "0000011111000001111"},
      {"all selected", [&] { Frame().Menu("Menu_Edit_SelectAll")->trigger(); }, "0110111111110111111"},
      {"copied", [&] { Frame().Menu("EditM_Copy")->trigger(); }, "0111111111111111111"},
      {"deleted", [&] { Frame().Menu("EditM_Delete")->trigger(); }, "1001011111001001111"},
      {"undone", [&] { Frame().Menu("Menu_Edit_Undo")->trigger(); }, "0111111111111111111"},
      {"saved and closed",
       [this] {
         Frame().Menu("Menu_File_Save")->trigger();
         for (QMdiSubWindow* f : Frame().MdiArea()->subWindowList()) f->close();
         Pump();
         ASSERT_EQ(g_OpenCount, 0);
       },
       "0000000000000000000"},
  };
  for (const Step& st : steps) {
    st.act();
    for (size_t i = 0; i < items.size(); ++i)
      EXPECT_EQ(Enabled(items[i]), st.states[i] == '1') << st.name << ": " << items[i];
  }
}

}  // namespace
