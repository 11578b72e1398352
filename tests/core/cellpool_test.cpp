#include "chartfmt/cellpool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "chartfmt/grid.h"

namespace mk {
namespace {

struct alignas(64) Wide {
  char bytes[200];
};

// Live records never overlap, across several chunks, and a record given back is the next one
// taken of its size.
TEST(CellPool, RecordsAreDistinctAlignedAndReused) {
  constexpr size_t kSize = 1000;
  std::vector<unsigned char*> live;
  for (int i = 0; i < 5000; ++i) {  // about 5 MB: more than two chunks
    auto* p = static_cast<unsigned char*>(cellpool::Take(kSize, 8));
    ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u);
    std::memset(p, i & 0xFF, kSize);
    live.push_back(p);
  }
  for (size_t i = 0; i < live.size(); ++i)
    ASSERT_TRUE(live[i][0] == (i & 0xFF) && live[i][kSize - 1] == (i & 0xFF)) << i;
  unsigned char* back = live[1234];
  cellpool::Give(back, kSize, 8);
  EXPECT_EQ(cellpool::Take(kSize, 8), back);
  for (unsigned char* p : live) cellpool::Give(p, kSize, 8);

  PoolAllocator<Wide> a;
  Wide* w = a.allocate(1);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(w) % 64, 0u);
  a.deallocate(w, 1);
  Wide* many = a.allocate(3);  // arrays come from the heap
  many[2].bytes[199] = 1;
  a.deallocate(many, 3);
  void* big = cellpool::Take(size_t{1} << 20, 8);  // too large for a chunk's share: the heap
  static_cast<char*>(big)[(size_t{1} << 20) - 1] = 1;
  cellpool::Give(big, size_t{1} << 20, 8);
}

TEST(CellPool, ThreadsTakeAndGiveWithoutSharingARecord) {
  constexpr int kThreads = 4, kRounds = 2000;
  std::vector<std::thread> threads;
  std::vector<int> bad(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &bad] {
      std::vector<int*> mine;
      for (int r = 0; r < kRounds; ++r) {
        int* p = static_cast<int*>(cellpool::Take(64, 8));
        *p = t * kRounds + r;
        mine.push_back(p);
        if (r % 3 == 2) {  // give some back while the others keep taking
          for (int k = 0; k < 2; ++k) {
            cellpool::Give(mine.back(), 64, 8);
            mine.pop_back();
          }
        }
      }
      std::set<int> seen;
      for (int* p : mine) bad[t] += !seen.insert(*p).second || *p / kRounds != t;
      for (int* p : mine) cellpool::Give(p, 64, 8);
    });
  }
  for (std::thread& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(bad[t], 0) << t;
}

// Cells shared by two lists live as long as either holds them.
TEST(CellPool, ASharedCellOutlivesTheListThatWroteIt) {
  MesList copy;
  {
    MesList list(4);
    list.Write(2).Obj[5] = 7;
    copy = list;
    list.Write(2).Obj[5] = 8;  // the list takes a cell of its own; the copy keeps the first
  }
  MesList other(4);
  other.Write(2).Obj[5] = 9;  // may reuse the record the list gave back, never the shared one
  EXPECT_EQ(copy[2].Obj[5], 7);
  EXPECT_EQ(other[2].Obj[5], 9);
}

#if defined(__SANITIZE_ADDRESS__)
// The checking build still catches a record used after it was given back.
TEST(CellPoolDeathTest, AUseAfterGivingBackIsCaught) {
  EXPECT_DEATH(
      {
        auto* p = static_cast<char*>(cellpool::Take(100, 8));
        cellpool::Give(p, 100, 8);
        *static_cast<volatile char*>(p + 50) = 1;
      },
      "use-after-poison");
}
#endif

}  // namespace
}  // namespace mk
