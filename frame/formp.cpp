// The frame window: construction of the menus, the main toolbar and the status bar, and the
// per-chart controls that live on them.
#include "frame/formp.h"

#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1.h"
#include "chartview/icons.h"
#include "chartview/mixedbutton.h"
#include "platform/core/desktop.h"
#include "platform/core/windowplace.h"

namespace mk {

namespace {

struct MenuName {
  FrameMenu item;
  const char* name;
};
constexpr MenuName kFrameMenus[] = {
    {FrameMenu::Menu_File_Save, "Menu_File_Save"},
    {FrameMenu::Menu_File_SaveAs, "Menu_File_SaveAs"},
    {FrameMenu::Menu_File_Close, "Menu_File_Close"},
    {FrameMenu::Menu_File_Wiz, "Menu_File_Wiz"},
    {FrameMenu::Menu_Edit_Undo, "Menu_Edit_Undo"},
    {FrameMenu::Menu_Edit_Cut, "Menu_Edit_Cut"},
    {FrameMenu::Menu_Edit_Copy, "Menu_Edit_Copy"},
    {FrameMenu::Menu_Edit_Paste, "Menu_Edit_Paste"},
    {FrameMenu::Menu_Edit_Delete, "Menu_Edit_Delete"},
    {FrameMenu::Menu_Edit_Find, "Menu_Edit_Find"},
    {FrameMenu::Menu_Edit_WAVCmp, "Menu_Edit_WAVCmp"},
    {FrameMenu::Menu_Edit_SelectAll, "Menu_Edit_SelectAll"},
    {FrameMenu::Menu_Edit_Mode, "Menu_Edit_Mode"},
    {FrameMenu::Menu_Edit_WAVDel, "Menu_Edit_WAVDel"},
    {FrameMenu::Menu_View_Parts, "Menu_View_Parts"},
    {FrameMenu::Menu_View_Data, "Menu_View_Data"},
    {FrameMenu::Menu_Play_PlayAll, "Menu_Play_PlayAll"},
    {FrameMenu::Menu_Play_PlayHere, "Menu_Play_PlayHere"},
    {FrameMenu::Menu_Play_Stop, "Menu_Play_Stop"},
    {FrameMenu::Menu_Help_Info, "Menu_Help_Info"},
    {FrameMenu::EditM_Cut, "EditM_Cut"},
    {FrameMenu::EditM_Copy, "EditM_Copy"},
    {FrameMenu::EditM_Paste, "EditM_Paste"},
    {FrameMenu::EditM_Delete, "EditM_Delete"},
    {FrameMenu::EditM_Replace, "EditM_Replace"},
    {FrameMenu::EditM_MesInsert, "EditM_MesInsert"},
    {FrameMenu::EditM_MesDelete, "EditM_MesDelete"},
    {FrameMenu::EditM_MesChange, "EditM_MesChange"},
    {FrameMenu::EditM_Sel, "EditM_Sel"},
};

const char* ToolKey(FrameTool t) {
  switch (t) {
    case FrameTool::TB1_Save: return "TB1_Save";
    case FrameTool::TB1_PlayAll: return "TB1_PlayAll";
    case FrameTool::TB1_PlayHere: return "TB1_PlayHere";
    case FrameTool::TB1_PlayStop: return "TB1_PlayStop";
    case FrameTool::TB1_Find: return "TB1_Find";
  }
  return "";
}

}  // namespace

FormP::FormP(FrameOptions options) : options_(std::move(options)) {
  setObjectName("FormP");
  setWindowTitle(QStringLiteral("Mirkan"));
  setWindowIcon(ApplicationIcon());
  setAcceptDrops(true);
  mdi_ = new QMdiArea;
  mdi_->setObjectName("MDIClient");
  BuildMenus();
  BuildToolbar();
  BuildPalette();
  BuildStatusBar();
  ConnectDefPanel();
  ConnectDialogCommands();
  ConnectEditCommands();
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setInterval(100);
  connect(timer1_, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(mdi_, &QMdiArea::subWindowActivated, this, &FormP::OnSubWindowActivated, Qt::QueuedConnection);
  resize(680, 564);
}

FormP::~FormP() {
  disconnect(qApp, nullptr, this, nullptr);  // no focus change may reach the palette while it goes
  delete wheelHook_;                         // no event may reach this frame while it goes
  wheelHook_ = nullptr;
  if (formTool_) palette_->setParent(central_);  // the palette goes with the frame, not before it
  if (!ended_) {
    SetChartReadHost(prevReadHost_);
    SetChartWriteHost(prevWriteHost_);
  }
  g_Ending = true;  // windows go with the frame, without their close handling
  mdi_->closeAllSubWindows();
  g_Ending = false;
}

QAction* FormP::AddItem(QMenu* menu, const char* name, const char* caption, const char* shortcut) {
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  a->setObjectName(name);
  if (shortcut) a->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
  menus_[name] = a;
  return a;
}

void FormP::BuildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
  menus_["Menu_File"] = file->menuAction();
  newMenu_ = file->addMenu(QStringLiteral("新規作成(&N)"));
  newMenu_->menuAction()->setObjectName("Menu_File_New");
  menus_["Menu_File_New"] = newMenu_->menuAction();
  QAction* new0 = newMenu_->addAction(QString());
  new0->setObjectName("Menu_File_New_N_0");
  menus_["Menu_File_New_N_0"] = new0;
  fileMenu_ = file;
  connect(AddItem(file, "Menu_File_Open", "開く(&O)...", "Ctrl+O"), &QAction::triggered, this,
          [this] { Menu_File_Open_Click(); });
  connect(AddItem(file, "Menu_File_Save", "上書き保存(&S)", "Ctrl+S"), &QAction::triggered, this,
          [this] { QuerySaveAs(); });
  connect(AddItem(file, "Menu_File_SaveAs", "名前を付けて保存(&V)..."), &QAction::triggered, this,
          [this] { QuerySave(-1); });
  connect(AddItem(file, "Menu_File_Close", "閉じる(&C)"), &QAction::triggered, this,
          [this] { Menu_File_Close_Click(); });
  file->addSeparator()->setObjectName("Menu_File_Split1");
  AddItem(file, "Menu_File_Wiz", "ファイル変換ウィザード(&W)...");
  QAction* recent0 = file->addSeparator();
  recent0->setObjectName("Menu_File_Recent_0");
  recent0->setVisible(false);
  menus_["Menu_File_Recent_0"] = recent0;
  recentEnd_ = file->addSeparator();
  recentEnd_->setObjectName("Menu_File_Split2");
  connect(AddItem(file, "Menu_File_Exit", "終了(&X)"), &QAction::triggered, this, [this] { Menu_File_Exit_Click(); });

  QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
  menus_["Menu_Edit"] = edit->menuAction();
  connect(AddItem(edit, "Menu_Edit_Undo", "元に戻す(&U)", "Ctrl+Z"), &QAction::triggered, this,
          [this] { Menu_Edit_Undo_Click(); });
  edit->addSeparator();
  AddItem(edit, "Menu_Edit_Cut", "切り取り(&T)", "Ctrl+X")->setEnabled(false);
  AddItem(edit, "Menu_Edit_Copy", "コピー(&C)", "Ctrl+C")->setEnabled(false);
  AddItem(edit, "Menu_Edit_Paste", "貼り付け(&P)", "Ctrl+V")->setEnabled(false);
  AddItem(edit, "Menu_Edit_Delete", "削除(&E)", "Del")->setEnabled(false);
  edit->addSeparator();
  AddItem(edit, "Menu_Edit_Mode", "編集モード切替(&M)", "F8");
  edit->addSeparator();
  AddItem(edit, "Menu_Edit_Find", "検索(&F)...", "Ctrl+F");
  AddItem(edit, "Menu_Edit_WAVCmp", "WAV配列の整理(&W)");
  AddItem(edit, "Menu_Edit_WAVDel", "未使用WAVの解除(&D)");
  edit->addSeparator();
  AddItem(edit, "Menu_Edit_SelectAll", "全て選択(&A)", "Ctrl+A");

  QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
  menus_["Menu_View"] = view->menuAction();
  QMenu* tbs = view->addMenu(QStringLiteral("バーの表示(&B)"));
  menus_["Menu_View_TBs"] = tbs->menuAction();
  for (auto [name, caption] : {std::pair{"Menu_View_Toolbar", "ツールバー(&T)"},
                               {"Menu_View_EditTool", "編集ツールバー(&E)"},
                               {"Menu_View_DefFrame", "定義入力領域(&D)"},
                               {"Menu_View_Status", "ステータスバー(&S)"}}) {
    QAction* a = AddItem(tbs, name, caption);
    a->setCheckable(true);
    a->setChecked(true);
  }
  connect(menus_["Menu_View_Toolbar"], &QAction::triggered, this, [this] { Menu_View_Toolbar_Click(); });
  connect(menus_["Menu_View_EditTool"], &QAction::triggered, this, [this] { Menu_View_EditTool_Click(); });
  connect(menus_["Menu_View_DefFrame"], &QAction::triggered, this, [this] { Menu_View_DefFrame_Click(); });
  connect(menus_["Menu_View_Status"], &QAction::triggered, this, [this] { Menu_View_Status_Click(); });
  QMenu* parts = view->addMenu(QStringLiteral("パーツの表示(&P)"));
  parts->menuAction()->setObjectName("Menu_View_Parts");
  menus_["Menu_View_Parts"] = parts->menuAction();
  for (auto [name, caption] : {std::pair{"Menu_View_Parts_Grid", "グリッド(&G)"},
                               {"Menu_View_Parts_Back", "背景(&B)"},
                               {"Menu_View_Parts_Line", "ライン(&N)"},
                               {"Menu_View_Parts_Spell", "文字(&S)"}}) {
    QAction* a = AddItem(parts, name, caption);
    a->setCheckable(true);
    a->setChecked(true);
  }
  parts->addSeparator();
  AddItem(parts, "Menu_View_Parts_Lower", "小文字で表示(&L)")->setCheckable(true);
  for (const char* n : {"Menu_View_Parts_Grid", "Menu_View_Parts_Back", "Menu_View_Parts_Line", "Menu_View_Parts_Spell",
                        "Menu_View_Parts_Lower"}) {
    const std::string name = n;
    connect(menus_[name], &QAction::triggered, this, [this, name] {
      Form1* w = ActiveChart();
      if (!w) return;
      if (name == "Menu_View_Parts_Line") w->HeadDraw2();
      if (name == "Menu_View_Parts_Lower") w->HeadObj();
      w->ObjDraw();
    });
  }
  QMenu* scroll = view->addMenu(QStringLiteral("ホイールスクロール量(&W)"));
  menus_["Menu_View_Scroll"] = scroll->menuAction();
  const char* wheelCaptions[] = {"8分", "4分", "1小節"};
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "Menu_View_Scroll_Value_" + std::to_string(i);
    QAction* a = AddItem(scroll, name.c_str(), wheelCaptions[i - 1]);
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [this, i] { Menu_View_Scroll_Value_Click(i); });
  }
  QAction* af = AddItem(view, "Menu_View_AFocus", "オートフォーカス(&A)");
  af->setCheckable(true);
  af->setChecked(true);
  view->addSeparator();
  AddItem(view, "Menu_View_Data", "ノート数計算(&N)...");

  QMenu* play = bar->addMenu(QStringLiteral("再生(&P)"));
  menus_["Menu_Play"] = play->menuAction();
  QAction* pa = AddItem(play, "Menu_Play_PlayAll", "再生(&P)", "F5");
  QAction* ph = AddItem(play, "Menu_Play_PlayHere", "現在の位置から再生(&H)", "F6");
  QAction* ps = AddItem(play, "Menu_Play_Stop", "停止(&S)", "F7");
  for (QAction* a : {pa, ph, ps}) a->setEnabled(false);
  connect(pa, &QAction::triggered, this, [this] { Menu_Play_PlayAll_Click(); });
  connect(ph, &QAction::triggered, this, [this] { Menu_Play_PlayHere_Click(); });
  connect(ps, &QAction::triggered, this, [this] { Menu_Play_Stop_Click(); });
  play->addSeparator();
  QAction* po = AddItem(play, "Menu_Play_PlayObj", "オブジェ選択時再生(&O)");
  po->setCheckable(true);
  connect(po, &QAction::triggered, this, [this] { Menu_Play_PlayObj_Click(); });

  QMenu* win = bar->addMenu(QStringLiteral("ウインドウ(&W)"));
  menus_["Menu_Win"] = win->menuAction();
  connect(AddItem(win, "Menu_Win_Cas", "重ねて表示(&C)"), &QAction::triggered, this, [this] { Menu_Win_Cas_Click(); });
  connect(AddItem(win, "Menu_Win_Hor", "上下に並べて表示(&E)"), &QAction::triggered, this,
          [this] { Menu_Win_Hor_Click(); });
  connect(AddItem(win, "Menu_Win_Ver", "左右に並べて表示(&T)"), &QAction::triggered, this,
          [this] { Menu_Win_Ver_Click(); });
  connect(AddItem(win, "Menu_Win_Ico", "アイコンの整列(&I)"), &QAction::triggered, this,
          [this] { Menu_Win_Ico_Click(); });
  QAction* winListSep = win->addSeparator();
  connect(win, &QMenu::aboutToShow, this, [this, win, winListSep] {
    // Below the commands: the open chart windows, the active one marked.
    const QList<QAction*> all = win->actions();
    for (int i = all.indexOf(winListSep) + 1; i < all.size(); ++i) win->removeAction(all[i]), all[i]->deleteLater();
    int n = 0;
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
      QAction* a = win->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sw->windowTitle()));
      a->setCheckable(true);
      a->setChecked(sw == mdi_->activeSubWindow());
      connect(a, &QAction::triggered, this, [this, sw] { mdi_->setActiveSubWindow(sw); });
    }
  });

  QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
  menus_["Menu_Help"] = help->menuAction();
  connect(AddItem(help, "Menu_Help_Open", "目次(&C)...", "F1"), &QAction::triggered, this,
          [this] { Menu_Help_Open_Click(); });
  connect(AddItem(help, "Menu_Help_About", "バージョン情報(&A)..."), &QAction::triggered, this,
          [this] { Menu_Help_About_Click(); });
  connect(AddItem(help, "Menu_Help_Info", "現在のスクリプトの説明(&S)..."), &QAction::triggered, this,
          [this] { Menu_Help_Info_Click(); });

  // Context menus, never in the menu bar.
  auto* gridM = new QMenu(QStringLiteral("グリッドメニュー"), this);
  for (auto [n, c] : {std::pair{"GridM_Cmt", "コメント編集(&C)..."},
                      {"GridM_Wav", "ファイル指定(&O)..."},
                      {"GridM_Erase", "ファイル削除(&E)"},
                      {"GridM_WavA", "一括読み込み(&A)..."},
                      {"", "-"},
                      {"GridM_Play", "再生(&P)"},
                      {"GridM_Stop", "停止(&S)"},
                      {"", "-"},
                      {"GridM_Prop", "プロパティ(&R)..."}})
    *n ? (void)AddItem(gridM, n, c) : (void)gridM->addSeparator();
  auto* bgaM = new QMenu(QStringLiteral("BGAメニュー"), this);
  for (auto [n, c] : {std::pair{"BGAM_Cmt", "コメント編集(&C)..."},
                      {"BGAM_BGA", "ファイル指定(&O)..."},
                      {"BGAM_Erase", "ファイル削除(&E)"},
                      {"BGAM_BGAA", "一括読み込み(&A)..."},
                      {"", "-"},
                      {"BGAM_Prop", "プロパティ(&R)..."}})
    *n ? (void)AddItem(bgaM, n, c) : (void)bgaM->addSeparator();
  auto* editM = new QMenu(QStringLiteral("譜面右クリック"), this);
  editM->setObjectName("EditM");
  editM_ = editM;
  for (auto [n, c] : {std::pair{"EditM_Cut", "切り取り(&T)"},
                      {"EditM_Copy", "コピー(&C)"},
                      {"EditM_Paste", "貼り付け(&P)"},
                      {"EditM_Delete", "削除(&E)"},
                      {"", "-"},
                      {"EditM_Replace", "一括編集(&R)..."},
                      {"", "-"},
                      {"EditM_MesInsert", "小節挿入(&I)"},
                      {"EditM_MesDelete", "小節削除(&D)"},
                      {"EditM_MesChange", "小節長変更(&B)"},
                      {"", "-"}})
    *n ? (void)AddItem(editM, n, c) : (void)editM->addSeparator();
  for (const char* n : {"EditM_Cut", "EditM_Copy", "EditM_Paste", "EditM_Delete", "EditM_Replace"})
    menus_[n]->setEnabled(false);
  QMenu* sel = editM->addMenu(QStringLiteral("全て選択(&S)"));
  menus_["EditM_Sel"] = sel->menuAction();
  AddItem(sel, "EditM_SelectMes", "この小節(&M)");
  AddItem(sel, "EditM_SelectLane", "このレーン(&L)");
  AddItem(sel, "EditM_SelectPart", "このパート(&P)");
  AddItem(sel, "EditM_SelectAll", "全て選択(&A)");

  for (const MenuName& m : kFrameMenus) frameMenus_[m.item] = menus_.at(m.name);
}

