// The frame's commands: context menus, what each menu item and toolbar button of the frame
// reaches, the New button and its list, the mode pair, the drawing switches, the Window menu
// and the script information window.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

#include <filesystem>
#include <functional>
#include <map>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/formglobals.h"
#include "chartview/mixedbutton.h"
#include "chartview/picturebox.h"
#include "frame/arrange.h"
#include "frame/settings.h"
#include "frame_fixture.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

QMenu* ContextMenu(FormP& f, const char* title) {
  for (QMenu* m : f.findChildren<QMenu*>())
    if (m->title() == QString::fromUtf8(title) && m->parent() == &f) return m;
  return nullptr;
}

// The three context menus: their captions, items and initial states.
TEST_F(FrameTest, TheContextMenusHoldTheirItemsInTheirInitialStates) {
  FrameOptions o;
  o.installDir = Install();
  frame_ = std::make_unique<FormP>(o);
  struct Menu {
    const char* title;
    std::vector<std::pair<const char*, const char*>> items;  // name ("" for a separator), caption
    std::vector<const char*> disabled;
  };
  const Menu menus[] = {
      {"グリッドメニュー",
       {{"GridM_Cmt", "コメント編集(&C)..."},
        {"GridM_Wav", "ファイル指定(&O)..."},
        {"GridM_Erase", "ファイル削除(&E)"},
        {"GridM_WavA", "一括読み込み(&A)..."},
        {"", ""},
        {"GridM_Play", "再生(&P)"},
        {"GridM_Stop", "停止(&S)"},
        {"", ""},
        {"GridM_Prop", "プロパティ(&R)..."}},
       {}},
      {"BGAメニュー",
       {{"BGAM_Cmt", "コメント編集(&C)..."},
        {"BGAM_BGA", "ファイル指定(&O)..."},
        {"BGAM_Erase", "ファイル削除(&E)"},
        {"BGAM_BGAA", "一括読み込み(&A)..."},
        {"", ""},
        {"BGAM_Prop", "プロパティ(&R)..."}},
       {}},
      {"譜面右クリック",
       {{"EditM_Cut", "切り取り(&T)"},
        {"EditM_Copy", "コピー(&C)"},
        {"EditM_Paste", "貼り付け(&P)"},
        {"EditM_Delete", "削除(&E)"},
        {"", ""},
        {"EditM_Replace", "一括編集(&R)..."},
        {"", ""},
        {"EditM_MesInsert", "小節挿入(&I)"},
        {"EditM_MesDelete", "小節削除(&D)"},
        {"EditM_MesChange", "小節長変更(&B)"},
        {"", ""},
        {"EditM_Sel", "全て選択(&S)"}},
       {"EditM_Cut", "EditM_Copy", "EditM_Paste", "EditM_Delete", "EditM_Replace"}},
  };
  for (const Menu& m : menus) {
    SCOPED_TRACE(m.title);
    QMenu* menu = ContextMenu(Frame(), m.title);
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(m.items.size()));
    for (size_t i = 0; i < m.items.size(); ++i) {
      const auto& [name, caption] = m.items[i];
      QAction* a = actions[static_cast<qsizetype>(i)];
      if (!*name) {
        EXPECT_TRUE(a->isSeparator()) << i;
        continue;
      }
      EXPECT_EQ(a, Frame().Menu(name)) << name;
      EXPECT_EQ(a->text().toStdString(), caption) << name;
      EXPECT_TRUE(a->shortcut().isEmpty()) << name;
      EXPECT_FALSE(a->isCheckable()) << name;
      const bool off = std::find_if(m.disabled.begin(), m.disabled.end(),
                                    [&](const char* d) { return std::string(d) == name; }) != m.disabled.end();
      EXPECT_EQ(a->isEnabled(), !off) << name;
    }
  }
  QMenu* sel = Frame().Menu("EditM_Sel")->menu();
  ASSERT_NE(sel, nullptr);
  std::vector<std::string> names;
  for (QAction* a : sel->actions()) names.push_back(a->objectName().toStdString() + " " + a->text().toStdString());
  EXPECT_EQ(names, (std::vector<std::string>{"EditM_SelectMes この小節(&M)", "EditM_SelectLane このレーン(&L)",
                                             "EditM_SelectPart このパート(&P)", "EditM_SelectAll 全て選択(&A)"}));
}

