// The box queue of Wu's splitting: a binary max-heap on priority whose sift
// rules are fixed (including which child wins on equal priorities), because the
// palette is read in the order of the heap's array.
#pragma once

#include <cassert>
#include <cstddef>
#include <vector>

namespace quorvane::quant {

// Entry: any type with a `double priority` member.
template <typename Entry>
class BoxQueue {
 public:
  explicit BoxQueue(size_t capacity) { m_heap.reserve(capacity); }
  size_t size() const { return m_heap.size(); }
  const std::vector<Entry>& entries() const { return m_heap; }

  void insert(const Entry& entry) {
    m_heap.push_back(entry);
    siftUp(m_heap.size() - 1, entry);
  }

  Entry takeHighest() {
    assert(!m_heap.empty());
    const Entry last = m_heap.back();
    m_heap.pop_back();
    if (m_heap.empty()) return last;
    const Entry top = m_heap[0];
    // Move the hole to the bottom along the larger children, then sift the former
    // last element up from there.
    const size_t end = m_heap.size();
    size_t hole = 0;
    size_t child = 1;
    while (child + 1 < end) {
      if (m_heap[child].priority <= m_heap[child + 1].priority) ++child;
      m_heap[hole] = m_heap[child];
      hole = child;
      child = 2 * hole + 1;
    }
    if (child + 1 == end) {
      m_heap[hole] = m_heap[child];
      hole = child;
    }
    siftUp(hole, last);
    return top;
  }

 private:
  void siftUp(size_t hole, const Entry& entry) {
    while (hole > 0) {
      const size_t parent = (hole - 1) / 2;
      if (!(m_heap[parent].priority < entry.priority)) break;
      m_heap[hole] = m_heap[parent];
      hole = parent;
    }
    m_heap[hole] = entry;
  }

  std::vector<Entry> m_heap;
};

}  // namespace quorvane::quant