void FormP::BuildToolbar() {
  toolbar1_ = addToolBar(QStringLiteral("Toolbar1"));
  toolbar1_->setObjectName("Toolbar1");
  toolbar1_->setMovable(false);
  toolbar1_->setIconSize(QSize(16, 16));
  auto add = [&](const char* key, const char* tip, QStyle::StandardPixmap icon) {
    auto* b = new MixedToolButton(toolbar1_);
    b->setObjectName(key);
    b->setToolTip(QString::fromUtf8(tip));
    b->setIcon(StyleIcon(icon));
    b->setAutoRaise(true);
    toolbar1_->addWidget(b);
    tools_[key] = b;
    return b;
  };
  MixedToolButton* nb = add("TB1_New", "新規作成", QStyle::SP_FileIcon);
  newButtonMenu_ = new QMenu(nb);
  nb->setMenu(newButtonMenu_);
  nb->setPopupMode(QToolButton::MenuButtonPopup);
  add("TB1_Open", "開く", QStyle::SP_DialogOpenButton);
  add("TB1_Save", "上書き保存", QStyle::SP_DialogSaveButton);
  toolbar1_->addSeparator();
  MixedToolButton* ms = add("TB1_ModeSelect", "選択モード", QStyle::SP_ArrowRight);
  MixedToolButton* md = add("TB1_ModeDraw", "配置モード", QStyle::SP_DialogApplyButton);
  // The mode pair: one exclusive group, so that exactly one button is pressed at any time; the
  // pressed one is the edit mode.
  modeGroup_ = new QActionGroup(this);
  modeGroup_->setExclusive(true);
  for (MixedToolButton* b : {ms, md}) {
    auto* a = new QAction(b->icon(), b->toolTip(), modeGroup_);
    a->setObjectName(b->objectName());
    a->setCheckable(true);
    b->setDefaultAction(a);
  }
  ms->defaultAction()->setChecked(true);
  toolbar1_->addSeparator();
  add("TB1_PlayAll", "最初から再生", QStyle::SP_MediaPlay);
  add("TB1_PlayHere", "現在の位置から再生", QStyle::SP_MediaSeekForward);
  add("TB1_PlayStop", "停止", QStyle::SP_MediaStop);
  toolbar1_->addSeparator();
  add("TB1_Find", "オブジェ検索", QStyle::SP_FileDialogContentsView);
  for (auto& [key, b] : tools_) {
    const std::string k = key;
    connect(b, &QToolButton::clicked, this, [this, k] { Toolbar1_ButtonClick(k); });
  }
}

