// One lane's measure cells, stored copy-on-write: an empty cell costs nothing (every empty cell
// is the one shared empty record), and a copy of the list shares every cell with the original
// until one side writes it. Reading is through a const reference; the only way to a writable
// cell is Write(), which first gives this list a cell of its own.
#pragma once
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

#include "chartfmt/cellpool.h"

namespace mk {

constexpr int kTicksPerMeasure = 192;
constexpr int kCellSlots = 193;  // ticks 0..191 plus the spare slot 192

// One layer of a cell: the values of ticks 0..192, read and written by tick like an array, but
// holding only the ticks that are not 0 (in tick order), so that a cell costs what its objects
// need. Writing 0 removes a tick's entry. Up to kInline entries are held in the layer itself;
// more take one record of the cell pool, sized to them.
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

  // The entries of a layer as they are now; valid until the layer is next written.
  class EntryList {
   public:
    EntryList() = default;
    EntryList(const Entry* first, size_t n) : b_(first), n_(n) {}
    template <class A>
    EntryList(const std::vector<Entry, A>& v) : b_(v.data()), n_(v.size()) {}
    const Entry* begin() const { return b_; }
    const Entry* end() const { return b_ + n_; }
    const Entry* data() const { return b_; }
    size_t size() const { return n_; }
    bool empty() const { return n_ == 0; }
    const Entry& operator[](size_t i) const { return b_[i]; }
    const Entry& front() const { return b_[0]; }
    const Entry& back() const { return b_[n_ - 1]; }
    friend bool operator==(const EntryList& a, const EntryList& b) {
      if (a.n_ != b.n_) return false;
      for (size_t i = 0; i < a.n_; ++i)
        if (!(a.b_[i] == b.b_[i])) return false;
      return true;
    }

   private:
    const Entry* b_ = nullptr;
    size_t n_ = 0;
  };

  // Entries held without a record of their own.
  static constexpr size_t kInline = 3;

  CellLayer() {}
  CellLayer(const CellLayer& o);
  CellLayer(CellLayer&& o) noexcept;
  CellLayer& operator=(const CellLayer& o);
  CellLayer& operator=(CellLayer&& o) noexcept;
  ~CellLayer() { Release(); }

  int16_t operator[](size_t t) const { return Get(t); }
  Ref operator[](size_t t) { return Ref(*this, t); }
  static constexpr size_t size() { return kCellSlots; }

  int16_t Get(size_t t) const;
  void Set(size_t t, int16_t v);
  // The ticks that hold a value, in tick order (no entry holds 0).
  EntryList Entries() const { return {Data(), n_}; }
  bool Any() const { return n_ != 0; }
  // Room for n entries in all (at most one per slot), so that writing that many ticks
  // allocates at most once.
  void Reserve(size_t n);
  // Writes n entries at once, as Set would one by one: their ticks strictly rising and below
  // kCellSlots, their values not 0. Allocates at most once.
  void Merge(const Entry* in, size_t n);
  // Replaces the value of every tick below 192 by f(value); a tick given 0 loses its entry.
  // True when one did.
  template <class F>
  bool Transform(F f) {
    bool erased = false;
    size_t out = 0;
    Entry* e = Data();
    for (size_t i = 0; i < n_; ++i) {
      Entry x = e[i];
      if (x.Tick < kTicksPerMeasure) x.Value = f(x.Value);
      if (x.Value == 0) {
        erased = true;
        continue;
      }
      e[out++] = x;
    }
    n_ = static_cast<uint8_t>(out);
    return erased;
  }
  void Clear() { n_ = 0; }
  bool operator==(const CellLayer& o) const { return Entries() == o.Entries(); }

  // Bytes this layer holds outside itself (its record of the pool, if any).
  size_t HeapBytes() const { return Inline() ? 0 : cap_ * sizeof(Entry); }

 private:
  bool Inline() const { return cap_ <= kInline; }
  Entry* Data() { return Inline() ? in_ : heap_; }
  const Entry* Data() const { return Inline() ? in_ : heap_; }
  // Moves the entries to room for exactly cap entries (cap >= n_).
  void Regrow(size_t cap);
  void Release() noexcept;
  // Takes o's entries (this layer holding none); o is left empty.
  void Steal(CellLayer& o) noexcept;

  union {
    Entry in_[kInline] = {};
    Entry* heap_;
  };
  uint8_t n_ = 0;
  uint8_t cap_ = kInline;  // at most kInline: the entries are in in_
};

// One lane in one measure.
struct MesData {
  CellLayer Obj;         // front layer by tick
  CellLayer BackObj;     // back layer by tick
  double Length = 0;     // measure length factor (lane 0); 0 = normal
  int16_t Division = 0;  // slots per measure when written; 0 = empty
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
  // Bytes of the records of measures' cells (with their entries' records) and of the block
  // arrays this list holds, each counted once however many lists share it: seen holds what was
  // counted already.
  size_t HeldBytes(std::unordered_set<const void*>& seen) const;
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
  // A cell and its reference count, one record of the cell pool; CellRef shares it.
  struct Record {
    MesData cell;
    std::atomic<uint32_t> refs{1};
  };
  class CellRef {
   public:
    CellRef() = default;
    CellRef(const CellRef& o) noexcept : r_(o.r_) { Retain(); }
    CellRef(CellRef&& o) noexcept : r_(o.r_) { o.r_ = nullptr; }
    CellRef& operator=(CellRef o) noexcept {
      std::swap(r_, o.r_);
      return *this;
    }
    ~CellRef() { reset(); }
    // A new record holding a copy of cell.
    static CellRef Make(const MesData& cell);
    MesData* get() const { return r_ ? &r_->cell : nullptr; }
    MesData& operator*() const { return r_->cell; }
    explicit operator bool() const { return r_ != nullptr; }
    bool Shared() const { return r_ && r_->refs.load(std::memory_order_acquire) > 1; }
    void reset() noexcept;

   private:
    void Retain() noexcept {
      if (r_) r_->refs.fetch_add(1, std::memory_order_relaxed);
    }
    Record* r_ = nullptr;
  };
  using Block = std::array<CellRef, kBlock>;
  using Blocks = std::vector<std::shared_ptr<Block>>;
  // Measures below this may hold a record of their own.
  size_t StoredEnd() const;
  // The reference of measure m, and setting it (the block list and the block un-shared first).
  CellRef Ref(size_t m) const;
  void SetRef(size_t m, CellRef cell);
  size_t size_ = 0;
  std::shared_ptr<Blocks> blocks_;  // blocks up to the last one written; null: all empty
};

}  // namespace mk
