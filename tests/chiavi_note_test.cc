// The hints of the warnings: the nearest known key or section to what an
// author wrote, none where nothing is near or too much is, and the edit
// distance they rest on.
#include "reader/chiavi_note.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(chiavi_note, il_suggerimento_per_una_chiave) {
  struct caso {
    const char* campo;
    parte_testo parte;
    const char* atteso;
  };
  const caso casi[] = {
      {"pendnza", parte_testo::profilo_linea, "forse \"pendenza\"?"},
      {"  Pendnza ", parte_testo::profilo_linea, "forse \"pendenza\"?"},
      {"ralentamento", parte_testo::treno, "forse \"rallentamento\"?"},
      {"segnali", parte_testo::treno, "forse \"segnale\"?"},
      {"sabia", parte_testo::treno, "forse \"sabbia\"?"},
      {"orolgoio", parte_testo::treno, "forse \"orologio\"?"},  // two letters swapped count one
      {"lunghezza percoso", parte_testo::generale_linea, "forse \"lunghezza percorso\"?"},
      // Two keys equally near are both named; more would mislead.
      {"curvx4", parte_testo::profilo_linea, "forse \"curvas4\" o \"curvad4\"?"},
      {"curvax", parte_testo::profilo_linea, ""},
      // The exact keys are not recognised with capitals.
      {"Sfondo uno", parte_testo::generale_linea, "la chiave \"sfondo uno\" si scrive in minuscolo"},
      // A key read in another part.
      {"pendenza", parte_testo::generale_linea, "\"pendenza\" vale solo dopo la sezione [generale] della linea"},
      {"sfondo uno", parte_testo::profilo_linea, "\"sfondo uno\" vale solo nella sezione [generale] della linea"},
      {"segnale", parte_testo::profilo_linea, "\"segnale\" è una chiave del sorgente del treno"},
      {"montagna", parte_testo::treno, "\"montagna\" è una chiave del sorgente della linea"},
      // Nothing near.
      {"segni", parte_testo::treno, ""},
      {"xyz", parte_testo::treno, ""},
      {"", parte_testo::treno, ""},
      {"una nota lunga dell'autore, che non somiglia a nessuna chiave", parte_testo::treno, ""},
  };
  for (const caso& c : casi) EXPECT_EQ(suggerimento_chiave(c.campo, c.parte), c.atteso) << c.campo;
}

TEST(chiavi_note, intestazioni_e_sezioni) {
  EXPECT_TRUE(intestazione("[curve]"));
  EXPECT_TRUE(intestazione("  [xyz] "));
  EXPECT_FALSE(intestazione("[curve] e altro"));
  EXPECT_FALSE(intestazione("["));
  EXPECT_FALSE(intestazione("curve"));

  EXPECT_TRUE(sezione_nota("[Curve]", sorgente_build::linea));
  EXPECT_TRUE(sezione_nota("[fine]", sorgente_build::treno));
  EXPECT_FALSE(sezione_nota("[curve]", sorgente_build::treno));

  EXPECT_EQ(suggerimento_sezione("[segnal]", sorgente_build::treno), "forse \"[segnali]\"?");
  EXPECT_EQ(suggerimento_sezione("[montagn]", sorgente_build::linea), "forse \"[montagne]\"?");
  EXPECT_EQ(suggerimento_sezione("[stazioni]", sorgente_build::linea), "è una sezione del sorgente del treno");
  EXPECT_EQ(suggerimento_sezione("[note]", sorgente_build::linea), "");
}

}  // namespace
