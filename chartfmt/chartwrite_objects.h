// Pieces the chart writer's sections share: definition codes, measure texts, channel lines.
// Internal to the writer (chartwrite.cpp, chartwrite_objects.cpp).
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk::chartwrite {

// Two-character codes of one numbering mode, looked up instead of converted per slot.
class CodeTable {
 public:
  explicit CodeTable(int16_t mode);
  // Appends the code of a cell value: "00" for an empty slot; an open object is written with
  // its definition number (value - 10000).
  void Append(std::string& out, int value) const;
  // The two characters of the code of a cell value, packed as they lie in memory; 0 when the
  // table has none (left to DefNumToText).
  uint16_t Pair(int16_t value) const { return pairs_[static_cast<uint16_t>(value)]; }
  // The same by cell value as 16 bits, for loops that write text as they read it.
  const uint16_t* Pairs() const { return pairs_; }

 private:
  int16_t mode_;
  const uint16_t* pairs_;  // by cell value as 16 bits, open objects included (65536 entries)
};

// The state of one write: the document, the output text and the symbols every line uses.
struct Ctx {
  const DocData& doc;
  bool scratch;
  std::string& out;
  std::string h;  // first command symbol
  std::string s;  // first separator symbol
  int ml;         // digits of the measure field
  CodeTable wav;
  CodeTable bga;

  // When set, takes the text made so far whenever it has grown past kSpillBytes at the end of
  // a channel line, and empties it: a file is written piece by piece.
  std::function<void(std::string&)> spill;
  static constexpr size_t kSpillBytes = size_t{1} << 20;

  Ctx(const DocData& d, bool scr, std::string& o);
  // Command symbol, measure field, channel and separator of a channel line.
  void LineStart(int measure, const std::string& channel);
  void LineEnd() {
    out += "\r\n";
    if (spill && out.size() >= kSpillBytes) {
      spill(out);
      out.clear();
    }
  }
};

// The cell of lane in measure, or nullptr when the document has none.
const MesData* CellAt(const DocData& doc, int lane, int mes);
// Slots the cell needs, recomputed from its objects (0 for a missing or empty cell).
int CellSlots(const DocData& doc, int lane, int mes);
// Appends the n-slot text of one layer; true when a slot held an object.
bool AppendSlots(std::string& text, const CellLayer& layer, int n, const CodeTable& codes);

// Bytes the object sections of doc take, roughly (to size the output once).
size_t ObjectSectionsEstimate(const DocData& doc);
// The group sections, then the part sections.
void WriteObjectSections(Ctx& c);

}  // namespace mk::chartwrite