void FormP::BuildScriptItems() {
  menus_["Menu_File_New_N_0"]->setVisible(false);
  for (int i = 1; i <= g_ScriptCount && i < static_cast<int>(g_ScriptTable.size()); ++i) {
    const QString title = QString::fromStdString(ScriptLabel(g_ScriptTable, i));
    QAction* a = newMenu_->addAction(title);
    a->setObjectName(QStringLiteral("Menu_File_New_N_%1").arg(i));
    menus_["Menu_File_New_N_" + std::to_string(i)] = a;
    connect(a, &QAction::triggered, this, [this, i] { Menu_File_New_N_Click(static_cast<int16_t>(i)); });
    QAction* b = newButtonMenu_->addAction(title);
    connect(b, &QAction::triggered, this, [this, i] { Toolbar1_ButtonMenuClick(i); });
  }
}

QAction* FormP::Menu(const std::string& name) const {
  auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}
QAction* FormP::MenuAction(FrameMenu item) const { return frameMenus_.at(item); }
MixedToolButton* FormP::Tool(const std::string& key) const {
  auto it = tools_.find(key);
  return it == tools_.end() ? nullptr : it->second;
}
QLabel* FormP::Panel(const std::string& key) const {
  auto it = panels_.find(key);
  return it == panels_.end() ? nullptr : it->second;
}

