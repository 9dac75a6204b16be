// The largest scenario builds on disk without any error, and the finished grid
// holds exactly what the generator planned: every feature in its own cell,
// every code point the finishing pass must add, and the files at their full
// size.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "model/file_binari.h"
#include "support/cartella_temporanea.h"
#include "support/piattaforma_silenziosa.h"
#include "support/scenario_massimo.h"

namespace {

// One build for the whole suite: it writes some 20 MB.
struct costruzione {
  cartella_temporanea cartella;
  scenario_generato scenario = genera_scenario_massimo();
  piattaforma_silenziosa sistema{cartella.percorso()};
  Form1 form{sistema};
  int stato = costruisci(form, scenario);
};

class scenario_massimo : public testing::Test {
 protected:
  static void SetUpTestSuite() { c = std::make_unique<costruzione>(); }
  static void TearDownTestSuite() { c.reset(); }

  static std::map<uint8_t, int32_t> conta_tipi() {
    std::map<uint8_t, int32_t> n;
    for (const cella& x : c->form.percorso) ++n[x.tipo];
    return n;
  }

  static std::unique_ptr<costruzione> c;
};
std::unique_ptr<costruzione> scenario_massimo::c;

TEST_F(scenario_massimo, si_costruisce_senza_errori) {
  EXPECT_EQ(c->stato, 0);
  EXPECT_EQ(c->form.codice_errore, 0) << "a " << c->form.posizione_errore << " m, " << c->form.sorgente_errore
                                      << " riga " << c->form.riga_sorgente_errore << " " << c->form.dettaglio_errore;
  EXPECT_TRUE(c->sistema.messaggi.empty()) << c->sistema.messaggi.front();
}

TEST_F(scenario_massimo, lascia_solo_i_tre_file_binari_alla_misura_piena) {
  const Form1& f = c->form;
  std::map<std::string, uintmax_t> misure;
  for (const auto& e : std::filesystem::directory_iterator(c->cartella.percorso()))
    misure[e.path().filename().string()] = e.file_size();
  const std::string nome = c->scenario.nome_scenario;
  const std::string treno = nome + "_" + c->scenario.numero_treno;
  // T = 1007000: 20 bytes a metre less 36; N = 20140.
  EXPECT_EQ(misure, (std::map<std::string, uintmax_t>{{nome + "_linea.dat", 20u * 1007000u - 36u},
                                                      {treno + ".dat", 15u * 20141u},
                                                      {treno + ".sim", immagine_testata(f.testata).size()}}));
  EXPECT_EQ(c->cartella.leggi(treno + ".dat"), immagine_percorso(f.percorso));
  EXPECT_EQ(c->cartella.leggi(treno + ".sim"), immagine_testata(f.testata));
}

TEST_F(scenario_massimo, la_griglia_tiene_ogni_elemento_del_piano) {
  const attesi_scenario& a = c->scenario.attesi;
  ASSERT_EQ(c->form.ultima_cella(), 20140);
  std::map<uint8_t, int32_t> n = conta_tipi();
  EXPECT_EQ(n[segnale], a.segnali);
  EXPECT_EQ(n[inizio_rallentamento], a.rallentamenti);
  EXPECT_EQ(n[fine_rallentamento], a.rallentamenti);
  EXPECT_EQ(n[avviso_rallentamento], a.rallentamenti);  // every one starts past 1500 m
  EXPECT_EQ(n[preavviso_rallentamento], 4 * a.con_preavviso);
  EXPECT_EQ(n[indicatore_v_max], a.indicatori);
  EXPECT_EQ(n[stazione], a.fermate);
  EXPECT_EQ(n[cartello], a.cartelli);
  EXPECT_EQ(n[abbattimento_nullo], a.abbattimenti_nulli);
  EXPECT_EQ(n[abbattimento], a.punti_codice);
  EXPECT_EQ(c->form.numero_montagne, a.montagne);
  // The plan is worth testing only if it holds plenty of each.
  EXPECT_GE(a.segnali, 600);
  EXPECT_GE(a.rallentamenti, 300);
  EXPECT_GT(a.con_preavviso, 0);
  EXPECT_LT(a.con_preavviso, a.rallentamenti);
  EXPECT_GT(a.codici_abbassati, 0);
  EXPECT_GT(n[segno_montagna], 0);
}

TEST_F(scenario_massimo, i_codici_270_davanti_ai_segnali_scendono_a_180_solo_senza_posto_libero) {
  int32_t codici_270 = 0, rimasti_270 = 0;
  for (const std::string& r : c->scenario.righe_treno)
    if (r.starts_with("abbattimento") && r.ends_with(", 270")) ++codici_270;
  for (const cella& x : c->form.percorso)
    if (x.tipo == abbattimento && x.dato1 == 270) ++rimasti_270;
  EXPECT_EQ(rimasti_270, codici_270 - c->scenario.attesi.codici_abbassati);
}

TEST_F(scenario_massimo, stazioni_e_cartelli_riempiono_i_record_della_testata) {
  const tabella_testata& t = c->form.testata;
  const attesi_scenario& a = c->scenario.attesi;
  // Stations from 1 up, signs from 80 down, and only the two records the
  // station limit keeps between them are left empty.
  ASSERT_EQ(a.stazioni + a.cartelli, 78);
  for (int r = 1; r <= 80; ++r) {
    SCOPED_TRACE(r);
    const bool libero = r > a.stazioni && r <= 80 - a.cartelli;
    EXPECT_EQ(t[static_cast<size_t>(r)].nome.empty(), libero);
  }
  EXPECT_EQ(t[84].secondo, 1000000);
  EXPECT_EQ(t[85].intero1, 610);
}

TEST_F(scenario_massimo, il_tracciato_copre_la_linea_fino_a_due_metri_dalla_fine) {
  const tabella_tracciato& tr = c->form.tracciato;
  ASSERT_EQ(tr.ultimo_metro(), 1007000);
  for (int k = 0; k <= 1; ++k) {
    EXPECT_EQ(tr.tipo(1006998, k), tipo_elemento::doppio);
    EXPECT_EQ(tr.tipo(1006999, k), tipo_elemento::vuoto);
    EXPECT_EQ(tr.tipo(1007000, k), tipo_elemento::vuoto);
  }
}

TEST(generatore_scenario_massimo, le_sorgenti_sono_testi_crlf_e_ogni_chiave_e_senza_trattino) {
  scenario_generato s = genera_scenario_massimo();
  EXPECT_EQ(s.lunghezza, 1000000);
  for (const auto* righe : {&s.righe_linea, &s.righe_treno}) {
    ASSERT_FALSE(righe->empty());
    EXPECT_EQ(righe->back(), "[fine]");
    for (const std::string& r : *righe) {
      std::string chiave = r.substr(0, r.find(','));
      EXPECT_EQ(chiave.find('-'), std::string::npos) << r;
    }
  }
  EXPECT_EQ(testo_sorgente({"a", "", "b c"}), "a\r\n\r\nb c\r\n");
}

}  // namespace
