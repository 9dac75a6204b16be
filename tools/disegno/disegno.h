// The picture of a scenario, from its three decoded binary files: a map of
// the track in plane metres (north up, equal scale) with its stations,
// signals, signs, speed indicators and slowdowns, and below it the profile
// along the route — gradient, line speed, adhesion, mountain sections —
// with station guides and chainage ticks, a legend and a title. One
// self-contained SVG document, built in memory.
//
// Positions on the route: a cell's layers (gradient, speed, adhesion,
// mountain) cover metres [50 i, 50 (i + 1)); a point feature in cell i stands
// at metre 50 (i - 1), the inverse of the cell formula of signals, signs,
// slowdowns and indicators, and station stop cells are placed by the same
// rule.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"

// What the picture shows, read from the files; texts in UTF-8.
struct scena {
  struct segno {
    int32_t metro = 0;
    std::string testo;           // name, sign text, indicator speeds
    std::string dettaglio;       // for the tooltip
    bool senza_fermata = false;  // a station without a stop cell: drawn at its position
    int32_t valore = 0;          // an indicator's first speed, km/h
  };
  struct tratto {
    int32_t da = 0;  // metres, da < a
    int32_t a = 0;
    int32_t valore = 0;  // slowdown speed, mountain type
    std::string dettaglio;
  };
  struct riferimento {
    int32_t metro = 0;
    int32_t progressiva = 0;
  };

  std::string nome_scenario;
  std::string numero_treno;
  int32_t lunghezza = 0;  // route length of record 84
  int32_t fine = 0;       // end of the drawn stretch: the route, or the farthest feature past it

  std::vector<segno> stazioni, segnali, cartelli, indicatori, avvisi;
  std::vector<tratto> rallentamenti, aree_stazione, montagne;
  // Layers of the cells that cover [0, fine): gradient, km/h, adhesion.
  std::vector<double> pendenza, velocita, aderenza;
  std::vector<riferimento> riferimenti;  // chainage references, by route metre
};

// REQUIRES: `percorso` has at least one cell.
scena leggi_scena(const std::vector<cella>& percorso, const tabella_testata& testata);

// The chainage at route metre `metro`, from the nearest reference at or
// before it (the first one before them all), written as km+metres.
std::string progressiva(const std::vector<scena::riferimento>& riferimenti, int64_t metro);

// The whole SVG document. `tracciato` null: the profile alone, no map.
std::string disegna_svg(const scena& s, const tabella_tracciato* tracciato);
