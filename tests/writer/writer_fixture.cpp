#include "writer_fixture.h"

#include "chartfmt/defcode.h"
#include "platform/core/textfile.h"

namespace wtest {

mk::DocData MakeDoc(const std::vector<LaneSpec>& lanes, int16_t mesCount, int16_t wnum, int16_t bnum) {
  mk::DocData d;
  d.Fmt.WNum = wnum;
  d.Fmt.BNum = bnum;
  d.Fmt.Ml = 3;
  d.Fmt.GtCount = -1;
  d.Keys.HSymbol = {"#"};
  d.Keys.SSymbol = {":"};
  d.Keys.OSymbol = {""};
  d.Keys.Echo = {""};
  d.Wav.resize(mk::DefNumMax(wnum) + 1);
  d.Bga.resize(mk::DefNumMax(bnum) + 1);
  d.LaneCount = static_cast<int16_t>(lanes.size());
  d.Lane.resize(lanes.size() + 1);
  for (size_t i = 0; i < lanes.size(); ++i) {
    mk::LaneInfo& li = d.Lane[i + 1];
    li.Channel = lanes[i].channel;
    li.BackChannel = lanes[i].back;
    li.PChannel = lanes[i].pchannel.empty() ? li.Channel : lanes[i].pchannel;
    li.PBackChannel = lanes[i].pback.empty() ? li.BackChannel : lanes[i].pback;
    li.Part = lanes[i].part;
  }
  d.Obj.resize(lanes.size() + 1);
  d.MesCount = mesCount;
  for (auto& lane : d.Obj) lane.Mes.resize(mesCount + 1);
  return d;
}

void AddGroup(mk::DocData& doc, const std::string& name, int16_t lane, const std::string& channel,
              const std::string& channel2) {
  doc.Fmt.Gt.push_back({name, lane, channel, channel2.empty() ? channel : channel2});
  doc.Fmt.GtCount = static_cast<int16_t>(doc.Fmt.Gt.size() - 1);
}

void Put(mk::DocData& doc, int lane, int mes, int tick, int16_t value, bool back) {
  mk::MesData& cell = doc.Obj[lane].Mes.Write(mes);
  (back ? cell.BackObj : cell.Obj)[tick] = value;
  cell.Division = mk::CellDivision(cell);
}

std::vector<std::string> Lines(const std::string& text) { return plat::SplitLines(text); }

std::vector<std::string> SectionLines(const std::string& text, const std::string& title) {
  std::vector<std::string> all = Lines(text);
  std::vector<std::string> out;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] != title) continue;
    for (size_t j = i; j < all.size() && !all[j].empty(); ++j) out.push_back(all[j]);
    break;
  }
  return out;
}

}  // namespace wtest
