// Definition-number codes and grid arithmetic.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "chartfmt/docdata.h"

namespace mk {

// Highest definition number of a numbering mode (1: 255, 2: 575, 3: 1295; other: 0).
int16_t DefNumMax(int16_t mode);

std::string DefNumToText(int16_t n, int16_t mode);
// Normalises text in place (left-pad "0" to two characters, upper case) and converts it.
int16_t DefTextToNum(std::string& text, int16_t mode);

int16_t Gcd(int16_t a, int16_t b);
int16_t Lcm(int16_t a, int16_t b);

// Recomputes Division of the cells in the lane and measure ranges of doc (ranges clamped to
// what exists; an empty range does nothing).
void RecalcLaneResolution(DocData& doc, int laneFrom, int laneTo, int mesFrom, int mesTo);
// Same, on g_Docs(win).
void RecalcLaneResolution(int16_t laneFrom, int16_t laneTo, int16_t mesFrom, int16_t mesTo, int16_t win);

// What tick t (0..191) asks of a measure's slot count, as bits: the slot count
// 192 / gcd(192, t) is 2^x * 3^y (x 0..6, y 0..1); bits 0..5 hold x as that many low bits, bit 6
// holds y and bit 7 marks an occupied tick. ORing the bits of several ticks takes the largest x
// and y, which is their least common multiple, so a cell's count is one pass of ORs without a
// division.
inline constexpr std::array<uint16_t, kTicksPerMeasure> kTickSlotBits = [] {
  std::array<uint16_t, kTicksPerMeasure> bits{};
  for (int t = 0; t < kTicksPerMeasure; ++t) {
    int g = kTicksPerMeasure, r = t;  // gcd(192, t)
    while (r != 0) {
      const int k = g % r;
      g = r;
      r = k;
    }
    int count = t == 0 ? 1 : kTicksPerMeasure / g;  // not "slots": a Qt keyword where Qt is included
    uint16_t b = 0x80;
    if (count % 3 == 0) {
      b |= 0x40;
      count /= 3;
    }
    for (int x = 0; (1 << x) < count; ++x) b |= static_cast<uint16_t>(1u << x);
    bits[t] = b;
  }
  return bits;
}();
inline uint16_t TickSlotBits(int t) { return kTickSlotBits[static_cast<size_t>(t)]; }
// The slot count the ORed bits of some ticks ask for (0 when no tick is marked).
int16_t DivisionOfBits(uint16_t bits);
// The slot count of a cell whose count was division once ticks with the ORed bits are added;
// -1 when division is no count a cell can have.
int16_t DivisionWith(int16_t division, uint16_t bits);

// Division of one cell.
int16_t CellDivision(const MesData& cell);
// Whether a layer holds an object (a value above 0) on one of the ticks 0..191.
bool AnyObject(const CellLayer& layer);

}  // namespace mk