PartsSwitches FormP::Parts() const {
  PartsSwitches p;
  p.Grid = menus_.at("Menu_View_Parts_Grid")->isChecked();
  p.Back = menus_.at("Menu_View_Parts_Back")->isChecked();
  p.Line = menus_.at("Menu_View_Parts_Line")->isChecked();
  p.Spell = menus_.at("Menu_View_Parts_Spell")->isChecked();
  p.Lower = menus_.at("Menu_View_Parts_Lower")->isChecked();
  return p;
}

void FormP::PublishSelection(const std::string& infoText, bool editItemsEnabled) {
  SetPanelText("Info", infoText);
  for (FrameMenu m : {FrameMenu::Menu_Edit_Cut, FrameMenu::Menu_Edit_Copy, FrameMenu::Menu_Edit_Delete,
                      FrameMenu::EditM_Cut, FrameMenu::EditM_Copy, FrameMenu::EditM_Delete, FrameMenu::EditM_Replace})
    SetMenuEnabled(m, editItemsEnabled);
}

void FormP::SetMenuEnabled(FrameMenu item, bool enabled) { frameMenus_.at(item)->setEnabled(enabled); }

void FormP::SetToolAvailable(FrameTool button, bool available) { tools_.at(ToolKey(button))->SetAvailable(available); }

