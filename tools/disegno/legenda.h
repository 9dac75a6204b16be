// The legend under a drawing: a sample of each kind of mark with its name,
// and a note on the units.
#pragma once

#include <string>

#include "disegno/scena.h"

// The legend's SVG from `y` down; `y` is moved below it. `con_mappa`: the
// drawing has the map, whose marks alone the track and the station circle are.
std::string disegna_legenda(const scena& s, bool con_mappa, double& y);
