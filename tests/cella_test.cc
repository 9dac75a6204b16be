// The route grid's cell: the free-cell test, the narrow fields, the kinds'
// names and equality field by field.
#include <gtest/gtest.h>

#include <string>

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

TEST(Cella, OgniTipoScrittoHaIlSuoNome) {
  for (unsigned tipo = 0; tipo < 256; ++tipo) {
    const bool scritto = tipo <= 6 || (tipo >= 10 && tipo <= 14);
    EXPECT_EQ(!nome_tipo_cella(static_cast<uint8_t>(tipo)).empty(), scritto) << tipo;
  }
  EXPECT_EQ(nome_tipo_cella(segnale), "segnale");
  EXPECT_EQ(nome_tipo_cella(abbattimento_nullo), "abbattimento_nullo");
  EXPECT_EQ(nome_tipo_cella(cartello), "cartello");
}

// Two cells differ when any one field does, whatever its place.
TEST(Cella, UgualeSoloInOgniCampo) {
  EXPECT_EQ(cella{}, cella{});
  const cella tutti = {segnale, -1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(tutti, tutti);
  campi_cella([&](std::string_view nome, auto membro) {
    cella c;
    c.*membro = 1;
    EXPECT_NE(c, cella{}) << nome;
    cella d = tutti;
    d.*membro = static_cast<std::remove_reference_t<decltype(d.*membro)>>(d.*membro + 100);
    EXPECT_NE(d, tutti) << nome;
  });
}

}  // namespace
