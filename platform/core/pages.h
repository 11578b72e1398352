// Whole pages from the system for long-lived pools.
#pragma once
#include <cstddef>

namespace plat {

// A zero-filled, writable range of bytes (a multiple of the page size) whose pages are all
// present from the start: one call instead of a fault on every page when the range is first
// written. Large pages are asked for where the system offers them. Null when the system refuses.
void* MapPrefaultedPages(std::size_t bytes);

}  // namespace plat
