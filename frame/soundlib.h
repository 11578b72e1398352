// The playback library zq_tone2, bound by name at start-up. When the library file is missing or
// lacks one of its nine functions the program runs without sound: every call then answers 1
// (failure), as the library itself does without a device.
#pragma once
#include <string>

#include "zq_tone2/zq_tone2.h"

namespace mk {

class SoundLib {
 public:
  SoundLib() = default;
  ~SoundLib();
  SoundLib(const SoundLib&) = delete;
  SoundLib& operator=(const SoundLib&) = delete;

  // Loads the library at path and resolves its functions; false (and no library) on failure,
  // with the reason in Error().
  bool Open(const std::string& path);
  // Releases the device (DSLib_Term) and lets the library go.
  void Close();
  bool Available() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }

  int Init(void* window, int priority, int highQuality);
  int Term();
  int Load(const std::string& path, int allowStream);
  int Play();
  int Stop();
  int CloseSound();
  int Reset();
  int Stream();
  int ChangeStreamSec(unsigned seconds);

 private:
  void* handle_ = nullptr;
  std::string error_;
  decltype(&DSLib_Init) init_ = nullptr;
  decltype(&DSLib_Term) term_ = nullptr;
  decltype(&DSLib_Load) load_ = nullptr;
  decltype(&DSLib_Play) play_ = nullptr;
  decltype(&DSLib_Stop) stop_ = nullptr;
  decltype(&DSLib_Close) close_ = nullptr;
  decltype(&DSLib_Reset) reset_ = nullptr;
  decltype(&DSLib_Stream) stream_ = nullptr;
  decltype(&DSLib_ChangeStreamSec) changeStreamSec_ = nullptr;
};

// File name of the library in the install folder.
inline constexpr const char* kSoundLibraryFile = "libzq_tone2.so";

}  // namespace mk
