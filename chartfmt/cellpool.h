// Records of one size taken from large chunks and kept for reuse. A chart holds tens of thousands
// of measure cells of the same size: taking them from the general heap one by one costs more in
// allocator bookkeeping and fresh pages than reading the chart itself. Chunks are kept for the
// life of the program; a record given back is reused by the next one of its size.
#pragma once
#include <cstddef>
#include <memory>
#include <new>

namespace mk {

namespace cellpool {
// A record of size bytes aligned to align (at most 64), and giving it back.
void* Take(std::size_t size, std::size_t align);
void Give(void* p, std::size_t size, std::size_t align) noexcept;
}  // namespace cellpool

// An allocator over the pool, for std::allocate_shared and containers; a large request goes to the
// heap.
template <class T>
struct PoolAllocator {
  using value_type = T;
  PoolAllocator() = default;
  template <class U>
  PoolAllocator(const PoolAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    if (n > (std::size_t{1} << 20) / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(cellpool::Take(n * sizeof(T), alignof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept { cellpool::Give(p, n * sizeof(T), alignof(T)); }
  template <class U>
  bool operator==(const PoolAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace mk
