// The picture of a scenario's scene: a map of the track in plane metres
// (north up, equal scale) with its stations, signals, signs, speed indicators
// and slowdowns, and below it the profile along the route — gradient, line
// speed, adhesion, mountain sections — with station guides and chainage
// ticks, a legend and a title. One self-contained SVG document, built in
// memory.
#pragma once

#include <string>

#include "disegno/punti_piani.h"
#include "disegno/scena.h"

// The whole SVG document. `piani` null: the profile alone, no map.
std::string disegna_svg(const scena& s, const punti_piani* piani);

