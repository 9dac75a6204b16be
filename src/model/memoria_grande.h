// An allocator for the model's one large table, the plane coordinates (some
// 18 MB at the longest line). Blocks of 2 MiB or more are aligned to 2 MiB and,
// on Linux, offered to the kernel for huge pages: filling the table then
// costs a few page faults instead of some 4500, a third of the whole build.
// The offer is a hint; without huge pages the block works as any other.
#pragma once

#include <cstddef>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

template <typename T>
struct allocatore_grande {
  using value_type = T;

  static constexpr size_t pagina_grande = size_t{2} << 20;

  allocatore_grande() = default;
  template <typename U>
  allocatore_grande(const allocatore_grande<U>&) noexcept {}

  T* allocate(size_t n) {
    const size_t byte = n * sizeof(T);
    if (byte < pagina_grande) return static_cast<T*>(::operator new(byte));
    const size_t intere = arrotonda_a_pagine(byte);
    void* p = ::operator new(intere, std::align_val_t{pagina_grande});
#if defined(__linux__)
    ::madvise(p, intere, MADV_HUGEPAGE);
#endif
    return static_cast<T*>(p);
  }

  void deallocate(T* p, size_t n) noexcept {
    const size_t byte = n * sizeof(T);
    if (byte < pagina_grande)
      ::operator delete(p, byte);
    else
      ::operator delete(p, arrotonda_a_pagine(byte), std::align_val_t{pagina_grande});
  }

  friend bool operator==(const allocatore_grande&, const allocatore_grande&) { return true; }

 private:
  static size_t arrotonda_a_pagine(size_t byte) { return (byte + pagina_grande - 1) / pagina_grande * pagina_grande; }
};
