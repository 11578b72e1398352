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
    if (text.size() > kDebugLineMax) text = text.substr(0, kDebugLineMax);
    CaptureState& c = Capture();
    {
        std::lock_guard<std::mutex> g(c.mu);
        if (c.active) c.calls.emplace_back(text);
    }
    if (StderrWanted()) {
        std::fwrite(text.data(), 1, text.size(), stderr);
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
