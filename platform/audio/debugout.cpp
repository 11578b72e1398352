#include "debugout.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace plat::audio {
namespace {

struct CaptureState {
  std::mutex mu;
  bool active = false;
  std::vector<std::string> calls;
};

CaptureState& Capture() {
  static CaptureState s;
  return s;
}

bool StderrWanted() {
  const char* v = std::getenv("MIRKAN_AUDIO_DEBUG");
  return v && *v && std::strcmp(v, "0") != 0;
}

}  // namespace

void DebugOutput(std::string_view text) {
  std::string piece(text.substr(0, kDebugLineMax));
  // A line that is cut still ends its line, so that the next one starts on its own.
  if (text.size() > kDebugLineMax && text.back() == '\n') piece.back() = '\n';
  CaptureState& c = Capture();
  {
    std::lock_guard<std::mutex> g(c.mu);
    if (c.active) c.calls.push_back(piece);
  }
  if (StderrWanted()) {
    std::fwrite(piece.data(), 1, piece.size(), stderr);
    std::fflush(stderr);
  }
}

DebugCapture::DebugCapture() {
  CaptureState& c = Capture();
  std::lock_guard<std::mutex> g(c.mu);
  c.active = true;
  c.calls.clear();
}

DebugCapture::~DebugCapture() {
  CaptureState& c = Capture();
  std::lock_guard<std::mutex> g(c.mu);
  c.active = false;
  c.calls.clear();
}

std::vector<std::string> DebugCapture::Calls() const {
  CaptureState& c = Capture();
  std::lock_guard<std::mutex> g(c.mu);
  return c.calls;
}

std::string DebugCapture::Text() const {
  std::string all;
  for (const std::string& s : Calls()) all += s;
  return all;
}

std::vector<std::string> DebugCapture::Lines() const {
  std::vector<std::string> lines;
  std::string all = Text();
  size_t start = 0;
  while (start < all.size()) {
    size_t nl = all.find('\n', start);
    size_t end = nl == std::string::npos ? all.size() : nl + 1;
    lines.push_back(all.substr(start, end - start));
    start = end;
  }
  return lines;
}

void DebugCapture::Clear() {
  CaptureState& c = Capture();
  std::lock_guard<std::mutex> g(c.mu);
  c.calls.clear();
}

}  // namespace plat::audio
