// The working state of one run of the reader `memorizza_dati`, shared by its
// phases: the field reader over the source being read, the cursors and
// counters that carry from line to line, and the steps every phase uses
// (reading a key, the grid test, recording an error, stopping).
//
// Two ways out of a phase besides its normal end:
// - `ferma` records an error, deletes the source named and throws
//   stop_lettura: the reader returns at once;
// - errore_lettura (model/errore_lettura.h), from anywhere: the read-failure
//   path, error 25.
//
// Warnings (reader/avvisi.h) are taken beside the reading, from what it has
// just done: a key field that read no value matched no key and is dropped; a
// key's last value on a later line than the key means its line ran short. The
// reading itself never looks at them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "driver/form1.h"
#include "model/errore_lettura.h"
#include "reader/avvisi.h"
#include "reader/chiavi_note.h"
#include "reader/lettore_campi.h"

struct stop_lettura {};

// Where a value field was written: its start, and just past its end.
struct campo_letto {
  luogo inizio;
  luogo fine;
};

class lettura {
 public:
  explicit lettura(Form1& form) : f(form) {}

  Form1& f;

  // The source being read.
  std::string nome_sorgente;  // Windows-1252 file name
  sorgente_build sorgente = sorgente_build::nessuna;
  std::string contenuto;
  std::optional<lettore_campi> campi;
  // Where the last key field read started, and where the position field of
  // its line did (the key's place until one is read): an error is recorded
  // at the position field when it carries a position, else at the key.
  luogo luogo_chiave;
  luogo luogo_posizione;
  luogo fine_chiave;  // just past the key field read last

  // For the warnings: where the key field read last starts in the text, and
  // whether it starts its line; the line of the last key recognised, while a
  // field left after its values on that line is still to be warned about, and
  // where that key starts; where each station's position field is.
  size_t byte_chiave = 0;
  bool chiave_a_inizio_riga = false;
  int32_t riga_valori = 0;
  size_t byte_chiave_valori = 0;
  std::array<luogo, voce_primo_cartello + 1> luogo_stazioni{};
  // The farthest position each list of the profile has reached.
  std::optional<int32_t> raggiunta_pendenza, raggiunta_velocita, raggiunta_aderenza;

  // Working values of the line source (carried from line to line).
  int32_t cursore_pendenza = 0;
  int32_t pendenza_precedente = 0;
  int32_t metro = 2;  // next metre of tracciato to compute
  int32_t contatore_cartelli = voce_primo_cartello;

  // Working values of the train source.
  int32_t cursore_velocita = 0;
  int32_t velocita_precedente = 0;
  campo_letto campo_velocita;  // where velocita_precedente was written
  // Where a read failure is the fault of, when not the field being read.
  std::optional<luogo> luogo_fallimento;
  int32_t cursore_aderenza = 0;
  int32_t aderenza_precedente = 0;
  int32_t contatore_stazioni = 1;

  // Phases, in the order the reader runs them.
  void inizio();             // name copies, errors 101 and 102, finds "[generale]"
  void sezione_generale();   // general section of the line source
  void profilo_linea();      // rest of the line source and its end steps
  void sorgente_treno();     // the train source, its end steps and last check
  void stazione();           // one station line of the train source
  void fallimento(const errore_lettura& e);  // error 25

  // Steps of the line profile: one gradient line, one curve line.
  void pendenza(int32_t posizione, int32_t valore);
  void curva(const std::string& minuscola, int32_t inizio, int32_t lunghezza);  // key in lower case

  // Reads the whole of a source into memory and starts reading it. A file
  // that is not there is the failure returned (esito::mancante); one that
  // cannot be read for another reason throws errore_lettura.
  esito apri(const std::string& nome, sorgente_build quale);
  // Throws the errore_lettura of a source that could not be read.
  [[noreturn]] static void non_letto(const std::string& nome, const esito& e);
  // Ends the reading of the current source (the file is read whole, so this
  // only forgets it), after the warning of a key whose values ran short.
  void chiudi();
  // Deletes a source; a failure throws errore_lettura.
  void cancella(const std::string& nome);

  // One pass's key field into f.riga, with the "-" rule. Returns false when
  // the loop must end (no data remains), the field then left uninterpreted.
  bool chiave_generale();  // up to ten "-" repeats, no end test between them
  bool chiave();           // up to two "-" repeats, end test after each
  // Reads one field as the key into f.riga and notes where it started.
  void leggi_chiave();
  // Reads a line's position field (32-bit) and notes where it started.
  int32_t leggi_posizione();

