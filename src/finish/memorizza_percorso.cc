// The build proper: reset, read, finish, stamp, write the binary files, and
// return how it ended. Nothing here shows a build error; the package run and
// the author tool each report the outcome in their own way.
#include <string>

#include "driver/errori_build.h"
#include "driver/form1.h"
#include "model/file_binari.h"

esito_build Form1::esito_della_build() const {
  esito_build e;
  e.codice_errore = codice_errore;
  e.griglia_dimensionata = griglia_dimensionata() && ultima_cella() >= 1;
  e.avvisi = avvisi;
  if (codice_errore == 0) return e;
  if (ha_posizione(codice_errore)) e.posizione = posizione_errore;
  if (!sorgente_errore.empty()) {
    e.nome_sorgente = sorgente_errore;
    e.sorgente = sorgente_errore == nome_sorgente_linea()   ? sorgente_build::linea
                 : sorgente_errore == nome_sorgente_treno() ? sorgente_build::treno
                                                            : sorgente_build::nessuna;
    e.riga = riga_sorgente_errore;
    e.colonna = colonna_sorgente_errore;
  }
  if (codice_errore == 25) e.dettaglio = dettaglio_errore;
  if (codice_errore >= 16 && codice_errore <= 21 && !occupante_errore.empty())
    e.dettaglio = "nella cella c'è " + occupante_errore;
  return e;
}

esito_build Form1::memorizza_percorso(int32_t& j) {
  crea_linea = j;
  // Nothing of an earlier build may show in this one: neither its error nor
  // its grid, which must never be written as this one's.
  codice_errore = 0;
  posizione_errore = 0;
  sorgente_errore.clear();
  riga_sorgente_errore = 0;
  colonna_sorgente_errore = 0;
  dettaglio_errore.clear();
  occupante_errore.clear();
  avvisi.clear();
  percorso.clear();
  tracciato = tabella_tracciato{};
  numero_montagne = 0;
  cancella_testata();
  memorizza_dati();

  // Without a grid there is nothing to finish or write; an earlier run's
  // binary files stay as they are.
  if (!griglia_dimensionata() || ultima_cella() < 1) return esito_della_build();

  passata_finale();

  // A stamp's place already used means the scenario is not what the
  // simulator expects, and nothing is written.
  cella& prima = percorso[1];
  if (const int32_t timbro = metti_timbri(testata, prima); timbro != 0) {
    esito_build e = esito_della_build();
    e.timbro_fallito = timbro;
    // The sources never write the record's places; a feature may take the cell.
    if (!cella_libera(prima))
      e.dettaglio_timbro = "nella cella 1 della griglia, all'inizio del percorso e riservata al timbro, c'è " +
                           elemento_della_cella(prima, testata) + ": va messo più avanti";
    return e;
  }

  if (crea_linea != 0) scrivi_file_nuovo(nome_file_linea(), tracciato.immagine());
  scrivi_file_nuovo(nome_file_sim(), immagine_testata(testata));
  scrivi_file_nuovo(nome_file_dat(), immagine_percorso(percorso));
  return esito_della_build();
}

void Form1::cancella_testata() {
  for (voce& v : testata) v = voce{};
}
