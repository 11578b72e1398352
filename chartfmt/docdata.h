// The per-window document record: the chart, a private copy of its definition script, and the
// window's editing and view state. Every subsystem reads and writes the fields directly.
//
// Conventions: int16 fields are int16_t; flags are int16_t holding 0 (false) or -1 (true);
// strings are UTF-8; an array "with upper bound n" is a vector of n + 1 elements (index 0..n),
// and tables numbered from 1 leave element 0 empty.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/grid.h"
#include "platform/core/filestamp.h"

namespace mk {

constexpr int16_t kOpenObjectBase = 10000;
constexpr int16_t kPartBga = 88;      // lanes numbered with the BGA list
constexpr int16_t kPartStacked = 99;  // lanes sharing one channel, filled in turn

// One lane's measures (upper bound MesCount). Cells are read through Mes[m] and written only
// through Mes.Write(m), which keeps the undo levels' cells as they were.
struct LaneMes {
  MesList Mes;
  bool operator==(const LaneMes&) const = default;
};

struct Rgb {
  int16_t R = 0, G = 0, B = 0;
  bool operator==(const Rgb&) const = default;
};

// One lane of the script's lane block.
struct LaneInfo {
  std::string Name;
  std::string Label;
  std::string Channel;       // "__" = no channel
  std::string BackChannel;   // "__" = no channel
  std::string PChannel;      // player scratch file, front
  std::string PBackChannel;  // player scratch file, back
  Rgb Color1;                // background
  Rgb Color2;                // front objects
  Rgb Color3;                // back objects
  int16_t Part = 0;
  int16_t Hdr = 0;
  int16_t Hdr2 = 0;
  bool operator==(const LaneInfo&) const = default;
};

// One WAV or BGA definition.
struct DefEntry {
  std::string File;
  std::string Comment;
  bool operator==(const DefEntry&) const = default;
};

// One lane group ("#GT ").
struct GtEntry {
  std::string Name;
  int16_t Lane = 0;
  std::string Channel;
  std::string Channel2;
  bool operator==(const GtEntry&) const = default;
};

// The table a selected object's number counts from (SelEntry.Table).
constexpr int16_t kSelTableLane = 0;  // the definition lane it lies on decides
constexpr int16_t kSelTableWav = 1;
constexpr int16_t kSelTableBga = 2;
constexpr int16_t kSelTableNone = 3;  // a tempo value, or not known: no table

// One selected object.
struct SelEntry {
  int16_t Lane = 0;
  int16_t Mes = 0;
  int16_t Tick = 0;
  int16_t Value = 0;
  int16_t Back = 0;  // 0 front layer, -1 back layer
  // kSelTableLane while the entry lies on a definition lane (1..LaneCount). Off them (the tempo
  // lane, left of lane 1, right of the last lane) the table of the last definition lane it lay
  // on, so that renumbering a definition reaches it and it lands back with the same file.
  int16_t Table = kSelTableLane;
  bool operator==(const SelEntry&) const = default;
};

// The script's format settings.
struct ScrFormat {
  std::vector<std::string> Ext;
  std::string Head;
  std::string Foot;
  int16_t WNum = 0;
  int16_t BNum = 0;
  std::array<int16_t, 3> Lv{};
  std::vector<GtEntry> Gt;  // entries 0..GtCount
  int16_t GtCount = -1;
  int16_t Ml = 0;
  int16_t Bright = 0;
  std::string Viewer;
  std::string VStart;
  std::string VPlay;
  std::string VPlayH;
  std::string VStop;
  std::array<std::string, 3> Lvn;
  std::vector<std::string> BExt;
  int16_t BlType = 0;
  bool operator==(const ScrFormat&) const = default;
};

// The script's keywords and symbol sets (for chart files, and for the player scratch file).
struct ScrKeys {
  std::string Title;
  std::string Artist;
  std::string Genre;
  std::string Bpm;
  std::string BaseBpm;
  std::array<std::string, 3> Level;
  std::string Wav;
  std::string Bga;
  std::string Pre;
  std::string Wall;
  std::string Tmpc;
  std::string Mesc;
  std::string Path;
  std::vector<std::string> Echo;  // entries 1..EchoCount
  int16_t EchoCount = 0;
  std::vector<std::string> HSymbol;  // entries 0..n-1, one character each
  std::vector<std::string> SSymbol;  // entries 0..n-1
  std::vector<std::string> OSymbol;  // entries 1..n (entry 0 empty)
  bool operator==(const ScrKeys&) const = default;
};

struct DocData {
  // The grid by lane 0..LaneCount, then measure 0..MesCount. The undo levels share every cell
  // with it that has not been written since they were taken.
  std::vector<LaneMes> Obj;
  std::vector<LaneMes> UndoObj;
  std::vector<LaneMes> UndoObj2;
  std::vector<SelEntry> Sel;  // entries 1..SelCount
  std::vector<SelEntry> UndoSel;
  std::vector<SelEntry> UndoSel2;
  int32_t UndoSelCount = 0;
  int32_t UndoSelCount2 = 0;
  int16_t UndoDirty = 0;
  int16_t UndoDirty2 = 0;
  int16_t UndoMesCount = 0;  // the measure count each level's grid was taken with
  int16_t UndoMesCount2 = 0;
  int16_t UndoOn2 = 0;         // UndoOn before the newest snapshot was taken
  std::vector<LaneInfo> Lane;  // entries 1..LaneCount
  std::vector<DefEntry> Wav;   // 0..255/575/1295; entry 0 unused
  std::vector<DefEntry> Bga;   // 0..255/575/1295; entry 0 is a real definition ("00")
  ScrFormat Fmt;
  ScrKeys Keys;
  ScrKeys PKeys;
  int16_t LaneCount = 0;
  int16_t MaxPart = 0;
  int16_t PartCount = 0;
  int16_t MesCount = 0;
  double Zoom = 1.0;
  int16_t ScrlUp = -1;
  int16_t ScriptNo = 0;
  int32_t ScrollPos = 0;
  int16_t GridDiv = 16;
  double Bpm = 0;
  double BaseBpm = 0;
  std::string Title;
  std::string Artist;
  std::string Genre;
  std::string Wall;
  std::string Pre;
  std::array<int16_t, 3> Level{};
  int32_t ObjReadCount = 0;
  int16_t CurDef = 1;
  // The one folder of every definition file (ends in the path separator). It starts as the
  // chart's own folder; choosing a definition or header file from another folder moves it.
  std::string Folder;
  std::string FileName;
  // The chart's own file: the path it was read from or last written to; empty for an untitled
  // chart. Saves, the one-window check and the changed-on-disk check go by it, never by Folder.
  std::string FilePath;
  plat::FileStamp Stamp;  // the chart file as this window last read or wrote it
  int16_t Dirty = 0;
  int16_t CurMes = 0;
  int16_t CurStep = 0;
  int16_t CurLane = 0;
  int16_t CurY = 0;
  int16_t CurX = 0;
  int16_t CurTick = 0;
  int16_t UndoOn = 0;
  int32_t SelCount = 0;
  int16_t CanvasWallMode = 1;
  std::string CanvasWallFile;
  int16_t CanvasWallOn = 0;
  int16_t DefTab = 0;
  int16_t BgaPreview = 0;
  std::string FreeText;  // uninterpreted chart lines, each followed by CR LF
};

// The value of a field after a window reset is its member initialiser above, except the fields
// the reset keeps (ScrollPos, CurMes..CurTick, ObjReadCount, ScriptNo).

// True when the definition files' names, as a save writes them, are found beside the chart's own
// file: the chart is untitled, has no definitions' folder, or that folder is the chart's.
bool DefinitionsBesideChart(const DocData& d);

// Sizes every lane's measure array to measures 0..mesCount, keeping contents.
void ResizeMeasures(DocData& d, int16_t mesCount);

// True when (lane, mes) names an existing cell.
inline bool HasCell(const DocData& d, int lane, int mes) {
  return lane >= 0 && lane < static_cast<int>(d.Obj.size()) && mes >= 0 &&
         mes < static_cast<int>(d.Obj[lane].Mes.size());
}

// How many entries the floating selection holds: entries 1..SelCount of Sel, never more than Sel
// has room for.
inline int SelectedEntryCount(const DocData& d) {
  return std::max(0, std::min<int>(d.SelCount, static_cast<int>(d.Sel.size()) - 1));
}

// The table a lane's numbers count from: kSelTableWav or kSelTableBga for lanes 1..LaneCount
// (BGA for part 88), kSelTableNone for the tempo lane and any lane outside the chart.
int16_t LaneTable(const DocData& d, int lane);

// The table e's number counts from: its lane's on a definition lane, else the one it carries.
int16_t SelEntryTable(const DocData& d, const SelEntry& e);

// Puts e on lane. table is the table its number counted from before (SelEntryTable of the entry
// where it was); an entry that lands off the definition lanes keeps it.
void SetSelLane(const DocData& d, SelEntry& e, int16_t lane, int16_t table);

}  // namespace mk
