// `scenario watch`: builds a scenario at once and again whenever one of its
// two source texts is saved, draws each build that writes its files, and
// serves a page on the loopback address that shows the latest drawing and
// outcome and updates itself. The output folder gets what `scenario build`
// and `scenario draw` write there, nothing else; the sources are only read.
#pragma once

#include <ostream>

#include "costruzione.h"
#include "platform/piattaforma.h"

struct richiesta_osserva {
  richiesta_build build;  // the names, the sources, the output folder, the encoding
  int porta = 0;          // 0: a free one
};

// Runs until Ctrl-C (or the console's closing). The page's address goes to
// `stampa` on its own line; each build's report goes to `errori` as
// `scenario build` writes it (with the source line of an error under it when
// `mostra_riga`), then a line of the watch's own. Exit status: 0 ended on
// request, 2 bad use (nothing built), 3 the page could not be served.
// Ctrl-C in the middle of a build ends the process itself at once, with
// status 0: the build is abandoned, nothing more of it written and no
// temporary file of it left.
int comando_watch(piattaforma& sistema, const richiesta_osserva& richiesta, bool mostra_riga, std::ostream& stampa,
                  std::ostream& errori);