// Every command of the frame's own menus and toolbar, from a started frame with one untitled
// chart: what picking it reaches.
TEST_F(FrameTest, EachFrameCommandReachesItsProcedure) {
  struct Case {
    const char* item;  // a menu item, or a toolbar key starting with "TB1_"
    std::function<void()> before;
    std::function<void()> check;
  };
  auto none = [] {};
  const Case cases[] = {
      {"Menu_File_New_N_2", none,
       [this] {
         EXPECT_EQ(g_OpenCount, 2);
         EXPECT_EQ(g_Docs[2].ScriptNo, 2);
       }},
      {"Menu_File_Open", [this] { desk_.ExpectOpenFile(testsupport::Cancelled()); }, [] { EXPECT_EQ(g_OpenCount, 1); }},
      {"TB1_Open", [this] { desk_.ExpectOpenFile(testsupport::Cancelled()); }, [] { EXPECT_EQ(g_OpenCount, 1); }},
      {"Menu_File_SaveAs", [this] { desk_.ExpectSaveFile(testsupport::Cancelled()); },
       [] { EXPECT_EQ(g_SaveCancel, -1); }},
      {"Menu_File_Save", [this] { desk_.ExpectSaveFile(testsupport::Cancelled()); },
       [] { EXPECT_EQ(g_SaveCancel, -1); }},
      {"TB1_Save", [this] { desk_.ExpectSaveFile(testsupport::Cancelled()); }, [] { EXPECT_EQ(g_SaveCancel, -1); }},
      {"Menu_File_Close", none,
       [] {
         Pump();
         EXPECT_EQ(g_OpenCount, 0);
       }},
      {"Menu_View_Toolbar", none, [this] { EXPECT_FALSE(Frame().Toolbar1()->isVisible()); }},
      {"Menu_View_Status", none, [this] { EXPECT_FALSE(Frame().statusBar()->isVisible()); }},
      {"Menu_View_EditTool", none,
       [this] {
         EXPECT_FALSE(Frame().Palette()->isVisible());
         Pump();
         EXPECT_EQ(Frame().MdiArea()->width(), Frame().centralWidget()->width());  // the charts take its room
       }},
      {"Menu_View_DefFrame", none,
       [this] {
         EXPECT_FALSE(Frame().DefFrame1()->isVisible());
         EXPECT_EQ(Frame().Tab1()->y(), 19);  // the tabs right below the title bar
       }},
      {"Menu_View_Parts_Grid", none, [this] { EXPECT_FALSE(Frame().Parts().Grid); }},
      {"Menu_View_Parts_Back", none, [this] { EXPECT_FALSE(Frame().Parts().Back); }},
      {"Menu_View_Parts_Line", none, [this] { EXPECT_FALSE(Frame().Parts().Line); }},
      {"Menu_View_Parts_Spell", none, [this] { EXPECT_FALSE(Frame().Parts().Spell); }},
      {"Menu_View_Parts_Lower", none, [this] { EXPECT_TRUE(Frame().Parts().Lower); }},
      {"Menu_View_Scroll_Value_3", none, [] { EXPECT_EQ(g_Wheel, 8); }},
      {"Menu_View_AFocus", none, [this] { EXPECT_FALSE(Frame().AutoFocusChecked()); }},
      {"Menu_Play_PlayObj", none, [] { EXPECT_EQ(g_PlayObj, -1); }},
      {"Menu_Help_Open", [this] { dir_.Write("Mirkan.chm", "help"); },
       [this] {
         const auto calls = desk_.CallsOf(CallKind::OpenDocument);
         ASSERT_EQ(calls.size(), 1u);
         EXPECT_EQ(calls[0].path, Install() + "Mirkan.chm");
       }},
      // No help file: it says so and names the guide for script authors, in the install folder
      // where it lies there, else in the source.
      {"Menu_Help_Open",
       [this] {
         std::filesystem::remove(Install() + "Mirkan.chm");
         desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                                {.textContains = "Mirkan のソースの docs/script-guide.md にあります",
                                 .title = "ヘルプ",
                                 .icon = plat::MsgIcon::Information});
       },
       [this] {
         EXPECT_EQ(desk_.CountOf(CallKind::OpenDocument), 0u);
         EXPECT_NE(desk_.Calls().at(0).text.find("ヘルプファイル " + Install() + "Mirkan.chm はありません"),
                   std::string::npos);
       }},
      {"Menu_Help_Open",
       [this] {
         dir_.Write("script-guide.md", "# guide");
         desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = Install() + "script-guide.md にあります"});
       },
       [this] { EXPECT_EQ(desk_.CountOf(CallKind::OpenDocument), 0u); }},
      {"TB1_New", none, [] { EXPECT_EQ(g_Docs[2].ScriptNo, g_DefaultScript); }},
      {"TB1_ModeDraw", none,
       [this] {
         EXPECT_TRUE(Frame().Tool("TB1_ModeDraw")->isChecked());
         EXPECT_FALSE(Frame().Tool("TB1_ModeSelect")->isChecked());
       }},
      {"TB1_ModeSelect", none,  // pressing the pressed one keeps it pressed
       [this] {
         EXPECT_TRUE(Frame().Tool("TB1_ModeSelect")->isChecked());
         EXPECT_FALSE(Frame().Tool("TB1_ModeDraw")->isChecked());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    ASSERT_TRUE(Start());
    ASSERT_EQ(g_OpenCount, 1);
    g_SaveCancel = 0;
    desk_.ClearCalls();
    c.before();
    const std::string item = c.item;
    if (item.starts_with("TB1_")) {
      ASSERT_NE(Frame().Tool(item), nullptr);
      Frame().Tool(item)->click();
    } else {
      ASSERT_NE(Frame().Menu(item), nullptr);
      Frame().Menu(item)->trigger();
    }
    c.check();
    desk_.Verify();
    frame_.reset();
    Pump();
    ResetWindowTable();
    g_Wins.clear();
    g_ScriptTable = {ScriptEntry{}};
    g_ScriptCount = 0;
    ResetSettings();
  }
}

