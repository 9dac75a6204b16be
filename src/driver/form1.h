// Form1: the single object that holds all state of one run, and the
// operations of every subsystem as member procedures working on it in place.
// Each group of members is defined in its subsystem's folder:
//   driver/    start-up, the package run, file naming, creating files, error
//              state, `errore`
//   model/     the structures below and their byte images
//   sources/   the scenario's texts and their writers
//   reader/    `memorizza_dati`, `progressive_ordina`
//   stamping/  `memo_montagna`, `memo_rallentamento`, `memo_segnale`,
//              `memo_indicatori_v_max`
//   finish/    `memorizza_percorso` and its outcome, the finishing pass, the
//              codes
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "model/nomi_file.h"
#include "driver/stati_uscita.h"
#include "finish/esito_build.h"
#include "finish/timbri.h"
#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"
#include "platform/piattaforma.h"
#include "sources/scenario.h"

// Thrown to end the program from deep inside a run (a message has been shown);
// the entry point turns it into the exit status. Nothing catches it on the way.
struct fine_programma {
  int stato = uscita_errore;
};

struct Form1 {
  explicit Form1(piattaforma& sistema) : sistema(sistema) {}

  piattaforma& sistema;

  // --- driver ---------------------------------------------------------------
  std::string nome_scenario;  // Windows-1252
  std::string numero_treno;   // Windows-1252
  // The error state of the build under way; every build clears it first.
  int32_t codice_errore = 0;
  int32_t posizione_errore = 0;
  // Where the last error recorded by the reader was met: the source file's
  // name, and the 1-based line and column of the field the error is about
  // (the token that could not be read for error 25, the position field for
  // an error with a position, else the line's key field); empty and 0 where
  // unknown. A column counts the bytes of the line, which are the characters
  // of the text as the author wrote it.
  std::string sorgente_errore;
  int32_t riga_sorgente_errore = 0;
  int32_t colonna_sorgente_errore = 0;
  // For error 25, what failed, in words (UTF-8).
  std::string dettaglio_errore;
  // For errors 16-21, what holds the cell a feature found taken, in words
  // (UTF-8), as it was when the feature met it.
  std::string occupante_errore;
  // What the reader dropped or bent without an error, as it met them
  // (reader/avvisi.h); cleared with the error state.
  std::vector<diagnostica> avvisi;
  // For errors 11-13, the features in the cells the finishing pass found
  // taken, each at the line that wrote it.
  std::vector<luogo_correlato> correlati_errore;

  // The start-up with scenario `s`: names, wait window, the five writers, the
  // build; returns the build's outcome.
  esito_build avvio(const scenario& s);
  // Why the run may not start in the program folder: a file under the name
  // of either source text that holds another text than the one the run
  // writes there and deletes after the build (an author's own, which would
  // be lost), or that cannot be read to tell. A leftover of a run cut short,
  // the very text, is taken over. Nothing when the run may start; needs
  // `testi` and the two names set.
  std::optional<std::string> sorgente_altrui();
  // The package program's report of a build: returns when the build went
  // through; otherwise shows its message and ends the program.
  void riporta_build(const esito_build& e);
  // Shows " Errore n. " followed by `a` and ends the program.
  [[noreturn]] void errore(const std::string& a);
  // Shows `testo` in the message box and ends the program with status 1.
  [[noreturn]] void messaggio_e_fine(const std::string& testo);

  // File names from the two names (Windows-1252), model/nomi_file.h.
  nomi_file nomi() const { return nomi_dei_file(nome_scenario, numero_treno); }
  std::string nome_sorgente_linea() const { return nomi().sorgente_linea; }
  std::string nome_sorgente_treno() const { return nomi().sorgente_treno; }
  std::string nome_note() const { return nomi().note; }
  std::string nome_rallentamenti() const { return nomi().rallentamenti; }
  std::string nome_scheda() const { return nomi().scheda; }
  std::string nome_file_linea() const { return nomi().file_linea; }
  std::string nome_file_sim() const { return nomi().file_sim; }
  std::string nome_file_dat() const { return nomi().file_dat; }
  // The path of a file of the program folder.
  std::filesystem::path percorso_file(std::string_view nome) const;
  // Creates the file afresh with exactly `contenuto`, written whole
  // (driver/scrittura_intera.h). A failure shows a message naming the file
  // and the reason and ends the program.
  void scrivi_file_nuovo(std::string_view nome, std::string_view contenuto);

