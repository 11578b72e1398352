// A device on the null backend with the high-quality output (44100 Hz, 16-bit, stereo), so
// that sounds in that format are mixed sample for sample, and the expected PCM of ZQ files.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cdsbuffer.h"
#include "cdsound.h"
#include "platform/audio/debugout.h"
#include "platform/audio/nullout.h"
#include "sound_files.h"

namespace zqtest {

// The PCM of all whole blocks of a ZQ file, interleaved.
std::vector<int16_t> DecodeZq(const std::vector<uint8_t>& file);

// A CDSound on the null backend (high quality), with the debug lines captured.
class DeviceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Loads into slot 0 with the given threshold; returns the result.
  int32_t Load(const std::string& path, int32_t allowStream, uint32_t streamSec);
  CDSBuffer* Sound() const { return dev.Slot(0); }
  // As the exported play does: stop, rewind, play once; the recording starts here.
  void PlayFromStart();
  // Mixes ms of output, pumping after every 100 ms, until the pump stops the sound (or
  // maxMs); returns the recording since PlayFromStart.
  std::vector<int16_t> PumpUntilStopped(uint32_t maxMs);
  std::vector<std::string> Lines() const { return capture.Lines(); }

  CDSound dev;
  plat::audio::DebugCapture capture;
  TempDir tmp;
  std::vector<int16_t> recorded;
};

}  // namespace zqtest
