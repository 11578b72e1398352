// A chart window and its services for driving the gesture controller without a GUI. The window
// part runs the real editing functions on its own record; the rest records what was asked.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editing/dropsel.h"
#include "editing/gesture.h"
#include "editing/mescount.h"
#include "editing/selection.h"
#include "editing/undo.h"
#include "sel_fixture.h"

namespace seltest {

struct FakeWorld : mk::ChartWindowPort,
                   mk::EditModeSource,
                   mk::ArrowKeyState,
                   mk::EditMenuPopup,
                   mk::AutoScrollTimers,
                   mk::CanvasOverlay,
                   mk::TempoPrompt,
                   mk::DefinitionList,
                   mk::HeldButtons {
  mk::DocData doc;
  mk::GestureSettings settings;
  mk::CanvasGeom canvas{600, 400, 0};
  mk::ScrollBarState h{0, 0, 50}, v{100, 0, 400};
  bool selectMode = true;
  bool keys[4] = {};
  int popups = 0, draws = 0, headDraws = 0, drops = 0, focus = 0;
  struct Timer {
    bool running = false;
    int interval = 0;
  } timers[2];
  bool overlayShown = false;
  std::vector<std::vector<int>> bands;  // x1, y1, x2, y2
  std::vector<mk::PlacementPreview> previews;
  std::deque<std::optional<std::string>> answers;  // tempo prompt answers
  std::vector<std::string> prompts;
  std::vector<int> rows;  // WAV list rows selected
  std::vector<std::string> previewFiles;
  // The buttons the events report held; unset: every button, so no release is ever lost.
  std::optional<int> held;
  // Run inside ObjSelect and the tempo prompt, where a box or a menu would open.
  std::function<void()> onSelect, onPrompt;

  mk::GestureController gc;

  FakeWorld() : doc(MakeDoc(8)), gc(Services()) {
    doc.ScrlUp = 0;  // top-down, zoom 1, grid 16: one pixel a tick, 12 pixels a step
  }

  mk::GestureServices Services() {
    mk::GestureServices s;
    s.Window = this;
    s.Mode = this;
    s.Keys = this;
    s.Popup = this;
    s.Timers = this;
    s.Overlay = this;
    s.Prompt = this;
    s.List = this;
    s.Buttons = this;
    return s;
  }

  // Canvas pixel of (lane, measure, tick) with the view at the top of the chart.
  static double X(int lane) { return lane * 30 + 5; }
  static double Y(int mes, int tick) { return mes * 192 + tick; }

  void Press(mk::MouseButton b, int shift, int lane, int mes, int tick) {
    gc.CanvasPress(b, shift, X(lane), Y(mes, tick));
  }
  void Move(int shift, int lane, int mes, int tick) { gc.CanvasMove(shift, X(lane), Y(mes, tick)); }
  void Release(mk::MouseButton b, int shift, int lane, int mes, int tick) {
    gc.CanvasRelease(b, shift, X(lane), Y(mes, tick));
  }
  void Click(mk::MouseButton b, int shift, int lane, int mes, int tick) {
    Press(b, shift, lane, mes, tick);
    Release(b, shift, lane, mes, tick);
  }

  // ChartWindowPort
  mk::DocData& Doc() override { return doc; }
  mk::GestureSettings Settings() override { return settings; }
  mk::CanvasGeom Canvas() override { return {canvas.Width, canvas.Height, h.Value}; }
  void UpdateCursorPos(double x, double y) override { mk::UpdateCursorPos(doc, Canvas(), x, y); }
  void ObjBackup() override { mk::ObjBackup(doc); }
  void DropLastBackup() override { mk::DropLastBackup(doc); }
  void ObjDeSel(bool keep) override {
    if (doc.SelCount > 0) ++drops;
    mk::ObjDeSel(doc, settings.MaxMeasure, keep);
  }
  void ObjSelect(int x1, int m1, int s1, int x2, int m2, int s2, bool noGrid, bool) override {
    const mk::SelectResult r = mk::ObjSelect(doc, x1, m1, s1, x2, m2, s2, noGrid);
    const std::string f = mk::SelectPreviewFile(doc, r);
    if (!f.empty()) previewFiles.push_back(f);
    if (onSelect) onSelect();
  }
  void Mes_Change(int delta) override { mk::Mes_Change(doc, delta, settings.MaxMeasure); }
  void ObjDraw() override {
    ++draws;
    overlayShown = false;
  }
  void HeadObj() override { ++headDraws; }
  void AutoFocus() override { ++focus; }
  mk::ScrollBarState HScroll() override { return h; }
  mk::ScrollBarState VScroll() override { return v; }
  void SetHScroll(int value) override { h.Value = value; }
  void SetVScroll(int value) override { v.Value = value; }
  void StatusNote(const std::string& text) override { notes.push_back(text); }
  std::vector<std::string> notes;  // status-bar notes, empty ones (clearing) included

  bool SelectMode() override { return selectMode; }
  bool ArrowDown(mk::Arrow a) override { return keys[static_cast<int>(a)]; }
  void PopupEditMenu() override { ++popups; }
  void StartTimer(mk::Axis a, int ms) override { timers[static_cast<int>(a)] = {true, ms}; }
  void StopTimer(mk::Axis a) override { timers[static_cast<int>(a)].running = false; }
  bool AnyTimer() const { return timers[0].running || timers[1].running; }
  void ClearOverlay() override { overlayShown = false; }
  void DrawBand(int x1, int y1, int x2, int y2) override {
    overlayShown = true;
    bands.push_back({x1, y1, x2, y2});
  }
  void DrawPreview(const mk::PlacementPreview& p) override {
    overlayShown = true;
    previews.push_back(p);
  }
  std::optional<std::string> AskTempo(const std::string& prompt, const std::string&) override {
    prompts.push_back(prompt);
    if (onPrompt) onPrompt();
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  void SelectWavRow(int n) override { rows.push_back(n); }
  int ButtonsHeld() override { return held.value_or(7); }
};

}  // namespace seltest
