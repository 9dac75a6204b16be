// Large buffers on a POSIX system: mapped on their own, aligned to 2 MiB and
// offered to the kernel for huge pages, so that filling the line file's image
// (some 20 MB) costs a few page faults instead of one per 4 KiB. Smaller
// requests go to the heap. Where the kernel has no huge pages the advice is
// ignored and the memory behaves as any other.
#pragma once

#include <cstddef>
#include <memory_resource>

class memoria_posix : public std::pmr::memory_resource {
 public:
  // The one instance; it holds no state.
  static memoria_posix& istanza();

 private:
  void* do_allocate(size_t n, size_t allineamento) override;
  void do_deallocate(void* p, size_t n, size_t allineamento) override;
  bool do_is_equal(const std::pmr::memory_resource& altra) const noexcept override { return this == &altra; }
};
