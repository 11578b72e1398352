// Whole-measure commands at the measure under the pointer (DocData.CurMes): insert an empty
// measure, delete the measure, set its length factor. Each takes the undo snapshot first.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "chartfmt/docdata.h"
#include "editing/edithost.h"

namespace mk {

// Inserts an empty measure at CurMes, after landing the selection; what was at measure k >= CurMes
// moves to k + 1 in every lane (tempo values and length factors with it). Entries the drop leaves
// floating stay in the selection where they are. Refused (false, nothing changed, no snapshot)
// when CurMes is not a measure of the chart or when the chart, with the selection landed, already
// reaches maxMeasure: the last measure would be pushed out.
bool MesInsert(DocData& d, EditHost& host, int maxMeasure);

// Deletes measure CurMes after landing the selection; later measures move one back (entries the
// drop leaves floating stay in the selection where they are). A chart that has a single measure
// once the selection lands (maxMeasure: the limit the host's drop lands it with) keeps it
// unchanged and takes no snapshot. False (nothing done) when CurMes is not a measure of the
// chart.
bool MesDelete(DocData& d, EditHost& host, int maxMeasure = INT16_MAX);

// The length factor an answer stands for: its leading number (a text without one reads 0) to the
// nearest thousandth, in single precision. Nothing (the answer is not stored) for a negative
// factor or one beyond single precision.
std::optional<double> LengthFactor(const std::string& answer);

// The factor as the prompt offers it: three decimals, a leading zero, no grouping ("0.750").
std::string LengthText(double factor);

// Asks for the length factor of measure CurMes (the prompt names the measure), then takes the
// snapshot and stores it on lane 0. An empty answer, a cancel, a factor LengthFactor refuses or
// the factor the measure has already store nothing and take no snapshot. True when a factor was
// stored.
bool MesLength(DocData& d, EditHost& host);

}  // namespace mk
