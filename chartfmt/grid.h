// One lane's measure cells, stored copy-on-write: an empty cell costs nothing (every empty cell
// is the one shared empty record), and a copy of the list shares every cell with the original
// until one side writes it. Reading is through a const reference; the only way to a writable
// cell is Write(), which first gives this list a cell of its own.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "chartfmt/cellpool.h"

namespace mk {

constexpr int kTicksPerMeasure = 192;
constexpr int kCellSlots = 193;  // ticks 0..191 plus the spare slot 192

// One layer of a cell: the values of ticks 0..192, read and written by tick like an array, but
// holding only the ticks that are not 0 (in tick order), so that a cell costs what its objects
// need. Writing 0 removes a tick's entry.
class CellLayer {
 public:
  struct Entry {
    uint8_t Tick;
    int16_t Value;
    bool operator==(const Entry&) const = default;
  };

  // A writable tick: reads as its value, and assigning writes it.
  class Ref {
   public:
    operator int16_t() const { return l_.Get(t_); }
    Ref& operator=(int16_t v) {
      l_.Set(t_, v);
      return *this;
    }
    Ref& operator=(const Ref& o) { return *this = static_cast<int16_t>(o); }
    Ref(const Ref&) = default;

   private:
    friend class CellLayer;
    Ref(CellLayer& l, size_t t) : l_(l), t_(t) {}
    CellLayer& l_;
    size_t t_;
  };

  int16_t operator[](size_t t) const { return Get(t); }
  Ref operator[](size_t t) { return Ref(*this, t); }
  static constexpr size_t size() { return kCellSlots; }

  int16_t Get(size_t t) const;
  void Set(size_t t, int16_t v);
  // The ticks that hold a value, in tick order (no entry holds 0).
  using EntryList = std::vector<Entry, PoolAllocator<Entry>>;
  const EntryList& Entries() const { return e_; }
  bool Any() const { return !e_.empty(); }
  // Room for n entries in all, so that writing that many ticks allocates once.
  void Reserve(size_t n) { e_.reserve(n); }
  // Replaces the value of every tick below 192 by f(value); a tick given 0 loses its entry.
  // True when one did.
  template <class F>
  bool Transform(F f) {
    bool erased = false;
    size_t out = 0;
    for (Entry e : e_) {
      if (e.Tick < kTicksPerMeasure) e.Value = f(e.Value);
      if (e.Value == 0) {
        erased = true;
        continue;
      }
      e_[out++] = e;
    }
    e_.resize(out);
    return erased;
  }
  void Clear() { e_.clear(); }
  bool operator==(const CellLayer&) const = default;

 private:
  EntryList e_;
};

// One lane in one measure.
struct MesData {
  CellLayer Obj;      // front layer by tick
  CellLayer BackObj;  // back layer by tick
  double Length = 0;                          // measure length factor (lane 0); 0 = normal
  int16_t Division = 0;                       // slots per measure when written; 0 = empty
  bool operator==(const MesData&) const = default;
};

class MesList {
 public:
  // Measures per block: a block of cell references is shared and copied as one.
  static constexpr size_t kBlock = 64;

  MesList() = default;
  explicit MesList(size_t n) { resize(n); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // The cell of measure m (m < size()); the shared empty record where nothing was written.
  const MesData& operator[](size_t m) const {
    if (!blocks_ || m / kBlock >= blocks_->size()) return Empty();
    const Block* b = (*blocks_)[m / kBlock].get();
    if (!b) return Empty();
    const MesData* c = (*b)[m % kBlock].get();
    return c ? *c : Empty();
  }

  // A writable cell of measure m (m < size()), owned by this list alone: the block list, the
  // block and the cell are copied first where another list (an undo level) shares them.
  MesData& Write(size_t m);

  // Makes measure m empty again without copying anything.
  void Clear(size_t m);

  // Measures 0..n-1; cells past the old end start empty, cells past the new end are dropped.
  void resize(size_t n);

  // One more measure: an empty one at m (m <= size()), the cells from m on one measure later.
  // Erase(m) (m < size()) removes measure m and moves the later cells one measure back. Both move
  // the cell references, never a cell's contents, so the moved cells stay shared with the undo
  // levels.
  void Insert(size_t m);
  void Erase(size_t m);
  void clear() { resize(0); }

  // Cells that hold a record of their own (not the shared empty one).
  size_t StoredCells() const;
  // True when measure m holds a record of its own.
  bool Stored(size_t m) const;
  // True when the cell of measure m is the same record as that of other's measure m.
  bool SharesCell(const MesList& other, size_t m) const { return &(*this)[m] == &other[m]; }

  // The same, checked: throws std::out_of_range past the end.
  const MesData& at(size_t m) const;

  static const MesData& Empty();

  class const_iterator {
   public:
    using value_type = MesData;
    using difference_type = std::ptrdiff_t;
    using reference = const MesData&;
    const_iterator(const MesList* l, size_t i) : l_(l), i_(i) {}
    reference operator*() const { return (*l_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }
   private:
    const MesList* l_;
    size_t i_;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size_}; }

  // Equal contents, measure by measure.
  bool operator==(const MesList& o) const;

 private:
  using Block = std::array<std::shared_ptr<MesData>, kBlock>;
  using Blocks = std::vector<std::shared_ptr<Block>>;
  // Measures below this may hold a record of their own.
  size_t StoredEnd() const;
  // The reference of measure m, and setting it (the block list and the block un-shared first).
  std::shared_ptr<MesData> Ref(size_t m) const;
  void SetRef(size_t m, std::shared_ptr<MesData> cell);
  size_t size_ = 0;
  std::shared_ptr<Blocks> blocks_;  // blocks up to the last one written; null: all empty
};

}  // namespace mk