void FormP::SetWaitCursor(bool on) { plat::TheDesktop().SetWaitCursor(on); }

std::string FormP::ScriptTitle(int16_t scriptNo) {
  return scriptNo >= 1 && scriptNo < static_cast<int>(g_ScriptTable.size()) ? g_ScriptTable[scriptNo].Title
                                                                            : std::string();
}
std::string FormP::ScriptInfo(int16_t scriptNo) {
  return scriptNo >= 1 && scriptNo < static_cast<int>(g_ScriptTable.size()) ? g_ScriptTable[scriptNo].Info
                                                                            : std::string();
}

// Settings port.
void FormP::ApplyPlacement(Placement which, double twips) {
  const int px = static_cast<int>(twips / 15.0);
  QRect g = geometry();
  switch (which) {
    case Placement::Top: g.moveTop(px); break;
    case Placement::Left: g.moveLeft(px); break;
    case Placement::Width: g.setWidth(std::max(1, px)); break;
    case Placement::Height: g.setHeight(std::max(1, px)); break;
  }
  setGeometry(g);
  placementApplied_ = true;
}
void FormP::FitSavedPlacement() {
  if (!placementApplied_) return;
  std::vector<plat::ScreenRect> screens;
  QScreen* primary = QGuiApplication::primaryScreen();
  auto add = [&screens](const QScreen* s) {
    const QRect a = s->availableGeometry();
    screens.push_back({a.x(), a.y(), a.width(), a.height()});
  };
  if (primary) add(primary);
  for (const QScreen* s : QGuiApplication::screens())
    if (s != primary) add(s);
  // The rule keeps the title bar and borders on the screen; the frame's geometry is without them.
  const QRect outer = frameGeometry(), inner = geometry();
  const plat::ScreenRect fit = plat::FitOnScreens({outer.x(), outer.y(), outer.width(), outer.height()}, screens);
  const QRect placed(inner.x() + fit.x - outer.x(), inner.y() + fit.y - outer.y(),
                     inner.width() + fit.w - outer.width(), inner.height() + fit.h - outer.height());
  if (placed != inner) setGeometry(placed);
}
void FormP::ApplyWindowState(int16_t state) {
  if (state == 2)
    setWindowState(Qt::WindowMaximized);
  else if (state == 1)
    setWindowState(Qt::WindowMinimized);
  else
    setWindowState(Qt::WindowNoState);
}
void FormP::ApplyBar(Bar bar, bool visible) {
  switch (bar) {
    case Bar::FormToolbar:
      menus_["Menu_View_Toolbar"]->setChecked(visible);
      toolbar1_->setVisible(visible);
      break;
    case Bar::EditToolbar:
      menus_["Menu_View_EditTool"]->setChecked(visible);
      palette_->setVisible(visible);
      break;
    case Bar::DefFrame:
      menus_["Menu_View_DefFrame"]->setChecked(visible);
      defFrame_->setVisible(visible);
      break;
    case Bar::Statusbar:
      menus_["Menu_View_Status"]->setChecked(visible);
      statusBar()->setVisible(visible);
      break;
  }
}
void FormP::ApplyWheelCheck(int item) {
  for (int i = 1; i <= 3; ++i) menus_["Menu_View_Scroll_Value_" + std::to_string(i)]->setChecked(i == item);
}
bool FormP::SelectMode() const { return tools_.at("TB1_ModeSelect")->isChecked(); }

