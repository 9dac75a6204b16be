// A memory resource for tests: the heap, with every request counted, so a
// test can see where a buffer came from and that it went back.
#pragma once

#include <cstddef>
#include <memory_resource>

class memoria_contata : public std::pmr::memory_resource {
 public:
  int allocazioni = 0;
  int restituzioni = 0;
  size_t byte_in_uso = 0;

 private:
  void* do_allocate(size_t n, size_t allineamento) override {
    void* p = std::pmr::new_delete_resource()->allocate(n, allineamento);
    ++allocazioni;
    byte_in_uso += n;
    return p;
  }
  void do_deallocate(void* p, size_t n, size_t allineamento) override {
    ++restituzioni;
    byte_in_uso -= n;
    std::pmr::new_delete_resource()->deallocate(p, n, allineamento);
  }
  bool do_is_equal(const std::pmr::memory_resource& altra) const noexcept override { return this == &altra; }
};
