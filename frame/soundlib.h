// The playback library zq_tone2, bound by name at start-up. When the library file is missing or
// lacks one of its nine functions the program runs without sound: every call then answers 1
// (failure), as the library itself does without a device.
#pragma once
#include <atomic>
#include <future>
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
  // Loads the library, opens the device (DSLib_Init with window, no priority, normal quality)
  // and sets the streaming threshold, on a thread of its own, once StartOpening is called:
  // opening a device can take long (probing the sound system) and start-up need not wait for
  // it. Every later call starts the opening if it has not started and waits for it to finish,
  // except Stream, which has nothing to do before a sound is loaded, and Term, which has nothing
  // to release before. When the device cannot be opened, one line says so on standard error.
  void OpenLater(const std::string& path, void* window, unsigned streamSec);
  void StartOpening();
  // True while the opening is waiting to start or at work.
  bool Opening() const { return pending_ || opening_.load(); }
  // Waits for the opening to finish; the answer of its DSLib_Init (-1: library not loaded).
  int WaitOpen();
  // Releases the device (DSLib_Term) and lets the library go.
  void Close();
  bool Available() {
    WaitOpen();
    return handle_ != nullptr;
  }
  const std::string& Error() {
    WaitOpen();
    return error_;
  }

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
  bool OpenNow(const std::string& path);  // Open, with no earlier library left

  std::future<void> opened_;
  bool pending_ = false;
  std::string pendingPath_;
  void* pendingWindow_ = nullptr;
  unsigned pendingStreamSec_ = 0;
  std::atomic<bool> opening_{false};
  int initResult_ = -1;
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
