// The sizes of the grid and the table from the route length.
#include <gtest/gtest.h>

#include "model/dimensioni.h"

namespace {

TEST(Dimensioni, UltimaCellaDellaGriglia) {
  struct caso {
    int32_t lunghezza;
    double n;
  };
  for (caso c : {caso{0, 140}, caso{25, 140}, caso{75, 142}, caso{4000, 220}, caso{1000000, 20140}}) {
    EXPECT_EQ(ultima_cella_della_griglia(c.lunghezza), c.n) << "lunghezza " << c.lunghezza;
    EXPECT_EQ(ultimo_metro_del_tracciato(c.lunghezza), c.lunghezza + 7000);
  }
}

}  // namespace