TEST_F(FrameTest, TheNewButtonAndItsListTakeTheFirstFreeNumberWithinTheLimit) {
  ASSERT_TRUE(Start());
  ASSERT_GE(g_ScriptCount, 3);
  QMenu* list = Frame().Tool("TB1_New")->menu();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->actions().size(), g_ScriptCount);
  EXPECT_EQ(list->actions()[2]->text().toStdString(), ScriptTitle(3));
  list->actions()[2]->trigger();  // the third entry: script 3
  Pump();
  ASSERT_EQ(g_OpenCount, 2);
  EXPECT_EQ(g_Docs[2].ScriptNo, 3);
  EXPECT_EQ(WinAt(2)->Doc().ScriptNo, 3);

  Frame().Tool("TB1_New")->click();
  Pump();
  ASSERT_NE(WinAt(3), nullptr);
  WinAt(2)->CloseWithoutQuestion();  // windows 1 and 3 stay open
  Pump();
  ASSERT_EQ(WinAt(2), nullptr);
  Frame().Toolbar1_ButtonClick("TB1_New");
  Pump();
  ASSERT_NE(WinAt(2), nullptr) << "the first free number";
  EXPECT_EQ(WinAt(2)->Doc().ScriptNo, g_DefaultScript);
  EXPECT_EQ(g_OpenCount, 3);

  // At the limit both the button and the list say so and open nothing.
  g_MaxWindows = 3;
  for (int i = 0; i < 2; ++i) {
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = "3個以上のウインドウを開くことはできません",
                                                 .title = "警告",
                                                 .buttons = plat::MsgButtons::Ok,
                                                 .icon = plat::MsgIcon::Critical});
    if (i == 0)
      Frame().Tool("TB1_New")->click();
    else
      list->actions()[0]->trigger();
    desk_.Verify();
    Pump();
    EXPECT_EQ(g_OpenCount, 3);
    EXPECT_EQ(Frame().MdiArea()->subWindowList().size(), 3);
  }
}

