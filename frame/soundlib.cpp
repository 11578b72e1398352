#include "frame/soundlib.h"

#include <dlfcn.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace mk {

namespace {
template <typename F>
bool Resolve(void* handle, const char* name, F& fn, std::string& error) {
  fn = reinterpret_cast<F>(dlsym(handle, name));
  if (!fn && error.empty()) error = std::string(name) + " が見つかりません";
  return fn != nullptr;
}
// One thread for the whole run that opens the device. It never ends: the sound system keeps
// per-thread data of the thread that opened it, which would be lost with a thread that ends.
class OpenerThread {
 public:
  static OpenerThread& Get() {
    static OpenerThread* t = new OpenerThread;  // kept to the end of the run, with its thread
    return *t;
  }
  std::future<void> Run(std::function<void()> fn) {
    std::packaged_task<void()> task(std::move(fn));
    std::future<void> done = task.get_future();
    {
      std::lock_guard<std::mutex> g(mu_);
      tasks_.push_back(std::move(task));
    }
    cv_.notify_one();
    return done;
  }

 private:
  OpenerThread() {
    std::thread([this] {
      for (;;) {
        std::unique_lock<std::mutex> g(mu_);
        cv_.wait(g, [this] { return !tasks_.empty(); });
        std::packaged_task<void()> task = std::move(tasks_.front());
        tasks_.pop_front();
        g.unlock();
        task();
      }
    }).detach();
  }
  std::mutex mu_;
  std::condition_variable cv_;
  std::deque<std::packaged_task<void()>> tasks_;
};

}  // namespace

SoundLib::~SoundLib() { Close(); }

void SoundLib::OpenLater(const std::string& path, void* window, unsigned streamSec) {
  Close();
  pending_ = true;
  pendingPath_ = path;
  pendingWindow_ = window;
  pendingStreamSec_ = streamSec;
}

void SoundLib::StartOpening() {
  if (!pending_) return;
  pending_ = false;
  opening_ = true;
  opened_ = OpenerThread::Get().Run([this, path = pendingPath_, window = pendingWindow_, sec = pendingStreamSec_] {
    if (OpenNow(path)) {
      initResult_ = init_(window, 0, 0);
      changeStreamSec_(sec);
      if (initResult_ == 1)
        std::fprintf(stderr, "Mirkan: サウンドデバイスがありません。音は鳴りません\n");
      else if (initResult_ != 0)
        std::fprintf(stderr, "Mirkan: サウンドデバイスを開けません (段階 %d)。音は鳴りません\n", initResult_);
    }
    opening_ = false;
  });
}

int SoundLib::WaitOpen() {
  StartOpening();
  if (opened_.valid()) opened_.get();
  return handle_ ? initResult_ : -1;
}

bool SoundLib::Open(const std::string& path) {
  Close();
  return OpenNow(path);
}

bool SoundLib::OpenNow(const std::string& path) {
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
  pending_ = false;
  WaitOpen();
  initResult_ = -1;
  if (!handle_) return;
  term_();  // a device left open would keep playing from a library being let go
  dlclose(handle_);
  handle_ = nullptr;
}

int SoundLib::Init(void* window, int priority, int highQuality) {
  WaitOpen();
  return handle_ ? init_(window, priority, highQuality) : 1;
}
int SoundLib::Term() {
  pending_ = false;  // nothing was opened yet: nothing to release
  WaitOpen();
  return handle_ ? term_() : 0;
}
int SoundLib::Load(const std::string& path, int allowStream) {
  WaitOpen();
  return handle_ ? load_(path.c_str(), allowStream) : 1;
}
int SoundLib::Play() {
  WaitOpen();
  return handle_ ? play_() : 1;
}
int SoundLib::Stop() {
  WaitOpen();
  return handle_ ? stop_() : 1;
}
int SoundLib::CloseSound() {
  WaitOpen();
  return handle_ ? close_() : 1;
}
int SoundLib::Reset() {
  WaitOpen();
  return handle_ ? reset_() : 1;
}
int SoundLib::Stream() {
  if (Opening()) return 1;  // nothing is loaded yet
  WaitOpen();
  return handle_ ? stream_() : 1;
}
int SoundLib::ChangeStreamSec(unsigned seconds) {
  WaitOpen();
  return handle_ ? changeStreamSec_(seconds) : 20;
}

}  // namespace mk
