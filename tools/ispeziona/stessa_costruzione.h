// Whether three binary files handed in, once decoded, come from one build.
// A build sizes the grid and the line by the route length of header record
// 84 (model/dimensioni.h), and puts the stamps and the two competition codes
// of the names in records 85 and 86 into record 85 and cell 1
// (finish/timbri.h); files of two builds, or edited after their build, break
// one of these. Each finding is an error, with code costruzioni_diverse: the
// file it is about by its name as given (UTF-8), the byte it starts at in
// that file, and the words; a second place where there is one (the route
// length, the names the codes come from).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diagnosi/diagnostica.h"
#include "model/cella.h"
#include "model/voce.h"

// The three files' names as the diagnostics give them.
struct nomi_costruzione {
  std::string sim, dat, linea;
};

// A line file that controlla_tracciato (ispeziona/decodifica.h) accepted:
// its bytes and the last metre it returned.
struct linea_controllata {
  std::string_view dati;
  int32_t ultimo_metro = 0;
};

// The grid, and the line when there is one, against the route length: one
// finding for each file that does not fit it, the grid's first. What
// `scenario draw` checks, as the drawing needs the three to agree.
std::vector<diagnostica> controlla_misure(const nomi_costruzione& nomi, const tabella_testata& testata,
                                          const std::vector<cella>& percorso,
                                          const std::optional<linea_controllata>& linea);

// The stamps in record 85 and cell 1, and the codes there against the names.
std::vector<diagnostica> controlla_timbri(const nomi_costruzione& nomi, const tabella_testata& testata,
                                          const std::vector<cella>& percorso);

// Both, sizes first.
std::vector<diagnostica> controlla_costruzione(const nomi_costruzione& nomi, const tabella_testata& testata,
                                               const std::vector<cella>& percorso,
                                               const std::optional<linea_controllata>& linea);