  // --- model ----------------------------------------------------------------
  std::vector<cella> percorso;  // cells 0..N; empty until the route length sizes it
  tabella_testata testata;
  tabella_tracciato tracciato;  // absent unless crea_linea is non-zero
  std::array<int32_t, 81> inizio_montagne{};
  std::array<int32_t, 81> fine_montagne{};
  int32_t numero_montagne = 0;
  int32_t crea_linea = 0;
  std::string riga;  // the field last read from a source text

  bool griglia_dimensionata() const { return !percorso.empty(); }
  // N, the grid's last index. REQUIRES: griglia_dimensionata().
  int32_t ultima_cella() const { return static_cast<int32_t>(percorso.size()) - 1; }

  // Where each point feature on the grid came from: the line of a source
  // that stamped the cell, and the position that line wrote. The reader sets
  // the line before it stamps; the finishing pass's errors name them.
  struct origine {
    sorgente_build sorgente = sorgente_build::nessuna;
    int32_t riga = 0;
    int32_t colonna = 0;
    int32_t posizione = 0;
  };
  origine origine_corrente;
  std::unordered_map<int64_t, origine> origini;
  void segna(int64_t cella) { origini[cella] = origine_corrente; }

  // --- sources --------------------------------------------------------------
  scenario testi;  // the texts the writers put on disk; set by avvio
  void dati_linea();
  void dati_treno();
  void dati_note();
  void dati_rallentamenti();
  void dati_scheda();

  // --- reader ---------------------------------------------------------------
  void memorizza_dati();
  void progressive_ordina();

  // --- stamping -------------------------------------------------------------
  void memo_montagna(int32_t& inizio, int32_t& fine, int32_t& tipo);
  void memo_indicatori_v_max(int32_t posizione, int32_t& vas, int32_t& vbs, int32_t& vcs, int32_t& strisces,
                             int32_t& vad, int32_t& vbd, int32_t& vcd, int32_t& strisced);
  void memo_segnale(int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2, int32_t& s3, int32_t& rapp,
                    int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3, int32_t& tempo);
  void memo_rallentamento(int32_t x, int32_t& v, int32_t& l, int32_t& f_tt, int32_t f_ta, int32_t& d_v);

  // --- finish ---------------------------------------------------------------
  // The build: shows nothing, returns how it ended. A failed file operation
  // still ends the program, as scrivi_file_nuovo does. It is compila_percorso
  // and then, when the grid was sized and stamped, scrivi_binari.
  esito_build memorizza_percorso(int32_t& j);
  // The build up to its binary files: reads the two sources from the
  // program folder, finishes and stamps the model, writes nothing.
  esito_build compila_percorso(int32_t& j);
  // Writes the binary files of the model (the line file only with
  // crea_linea), each created afresh and written whole.
  void scrivi_binari();
  // The outcome as the error state and the model stand.
  esito_build esito_della_build() const;
  void cancella_testata();
  void passata_finale();
  // The smaller of x and y; x on a tie.
  static int32_t minimo(int32_t x, int32_t y);
  // The competition codes of `testata` (finish/timbri.h).
  int32_t codice_gara_og() const { return ::codice_gara_og(testata); }
  int32_t codice_gara_st() const { return ::codice_gara_st(testata); }
};

// The package program's whole run of scenario `s` over a platform; returns the
// exit status.
int esegui_pacchetto(piattaforma& sistema, const scenario& s);