void FormP::PopupEditMenu() { editM_->exec(QCursor::pos()); }

bool FormP::CanvasAutoFocus() const { return isActiveWindow() && AutoFocusChecked(); }

void FormP::ApplyAutoFocusCheck(bool on) { menus_["Menu_View_AFocus"]->setChecked(on); }
void FormP::ApplyPlayObjCheck(bool on) { menus_["Menu_Play_PlayObj"]->setChecked(on); }
double FormP::PlacementValue(Placement which) const {
  const QRect g = geometry();
  switch (which) {
    case Placement::Top: return g.top() * 15.0;
    case Placement::Left: return g.left() * 15.0;
    case Placement::Width: return g.width() * 15.0;
    case Placement::Height: return g.height() * 15.0;
  }
  return 0;
}
int16_t FormP::WindowState() const { return isMinimized() ? 1 : isMaximized() ? 2 : 0; }
bool FormP::BarChecked(Bar bar) const {
  switch (bar) {
    case Bar::FormToolbar: return menus_.at("Menu_View_Toolbar")->isChecked();
    case Bar::EditToolbar: return menus_.at("Menu_View_EditTool")->isChecked();
    case Bar::DefFrame: return menus_.at("Menu_View_DefFrame")->isChecked();
    case Bar::Statusbar: return menus_.at("Menu_View_Status")->isChecked();
  }
  return true;
}
bool FormP::AutoFocusChecked() const { return menus_.at("Menu_View_AFocus")->isChecked(); }

