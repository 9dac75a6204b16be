// The check that three binary files come from one build: files as a build
// makes them pass, and each change a file of another build or an edit makes
// is found in its file, at its byte, with its words.
#include "ispeziona/stessa_costruzione.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "finish/timbri.h"
#include "ispeziona/decodifica.h"
#include "model/dimensioni.h"
#include "model/tracciato.h"

namespace {

const nomi_costruzione nomi{"x/Prova_31758.sim", "x/Prova_31758.dat", "x/Prova_linea.dat"};

// A line file of metres 0..t as a build begins it: integers at metres 0 and
// 1 (4 bytes each), every other element Empty (2 bytes).
std::string linea_fino_a(int32_t t) {
  tabella_tracciato l;
  l.crea(t);
  for (int k : {0, 1}) {
    l.metti_intero(0, k, 0);
    l.metti_intero(1, k, static_cast<int16_t>(k));
  }
  return std::string(l.immagine());
}
// Where element i of such a line starts.
size_t inizio_elemento(size_t i) { return i <= 2 ? 4 * i : 8 + 2 * (i - 2); }

// The three files of a build of `lunghezza` metres, decoded.
struct file_prova {
  tabella_testata testata;
  std::vector<cella> percorso;
  std::string linea;

  explicit file_prova(int32_t lunghezza) {
    testata[voce_treno_e_percorso].secondo = lunghezza;
    testata[1].nome = "STAZIONE";  // a name before record 84 moves every later offset
    testata[voce_scenario].nome = "Prova";
    testata[voce_treno].nome = "31758";
    percorso.resize(static_cast<size_t>(ultima_cella_della_griglia(lunghezza)) + 1);
    EXPECT_EQ(metti_timbri(testata, percorso[1]), 0);
    linea = linea_fino_a(static_cast<int32_t>(ultimo_metro_del_tracciato(lunghezza)));
  }
  std::vector<diagnostica> controlla(bool con_linea = true) const {
    std::optional<linea_controllata> l;
    if (con_linea) l = linea_controllata{linea, controlla_tracciato(linea)};
    return controlla_costruzione(nomi, testata, percorso, l);
  }
};

// The offset of a field of record r, counted here by hand: 34 bytes and the
// name's a record; in a record, 16 bytes and the name's before intero1,
// 5 before secondo, 30 and the name's before orario.
size_t inizio_voce(const tabella_testata& t, int r) {
  size_t o = 0;
  for (int i = 0; i < r; ++i) o += 34 + t[static_cast<size_t>(i)].nome.size();
  return o;
}

struct atteso {
  const std::string* file;
  size_t byte;
  std::string parole;  // part of the words
  size_t correlati;
};

TEST(stessa_costruzione, i_file_di_una_costruzione_passano) {
  for (int32_t lunghezza : {0, 4000, 12345}) {
    const file_prova f(lunghezza);
    EXPECT_TRUE(f.controlla().empty()) << lunghezza;
    EXPECT_TRUE(f.controlla(false).empty()) << lunghezza;
  }
}

TEST(stessa_costruzione, ogni_discordanza_al_suo_byte) {
  // 4000 m: cells 0..220, metres 0..11000.
  const file_prova base(4000);
  const size_t lunghezza_84 = inizio_voce(base.testata, 84) + 5;
  const size_t r85 = inizio_voce(base.testata, 85), nome85 = base.testata[85].nome.size();
  struct caso {
    const char* nome;
    std::function<void(file_prova&)> cambia;
    std::vector<atteso> attesi;
  };
  const caso casi[] = {
      {"una cella in più", [](file_prova& f) { f.percorso.emplace_back(); },
       {{&nomi.dat, 221 * 15, "ha 222 celle, ma il percorso di 4000 m di \"x/Prova_31758.sim\" ne vuole 221", 1}}},
      {"una cella in meno", [](file_prova& f) { f.percorso.pop_back(); },
       {{&nomi.dat, 220 * 15, "ha 220 celle", 1}}},
      {"la linea di un percorso più lungo", [](file_prova& f) { f.linea = linea_fino_a(11005); },
       {{&nomi.linea, inizio_elemento(11001), "ha i punti dei metri 0-11005, ma il percorso di 4000 m di", 1}}},
      {"la linea di un percorso più corto", [](file_prova& f) { f.linea = linea_fino_a(10990); },
       {{&nomi.linea, inizio_elemento(10991), "ne vuole 0-11000", 1}}},
      {"tutte e due", [](file_prova& f) { f.testata[84].secondo = 5000; },
       {{&nomi.dat, 221 * 15, "ha 221 celle, ma il percorso di 5000 m", 1},
        {&nomi.linea, inizio_elemento(11001), "ne vuole 0-12000", 1}}},
      {"la voce 85 senza timbro", [](file_prova& f) { f.testata[85].intero1 = 0; },
       {{&nomi.sim, r85 + 16 + nome85, "la voce 85 ha 0 dove ogni costruzione mette il timbro 610", 0}}},
      {"la cella 1 senza timbro", [](file_prova& f) { f.percorso[1].dato1 = 5120; },
       {{&nomi.dat, 16, "la cella 1 ha 5120 dove ogni costruzione mette il timbro 5121", 0}}},
      {"il codice pesato cambiato", [](file_prova& f) { ++f.testata[85].orario; },
       {{&nomi.sim, r85 + 30 + nome85, "la voce 85 ha il codice di gara", 2}}},
      {"il codice semplice cambiato", [](file_prova& f) { ++f.percorso[1].dato2; },
       {{&nomi.dat, 18, "ma il numero del treno e il nome dello scenario di \"x/Prova_31758.sim\" danno", 2}}},
      // The header of a build with another train number: both codes differ.
      {"un altro numero del treno", [](file_prova& f) { f.testata[86].nome = "31759"; },
       {{&nomi.sim, r85 + 30 + nome85, "delle voci 86 e 85 danno", 2}, {&nomi.dat, 18, "la cella 1", 2}}},
      {"una griglia di una cella", [](file_prova& f) { f.percorso.resize(1); },
       {{&nomi.dat, 15, "ha 1 celle", 1}, {&nomi.dat, 15, "la griglia finisce prima della cella 1", 0}}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    file_prova f = base;
    c.cambia(f);
    const std::vector<diagnostica> trovati = f.controlla();
    ASSERT_EQ(trovati.size(), c.attesi.size());
    for (size_t i = 0; i < trovati.size(); ++i) {
      const diagnostica& d = trovati[i];
      const atteso& a = c.attesi[i];
      EXPECT_EQ(d.livello, gravita::errore);
      EXPECT_EQ(codice_di(d), "costruzioni_diverse");
      EXPECT_EQ(d.dove.sorgente, sorgente_build::cartella);
      EXPECT_EQ(d.dove.file, *a.file);
      EXPECT_EQ(d.dove.byte, a.byte);
      EXPECT_NE(d.testo.find(a.parole), std::string::npos) << d.testo;
      ASSERT_EQ(d.correlati.size(), a.correlati);
      for (const luogo_correlato& l : d.correlati) EXPECT_EQ(l.dove.file, nomi.sim);
      // The sizes name the route length's bytes, the codes the names'.
      if (a.correlati == 1) {
        EXPECT_EQ(d.correlati[0].dove.byte, lunghezza_84);
      } else if (a.correlati == 2) {
        EXPECT_EQ(d.correlati[0].dove.byte, inizio_voce(f.testata, 86) + 14);
        EXPECT_EQ(d.correlati[1].dove.byte, r85 + 14);
      }
    }
  }
}

// `scenario draw` says the first finding of the sizes after the file's name,
// and draws files whose stamps alone are wrong.
TEST(stessa_costruzione, le_misure_sole_come_le_dice_draw) {
  file_prova f(4000);
  f.percorso.emplace_back();
  f.testata[85].intero1 = 0;
  const std::vector<diagnostica> misure =
      controlla_misure(nomi, f.testata, f.percorso, linea_controllata{f.linea, controlla_tracciato(f.linea)});
  ASSERT_EQ(misure.size(), 1u);
  EXPECT_EQ(misure[0].testo,
            "ha 222 celle, ma il percorso di 4000 m di \"x/Prova_31758.sim\" ne vuole 221: i file non vengono dalla "
            "stessa costruzione");
  f.percorso.pop_back();
  EXPECT_TRUE(controlla_misure(nomi, f.testata, f.percorso, std::nullopt).empty());
}

}  // namespace
