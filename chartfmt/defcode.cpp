#include "chartfmt/defcode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>

#include "chartfmt/globals.h"
#include "platform/core/ansitext.h"
#include "platform/core/vbnum.h"

namespace mk {

namespace {

constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Value of one character of a base-36 code: "0".."9" their digit, any other character below
// "A" 0, from "A" upward its ANSI code - 55 ("A" 10 .. "Z" 35, later characters 36 and up).
// A double-byte character has a negative 16-bit code and so counts 0.
int CodeCharValue(const std::string& ch) {
  const std::string ansi = plat::EncodeAnsi(ch);
  if (ansi.size() != 1) return 0;
  const int code = static_cast<unsigned char>(ansi[0]);
  if (code < 65) return (code >= '0' && code <= '9') ? code - '0' : 0;
  return code - 55;
}

// Base-16 reading of a whole code (blanks skipped, up to the first other non-digit). A value
// of four digits is a 16-bit pattern ("FFFF" is -1); anything larger gives -1. Negative
// results lie outside every table.
int16_t ReadHexCode(const std::string& text) {
  const double v = plat::LeadingNumber("&H" + text);
  return v <= 0xFFFF ? static_cast<int16_t>(static_cast<uint16_t>(v)) : int16_t{-1};
}

}  // namespace

int16_t DefNumMax(int16_t mode) {
  switch (mode) {
    case 1: return 255;
    case 2: return 575;
    case 3: return 1295;
    default: return 0;
  }
}

std::string DefNumToText(int16_t n, int16_t mode) {
  if (mode == 1) {
    // Last two base-16 digits of the 16-bit form.
    const unsigned u = static_cast<uint16_t>(n) & 0xFF;
    return std::string{kDigits[u >> 4], kDigits[u & 0xF]};
  }
  if (mode == 2 || mode == 3) {
    if (n < 0 || n > 1295) return std::string();  // no two-character code exists
    return std::string{kDigits[n / 36], kDigits[n % 36]};
  }
  return std::string();
}

int16_t DefTextToNum(std::string& text, int16_t mode) {
  const size_t len = plat::CharLen(text);
  if (len < 2) text.insert(0, 2 - len, '0');
  text = plat::AsciiUpper(text);
  if (mode == 1) return ReadHexCode(text);
  if (mode == 2 || mode == 3) {
    const int first = CodeCharValue(plat::CharLeft(text, 1));
    const int last = CodeCharValue(plat::CharRight(text, 1));
    return static_cast<int16_t>(first * 36 + last);  // at most 200 * 36 + 200
  }
  return 0;
}

int16_t Gcd(int16_t a, int16_t b) {
  if (a < 1 || b < 1) return 0;  // no divisor outside positive numbers
  int h = std::max(a, b), l = std::min(a, b);
  while (h % l != 0) {
    const int r = h % l;
    h = l;
    l = r;
  }
  return static_cast<int16_t>(l);
}

int16_t Lcm(int16_t a, int16_t b) {
  const int16_t g = Gcd(a, b);
  if (g == 0) return 0;
  const int64_t m = static_cast<int64_t>(a / g) * b;
  return m > 32767 ? int16_t{0} : static_cast<int16_t>(m);  // 0: no multiple within 16 bits
}

int16_t CellDivision(const MesData& cell) {
  uint16_t acc = 0;
  for (const CellLayer* layer : {&cell.Obj, &cell.BackObj})
    for (const CellLayer::Entry& e : layer->Entries()) {
      if (e.Tick < kTicksPerMeasure && e.Value > 0) acc |= TickSlotBits(e.Tick);
      if (acc == 0xFF) return kTicksPerMeasure;  // every slot already needed
    }
  return DivisionOfBits(acc);
}

int16_t DivisionOfBits(uint16_t bits) {
  if (!(bits & 0x80)) return 0;
  const int twos = std::popcount(static_cast<unsigned>(bits & 0x3F));
  return static_cast<int16_t>((1 << twos) * ((bits & 0x40) ? 3 : 1));
}

int16_t DivisionWith(int16_t division, uint16_t bits) {
  if (division == 0) return DivisionOfBits(bits);
  if (division < 0 || kTicksPerMeasure % division != 0) return -1;
  const bool three = division % 3 == 0;
  const int twos = std::countr_zero(static_cast<unsigned>(three ? division / 3 : division));
  const auto held = static_cast<uint16_t>(0x80 | (three ? 0x40 : 0) | ((1u << twos) - 1));
  return DivisionOfBits(held | bits);
}

bool AnyObject(const CellLayer& layer) {
  for (const CellLayer::Entry& e : layer.Entries())
    if (e.Tick < kTicksPerMeasure && e.Value > 0) return true;
  return false;
}

void RecalcLaneResolution(DocData& doc, int laneFrom, int laneTo, int mesFrom, int mesTo) {
  const int lanes = static_cast<int>(doc.Obj.size());
  laneFrom = std::max(laneFrom, 0);
  laneTo = std::min(laneTo, lanes - 1);
  for (int l = laneFrom; l <= laneTo; ++l) {
    MesList& mes = doc.Obj[l].Mes;
    const int last = std::min(mesTo, static_cast<int>(mes.size()) - 1);
    for (int m = std::max(mesFrom, 0); m <= last; ++m) {
      if (!mes.Stored(m)) continue;  // the empty cell: no objects, Division 0
      const MesData& cell = mes[m];
      const int16_t div = CellDivision(cell);
      // A cell left with nothing at all shares the empty record again.
      const MesData& none = MesList::Empty();
      if (div == 0 && cell.Length == 0 && cell.Obj == none.Obj && cell.BackObj == none.BackObj) {
        mes.Clear(m);
        continue;
      }
      if (cell.Division != div) mes.Write(m).Division = div;
    }
  }
}

void RecalcLaneResolution(int16_t laneFrom, int16_t laneTo, int16_t mesFrom, int16_t mesTo, int16_t win) {
  if (win < 0 || win >= static_cast<int>(g_Docs.size())) return;
  RecalcLaneResolution(g_Docs[win], laneFrom, laneTo, mesFrom, mesTo);
}

}  // namespace mk
