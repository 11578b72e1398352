// The record pool behind the measure cells.
#include "chartfmt/cellpool.h"

#include "platform/core/pages.h"

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <new>
#include <vector>

// In checking builds a record given back is poisoned until it is taken again, so that a use
// after it was given back is still caught.
#if defined(__SANITIZE_ADDRESS__)
#define MK_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MK_POOL_ASAN 1
#endif
#endif
#ifdef MK_POOL_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace mk::cellpool {

namespace {

#ifdef MK_POOL_ASAN
void Poison(void* p, std::size_t n) { __asan_poison_memory_region(p, n); }
void Unpoison(void* p, std::size_t n) { __asan_unpoison_memory_region(p, n); }
#else
void Poison(void*, std::size_t) {}
void Unpoison(void*, std::size_t) {}
#endif

// 256 KiB, its pages present from the start: a chunk costs one call instead of a page fault for
// every 4 KiB the cells fill, and each size in use leaves at most one chunk partly unused.
constexpr std::size_t kChunk = std::size_t{256} << 10;
constexpr std::size_t kMaxAlign = 64;

struct FreeRecord {
  FreeRecord* next;
};

struct SizeClass {
  std::size_t size = 0;
  FreeRecord* free = nullptr;
  char* next = nullptr;
  char* end = nullptr;
};

struct Pools {
  std::mutex mu;
  std::vector<SizeClass> classes;
};

// Never destroyed: cells of static records may be given back during exit.
Pools& Get() {
  static Pools* p = new Pools;
  return *p;
}

std::size_t Rounded(std::size_t size) {
  const std::size_t step = alignof(std::max_align_t);
  return (size + step - 1) / step * step;
}

}  // namespace

void* Take(std::size_t size, std::size_t align) {
  if (align > kMaxAlign || size > kChunk / 8) return ::operator new (size, std::align_val_t{align});
  const std::size_t rounded = Rounded(std::max(size, align));
  Pools& p = Get();
  std::lock_guard lock(p.mu);
  SizeClass* c = nullptr;
  for (SizeClass& k : p.classes)
    if (k.size == rounded) c = &k;
  if (!c) {
    p.classes.push_back(SizeClass{rounded});
    c = &p.classes.back();
  }
  if (c->free) {
    FreeRecord* r = c->free;
    Unpoison(r, sizeof(FreeRecord));
    c->free = r->next;
    Unpoison(r, rounded);
    return r;
  }
  if (c->end - c->next < static_cast<std::ptrdiff_t>(rounded)) {
    void* chunk = plat::MapPrefaultedPages(kChunk);
    if (!chunk) throw std::bad_alloc();
    Poison(chunk, kChunk);
    c->next = static_cast<char*>(chunk);
    c->end = c->next + kChunk;
  }
  void* r = c->next;
  c->next += rounded;
  Unpoison(r, rounded);
  return r;
}

void Give(void* ptr, std::size_t size, std::size_t align) noexcept {
  if (!ptr) return;
  if (align > kMaxAlign || size > kChunk / 8) return ::operator delete (ptr, std::align_val_t{align});
  const std::size_t rounded = Rounded(std::max(size, align));
  Pools& p = Get();
  std::lock_guard lock(p.mu);
  for (SizeClass& k : p.classes) {
    if (k.size != rounded) continue;
    auto* r = static_cast<FreeRecord*>(ptr);
    r->next = k.free;
    k.free = r;
    // The link stays readable to the pool alone: it unpoisons it before reading it.
    Poison(ptr, rounded);
    return;
  }
}

}  // namespace mk::cellpool
