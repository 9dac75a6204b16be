// The compile in memory: the images of the package run's files, a second
// compile that sees nothing of the first, the diagnostics with their quoted
// lines, ranges and fixes, the cap on warnings, and an author's text that
// cannot be converted.
#include "finish/compilazione.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/form1.h"
#include "support/file_system_fake.h"
#include "support/righe.h"

namespace {


const std::string linea = testo({"[generale]", "lunghezza percorso,    4000", "[pendenze]", "pendenza,   0,    0",
                                 "pendenza,  600,   4", "[fine]"});
const std::string treno = testo({"[generale]", "numero vetture,    4", "[segnali]",
                                 "segnale,     900,   2, 3, 1,  0, 0,    0,  0,0,0, 230", "[fine]"});

sorgenti_build sorgenti(std::string l, std::string t) {
  sorgenti_build s;
  s.nome_scenario = "Prova";
  s.numero_treno = "1";
  s.linea = std::move(l);
  s.treno = std::move(t);
  return s;
}

// The package run's three files of the same texts, by the fake's names.
std::vector<std::string> file_del_pacchetto(const std::string& l, const std::string& t) {
  sistema_finto sistema;
  sistema.file["Prova_linea.txt"] = l;
  sistema.file["Prova_1-.txt"] = t;
  Form1 f(sistema);
  f.nome_scenario = "Prova";
  f.numero_treno = "1";
  int32_t j = 1;
  f.memorizza_percorso(j);
  return {sistema.file["Prova_linea.dat"], sistema.file["Prova_1.sim"], sistema.file["Prova_1.dat"]};
}

std::vector<std::string> copie(const compilazione& c) {
  std::vector<std::string> i;
  for (std::string_view v : c.immagini()) i.emplace_back(v);
  return i;
}

TEST(compilazione, le_immagini_sono_i_file_del_pacchetto_e_la_seconda_non_vede_la_prima) {
  sistema_finto base;
  const compilazione pulita = compila(base, sorgenti(linea, treno));
  ASSERT_TRUE(pulita.esito.riuscito());
  EXPECT_EQ(copie(pulita), file_del_pacchetto(linea, treno));
  EXPECT_TRUE(base.file.empty()) << "the compile touched the base platform's files";
  EXPECT_TRUE(base.registro.empty());

  // A build error, then the clean texts again: the same as the first.
  const std::string oltre = testo({"[generale]", "segnale, 20000, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230", "[fine]"});
  const compilazione errata = compila(base, sorgenti(linea, oltre));
  EXPECT_EQ(errata.esito.codice_errore, 15);
  const compilazione di_nuovo = compila(base, sorgenti(linea, treno));
  EXPECT_EQ(copie(di_nuovo), copie(pulita));
  EXPECT_EQ(di_nuovo.esito.diagnostiche, pulita.esito.diagnostiche);

  // Without the line file: two images, the same two.
  sorgenti_build senza = sorgenti(linea, treno);
  senza.crea_linea = false;
  const compilazione c = compila(base, senza);
  ASSERT_EQ(c.immagini().size(), 2u);
  EXPECT_TRUE(c.linea.empty());
  EXPECT_EQ(c.sim, pulita.sim);
  EXPECT_EQ(c.dat, pulita.dat);
}

TEST(compilazione, un_errore_con_il_suo_luogo_e_la_riga_citata) {
  sistema_finto base;
  const std::string riga = "segnale, 20000, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230";
  const compilazione c = compila(base, sorgenti(linea, testo({"[generale]", riga, "[fine]"})));
  const diagnostica* e = c.esito.errore();
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->livello, gravita::errore);
  EXPECT_EQ(codice_di(*e), "E15");
  EXPECT_EQ(e->metri, 20000);
  EXPECT_EQ(e->dove.sorgente, sorgente_build::treno);
  EXPECT_EQ(e->dove.riga, 2);
  EXPECT_EQ(e->dove.colonna, 10);
  EXPECT_EQ(e->citata, riga);
  EXPECT_EQ(e->testo.rfind("Errore n. 15 a 20000 m: ", 0), 0u) << e->testo;
}

// The text with `d`'s fix applied (one line, columns counted in bytes).
std::string corretto(const std::string& t, const diagnostica& d) {
  const correzione& r = *d.rimedio;
  size_t inizio = 0;
  for (int32_t n = 1; n < r.dove.riga; ++n) inizio = t.find("\r\n", inizio) + 2;
  const size_t da = inizio + static_cast<size_t>(r.dove.colonna) - 1;
  const size_t a = inizio + static_cast<size_t>(r.dove.colonna_fine) - 1;
  return t.substr(0, da) + r.testo + t.substr(a);
}