// Help > Contents: the help file with the desktop's viewer, where there is such a file;
// otherwise a note that there is none, naming the guide for script authors (in the install
// folder where the build put it, else where it lies in the source).
void FormP::Menu_Help_Open_Click() {
  const std::string path = g_InstallDir + "Mirkan.chm";
  if (QFile::exists(QString::fromStdString(path))) {
    plat::TheDesktop().OpenDocument(path);
    return;
  }
  std::string guide = g_InstallDir + "script-guide.md";
  if (!QFile::exists(QString::fromStdString(guide))) guide = "Mirkan のソースの docs/script-guide.md";
  plat::TheDesktop().MessageBox("ヘルプファイル " + path + " はありません。\r\n定義スクリプトの書き方は " + guide +
                                    " にあります。",
                                "ヘルプ", plat::MsgButtons::Ok, plat::MsgIcon::Information);
}

// Help > script information: the current chart's script help text in a small window.
void FormP::Menu_Help_Info_Click() {
  QDialog dlg(this);
  dlg.setObjectName("ScriptInfo");
  dlg.setWindowTitle(QStringLiteral("スクリプトインフォメーション"));
  auto* text = new QPlainTextEdit(&dlg);
  text->setObjectName("Text1");
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  const int16_t s = WinAt(g_CurWin) ? g_Docs[g_CurWin].ScriptNo : 0;
  text->setPlainText(QString::fromStdString(ScriptInfo(s)));
  auto* lay = new QVBoxLayout(&dlg);
  lay->setContentsMargins(0, 0, 0, 0);
  lay->addWidget(text);
  dlg.resize(410, 314);
  dlg.exec();
}

// View menu.
void FormP::Menu_View_Toolbar_Click() { toolbar1_->setVisible(menus_["Menu_View_Toolbar"]->isChecked()); }
void FormP::Menu_View_Status_Click() { statusBar()->setVisible(menus_["Menu_View_Status"]->isChecked()); }
void FormP::Menu_View_DefFrame_Click() {
  defFrame_->setVisible(menus_["Menu_View_DefFrame"]->isChecked());
  Picture1_Resize();
}
void FormP::Menu_View_EditTool_Click() {
  const bool on = menus_["Menu_View_EditTool"]->isChecked();
  if (dock_.Floating() && formTool_) formTool_->setVisible(on);
  palette_->setVisible(on);
  MDIForm_Resize();
}
void FormP::Menu_View_Scroll_Value_Click(int index) {
  ApplyWheelCheck(index);
  g_Wheel = index == 1 ? 1 : index == 2 ? 2 : 8;
}

}  // namespace mk
