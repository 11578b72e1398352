// Opening a long chart through the frame, offscreen, the way the command line and a drop open
// one (QueryScriptOpen), up to the window being shown and its canvas painted.
//
// The chart: 999 measures of the shipped "nexal" script (15 lanes, 1295 WAV rows), every front
// and back channel of every lane and the pad group's digit line holding 32 codes in every
// measure. The settings allow 999 measures (scroll speed 8), as a user of such charts has them.
//
// BM_OpenLongChart is the whole open (closing the window again is left out). Its counters:
// the chart files the reader interpreted, the fills of the frame's WAV list and the canvas
// paints, each per open. The parts of an open, each timed alone on the same chart:
//   BM_Part_ProbeRead    the scratch read before any window is taken (TryChartRead; freeing
//                        its record is left out, as the window takes that record);
//   BM_Part_WindowRead   what the window's read costs after the probe (ChartRead of the read
//                        ahead into a freshly loaded window: the file's bytes compared and the
//                        record taken; the window's steps left out);
//   BM_Part_SetThisWin   publishing the chart to the frame's lists and fields;
//   BM_Part_FirstDraw    drawing the canvas and the lane strip and painting them.
#include <benchmark/benchmark.h>

// Before any Qt header: the dense-chart maker has a variable that Qt's keywords would eat.
#include "reader_fixture.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "chartfmt/chartio.h"
#include "chartfmt/globals.h"
#include "chartfmt/scriptread.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1.h"
#include "chartview/picturebox.h"
#include "frame/chartprobe.h"
#include "frame/formp.h"
#include "frame/queryopen.h"
#include "frame/settings.h"
#include "platform/core/desktop.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMeasures = 999;
constexpr int kSlots = 32;

// No dialog may come up while opening: one that does marks the run as failed.
class QuietDesktop : public plat::Desktop {
 public:
  plat::MsgAnswer MessageBox(const std::string& text, const std::string& title, plat::MsgButtons,
                             plat::MsgIcon) override {
    std::fprintf(stderr, "message box: %s: %s\n", title.c_str(), text.c_str());
    ++messages;
    return plat::MsgAnswer::Cancel;
  }
  plat::InputResult InputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
  plat::FileDialogResult OpenFileDialog(const plat::FileDialogRequest&) override { return {}; }
  plat::FileDialogResult SaveFileDialog(const plat::FileDialogRequest&) override { return {}; }
  void Beep() override {}
  void SetWaitCursor(bool) override {}
  bool OpenDocument(const std::string&) override { return false; }
  bool ShowFileProperties(const std::string&) override { return false; }
  bool StartProgram(const std::string&, const std::vector<std::string>&) override { return false; }
  int messages = 0;
};

// Counts the paint events of every chart canvas.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && watched->objectName() == QLatin1String("Picture1")) ++count;
    return false;
  }
  long count = 0;
};

struct Env {
  std::string dir;
  std::string chart;
  std::string title = "long.nxl";
  int16_t script = 0;
  QuietDesktop desktop;
  std::unique_ptr<mk::FormP> frame;
  long listFills = 0;
  PaintCounter paints;
};

