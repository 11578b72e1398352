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

// Division of one cell.
int16_t CellDivision(const MesData& cell);
// Whether a layer holds an object (a value above 0) on one of the ticks 0..191.
bool AnyObject(const CellLayer& layer);

}  // namespace mk
