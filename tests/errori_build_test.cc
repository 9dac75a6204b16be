// The table of build errors in words: complete, ordered, and in step with the
// package program's report of which errors carry a position.
#include <gtest/gtest.h>

#include <set>

#include "diagnosi/errori_build.h"
#include "driver/messaggio_errore.h"
#include "driver/form1.h"
#include "support/file_system_fake.h"

namespace {

TEST(errori_build, ogni_numero_della_costruzione_ha_il_suo_significato) {
  std::set<int32_t> attesi = {101, 102, 103, 1250, 1251, 24, 25};
  for (int32_t c = 1; c <= 22; ++c)
    if (c != 14) attesi.insert(c);
  std::set<int32_t> trovati;
  int32_t precedente = 0;
  for (const descrizione_errore& d : errori_build()) {
    EXPECT_GT(d.codice, precedente) << "table out of order at " << d.codice;
    precedente = d.codice;
    trovati.insert(d.codice);
    EXPECT_FALSE(d.significato.empty()) << d.codice;
    EXPECT_EQ(cerca_errore(d.codice), &d);
  }
  EXPECT_EQ(trovati, attesi);
  for (int32_t c : {0, 14, 23, 26, 100, 104, 1249, 1252, -1}) EXPECT_EQ(cerca_errore(c), nullptr) << c;
}

TEST(errori_build, la_posizione_e_quella_che_la_costruzione_riporta) {
  sistema_finto sistema;
  Form1 form(sistema);
  form.posizione_errore = 10901;
  for (const descrizione_errore& d : errori_build()) {
    if (d.codice >= 1250) continue;  // shown through `errore`, never with a position
    form.codice_errore = d.codice;
    bool con_posizione = testo_errore_build(form.esito_della_build()).find(" a 10901 m") != std::string::npos;
    EXPECT_EQ(d.ha_posizione, con_posizione) << d.codice;
  }
}

}  // namespace