void Pump() {
  for (int i = 0; i < 4; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

Env& TheEnv() {
  static Env* env = [] {
    auto* e = new Env;
    char tmpl[] = "/tmp/mirkan-open-bench-XXXXXX";
    if (!mkdtemp(tmpl)) std::abort();
    e->dir = std::string(tmpl) + "/";
    const fs::path src = fs::path(MIRKAN_SOURCE_DIR) / "scripts";
    for (const auto& f : fs::directory_iterator(src))
      if (f.path().extension() == ".dfn") fs::copy_file(f.path(), fs::path(e->dir) / f.path().filename());

    mk::DocData script;
    std::string info;
    if (!mk::ReadScript(e->dir + "nexal.dfn", script, info).ok) {
      std::fprintf(stderr, "the nexal script did not read\n");
      std::exit(1);
    }
    e->chart = e->dir + e->title;
    std::ofstream(e->chart, std::ios::binary) << readerfix::DenseChart(script, kMeasures, kSlots);

    plat::SetDesktop(&e->desktop);
    mk::FrameOptions o;
    o.installDir = e->dir;
    o.soundLibrary = e->dir + "no-such-library.so";
    o.quit = [] {};
    e->frame = std::make_unique<mk::FormP>(o);
    if (!e->frame->MDIForm_Load()) std::exit(1);
    Pump();
    mk::g_ScrollSpeed = 8;  // 24 units a measure: room for 999 measures on the scroll bar
    mk::g_MaxMeasure = 999;
    e->script = mk::CandidateScripts("NXL").at(0);
    QObject::connect(e->frame->List(mk::DefList::Grid1)->model(), &QAbstractItemModel::rowsInserted,
                     [e] { ++e->listFills; });
    qApp->installEventFilter(&e->paints);
    return e;
  }();
  return *env;
}

// Opens the long chart as the command line does; the new window, or nullptr.
mk::Form1* OpenOnce(Env& e) {
  if (e.frame->QueryScriptOpen(e.chart, -1) != 1) return nullptr;
  Pump();
  mk::Form1* w = mk::WinAt(mk::g_CurWin);
  if (!w || w->Doc().FileName != e.title) return nullptr;
  w->Picture1()->repaint();
  w->Picture3()->repaint();
  return w;
}

void CloseAll() {
  for (int i = 1; i < static_cast<int>(mk::g_Wins.size()); ++i)
    if (mk::Form1* w = mk::WinAt(i)) w->CloseWithoutQuestion();
  Pump();
}

void BM_OpenLongChart(benchmark::State& state) {
  Env& e = TheEnv();
  CloseAll();
  long opens = 0, fills = 0, paints = 0;
  const uint64_t readsBefore = mk::ChartFilesRead();
  for (auto _ : state) {
    const long fillsBefore = e.listFills, paintsBefore = e.paints.count;
    mk::Form1* w = OpenOnce(e);
    if (!w) {
      state.SkipWithError("the chart did not open");
      break;
    }
    state.PauseTiming();
    fills += e.listFills - fillsBefore;
    paints += e.paints.count - paintsBefore;
    ++opens;
    w->CloseWithoutQuestion();
    Pump();
    state.ResumeTiming();
  }
  if (opens > 0) {
    state.counters["reads/open"] = static_cast<double>(mk::ChartFilesRead() - readsBefore) / opens;
    state.counters["listfills/open"] = static_cast<double>(fills) / opens;
    state.counters["paints/open"] = static_cast<double>(paints) / opens;
  }
  if (e.desktop.messages != 0) state.SkipWithError("a message box came up");
}
BENCHMARK(BM_OpenLongChart)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Repetitions(5)->ReportAggregatesOnly(true);

// One window with the chart open, for the parts.
mk::Form1* OpenWindow(benchmark::State& state) {
  Env& e = TheEnv();
  CloseAll();
  mk::Form1* w = OpenOnce(e);
  if (!w) state.SkipWithError("the chart did not open");
  return w;
}

void BM_Part_ProbeRead(benchmark::State& state) {
  Env& e = TheEnv();
  CloseAll();
  for (auto _ : state) {
    mk::ChartReadAhead probe;
    const mk::ScriptMessage m = mk::TryChartRead(e.chart, e.title, e.script, &probe);
    if (!m.empty()) state.SkipWithError(m.text.c_str());
    benchmark::DoNotOptimize(probe.doc.Obj.data());
    state.PauseTiming();
    probe = {};  // freeing the record is not part of the read
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Part_ProbeRead)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Part_WindowRead(benchmark::State& state) {
  Env& e = TheEnv();
  mk::Form1* w = OpenWindow(state);
  if (!w) return;
  mk::ChartReadHost* host = mk::SetChartReadHost(nullptr);  // the read alone, not the window's steps
  for (auto _ : state) {
    state.PauseTiming();
    if (!w->RefleshScr())
      state.SkipWithError("the window did not reload");  // as a reused window stands before its read
    mk::ChartReadAhead probe;
    if (!mk::TryChartRead(e.chart, e.title, e.script, &probe).empty()) state.SkipWithError("probe failed");
    state.ResumeTiming();
    const mk::ChartReadResult r = mk::ChartRead(std::move(probe), w->WinNo(), e.script);
    if (!r) state.SkipWithError(mk::ChartReadMessage(r).c_str());
  }
  mk::SetChartReadHost(host);
}
BENCHMARK(BM_Part_WindowRead)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Part_SetThisWin(benchmark::State& state) {
  mk::Form1* w = OpenWindow(state);
  if (!w) return;
  for (auto _ : state) {
    w->SetThisWin();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_Part_SetThisWin)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Part_FirstDraw(benchmark::State& state) {
  mk::Form1* w = OpenWindow(state);
  if (!w) return;
  for (auto _ : state) {
    w->HeadDraw2();
    w->ObjDraw();
    w->Picture1()->repaint();
    w->Picture3()->repaint();
  }
}
BENCHMARK(BM_Part_FirstDraw)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  CloseAll();
  if (TheEnv().frame) {
    TheEnv().frame->All_End();
    TheEnv().frame.reset();
  }
  std::error_code ec;
  fs::remove_all(TheEnv().dir, ec);
  return 0;
}
