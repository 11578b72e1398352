// A small hand-made script, held in a DocData the way the script reader leaves it, for the
// chart reader's tests, benchmark and fuzzer.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/defcode.h"
#include "chartfmt/docdata.h"
#include "tests/support/header_keys.h"

namespace readerfix {

class DocBuilder {
 public:
  // Keywords TITLE ARTIST GENRE BPM BASEBPM PLAYLEVEL DIFF RANK WAV BMP PREVIEW STAGE,
  // tempo channel TM, length channel LN, path PATH, echo "#ECHOLINE 1", symbols "#" and "%",
  // separator ":", WAV mode 3, BGA mode 1, three measure digits, no lanes yet.
  DocBuilder() {
    mk::ScrKeys& k = d_.Keys;
    testsupport::SetHeaderKeys(k);
    k.Level = {"PLAYLEVEL", "DIFF", "RANK"};
    k.Wall = "STAGE";
    k.Tmpc = "TM";
    k.Mesc = "LN";
    k.Path = "PATH";
    k.Echo = {"", "#ECHOLINE 1"};
    k.EchoCount = 1;
    k.HSymbol = {"#", "%"};
    k.SSymbol = {":"};
    k.OSymbol = {""};
    d_.Fmt.WNum = 3;
    d_.Fmt.BNum = 1;
    d_.Fmt.Ml = 3;
    d_.Lane.resize(1);
  }

  DocBuilder& Lane(const std::string& front, const std::string& back = "__", int16_t part = 1) {
    mk::LaneInfo l;
    l.Name = "L" + std::to_string(d_.Lane.size());
    l.Channel = l.PChannel = front;
    l.BackChannel = l.PBackChannel = back;
    l.Part = part;
    d_.Lane.push_back(l);
    return *this;
  }
  DocBuilder& Group(const std::string& name, int16_t lane, const std::string& channel) {
    d_.Fmt.Gt.push_back(mk::GtEntry{name, lane, channel, channel});
    d_.Fmt.GtCount = static_cast<int16_t>(d_.Fmt.Gt.size() - 1);
    return *this;
  }
  DocBuilder& Modes(int16_t wnum, int16_t bnum) {
    d_.Fmt.WNum = wnum;
    d_.Fmt.BNum = bnum;
    return *this;
  }
  DocBuilder& Ml(int16_t ml) {
    d_.Fmt.Ml = ml;
    return *this;
  }
  DocBuilder& HeadFoot(const std::string& head, const std::string& foot) {
    d_.Fmt.Head = head;
    d_.Fmt.Foot = foot;
    return *this;
  }
  mk::ScrKeys& Keys() { return d_.Keys; }

  // The record as a freshly loaded window holds it: tables sized, every lane with measures
  // 0..mesCount.
  mk::DocData Build(int16_t mesCount = 3) const {
    mk::DocData d = d_;
    d.LaneCount = static_cast<int16_t>(d.Lane.size() - 1);
    d.Wav.assign(mk::DefNumMax(d.Fmt.WNum) + 1, {});
    d.Bga.assign(mk::DefNumMax(d.Fmt.BNum) + 1, {});
    d.Obj.assign(d.LaneCount + 1, {});
    d.MesCount = mesCount;
    for (auto& lane : d.Obj) lane.Mes.resize(mesCount + 1);
    return d;
  }

 private:
  mk::DocData d_;
};

// The test script: lanes 1-3 (channels 11-13, back 21-23), lane 4 (14, no back), the group
// "Pad" on channel 3 over lanes 5-8 (channels 15-17, the fourth lane without a front channel,
// so it is written on "3W"), a picture lane 9 (04, part 88) and three stacked lanes 10-12
// sharing channel 01 and back channel A1 (part 99).
inline DocBuilder StandardScript() {
  DocBuilder b;
  b.Lane("11", "21")
      .Lane("12", "22")
      .Lane("13", "23")
      .Lane("14")
      .Lane("15", "25", 2)
      .Lane("16", "__", 2)
      .Lane("17", "__", 2)
      .Lane("__", "28", 2)
      .Lane("04", "__", 88)
      .Lane("01", "A1", 99)
      .Lane("01", "A1", 99)
      .Lane("01", "A1", 99)
      .Group("Pad", 5, "3");
  return b;
}

// A dense chart text for the lanes of doc: per measure a line of slots codes for every front
// and back channel of every lane (stacked lanes each get their own line of the shared
// channel) and a digit-7 line for every group (CR LF line ends, ASCII).
inline std::string DenseChart(const mk::DocData& doc, int measures, int slots) {
  std::string out = "#TITLE dense\r\n#BPM 150\r\n";
  const int ml = doc.Fmt.Ml;
  static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  auto line = [&](const std::string& mes, const std::string& ch, int seed) {
    out += doc.Keys.HSymbol[0] + mes + ch + doc.Keys.SSymbol[0];
    for (int s = 0; s < slots; ++s) {
      const int v = 1 + (seed + s) % 200;
      out += kDigits[v / 36 % 16];
      out += kDigits[v % 36];
    }
    out += "\r\n";
  };
  for (int m = 0; m < measures; ++m) {
    std::string mes = std::to_string(m);
    mes.insert(0, static_cast<size_t>(std::max<int>(0, ml - static_cast<int>(mes.size()))), '0');
    for (int g = 0; g <= doc.Fmt.GtCount; ++g) line(mes, doc.Fmt.Gt[g].Channel + "7", m * 5 + g);
    for (int l = 1; l <= doc.LaneCount; ++l) {
      const mk::LaneInfo& lane = doc.Lane[l];
      if (lane.Channel != "__") line(mes, lane.Channel, m * 7 + l * 3);
      if (lane.BackChannel != "__") line(mes, lane.BackChannel, m * 11 + l);
    }
  }
  return out;
}

}  // namespace readerfix
