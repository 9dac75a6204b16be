#include "platform/posix/memoria_posix.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace {

constexpr size_t pagina_grande = size_t{2} << 20;
// Below this a mapping of its own is not worth it.
constexpr size_t soglia = size_t{4} << 20;

size_t arrotonda_a_pagina_grande(size_t n) { return (n + pagina_grande - 1) / pagina_grande * pagina_grande; }

// Whether a request gets a mapping of its own; the rest goes to the heap.
bool mappata_a_parte(size_t n, size_t allineamento) { return n >= soglia && allineamento <= pagina_grande; }

}  // namespace

memoria_posix& memoria_posix::istanza() {
  static memoria_posix m;
  return m;
}

void* memoria_posix::do_allocate(size_t n, size_t allineamento) {
  if (!mappata_a_parte(n, allineamento)) return std::pmr::new_delete_resource()->allocate(n, allineamento);
  const size_t lunghezza = arrotonda_a_pagina_grande(n);
  // One huge page more than needed, so that an aligned stretch fits; the
  // ends beyond it are given back at once.
  const size_t mappata = lunghezza + pagina_grande;
  void* m = ::mmap(nullptr, mappata, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) throw std::bad_alloc();
  const auto inizio = reinterpret_cast<uintptr_t>(m);
  const uintptr_t allineato = (inizio + pagina_grande - 1) / pagina_grande * pagina_grande;
  if (allineato > inizio) ::munmap(m, allineato - inizio);
  const size_t coda = (inizio + mappata) - (allineato + lunghezza);
  if (coda > 0) ::munmap(reinterpret_cast<void*>(allineato + lunghezza), coda);
  void* p = reinterpret_cast<void*>(allineato);
  ::madvise(p, lunghezza, MADV_HUGEPAGE);  // advice only: refused, it changes nothing
  return p;
}

void memoria_posix::do_deallocate(void* p, size_t n, size_t allineamento) {
  if (!mappata_a_parte(n, allineamento)) {
    std::pmr::new_delete_resource()->deallocate(p, n, allineamento);
    return;
  }
  ::munmap(p, arrotonda_a_pagina_grande(n));
}
