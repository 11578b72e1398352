// Hand-built documents for the chart writer's tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace wtest {

struct LaneSpec {
  std::string channel;
  std::string back = "__";
  int16_t part = 1;
  std::string pchannel = "";  // empty: same as channel
  std::string pback = "";
};

// A document as a script with these lanes leaves it: "#" and ":" symbols, three measure
// digits, definition tables sized by the modes, lanes 0..n with measures 0..mesCount.
mk::DocData MakeDoc(const std::vector<LaneSpec>& lanes, int16_t mesCount, int16_t wnum = 1, int16_t bnum = 1);
void AddGroup(mk::DocData& doc, const std::string& name, int16_t lane, const std::string& channel,
              const std::string& channel2 = "");
// Stores a value and recomputes the cell's slot count.
void Put(mk::DocData& doc, int lane, int mes, int tick, int16_t value, bool back = false);

// The lines of the section that starts with the line title, up to its closing blank lines;
// empty when the text has no such section.
std::vector<std::string> SectionLines(const std::string& text, const std::string& title);
// Every line of a CR LF text (the final line end closes the last line).
std::vector<std::string> Lines(const std::string& text);

}  // namespace wtest
