// The decoders of the three binary files: every valid image decodes and
// images back to the same bytes, and every kind of damage is refused at the
// offset where it lies.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ispeziona/decodifica.h"
#include "model/file_binari.h"

namespace {

std::string byte(std::initializer_list<int> valori) {
  std::string s;
  for (int v : valori) s.push_back(static_cast<char>(v));
  return s;
}

// A grid with every kind, extreme values in every field.
std::vector<cella> griglia_varia() {
  std::vector<cella> p(20);
  const uint8_t tipi[] = {libero, segnale, fine_rallentamento, inizio_rallentamento, avviso_rallentamento,
                          preavviso_rallentamento, indicatore_v_max, stazione, segno_montagna, abbattimento,
                          abbattimento_nullo, cartello};
  for (size_t i = 0; i < std::size(tipi); ++i) p[i].tipo = tipi[i];
  p[1] = {segnale, -1, 32767, -32768, 1234, 255, 1, 2, 3, 4, 5};
  p[19] = {cartello, 80, 0, 0, 0, 0, 0, 0, 0, 200, 0};
  return p;
}

tabella_testata testata_varia() {
  tabella_testata t;
  t[1] = {3, 100, -200, 300, 4, "BORVALE P.F.", 1, -1, 3, 4, 5, 6, 7, 8, 255, 48462};
  t[80].nome = "Caff\xE8 \x80";  // Windows-1252 bytes: e grave, euro sign
  t[85].nome = std::string(300, 'x');
  t[85].intero1 = 610;
  t[85].orario = std::numeric_limits<int32_t>::min();
  t[86].nome = "31758";
  return t;
}

tabella_tracciato tracciato_vario() {
  tabella_tracciato t;
  t.crea(6);
  t.metti_intero(0, 0, 0);
  t.metti_intero(1, 1, -32768);
  t.metti_doppio(2, 0, -0.0);
  t.metti_doppio(3, 1, 1.0 / 3.0);
  t.metti_doppio(4, 0, std::numeric_limits<double>::infinity());
  t.metti_doppio(4, 1, std::numeric_limits<double>::denorm_min());
  return t;
}

TEST(decodifica, ogni_immagine_valida_torna_agli_stessi_byte) {
  const std::string percorso = immagine_percorso(griglia_varia());
  EXPECT_EQ(immagine_percorso(decodifica_percorso(percorso)), percorso);
  const std::string testata = immagine_testata(testata_varia());
  EXPECT_EQ(immagine_testata(decodifica_testata(testata)), testata);
  const std::string tracciato(tracciato_vario().immagine());
  EXPECT_EQ(decodifica_tracciato(tracciato).immagine(), tracciato);

  // The smallest valid files: one cell, 87 cleared records, one metre.
  EXPECT_EQ(decodifica_percorso(std::string(15, '\0')).size(), 1u);
  EXPECT_EQ(decodifica_testata(std::string(87 * 34, '\0'))[86].nome, "");
  EXPECT_EQ(decodifica_tracciato(byte({0, 0, 0, 0})).ultimo_metro(), 0);
}

TEST(decodifica, i_valori_tornano_nei_campi_giusti) {
  std::vector<cella> p = decodifica_percorso(immagine_percorso(griglia_varia()));
  EXPECT_EQ(p[1].dato1, -1);
  EXPECT_EQ(p[1].dato3, -32768);
  EXPECT_EQ(p[1].tempo, 255);
  EXPECT_EQ(p[1].aderenza, 5);
  EXPECT_EQ(p[19].pendenza, 200);

  tabella_testata t = decodifica_testata(immagine_testata(testata_varia()));
  EXPECT_EQ(t[1].secondo, -200);
  EXPECT_EQ(t[1].nome, "BORVALE P.F.");
  EXPECT_EQ(t[1].intero2, -1);
  EXPECT_EQ(t[1].opzione4, 255);
  EXPECT_EQ(t[80].nome, "Caff\xE8 \x80");
  EXPECT_EQ(t[85].nome.size(), 300u);
  EXPECT_EQ(t[85].orario, std::numeric_limits<int32_t>::min());

  tabella_tracciato c = decodifica_tracciato(tracciato_vario().immagine());
  EXPECT_EQ(c.ultimo_metro(), 6);
  EXPECT_EQ(c.tipo(1, 1), tipo_elemento::intero);
  EXPECT_EQ(c.valore(1, 1), -32768);
  EXPECT_EQ(c.tipo(2, 0), tipo_elemento::doppio);
  EXPECT_TRUE(std::signbit(c.valore(2, 0)));
  EXPECT_EQ(c.valore(3, 1), 1.0 / 3.0);
  EXPECT_EQ(c.tipo(5, 0), tipo_elemento::vuoto);
  EXPECT_EQ(c.tipo(6, 1), tipo_elemento::vuoto);
}

struct caso_guasto {
  const char* nome;
  tipo_file tipo;
  std::string dati;
  size_t offset;
  const char* motivo;  // part of the reason
};

void decodifica(tipo_file tipo, std::string_view dati) {
  switch (tipo) {
    case tipo_file::dat: decodifica_percorso(dati); break;
    case tipo_file::sim: decodifica_testata(dati); break;
    case tipo_file::linea: decodifica_tracciato(dati); break;
    case tipo_file::sconosciuto: break;
  }
}

TEST(decodifica, un_file_guasto_e_rifiutato_all_offset_del_guasto) {
  const std::string griglia = immagine_percorso(griglia_varia());
  const std::string testata = immagine_testata(testata_varia());
  // Record 1 starts at 34 (record 0 is cleared); its name's length is at 48,
  // its name (12 bytes) runs to 62, its tail to 80.
  std::string lunghezza_troppo_grande = testata;
  lunghezza_troppo_grande[48] = static_cast<char>(0xFF);
  lunghezza_troppo_grande[49] = static_cast<char>(0xFF);
  std::string cella_sconosciuta = griglia;
  cella_sconosciuta[15 * 7] = 7;

  const caso_guasto casi[] = {
      {"griglia vuota", tipo_file::dat, "", 0, "vuoto"},
      {"griglia di 16 byte", tipo_file::dat, std::string(16, '\0'), 15, "non multipla di 15"},
      {"griglia troncata", tipo_file::dat, griglia.substr(0, griglia.size() - 1), griglia.size() - 15,
       "non multipla di 15"},
      {"cella di tipo 7", tipo_file::dat, cella_sconosciuta, 105, "tipo sconosciuto 7"},
      {"cella di tipo 255", tipo_file::dat, byte({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255}) + std::string(14, '\0'),
       15, "tipo sconosciuto 255"},
      {"testata vuota", tipo_file::sim, "", 0, "voce 0 troncata"},
      {"testata nella testa di una voce", tipo_file::sim, testata.substr(0, 40), 34, "voce 1 troncata"},
      {"testo oltre la fine", tipo_file::sim, lunghezza_troppo_grande, 48, "testo troncato, lunghezza 65535"},
      {"testo troncato alla fine del file", tipo_file::sim, testata.substr(0, 55), 48, "testo troncato"},
      {"coda di voce troncata", tipo_file::sim, testata.substr(0, 70), 62, "troncata dopo il testo"},
      {"86 voci soltanto", tipo_file::sim, std::string(86 * 34, '\0'), 86 * 34, "voce 86 troncata"},
      {"un byte dopo l'ultima voce", tipo_file::sim, std::string(87 * 34 + 1, '\0'), 87 * 34, "dopo la voce 86"},
      {"tracciato vuoto", tipo_file::linea, "", 0, "almeno 2"},
      {"codice di tipo incompleto", tipo_file::linea, byte({0, 0, 2}), 2, "codice di tipo incompleto"},
      {"codice di tipo sconosciuto", tipo_file::linea, byte({0, 0, 3, 0}), 2, "sconosciuto 3"},
      {"codice di tipo alto", tipo_file::linea, byte({0, 0, 5, 1}), 2, "sconosciuto 261"},
      {"intero troncato", tipo_file::linea, byte({0, 0, 2, 0, 1}), 2, "intero a 16 bit incompleto"},
      {"double troncato", tipo_file::linea, byte({5, 0, 1, 2, 3, 4, 5, 6, 7}), 0, "double incompleto"},
      {"elementi dispari", tipo_file::linea, byte({0, 0, 0, 0, 2, 0, 1, 0}), 8, "3 elementi"},
  };
  for (const caso_guasto& c : casi) {
    SCOPED_TRACE(c.nome);
    try {
      decodifica(c.tipo, c.dati);
      ADD_FAILURE() << "accettato";
    } catch (const errore_formato& e) {
      EXPECT_EQ(e.offset, c.offset);
      EXPECT_NE(e.motivo.find(c.motivo), std::string::npos) << e.motivo;
      EXPECT_NE(std::string(e.what()).find("offset " + std::to_string(c.offset) + ": "), std::string::npos);
    }
  }
}

TEST(decodifica, il_tipo_di_file_viene_dalla_fine_del_nome) {
  const std::pair<const char*, tipo_file> casi[] = {
      {"Borvale PF_Borvale PR_linea.dat", tipo_file::linea},
      {"X_LINEA.DAT", tipo_file::linea},
      {"Borvale PF_Borvale PR_31758.dat", tipo_file::dat},
      {"linea.dat", tipo_file::dat},  // no "_" before "linea": a grid file
      {"a_31758.sim", tipo_file::sim},
      {"a.SIM", tipo_file::sim},
      {"a_linea.txt", tipo_file::sconosciuto},
      {"dat", tipo_file::sconosciuto},
      {"", tipo_file::sconosciuto},
  };
  for (const auto& [nome, tipo] : casi) EXPECT_EQ(tipo_da_nome(nome), tipo) << nome;
}

TEST(decodifica, i_ruoli_delle_voci) {
  tabella_testata t = testata_varia();
  t[2].terzo = 50;  // a station with only a position
  EXPECT_EQ(nome_ruolo(ruolo_di(0, t[0])), "nessun ruolo");
  EXPECT_EQ(nome_ruolo(ruolo_di(1, t[1])), "stazione");
  EXPECT_EQ(nome_ruolo(ruolo_di(2, t[2])), "stazione");
  EXPECT_EQ(nome_ruolo(ruolo_di(3, t[3])), "vuota");
  EXPECT_EQ(nome_ruolo(ruolo_di(80, t[80])), "cartello");
  EXPECT_EQ(nome_ruolo(ruolo_di(81, t[81])), "riferimento progressiva");
  EXPECT_EQ(nome_ruolo(ruolo_di(83, t[83])), "riferimento progressiva");
  EXPECT_EQ(nome_ruolo(ruolo_di(84, t[84])), "treno e percorso");
  EXPECT_EQ(nome_ruolo(ruolo_di(85, t[85])), "scenario");
  EXPECT_EQ(nome_ruolo(ruolo_di(86, t[86])), "treno");
}

}  // namespace
