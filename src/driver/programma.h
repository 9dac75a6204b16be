// The package program's whole run, from its entry: the scenario it runs is
// the one appended to its own file (carico/carico.h) when it carries one,
// else the one compiled into it. A payload that is damaged, cut short, of an
// unknown version or whose texts break their rules stops the run before
// anything is shown or written: a message "Pacchetto danneggiato: ..." and
// exit status 1.
#pragma once

#include "platform/piattaforma.h"
#include "sources/scenario.h"

// Returns the exit status.
int esegui_programma(piattaforma& sistema, const scenario& incorporato);
