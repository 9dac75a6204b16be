// The build proper: reset, read, finish, stamp, and return how it ended;
// then, in the package run, write the binary files. Nothing here shows a build error; the package run and
// the author tool each report the outcome in their own way.
#include <string>

#include "diagnosi/errori_build.h"
#include "driver/form1.h"
#include "model/descrizione_cella.h"
#include "model/file_binari.h"

esito_build Form1::esito_della_build() const {
  esito_build e;
  e.codice_errore = codice_errore;
  e.griglia_dimensionata = griglia_dimensionata() && ultima_cella() >= 1;
  e.diagnostiche = avvisi;
  if (codice_errore == 0) return e;
  if (ha_posizione(codice_errore)) e.posizione = posizione_errore;
  // What the reader said of the cause, where it knows it (error 25's
  // failure, the last position allowed for error 15, ...).
  e.dettaglio = dettaglio_errore;
  if (codice_errore >= 16 && codice_errore <= 21 && !occupante_errore.empty())
    e.dettaglio = "nella cella c'è " + occupante_errore;

  diagnostica& d = e.diagnostiche.emplace_back();
  d.livello = gravita::errore;
  d.errore = codice_errore;
  d.metri = e.posizione;
  d.testo = testo_errore_numerato(codice_errore, e.posizione, e.dettaglio);
  if (!sorgente_errore.empty()) {
    d.dove.sorgente = sorgente_errore == nome_sorgente_linea()   ? sorgente_build::linea
                      : sorgente_errore == nome_sorgente_treno() ? sorgente_build::treno
                                                                 : sorgente_build::nessuna;
    d.dove.riga = riga_sorgente_errore;
    d.dove.colonna = riga_sorgente_errore > 0 ? colonna_sorgente_errore : 0;
  }
  d.correlati = correlati_errore;
  return e;
}

esito_build Form1::compila_percorso(int32_t& j) {
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
  correlati_errore.clear();
  origini.clear();
  percorso.clear();
  tracciato = tabella_tracciato{};
  numero_montagne = 0;
  cancella_testata();
  memorizza_dati();

  // Without a grid there is nothing to finish or write.
  if (!griglia_dimensionata() || ultima_cella() < 1) return esito_della_build();

  passata_finale();

  // A stamp's place already used means the scenario is not what the
  // simulator expects, and nothing is written.
  cella& prima = percorso[1];
  if (const int32_t timbro = metti_timbri(testata, prima); timbro != 0) {
    esito_build e = esito_della_build();
    e.timbro_fallito = timbro;
    // The sources never write the record's places; a feature may take the cell.
    std::string dettaglio;
    if (!cella_libera(prima))
      dettaglio = "nella cella 1 della griglia, all'inizio del percorso e riservata al timbro, c'è " +
                  elemento_della_cella(prima, testata) + ": va messo più avanti";
    diagnostica& d = e.diagnostiche.emplace_back();
    d.livello = gravita::errore;
    d.errore = timbro;
    d.testo = testo_errore_numerato(timbro, std::nullopt, dettaglio);
    return e;
  }
  return esito_della_build();
}

void Form1::scrivi_binari() {
  if (crea_linea != 0) scrivi_file_nuovo(nome_file_linea(), tracciato.immagine());
  scrivi_file_nuovo(nome_file_sim(), immagine_testata(testata));
  scrivi_file_nuovo(nome_file_dat(), immagine_percorso(percorso));
}

esito_build Form1::memorizza_percorso(int32_t& j) {
  esito_build e = compila_percorso(j);
  // An earlier run's binary files stay as they are when no new ones are made.
  if (e.file_scritti()) scrivi_binari();
  return e;
}

void Form1::cancella_testata() {
  for (voce& v : testata) v = voce{};
}
