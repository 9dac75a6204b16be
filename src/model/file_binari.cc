#include "model/file_binari.h"

#include "model/codifica.h"

std::string immagine_percorso(const std::vector<cella>&) { return {}; }
std::string immagine_testata(const tabella_testata&) { return {}; }
std::string immagine_tracciato(const tabella_tracciato&) { return {}; }
