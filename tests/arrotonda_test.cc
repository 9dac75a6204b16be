// The rounding rule: ties to the even integer, everything else to the nearest.
#include <gtest/gtest.h>

#include "model/arrotonda.h"

namespace {

TEST(Arrotonda, PariSuiMezzi) {
  struct caso {
    double x, atteso;
  };
  for (caso c : {caso{20.5, 20}, caso{21.5, 22}, caso{-0.5, 0}, caso{2.5, 2}, caso{140.5, 140}, caso{141.5, 142},
                 caso{0.5, 0}, caso{1.5, 2}, caso{-1.5, -2}, caso{-2.5, -2}, caso{1e15 + 0.5, 1e15},
                 caso{1e15 + 1.5, 1e15 + 2}}) {
    EXPECT_EQ(arrotonda(c.x), c.atteso) << c.x;
  }
}

TEST(Arrotonda, FuoriDaiMezzi) {
  struct caso {
    double x, atteso;
  };
  for (caso c : {caso{0, 0}, caso{20.49, 20}, caso{20.51, 21}, caso{-0.51, -1}, caso{-0.49, 0}, caso{19, 19},
                 caso{0.49999999999999994, 0}}) {
    EXPECT_EQ(arrotonda(c.x), c.atteso) << c.x;
  }
}

TEST(Arrotonda, CellaDiUnSegnale) {
  // A signal at 900 m lies in cell 19.
  EXPECT_EQ(arrotonda(900 / 50.0 + 1), 19);
}

}  // namespace
