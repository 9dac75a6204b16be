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
  // By source and place: a few are only known once a source is read.
  ordina_diagnostiche(avvisi);
}

void lettura::inizio() {
  f.testata[voce_scenario].nome = f.nome_scenario;
  f.testata[voce_treno].nome = f.numero_treno;
  const std::string sorgente = f.nome_sorgente_linea();
  if (!apri(sorgente, sorgente_build::linea)) ferma(101, "");  // the line source is not there
  if (campi->finito()) {
    registra(102);
    f.dettaglio_errore = "il file è vuoto";
    esci(sorgente);
  }
  for (;;) {
    if (campi->finito()) ferma(102, sorgente);
    leggi_chiave();
    if (campi->finito()) ferma(102, sorgente);
    if (contiene_minuscolo(f.riga, "[generale]")) return;
  }
}

void lettura::fallimento(const errore_lettura& e) {
  // Where it failed is recorded while the source is still open: at the token
  // that could not be read, or else at the key of the line.
  if (luogo_fallimento) {
    registra_a(25, *luogo_fallimento, true);
  } else {
    registra_a(25, campi && campi->campo_rifiutato() ? campi->inizio_campo() : luogo_chiave);
  }
  f.dettaglio_errore = e.motivo;
  chiudi();
  for (const std::string& sorgente : {f.nome_sorgente_linea(), f.nome_sorgente_treno()}) {
    std::filesystem::path p = f.percorso_file(sorgente);
    // Nothing more can be done about a source that will not go away, and
    // one that is not there is gone already.
    (void)f.sistema.rimuovi(p);
  }
}

esito lettura::apri(const std::string& nome, sorgente_build quale) {
  nome_sorgente = nome;
  sorgente = quale;
  luogo_chiave = luogo_posizione = fine_chiave = {};
  byte_chiave = byte_chiave_valori = 0;
  riga_valori = 0;
  campi.reset();
  if (esito e = f.sistema.leggi(f.percorso_file(nome), contenuto); !e) {
    if (e.mancante) return e;
    non_letto(nome, e);
  }
  campi.emplace(contenuto);
  campi->raccogli_avvisi(&f.avvisi, quale);
  return esito::riuscito();
}

void lettura::non_letto(const std::string& nome, const esito& e) {
  throw errore_lettura{"impossibile leggere il file \"" + da_cp1252_a_utf8(nome) + "\": " + e.motivo};
}

void lettura::chiudi() {
  if (campi) controlla_valori_mancanti();
  campi.reset();
}

void lettura::cancella(const std::string& nome) {
  if (esito e = f.sistema.rimuovi(f.percorso_file(nome)); !e)
    throw errore_lettura{"impossibile cancellare il file \"" + da_cp1252_a_utf8(nome) + "\": " + e.motivo};
}

bool lettura::chiave_generale() {
  if (campi->finito()) return false;
  leggi_chiave();
  for (int i = 0; i < 10 && f.riga.find('-') != std::string::npos; ++i) {
    trattino();
    leggi_chiave();
  }
  if (campi->finito()) return false;
  commento(parte_testo::generale_linea);
  return true;
}

bool lettura::chiave() {
  if (campi->finito()) return false;
  leggi_chiave();
  if (campi->finito()) return false;
  for (int i = 0; i < 2 && f.riga.find('-') != std::string::npos; ++i) {
    trattino();
    leggi_chiave();
    if (campi->finito()) return false;
  }
  commento(sorgente == sorgente_build::treno ? parte_testo::treno : parte_testo::profilo_linea);
  return true;
}

void lettura::leggi_chiave() {
  controlla_valori_mancanti();
  const int32_t riga_prima = campi->inizio_campo().riga;  // of the field read last
  f.riga = campi->testo();
  luogo_chiave = luogo_posizione = campi->inizio_campo();
  fine_chiave = campi->fine_campo();
  byte_chiave = campi->inizio_campo_byte();
  chiave_a_inizio_riga = luogo_chiave.riga > riga_prima;
}

int32_t lettura::leggi_posizione() {
  const int32_t v = campi->numero_long();
  luogo_posizione = campi->inizio_campo();
  return v;
}

void lettura::registra_a(int32_t codice, luogo dove, bool anche_chiuso) {
  f.codice_errore = codice;
  f.sorgente_errore = nome_sorgente;
  if (!campi && !anche_chiuso) dove = {};
  f.riga_sorgente_errore = dove.riga;
  f.colonna_sorgente_errore = dove.colonna;
  f.dettaglio_errore.clear();
}

void lettura::registra(int32_t codice) { registra_a(codice, luogo_chiave); }

void lettura::registra(int32_t codice, int32_t posizione) {
  registra_a(codice, luogo_posizione);
  f.posizione_errore = posizione;
}

void lettura::esci(const std::string& da_cancellare) {
  chiudi();
  if (!da_cancellare.empty()) cancella(da_cancellare);
  throw stop_lettura{};
}

void lettura::ferma(int32_t codice, const std::string& da_cancellare) {
  registra(codice);
  esci(da_cancellare);
}

void lettura::ferma(int32_t codice, int32_t posizione, const std::string& da_cancellare) {
  registra(codice, posizione);
  esci(da_cancellare);
}

int32_t lettura::ultima_cella() const {
  if (!f.griglia_dimensionata()) throw errore_lettura{"riga di percorso prima della lunghezza del percorso"};
  return f.ultima_cella();
}

bool lettura::oltre_griglia(int32_t posizione, int32_t margine) {
  int32_t n = ultima_cella();
  if ((static_cast<double>(posizione) + margine) / 50.0 > n) {
    registra(15, posizione);
    f.dettaglio_errore = "qui la posizione più lontana ammessa è " + std::to_string(int64_t{n} * 50 - margine) +
                         " m, con un percorso lungo " + std::to_string(f.testata[voce_treno_e_percorso].secondo) +
                         " m";
    return true;
  }
  return false;
}

bool lettura::cella_fuori(int64_t cella, int32_t posizione) {
  if (cella < 0 || cella > ultima_cella()) {
    registra(15, posizione);
    f.dettaglio_errore = cella < 0 ? "la sua cella cade prima dell'inizio della griglia"
                                   : "la sua cella cade oltre l'ultima della griglia, a " +
                                         std::to_string(int64_t{ultima_cella()} * 50) + " m";
    return true;
  }
  return false;
}