TEST(compilazione, un_avviso_con_la_sua_correzione_che_lo_toglie) {
  struct caso {
    const char* nome;
    std::string linea;
    codice_avviso codice;
    const char* nuovo;  // the fix's text
  };
  const caso casi[] = {
      {"chiave", testo({"[generale]", "lunghezza percorso,    4000", "[pendenze]", "  pendnza ,  600,   4", "[fine]"}),
       codice_avviso::chiave_sconosciuta, "pendenza"},
      {"sezione", testo({"[generale]", "lunghezza percorso,    4000", "[pendenzze]", "pendenza,  600,   4", "[fine]"}),
       codice_avviso::sezione_sconosciuta, "[pendenze]"},
      {"migliaia",
       testo({"[generale]", "lunghezza percorso,    4000", "[pendenze]", "pendenza,   0,    0", "pendenza,  1.200,   4",
              "[fine]"}),
       codice_avviso::separatore_migliaia, "1200"},
  };
  sistema_finto base;
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const compilazione prima = compila(base, sorgenti(c.linea, treno));
    const std::vector<diagnostica> avvisi = prima.esito.avvisi();
    ASSERT_EQ(avvisi.size(), 1u);
    const diagnostica& a = avvisi[0];
    EXPECT_EQ(a.codice, c.codice);
    EXPECT_FALSE(a.citata.empty());
    ASSERT_TRUE(a.rimedio);
    EXPECT_EQ(a.rimedio->testo, c.nuovo);
    EXPECT_EQ(a.rimedio->dove, a.dove);
    EXPECT_GT(a.dove.colonna_fine, a.dove.colonna);
    const compilazione dopo = compila(base, sorgenti(corretto(c.linea, a), treno));
    EXPECT_EQ(dopo.esito.quanti_avvisi(), 0u) << corretto(c.linea, a);
  }
}

TEST(compilazione, oltre_mille_avvisi_una_nota_li_conta) {
  std::string molte = "[generale]\r\nlunghezza percorso,    4000\r\n[pendenze]\r\n";
  for (int i = 0; i < 1500; ++i) molte += "sconosciuta, " + std::to_string(i) + "\r\n";
  molte += "[fine]\r\n";
  sistema_finto base;
  const compilazione c = compila(base, sorgenti(molte, treno));
  EXPECT_EQ(c.esito.quanti_avvisi(), avvisi_al_massimo);
  EXPECT_EQ(c.esito.avvisi_omessi, 500u);
  const diagnostica& nota = c.esito.diagnostiche.back();
  EXPECT_EQ(nota.livello, gravita::nota);
  EXPECT_EQ(nota.codice, codice_avviso::avvisi_omessi);
  EXPECT_NE(nota.testo.find("altri 500 avvisi"), std::string::npos) << nota.testo;
}

TEST(compilazione, un_carattere_che_windows_1252_non_ha_e_un_errore_al_suo_posto) {
  const sorgente_pronta p =
      prepara_sorgente("[generale]\r\nsfondo uno \xE2\x86\x92 due, 2\r\n", codifica_testo::automatica, sorgente_build::linea);
  EXPECT_FALSE(p.testo);
  ASSERT_EQ(p.diagnostiche.size(), 1u);
  const diagnostica& d = p.diagnostiche[0];
  EXPECT_EQ(d.livello, gravita::errore);
  EXPECT_EQ(d.codice, codice_avviso::codifica_non_valida);
  EXPECT_EQ(d.dove.riga, 2);
  EXPECT_EQ(d.dove.colonna, 12);
  EXPECT_EQ(d.citata, "sfondo uno \xE2\x86\x92 due, 2");
  EXPECT_NE(d.testo.find("U+2192"), std::string::npos) << d.testo;

  // A UTF-8 text is converted, and said to be UTF-8.
  const sorgente_pronta u = prepara_sorgente("citt\xC3\xA0\r\n", codifica_testo::automatica, sorgente_build::treno);
  ASSERT_TRUE(u.testo);
  EXPECT_EQ(*u.testo, "citt\xE0\r\n");
  EXPECT_EQ(u.codifica, codifica_testo::utf8);
  EXPECT_TRUE(u.diagnostiche.empty());
}

}  // namespace
