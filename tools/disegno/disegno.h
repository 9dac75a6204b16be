// The picture of a scenario's scene: a map of the track in plane metres
// (north up, equal scale) with its stations, signals, signs, speed indicators
// and slowdowns, and below it the profile along the route — gradient, line
// speed, adhesion, mountain sections — with station guides and chainage
// ticks, a legend and a title. One self-contained SVG document, built in
// memory.
#pragma once

#include <string>

#include "disegno/scena.h"
#include "model/tracciato.h"

// The whole SVG document. `tracciato` null: the profile alone, no map.
std::string disegna_svg(const scena& s, const tabella_tracciato* tracciato);