TEST_F(FrameTest, ExactlyOneWheelStepCarriesTheCheckMark) {
  ASSERT_TRUE(Start());
  struct Step {
    int item;
    int16_t wheel;
  };
  for (Step s : {Step{3, 8}, Step{1, 1}, Step{2, 2}, Step{2, 2}}) {
    Frame().Menu("Menu_View_Scroll_Value_" + std::to_string(s.item))->trigger();
    EXPECT_EQ(g_Wheel, s.wheel);
    for (int i = 1; i <= 3; ++i)
      EXPECT_EQ(Frame().Menu("Menu_View_Scroll_Value_" + std::to_string(i))->isChecked(), i == s.item) << s.item << i;
  }
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++count;
    return false;
  }
  int count = 0;
};

TEST_F(FrameTest, TheLineSwitchRedrawsTheStripAndTheCanvasTheTextSwitchOnlyTheCanvas) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(1);
  Activate(w);
  Pump();
  PaintCounter strip(w->Picture3()), canvas(w->Picture1());
  struct Case {
    const char* item;
    bool strip;
  };
  for (Case c : {Case{"Menu_View_Parts_Line", true}, Case{"Menu_View_Parts_Spell", false},
                 Case{"Menu_View_Parts_Lower", true}, Case{"Menu_View_Parts_Grid", false}}) {
    SCOPED_TRACE(c.item);
    strip.count = canvas.count = 0;
    const QImage before = w->Canvas().Shown().Image().copy();
    Frame().Menu(c.item)->trigger();
    Pump();
    EXPECT_GT(canvas.count, 0);
    EXPECT_EQ(strip.count > 0, c.strip);
    const std::string item = c.item;
    if (item == "Menu_View_Parts_Line" || item == "Menu_View_Parts_Spell") {  // both drawn on this chart
      EXPECT_NE(w->Canvas().Shown().Image(), before);
    }
  }
}

TEST_F(FrameTest, WithNoChartTheSwitchesAndTheModePairChangeOnlyThemselves) {
  ASSERT_TRUE(Start());
  WinAt(1)->CloseWithoutQuestion();
  Pump();
  ASSERT_EQ(g_OpenCount, 0);
  for (const char* item : {"Menu_View_Parts_Grid", "Menu_View_Parts_Line", "Menu_View_Parts_Lower"})
    Frame().Menu(item)->trigger();
  EXPECT_FALSE(Frame().Parts().Grid);
  EXPECT_FALSE(Frame().Parts().Line);
  EXPECT_TRUE(Frame().Parts().Lower);
  Frame().Tool("TB1_ModeDraw")->click();
  EXPECT_TRUE(Frame().Tool("TB1_ModeDraw")->isChecked());
  EXPECT_FALSE(Frame().Tool("TB1_ModeSelect")->isChecked());
}

TEST_F(FrameTest, EitherModeButtonWritesTheSelectionBackAndRedraws) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  Form1* w = WinAt(1);
  Activate(w);
  for (const char* key : {"TB1_ModeDraw", "TB1_ModeSelect"}) {
    SCOPED_TRACE(key);
    DocData& d = w->Doc();
    d.Sel.resize(2);
    d.Sel[1] = SelEntry{.Lane = 1, .Mes = 0, .Tick = 0, .Value = 7, .Back = 0};
    d.SelCount = 1;
    PaintCounter canvas(w->Picture1());
    Frame().Tool(key)->click();
    Pump();
    EXPECT_EQ(d.SelCount, 0);
    EXPECT_GT(canvas.count, 0);
    EXPECT_EQ(Frame().Panel("Info")->text(), QString());
  }
}

