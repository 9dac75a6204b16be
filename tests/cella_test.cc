// The route grid's cell: the free-cell test and the narrow fields.
#include <gtest/gtest.h>

#include "model/cella.h"

namespace {

TEST(Cella, LiberaSoloVuotaOSegnoMontagna) {
  for (uint8_t t : {libero, segnale, fine_rallentamento, inizio_rallentamento, avviso_rallentamento,
                    preavviso_rallentamento, indicatore_v_max, stazione, segno_montagna, abbattimento,
                    abbattimento_nullo, cartello}) {
    cella c;
    c.tipo = t;
    EXPECT_EQ(cella_libera(c), t == 0 || t == 11) << "tipo " << int{t};
  }
}

TEST(Cella, CampiStrettiTengonoIBitBassi) {
  EXPECT_EQ(basso16(70000), 4464);
  EXPECT_EQ(basso16(40000), -25536);
  EXPECT_EQ(basso16(-1), -1);
  EXPECT_EQ(basso8(-1), 255);
  EXPECT_EQ(basso8(100 - 130), 226);
  EXPECT_EQ(basso8(356), 100);
}

}  // namespace
