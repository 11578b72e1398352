#include "frame/soundlib.h"

#include <dlfcn.h>

namespace mk {

namespace {
template <typename F>
bool Resolve(void* handle, const char* name, F& fn, std::string& error) {
  fn = reinterpret_cast<F>(dlsym(handle, name));
  if (!fn && error.empty()) error = std::string(name) + " が見つかりません";
  return fn != nullptr;
}
}  // namespace

SoundLib::~SoundLib() { Close(); }

bool SoundLib::Open(const std::string& path) {
  Close();
  error_.clear();
  // Kept in memory once loaded: its audio thread and its own libraries must not lose their code.
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!h) {
    const char* e = dlerror();
    error_ = e ? e : "cannot load";
    return false;
  }
  bool ok = Resolve(h, "DSLib_Init", init_, error_);
  ok = Resolve(h, "DSLib_Term", term_, error_) && ok;
  ok = Resolve(h, "DSLib_Load", load_, error_) && ok;
  ok = Resolve(h, "DSLib_Play", play_, error_) && ok;
  ok = Resolve(h, "DSLib_Stop", stop_, error_) && ok;
  ok = Resolve(h, "DSLib_Close", close_, error_) && ok;
  ok = Resolve(h, "DSLib_Reset", reset_, error_) && ok;
  ok = Resolve(h, "DSLib_Stream", stream_, error_) && ok;
  ok = Resolve(h, "DSLib_ChangeStreamSec", changeStreamSec_, error_) && ok;
  if (!ok) {
    dlclose(h);
    return false;
  }
  handle_ = h;
  return true;
}

void SoundLib::Close() {
  if (!handle_) return;
  term_();  // a device left open would keep playing from a library being let go
  dlclose(handle_);
  handle_ = nullptr;
}

int SoundLib::Init(void* window, int priority, int highQuality) {
  return handle_ ? init_(window, priority, highQuality) : 1;
}
int SoundLib::Term() { return handle_ ? term_() : 0; }
int SoundLib::Load(const std::string& path, int allowStream) {
  return handle_ ? load_(path.c_str(), allowStream) : 1;
}
int SoundLib::Play() { return handle_ ? play_() : 1; }
int SoundLib::Stop() { return handle_ ? stop_() : 1; }
int SoundLib::CloseSound() { return handle_ ? close_() : 1; }
int SoundLib::Reset() { return handle_ ? reset_() : 1; }
int SoundLib::Stream() { return handle_ ? stream_() : 1; }
int SoundLib::ChangeStreamSec(unsigned seconds) { return handle_ ? changeStreamSec_(seconds) : 20; }

}  // namespace mk
