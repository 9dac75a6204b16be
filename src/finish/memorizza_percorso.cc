// The build proper: reset, read, finish, stamp, write the binary files, and
// then report a build error, if one was recorded, so that a failed build never
// looks like a successful one.
#include <string>

#include "driver/form1.h"
#include "model/file_binari.h"

namespace {

// The errors recorded with a position in metres along the line.
bool ha_posizione(int32_t codice) {
  switch (codice) {
    case 6: case 7: case 8: case 9:
    case 11: case 12: case 13:
    case 15: case 16: case 17: case 18: case 19: case 20: case 21: case 22:
      return true;
    default:
      return false;
  }
}

constexpr int16_t timbro_testata = 610;
constexpr int16_t timbro_griglia = 5121;
constexpr int voce_scenario = 85;

}  // namespace

// " Errore n. 15 a 10901 m" for an error with a position, " Errore n. 2"
// for one without; a read failure (25) also says what failed, so that a file
// that could not be read or deleted is named.
std::string Form1::testo_errore_build() const {
  std::string testo = " Errore n. " + std::to_string(codice_errore);
  if (ha_posizione(codice_errore)) testo += " a " + std::to_string(posizione_errore) + " m";
  if (codice_errore == 25 && !dettaglio_errore.empty()) testo += ": " + dettaglio_errore;
  return testo;
}

void Form1::memorizza_percorso(int32_t& j) {
  crea_linea = j;
  codice_errore = 0;
  // A grid left from an earlier build must never be written as this one's.
  percorso.clear();
  tracciato = tabella_tracciato{};
  cancella_testata();
  memorizza_dati();

  // Without a grid there is nothing to finish or write; an earlier run's
  // binary files stay as they are.
  if (!griglia_dimensionata() || ultima_cella() < 1) {
    if (codice_errore != 0) messaggio_e_fine(testo_errore_build());
    // The reader records an error whenever it stops short of the grid; this
    // only guards against a reader that did not.
    messaggio_e_fine("Lunghezza del percorso mancante: nessun file binario scritto");
  }

  passata_finale();

  // Stamps and codes go only into places still unused; a used place means the
  // scenario is not what the simulator expects, and nothing is written.
  voce& scenario = testata[voce_scenario];
  cella& prima = percorso[1];
  if (scenario.intero1 != 0 || prima.dato1 != 0) errore("1250");
  scenario.intero1 = timbro_testata;
  prima.dato1 = timbro_griglia;
  if (scenario.orario != 0 || prima.dato2 != 0) errore("1251");
  scenario.orario = codice_gara_st();
  prima.dato2 = basso16(codice_gara_og());

  if (crea_linea != 0) scrivi_file_nuovo(nome_file_linea(), tracciato.immagine());
  scrivi_file_nuovo(nome_file_sim(), immagine_testata(testata));
  scrivi_file_nuovo(nome_file_dat(), immagine_percorso(percorso));

  if (codice_errore != 0) messaggio_e_fine(testo_errore_build());
}

void Form1::cancella_testata() {
  for (voce& v : testata) v = voce{};
}
