// The reader's frame: its phases in order, the common steps of lettura, and
// the one read-failure path (error 25).
#include "model/errore_lettura.h"
#include "model/windows1252.h"
#include "reader/chiavi.h"
#include "reader/lettura.h"

void Form1::memorizza_dati() {
  lettura l(*this);
  try {
    l.inizio();
    l.sezione_generale();
    progressive_ordina();
    l.profilo_linea();
    l.sorgente_treno();
  } catch (const stop_lettura&) {
  } catch (const errore_lettura& e) {
    l.fallimento(e);
  }
}

void lettura::inizio() {
  f.testata[voce_scenario].nome = f.nome_scenario;
  f.testata[voce_treno].nome = f.numero_treno;
  const std::string sorgente = f.nome_sorgente_linea();
  if (!f.sistema.esiste(f.percorso_file(sorgente))) {
    nome_sorgente = sorgente;
    ferma(101, "");
  }
  apri(sorgente);
  for (;;) {
    if (campi->finito()) ferma(102, sorgente);
    riga_chiave = campi->riga();
    f.riga = campi->testo();
    if (campi->finito()) ferma(102, sorgente);
    if (contiene_minuscolo(f.riga, "[generale]")) return;
  }
}

void lettura::fallimento(const errore_lettura& e) {
  // Where it failed is recorded while the source is still open.
  registra(25);
  f.dettaglio_errore = e.motivo;
  chiudi();
  for (const std::string& sorgente : {f.nome_sorgente_linea(), f.nome_sorgente_treno()}) {
    std::filesystem::path p = f.percorso_file(sorgente);
    // Nothing more can be done about a source that will not go away.
    if (f.sistema.esiste(p)) f.sistema.rimuovi(p);
  }
}

void lettura::apri(const std::string& nome) {
  nome_sorgente = nome;
  riga_chiave = 0;
  campi.reset();
  if (esito e = f.sistema.leggi(f.percorso_file(nome), contenuto); !e)
    throw errore_lettura{"impossibile leggere il file \"" + da_cp1252_a_utf8(nome) + "\": " + e.motivo};
  campi.emplace(contenuto);
}

void lettura::chiudi() { campi.reset(); }

void lettura::cancella(const std::string& nome) {
  if (esito e = f.sistema.rimuovi(f.percorso_file(nome)); !e)
    throw errore_lettura{"impossibile cancellare il file \"" + da_cp1252_a_utf8(nome) + "\": " + e.motivo};
}

bool lettura::chiave_generale() {
  if (campi->finito()) return false;
  riga_chiave = campi->riga();
  f.riga = campi->testo();
  for (int i = 0; i < 10 && f.riga.find('-') != std::string::npos; ++i) {
    riga_chiave = campi->riga();
    f.riga = campi->testo();
  }
  return !campi->finito();
}

bool lettura::chiave() {
  if (campi->finito()) return false;
  riga_chiave = campi->riga();
  f.riga = campi->testo();
  if (campi->finito()) return false;
  for (int i = 0; i < 2 && f.riga.find('-') != std::string::npos; ++i) {
    riga_chiave = campi->riga();
    f.riga = campi->testo();
    if (campi->finito()) return false;
  }
  return true;
}

void lettura::registra(int32_t codice) {
  f.codice_errore = codice;
  f.sorgente_errore = nome_sorgente;
  f.riga_sorgente_errore = campi ? riga_chiave : 0;
  f.dettaglio_errore.clear();
}

void lettura::registra(int32_t codice, int32_t posizione) {
  registra(codice);
  f.posizione_errore = posizione;
}

void lettura::ferma(int32_t codice, const std::string& da_cancellare) {
  registra(codice);
  chiudi();
  if (!da_cancellare.empty()) cancella(da_cancellare);
  throw stop_lettura{};
}

void lettura::ferma(int32_t codice, int32_t posizione, const std::string& da_cancellare) {
  f.posizione_errore = posizione;
  ferma(codice, da_cancellare);
}

int32_t lettura::ultima_cella() const {
  if (!f.griglia_dimensionata()) throw errore_lettura{"riga di percorso prima della lunghezza del percorso"};
  return f.ultima_cella();
}

bool lettura::oltre_griglia(int32_t posizione, int32_t margine) {
  int32_t n = ultima_cella();
  if ((static_cast<double>(posizione) + margine) / 50.0 > n) {
    registra(15, posizione);
    return true;
  }
  return false;
}

bool lettura::cella_fuori(int64_t cella, int32_t posizione) {
  if (cella < 0 || cella > ultima_cella()) {
    registra(15, posizione);
    return true;
  }
  return false;
}
