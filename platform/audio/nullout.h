// The null output backend (MIRKAN_AUDIO_BACKEND=null): no sound card, a manual clock.
//
// Nothing is mixed until the test advances the clock; Advance runs the mixer on the
// calling thread for that many output frames and appends them to a recording in the
// output format (the primary buffer's format). Only the device most recently created on
// this backend is driven; with no such device every call does nothing and returns 0/empty.
#pragma once
#include <cstdint>
#include <vector>

#include "waveformat.h"

namespace plat::audio::nullout {

bool IsOpen();
WAVEFORMATEX Format();
// Mixes the given number of output frames; returns the frames mixed.
uint32_t Advance(uint32_t frames);
// Mixes ms milliseconds of output (frames = rate x ms / 1000, rounded down).
uint32_t AdvanceMs(uint32_t ms);
// Every byte mixed since the device was opened, its output format last set, or the last
// TakeRecording; the recording is then cleared.
std::vector<uint8_t> TakeRecording();

}  // namespace plat::audio::nullout
