// The package program's message for a build error, from the outcome.
#pragma once

#include <string>

#include "finish/esito_build.h"

// " Errore n. " and the number, " a <metres> m" for an error that carries a
// position, and for a read failure (25) what failed, so that a file that
// could not be read or deleted is named.
std::string testo_errore_build(const esito_build& e);
