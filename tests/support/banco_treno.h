// A bench for the train-source phase of the reader: a Form1 over an in-memory
// platform with a grid sized by hand, a train source put on disk as lines, and
// the phase run as memorizza_dati runs it (stop and read failure included).
// A stand-in line source stays on disk, so a test can see which sources a
// stop deletes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "driver/form1.h"
#include "model/dimensioni.h"
#include "model/errore_lettura.h"
#include "reader/lettura.h"
#include "sources/scenario_incorporato.h"
#include "support/file_system_fake.h"

struct banco_treno {
  sistema_finto sistema;
  Form1 f{sistema};
  int32_t contatore_cartelli = 80;  // as the line source left it
  int32_t contatore_stazioni = 0;   // as the phase left it

  // A grid for a route of `lunghezza` metres: N = 220 for 4000.
  explicit banco_treno(int32_t lunghezza = 4000) {
    f.testi = scenario_incorporato();
    f.nome_scenario = "Borvale PF_Borvale PR";
    f.numero_treno = "31758";
    f.testata[84].secondo = lunghezza;
    f.percorso.assign(static_cast<size_t>(ultima_cella_della_griglia(lunghezza)) + 1, cella{});
    sistema.file[f.nome_sorgente_linea()] = "[generale]\r\n";
  }

  // The train source, each line ended by CR LF.
  void sorgente(std::initializer_list<std::string_view> righe) {
    std::string testo;
    for (std::string_view r : righe) testo.append(r).append("\r\n");
    sorgente_testo(testo);
  }
  void sorgente_testo(std::string testo) { sistema.file[f.nome_sorgente_treno()] = std::move(testo); }

  void leggi() {
    lettura l(f);
    l.contatore_cartelli = contatore_cartelli;
    try {
      l.sorgente_treno();
    } catch (const stop_lettura&) {
    } catch (const errore_lettura& e) {
      l.fallimento(e);
    }
    contatore_stazioni = l.contatore_stazioni;
  }

  bool treno_su_disco() const { return sistema.file.count(f.nome_sorgente_treno()) != 0; }
  bool linea_su_disco() const { return sistema.file.count(f.nome_sorgente_linea()) != 0; }
  cella& c(int i) { return f.percorso.at(static_cast<size_t>(i)); }
  voce& r(int i) { return f.testata.at(static_cast<size_t>(i)); }
};