  // Warnings. At the end of a loop's pass over a key field of part `parte`:
  // a key that read values was recognised, one that read none is dropped.
  void dopo_chiave(parte_testo parte);
  // A key field dropped as no key, and one dropped by the "-" rule.
  void scartata(parte_testo parte);
  void trattino();
  // A line passed over on purpose (the curves without the line file).
  void riga_saltata() { riga_valori = 0; }
  // The last key read values past the end of its line.
  void controlla_valori_mancanti();
  // A feature at `posizione` past the route's length (inside the grid's
  // margin, which the caller has checked), at the line's position field.
  void oltre_fine(std::string_view elemento, int32_t posizione);
  // A line of a list (gradients, speeds, adhesions) at `posizione`, before
  // where the list had reached, at the line's position field.
  void in_ordine(std::string_view elemento, std::optional<int32_t>& raggiunta, int32_t posizione);
  // The stop cell `i` of station `nome`, about to be written over a feature
  // read before it (a sign, an indicator, a signal, a slowdown's cell, ...),
  // at the line's position field.
  void fermata_sopra(const cella& c, int64_t i, std::string_view nome);
  // Each station but the last whose area runs past the route's end.
  void aree_oltre_fine();
  // A length written negative, at its field: `di_cosa` ("del rallentamento")
  // and what the build makes of it.
  void negativo(const campo_letto& campo, std::string_view di_cosa, int32_t valore, const std::string& effetto);
  // A key field that starts like a comment (";", "#", "/", "'") and holds
  // the words of a key of part `parte`: read as that key.
  void commento(parte_testo parte);
  // A speed indicator's pairs (left, right) as the build writes them, each
  // checked against what the simulator reads back; at the right value.
  void indicatore(const std::array<int32_t, 3>& sinistri, const std::array<int32_t, 3>& destri,
                  const std::array<campo_letto, 3>& campi_destri);
  // The line being read stamps the grid next, at `posizione` as written.
  void origine(int32_t posizione) {
    f.origine_corrente = {sorgente, luogo_posizione.riga, luogo_posizione.colonna, posizione};
  }
  // The field the last read passed.
  campo_letto ultimo_campo() const { return {campi->inizio_campo(), campi->fine_campo()}; }
  // Adds a warning from `dove` to `fine` (unknown: the start alone) of the
  // source being read; returns it, for a fix or a related place.
  diagnostica& avvisa(luogo dove, codice_avviso c, std::string testo, luogo fine = {});
  // Gives `d` the fix that replaces its range by `sostituto` (Windows-1252),
  // when there is one.
  static void proponi(diagnostica& d, std::optional<std::string> sostituto);

  // Recording errors: the number, the position where it has one, and where in
  // which source the reader was (the line and column of the field the error
  // is about: the position field with a position, else the key field).
  void registra(int32_t codice);
  void registra(int32_t codice, int32_t posizione);
  // Records, closes and deletes `da_cancellare` (when not empty) and stops.
  [[noreturn]] void ferma(int32_t codice, const std::string& da_cancellare);
  [[noreturn]] void ferma(int32_t codice, int32_t posizione, const std::string& da_cancellare);
  // Closes, deletes `da_cancellare` (when not empty) and stops, the error
  // recorded already.
  [[noreturn]] void esci(const std::string& da_cancellare);

  // N; a feature met before the route length has sized the grid is a read failure.
  int32_t ultima_cella() const;
  // The grid test of a feature line: beyond the grid when
  // (posizione + margine) / 50 > N. Records code 15 at `posizione` when so.
  bool oltre_griglia(int32_t posizione, int32_t margine = 100);
  // Records code 15 at `posizione` for a line whose target cell lies outside 0..N.
  bool cella_fuori(int64_t cella, int32_t posizione);

 private:
  // `anche_chiuso`: `dove` holds after the source is closed (a place kept
  // from while it was read).
  void registra_a(int32_t codice, luogo dove, bool anche_chiuso = false);
  // The key field that starts at `byte` of the text, as written.
  std::string_view chiave_a(size_t byte) const;
  // A dropped field that does not start its line: one too many on the line
  // of a key recognised, or else part of a line already dropped.
  void in_piu();
};
