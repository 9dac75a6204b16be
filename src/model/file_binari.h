// The byte images of the three binary files the simulator loads. Each is a
// plain dump of one structure of the model: no header, no count, packed,
// little-endian. They fill a buffer; writing it to disk is the build's job.
#pragma once

#include <string>
#include <vector>

#include "model/cella.h"
#include "model/voce.h"

inline constexpr size_t byte_per_cella = 15;
inline constexpr size_t byte_per_voce_senza_nome = 34;

// `.dat`: cells 0..N, 15 bytes each.
std::string immagine_percorso(const std::vector<cella>& percorso);
// `.sim`: records 0..86, 34 + length of `nome` bytes each.
std::string immagine_testata(const tabella_testata& testata);
// `_linea.dat` is the coordinate table's own bytes: tabella_tracciato::immagine().
