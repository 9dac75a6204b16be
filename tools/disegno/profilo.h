// The profile of a drawing along the route, on one axis of route metres:
// gradient, line speed with the slowdowns and indicators, adhesion, mountain
// sections, signals and signs, station guides with their names, and the km
// axis with the chainage under it.
#pragma once

#include <string>

#include "disegno/scena.h"

// The panels' SVG from `y` down; `y` is moved below them.
std::string disegna_profilo(const scena& s, double& y);
