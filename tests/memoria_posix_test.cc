// The POSIX source of large buffers: big requests come mapped on their own and
// aligned for huge pages, small ones from the heap, and a request the system
// cannot meet is refused with std::bad_alloc.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>

#include "platform/posix/memoria_posix.h"

namespace {

TEST(MemoriaPosix, OgniRichiestaEScrivibileETorna) {
  std::pmr::memory_resource& m = memoria_posix::istanza();
  for (size_t n : {size_t{1}, size_t{4096}, (size_t{4} << 20) - 1, size_t{4} << 20, size_t{20'140'020}}) {
    SCOPED_TRACE(n);
    auto* p = static_cast<char*>(m.allocate(n, 8));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
    if (n >= (size_t{4} << 20)) {
      EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % (size_t{2} << 20), 0u);
    }
    p[0] = 1;
    std::memset(p + n / 2, 2, n - n / 2);
    EXPECT_EQ(p[n - 1], 2);
    m.deallocate(p, n, 8);
  }
}

TEST(MemoriaPosix, UnaRichiestaImpossibileERifiutata) {
  EXPECT_THROW((void)memoria_posix::istanza().allocate(size_t{1} << 60, 8), std::bad_alloc);
}

}  // namespace
