// What a grid cell holds, in words, for the messages that name what took a
// place another feature needed: the errors of the stamping, the stamp check
// and the reader's warnings.
#pragma once

#include <string>
#include <string_view>

#include "model/cella.h"
#include "model/voce.h"

// A noun with its article: "un segnale", "il cartello \"...\"" (its text
// from `testata`), "l'inizio di un rallentamento", ... (UTF-8).
std::string elemento_della_cella(const cella& c, const tabella_testata& testata);
// The same after "di": "di un segnale", "del cartello \"...\"", ...
std::string di_elemento(std::string_view elemento);
