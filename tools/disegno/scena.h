// The scene of a build: what its picture shows, read out of its three decoded
// binary files, texts in UTF-8. Positions on the route: a cell's layers
// (gradient, speed, adhesion, mountain) cover metres [50 i, 50 (i + 1)); a
// point feature in cell i stands at metre 50 (i - 1), the inverse of the cell
// formula of signals, signs, slowdowns and indicators, and station stop cells
// are placed by the same rule.
//
// Features past the route's end (the route length of record 84) are flagged,
// as far as the files show them: a station by the position of its record;
// signals, signs, indicators and slowdowns by their cell, so one less than
// about 25 m past the end is not seen; the area of a station with another
// station after it. Code points are not drawn: the finishing pass adds its
// own, which the grid does not tell apart from an author's.
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
    bool oltre_fine = false;     // past the route's end
  };
  struct tratto {
    int32_t da = 0;  // metres, da < a
    int32_t a = 0;
    int32_t valore = 0;  // slowdown speed, mountain type
    std::string dettaglio;
    bool oltre_fine = false;  // a slowdown that starts past the route's end, a station area with another after it
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

// How many features of the scene are flagged past the route's end (the
// warnings a drawing can see).
size_t oltre_la_fine(const scena& s);

// REQUIRES: `percorso` has at least one cell.
scena leggi_scena(const std::vector<cella>& percorso, const tabella_testata& testata);

// The chainage at route metre `metro`, from the nearest reference at or
// before it (the first one before them all), written as km+metres.
std::string progressiva(const std::vector<scena::riferimento>& riferimenti, int64_t metro);

// A distance as the scene's texts write it: "1200 m".
std::string metri(int64_t m);