TEST_F(FrameTest, TheWindowMenuArrangesTheChartWindows) {
  ASSERT_TRUE(Start());
  Frame().resize(1000, 760);
  Pump();
  for (int i = 0; i < 4; ++i) Frame().Toolbar1_ButtonClick("TB1_New");
  Pump();
  ASSERT_EQ(g_OpenCount, 5);
  const QSize area = Frame().MdiArea()->viewport()->size();
  auto geometries = [&](QMdiArea::WindowOrder order) {
    std::vector<PxRect> g;
    for (QMdiSubWindow* s : Frame().MdiArea()->subWindowList(order))
      g.push_back({s->x(), s->y(), s->width(), s->height()});
    return g;
  };
  Frame().Menu("Menu_Win_Hor")->trigger();
  EXPECT_EQ(geometries(QMdiArea::StackingOrder), TileRects(5, area.width(), area.height(), true));
  Frame().Menu("Menu_Win_Ver")->trigger();
  EXPECT_EQ(geometries(QMdiArea::StackingOrder), TileRects(5, area.width(), area.height(), false));
  QMdiSubWindow* active = Frame().MdiArea()->activeSubWindow();
  Frame().Menu("Menu_Win_Cas")->trigger();
  const std::vector<PxRect> cascade = geometries(QMdiArea::StackingOrder);
  ASSERT_EQ(cascade.size(), 5u);
  for (int i = 1; i < 5; ++i) {
    EXPECT_GT(cascade[i].x, cascade[i - 1].x);
    EXPECT_EQ(cascade[i].x, cascade[i].y);
  }
  EXPECT_EQ(Frame().MdiArea()->subWindowList(QMdiArea::StackingOrder).last(), active) << "the top window stays on top";

  // Two minimised windows go to the bottom row; the others stay where they are.
  QList<QMdiSubWindow*> all = Frame().MdiArea()->subWindowList(QMdiArea::CreationOrder);
  all[1]->showMinimized();
  all[3]->showMinimized();
  Pump();
  const QRect kept = all[0]->geometry();
  Frame().Menu("Menu_Win_Ico")->trigger();
  const QSize icon = all[1]->size();
  EXPECT_EQ(all[1]->pos(), QPoint(0, area.height() - icon.height()));
  EXPECT_EQ(all[3]->pos(), QPoint(icon.width(), area.height() - icon.height()));
  EXPECT_EQ(all[0]->geometry(), kept);
  EXPECT_TRUE(all[1]->isMinimized());

  // The window list below the commands, the active window marked.
  QMenu* win = Frame().Menu("Menu_Win")->menu();
  emit win->aboutToShow();
  int listed = 0, marked = 0;
  for (QAction* a : win->actions())
    if (a->text().startsWith('&') && a->objectName().isEmpty()) ++listed, marked += a->isChecked();
  EXPECT_EQ(listed, 5);
  EXPECT_EQ(marked, 1);
}

TEST_F(FrameTest, TheScriptInformationShowsTheCurrentScriptsHelpInAWindowItFills) {
  ASSERT_TRUE(Start({Sample("nexal_sample.nxl")}));
  const std::string info = g_ScriptTable[g_Docs[g_CurWin].ScriptNo].Info;
  std::string shown;
  bool fills = false;
  auto look = [&] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle().toStdString(), "スクリプトインフォメーション");
    auto* text = dlg->findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    shown = text->toPlainText().toStdString();
    dlg->resize(300, 200);
    QApplication::processEvents();
    fills = text->geometry() == QRect(QPoint(0, 0), dlg->size());
    dlg->reject();
  };
  QTimer::singleShot(0, &Frame(), look);
  Frame().Menu("Menu_Help_Info")->trigger();
  EXPECT_FALSE(info.empty());
  EXPECT_EQ(QString::fromStdString(shown), QString::fromStdString(info).replace("\r\n", "\n"));
  EXPECT_TRUE(fills);

  // With no chart the window shows an empty text.
  WinAt(g_CurWin)->CloseWithoutQuestion();
  Pump();
  shown = "x";
  QTimer::singleShot(0, &Frame(), look);
  Frame().Menu_Help_Info_Click();
  EXPECT_EQ(shown, "");
}

}  // namespace
