// The map panel of a drawing: the track in plane metres, north up and at
// equal scale, with the stations' areas, the slowdowns, every feature's mark,
// the labels that fit, a scale bar and a north arrow.
#pragma once

#include <string>

#include "disegno/punti_piani.h"
#include "disegno/scena.h"

// The panel's SVG from `y` down; `y` is moved below it. REQUIRES: `piani`
// is not empty.
std::string disegna_mappa(const scena& s, const punti_piani& piani, double& y);
