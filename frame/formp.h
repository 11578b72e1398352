// The frame window FormP: the multi-document parent of the chart windows, with the menus, the
// main toolbar, the edit palette (definition lists, header fields, level sliders, tab strip,
// free statements, definition toolbar), the status bar, start-up and shutdown.
#pragma once
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chartfmt/chartio.h"
#include "chartfmt/chartwrite.h"
#include "chartview/chartframe.h"
#include "deftables/defmove.h"
#include "editing/batchedit.h"
#include "frame/palette_layout.h"
#include "frame/recent.h"
#include "frame/settings.h"
#include "frame/soundlib.h"

class QAction;
class QActionGroup;
class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabBar;
class QTimer;
class QToolBar;
class QTreeWidget;

namespace mk {

class Form1;
class MixedToolButton;
struct PlayerStart;

// How the frame is started.
struct FrameOptions {
  std::string installDir;         // the program's folder, ending in "/"
  std::vector<std::string> args;  // command-line paths, each taken whole
  std::string soundLibrary;       // empty: the install folder's libzq_tone2.so
  std::function<void()> quit;     // ends the program once All_End has done its steps
  bool splash = false;            // the start-up splash, as the settings say (the program sets it)
};

// The script-choice dialog's answer.
struct ScriptChoice {
  bool skipped = true;
  int16_t script = 0;      // a candidate's script number
  bool newWindow = false;  // "新規に開く" ticked
  bool asked = false;      // the dialog was shown (ChooseScript)
};
// Shows the choice among candidates for path (win: -1 for no window, 0 when the caller places the
// chart itself, else the drop target).
using ScriptChooser =
    std::function<ScriptChoice(const std::string& path, const std::vector<int16_t>& candidates, int16_t win)>;

class FormP : public QMainWindow,
              public ChartFrame,
              public FrameSettingsPort,
              public ChartReadHost,
              public ChartWriteHost {
  Q_OBJECT

 public:
  explicit FormP(FrameOptions options);
  ~FormP() override;

  // Start-up: settings, sound, scripts, command line, the default window. False when the
  // program ended during it (a script error).
  bool MDIForm_Load();
  // Shutdown: timer off, sound off, scratch files removed, settings saved, program ended.
  void All_End();
  bool Ended() const { return ended_; }
  // The program's exit status: 0, or 1 once a fatal script error has ended the start.
  int ExitStatus() const { return exitStatus_; }

  // Window table.
  int16_t QueryScriptOpen(const std::string& path, int16_t win) override;
  Form1* NewWindowStep();  // takes a number and loads a window with g_NewScript; nullptr on failure
  bool ReuseStep(int16_t win);
  bool CheckWindowLimit();  // false (after the message) when no window may be opened
  Form1* ActiveChart() const;
  void SetScriptChooser(ScriptChooser chooser) { chooser_ = std::move(chooser); }

  // Saving.
  void QuerySave(int16_t win) override;
  void QuerySaveAs();
  void SetDirty() override;

  // Sound preview.
  void PreviewPlay(const std::string& file) override;
  void PreviewStop();
  void ErrorBox(const std::string& text) override;
  void HoldErrorBoxes(bool hold) override;
  SoundLib& Sound() { return sound_; }
  int16_t Playing() const { return playing_; }

  // Play menu: test play through the script's player, its stop, the object-sound switch.
  void Menu_Play_PlayAll_Click();
  void Menu_Play_PlayHere_Click();
  void Menu_Play_Stop_Click();
  void Menu_Play_PlayObj_Click();
  // Help > About: the splash window in its About role, modal.
  void Menu_Help_About_Click();

  // Menu and toolbar commands of this frame.
  void Menu_File_New_N_Click(int16_t index);
  void Menu_File_Open_Click();
  void Menu_File_Recent_Click(int16_t index);  // item index (1 or more): recent entry index - 1
  void BuildRecentMenu();
  void Menu_File_Close_Click();
  // Edit > Undo on the active chart window.
  void Menu_Edit_Undo_Click();
  // Edit > Find, the chart menu's batch edit and View > note count: modal dialogs on the current
  // chart window.
  void Menu_Edit_Find_Click();
  void EditM_Replace_Click();
  void Menu_View_Data_Click();
  // File > conversion wizard: the two pages, the target window and the copy.
  void Menu_File_Wiz_Click();
  void ConvertChart();
  // Copies window s's chart into window d through the lane map and shows the result there.
  void ConvertChartCopy(int16_t s, int16_t d, const std::vector<int16_t>& laneMap);
  // Called with each dialog of these commands just before it is shown (tests work it there).
  void SetDialogHook(std::function<void(QDialog*)> hook) { dialogHook_ = std::move(hook); }
  // Where the batch edit takes its random numbers (the clock-seeded generator when unset).
  void SetRandomFactory(std::function<std::unique_ptr<RandomSource>()> f) { randomFactory_ = std::move(f); }
  // The Edit menu and the chart context menu EditM, on the active chart window (nothing while
  // no chart window is open). The Edit menu's Cut, Copy and Delete do nothing while a text box,
  // list, slider or the tab strip of the edit palette has the focus (g_TextFocus).
  void Menu_Edit_Cut_Click();
  void Menu_Edit_Copy_Click();
  void Menu_Edit_Paste_Click();  // at the visible start of the chart
  void Menu_Edit_Delete_Click();
  void Menu_Edit_Mode_Click();  // F8: the other edit mode; the selection stays
  void EditM_Cut_Click();
  void EditM_Copy_Click();
  void EditM_Paste_Click();  // at the pressed position
  void EditM_Delete_Click();
  void EditM_MesInsert_Click();
  void EditM_MesDelete_Click();
  void EditM_MesChange_Click();
  // Add the pressed measure, lane, part or the whole chart to the floating selection; Edit >
  // Select all does the last even while a text box has the focus.
  void EditM_SelectMes_Click();
  void EditM_SelectLane_Click();
  void EditM_SelectPart_Click();
  void EditM_SelectAll_Click();
  void Menu_Edit_SelectAll_Click();
  // The WAV table: defined entries moved to the front with the objects renumbered, and entries no
  // object uses released.
  void Menu_Edit_WAVCmp_Click();
  void Menu_Edit_WAVDel_Click();
  void Menu_File_Exit_Click();
  void Toolbar1_ButtonClick(const std::string& key);
  void Toolbar1_ButtonMenuClick(int index);
  void Menu_View_Toolbar_Click();
  void Menu_View_Status_Click();
  void Menu_View_EditTool_Click();
  void Menu_View_DefFrame_Click();
  void Menu_View_Scroll_Value_Click(int index);
  void Menu_Help_Info_Click();
  void Menu_Win_Cas_Click();
  void Menu_Win_Hor_Click();
  void Menu_Win_Ver_Click();
  void Menu_Win_Ico_Click();
  void Menu_Help_Open_Click();
  void MDIForm_OLEDragDrop(const QStringList& files);
  void Picture1_Resize();
  void MDIForm_Resize();

  // The edit palette's placement: the side button, the close button, undocking into the tool
  // window and the timer that pumps the sound stream and docks a floating palette again.
  void Command1_Click();
  void Command2_Click();
  void FloatPalette();  // undocks the palette into the tool window
  void Timer1_Timer();
  bool ToolFloat() const { return dock_.Floating(); }
  PaletteSide PaletteDockSide() const { return dock_.Side(); }
  QWidget* FormTool() const { return formTool_.data(); }

  // Controls, for the chart windows and for tests.
  QMdiArea* MdiArea() const { return mdi_; }
  QAction* Menu(const std::string& name) const;
  QAction* MenuAction(FrameMenu item) const;
  MixedToolButton* Tool(const std::string& key) const;
  MixedToolButton* DefToolButton(DefTool t) const;
  QToolBar* Toolbar1() const { return toolbar1_; }
  QWidget* Palette() const { return palette_; }
  QWidget* DefFrame1() const { return defFrame_; }
  QTabBar* Tab1() const { return tab1_; }
  QTreeWidget* List(DefList l) const { return l == DefList::Grid1 ? grid1_ : grid2_; }
  QLineEdit* Field(HeaderText f) const;
  QPlainTextEdit* Text6() const { return text6_; }
  QSlider* Slider1(int k) const { return sliders_[k]; }
  QLabel* LevelLabel(int k) const { return levelLabels_[k - 1]; }
  QPushButton* FileButton(int k) const { return k == 3 ? command3_ : command4_; }
  QLabel* Label10() const { return label10_; }
  QLabel* Panel(const std::string& key) const;
  QToolBar* Toolbar2() const { return toolbar2_; }
  QTimer* Timer1() const { return timer1_; }
  QWidget* BgaWin() const;
  QMenu* NewMenu() const { return newMenu_; }

  // ChartFrame / FramePanels
  PartsSwitches Parts() const override;
  void WindowClosed(int16_t win) override;
  std::string ScriptTitle(int16_t scriptNo) override;
  std::string ScriptInfo(int16_t scriptNo) override;
  void PublishSelection(const std::string& infoText, bool editItemsEnabled) override;
  bool SelectMode() const override;
  void PopupEditMenu() override;
  bool CanvasAutoFocus() const override;
  // The chart context menu "譜面右クリック".
  QMenu* EditM() const { return editM_; }
  void SetMenuEnabled(FrameMenu item, bool enabled) override;
  void SetToolAvailable(FrameTool button, bool available) override;
  void SetDefToolbarEnabled(bool enabled) override;
  void SetDefToolMixed(DefTool button, bool mixed) override;
  void SetDefToolAvailable(DefTool button, bool available) override;
  void SetDefPlayTooltip(const std::string& text) override;
  void SetTabEnabled(bool enabled) override;
  void SelectTab(int position) override;
  void SetBgaTabCaption(const std::string& caption) override;
  void ClearList(DefList list) override;
  void AppendListRows(DefList list, const std::vector<DefRow>& rows) override;
  void SetListEnabled(DefList list, bool enabled) override;
  void SetListVisible(DefList list, bool visible) override;
  void SelectListRow(DefList list, int position) override;
  void SetHeaderText(HeaderText field, const std::string& text) override;
  void SetHeaderEnabled(HeaderText field, bool enabled) override;
  void SetHeaderEditableLook(HeaderText field, bool editable) override;
  void SetFreeTextVisible(bool visible) override;
  void SetSliderMax(int k, int max) override;
  void SetSliderPosition(int k, int position) override;
  void SetSliderEnabled(int k, bool enabled) override;
  void SetSliderTickSpacing(int k, int spacing) override;
  void SetFileButton(int k, const std::string& caption, bool enabled) override;
  void SetMesLabel(const std::string& caption, bool enabled) override;
  void SetLevelCaption(int k, const std::string& caption) override;
  void SetPanelText(const std::string& key, const std::string& text) override;
  void SetPanelEnabled(const std::string& key, bool enabled) override;
  void CloseBgaWin() override;
  void ShowBgaWin() override;
  void SetWaitCursor(bool on) override;
  // Draws the current chart's BGA definition into the preview window (opening it) while that
  // chart's preview is on; nothing otherwise.
  void PreviewBGA();

  // Definition lists (Grid1 WAV, Grid2 BGA), their context menus GridM and BGAM and the
  // definition toolbar Toolbar2, on the current chart. A command whose list has no row for the
  // current number does nothing.
  void Grid_ItemClick(DefList l, int row);  // row 1-based
  void Grid_DblClick(DefList l);            // choose the definition's file
  void Grid_KeyUp(DefList l, int key, int shift);
  void Grid_MouseUp(DefList l, int button, QPoint global);
  void Grid1_MouseMove();
  void DefComment(DefList l);
  void DefErase(DefList l);
  void DefLump(DefList l);  // the batch load dialog WavLump, modal
  void DefProperties(DefList l);
  void PlayCurrentWav();
  void Toolbar2_ButtonClick(DefTool t);
  void WAVUp();
  void WAVDown();
  void BGAUp();
  void BGADown();
  QMenu* GridM() const;
  QMenu* BGAM() const;

  // Header panel, tab strip and free statements.
  void Command_Click(int k);  // 3 wallpaper, 4 preview sound
  void Label10_DblClick();    // the measure-count dialog
  void DefFrame1_Resize();
  void Slider1_Change(int k, int position, bool change);  // change false: a drag in progress
  void Tab1_MouseMove(int x);
  void Tab1_MouseUp();
  void Tab1_Switch(int tab);  // 1 WAV, 2 BGA, 3 Free
  int16_t TabHover() const { return tabHover_; }
  void ApplyFreeText();

  // FrameSettingsPort
  void ApplyPlacement(Placement which, double twips) override;
  void ApplyWindowState(int16_t state) override;
  void ApplyBar(Bar bar, bool visible) override;
  void ApplyWheelCheck(int item) override;
  void ApplyAutoFocusCheck(bool on) override;
  void ApplyPlayObjCheck(bool on) override;
  double PlacementValue(Placement which) const override;
  int16_t WindowState() const override;
  bool BarChecked(Bar bar) const override;
  bool AutoFocusChecked() const override;
  // Moves (and if need be shrinks) the frame onto a screen there is now, once a saved place has
  // been applied.
  void FitSavedPlacement();

  // ChartReadHost / ChartWriteHost
  void SetThisWin(int16_t window) override;
  void MesChange(int16_t window, int16_t delta) override;
  void SetCaption(int16_t window, const std::string& caption) override;
  void AddRecentFile(const std::string& path, int16_t script) override;
  void ObjDeSel(int16_t window) override;

 protected:
  void closeEvent(QCloseEvent* e) override;  // MDIForm_QueryUnload / MDIForm_Unload
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;  // wheel hook, drops, palette resize
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  void BuildPalette();
  void BuildStatusBar();
  void FitStatusNote();
  void ConnectHeaderFields();
  void SetFreeText(const std::string& text);  // now when the box is shown, else once it is
  void ShowPendingFreeText();
  void FillFreeText(const std::string& text);
  void BuildDefFrame();
  void ConnectDefPanel();
  void ConnectHeaderPanel();
  void MoveDef(DefMove m);
  void OpenBgaWin();
  DocData* CurDoc() const;
  void BuildScriptItems();  // File > New items and the New button's list
  void ConnectDialogCommands();
  void ConnectEditCommands();
  void EnablePaste();
  // Runs a WAV table command on the active chart window and republishes it.
  void WavTableCommand(bool (*command)(DocData&, int));
  void TextFocusChanged(QWidget* now);
  void OnSubWindowActivated(QMdiSubWindow* w);
  bool CloseAllCharts();
  int16_t ReadIntoWindow(ChartReadAhead&& ahead, int16_t target);
  // Drops window win's selection and, when its chart is modified, asks whether to save it
  // first. False when the user cancelled the question or the save.
  bool AskSaveBeforeReuse(int16_t win);
  // When the file at path is open in a window already: that window is brought forward (true).
  bool ShowOpenWindow(const std::string& path);
  // Before a save over path, the file of d: true to go on. When the file no longer holds what d's
  // window last read or wrote, asks first.
  bool ConfirmChangedOnDisk(DocData& d, const std::string& path);
  // The save's warning for window w (with the header number fields when w is current), after
  // which those fields show what is written.
  void WarnBeforeSave(int16_t w);
  // After window w's chart was written: it takes what the file holds of the fields the warning
  // named, and shows them when it is the current chart.
  void ShowAsSaved(int16_t w);
  // Number field i (2 BPM, 3 base BPM) shows the value it holds as the file writes it.
  void ShowNumberField(int i);
  // Reads path with script into a scratch record first; false, after its message, when the
  // chart cannot be read, so that no window is taken or reused for it. ahead keeps the read for
  // the window.
  bool CheckChartReadable(const std::string& path, const std::string& title, int16_t script, ChartReadAhead& ahead);
  void RefreshRecentMenu();
  // Takes a new window, or re-initialises window current, with script and gives it the chart
  // read ahead (read again should the file have changed since): 1 when the chart was read, 0
  // when no window could be had or the read failed.
  int16_t OpenChart(ChartReadAhead&& ahead, int16_t script, OpenTarget target, int16_t current);
  ScriptChoice ShowScriptChoice(const std::string& path, const std::vector<int16_t>& candidates, int16_t win);
  // The script path is read with: ChooseScriptByExtension(path, preferred), the script-choice
  // dialog (win as there) asking where several scripts remain. Not skipped with script 0: no
  // script takes the file.
  ScriptChoice ChooseScript(const std::string& path, int16_t preferred, int16_t win);
  bool WriteTestChart(std::string& scratch);   // false, after its message, when not written
  bool StartPlayer(const PlayerStart& start);  // false, after its message, when not started
  void ResizeBar_Mouse(QEvent* e);
  void Label1_Mouse(QEvent* e);
  bool FormTool_Event(QEvent* e);        // true when the event was taken
  void DockPalette(PaletteSide side);    // into the frame's layout at that side
  void ArrangeWindows(int arrangement);  // 0 cascade, 1 rows, 2 columns, 3 icons
  bool WheelHookProc(QObject* watched, QEvent* e);
  QAction* AddItem(QMenu* menu, const char* name, const char* caption, const char* shortcut = nullptr);

  FrameOptions options_;
  bool ended_ = false;
  int exitStatus_ = 0;
  bool loading_ = false;
  bool placementApplied_ = false;  // the settings gave the frame a place or size
  int16_t playing_ = 0;
  bool holdErrors_ = false;
  std::vector<std::string> heldErrors_;
  int wheelBusy_ = 0;
  QObject* wheelHook_ = nullptr;
  bool splitterDragOn_ = false;
  bool paletteDragOn_ = false;
  int paletteDragX_ = 0;
  PaletteDock dock_;
  QPointer<QWidget> formTool_;
  QActionGroup* modeGroup_ = nullptr;
  SoundLib sound_;
  ScriptChooser chooser_;
  QPointer<Form1> lastActivated_;
  ChartReadHost* prevReadHost_ = nullptr;
  ChartWriteHost* prevWriteHost_ = nullptr;

  QMdiArea* mdi_ = nullptr;
  QWidget* central_ = nullptr;
  std::map<std::string, QAction*> menus_;
  std::map<FrameMenu, QAction*> frameMenus_;
  QMenu* newMenu_ = nullptr;
  QMenu* editM_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* recentEnd_ = nullptr;                // the separator above File > Exit
  std::vector<QAction*> recentItems_{nullptr};  // Menu_File_Recent(1..): entries 0..
  QMenu* newButtonMenu_ = nullptr;
  QToolBar* toolbar1_ = nullptr;
  std::map<std::string, MixedToolButton*> tools_;
  QWidget* palette_ = nullptr;
  QLabel* paletteTitle_ = nullptr;
  QPushButton* paletteSide_ = nullptr;
  QPushButton* paletteClose_ = nullptr;
  QWidget* resizeBar_ = nullptr;
  QWidget* defFrame_ = nullptr;
  QLineEdit* texts_[5] = {};
  QPlainTextEdit* text6_ = nullptr;
  std::optional<std::string> freeTextPending_;  // the free statements, until their box is shown
  QSlider* sliders_[3] = {};
  QLabel* levelLabels_[3] = {};
  std::vector<QLabel*> rowLabels_;  // the header rows' labels, the level labels among them
  QPushButton* command3_ = nullptr;
  QPushButton* command4_ = nullptr;
  QLabel* label10_ = nullptr;
  QTabBar* tab1_ = nullptr;
  QTreeWidget* grid1_ = nullptr;
  QTreeWidget* grid2_ = nullptr;
  QToolBar* toolbar2_ = nullptr;
  std::map<DefTool, MixedToolButton*> defTools_;
  std::map<std::string, QLabel*> panels_;
  QString note_;  // the status note's whole text (its panel shows what fits)
  bool fittingNote_ = false;
  QTimer* timer1_ = nullptr;
  QPointer<QWidget> bgaWin_;
  int16_t tabHover_ = 0;  // the tab under the pointer (1..3), 0 before the pointer first came
  std::function<void(QDialog*)> dialogHook_;
  std::function<std::unique_ptr<RandomSource>()> randomFactory_;
};

}  // namespace mk
