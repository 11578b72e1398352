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

namespace mk {

constexpr int kTicksPerMeasure = 192;
constexpr int kCellSlots = 193;  // ticks 0..191 plus the spare slot 192

// One lane in one measure.
struct MesData {
  std::array<int16_t, kCellSlots> Obj{};      // front layer by tick
  std::array<int16_t, kCellSlots> BackObj{};  // back layer by tick
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
