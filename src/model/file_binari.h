// The byte images of the three binary files the simulator loads. Each is a
// plain dump of one structure of the model: no header, no count, packed,
// little-endian. They fill a buffer; writing it to disk is the build's job.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"

inline constexpr size_t byte_per_cella = 15;
inline constexpr size_t byte_per_voce_senza_nome = 34;
// The pieces of the line file as the build writes it: small enough to stay
// in the cache, large enough that a line of a few km is one piece.
inline constexpr size_t pezzo_tracciato = 256 * 1024;

// `.dat`: cells 0..N, 15 bytes each.
std::string immagine_percorso(const std::vector<cella>& percorso);
// `.sim`: records 0..86, 34 + length of `nome` bytes each.
std::string immagine_testata(const tabella_testata& testata);
// `_linea.dat`: every element as a 2-byte type code and its value bytes.
std::string immagine_tracciato(const tabella_tracciato& tracciato);
// The same bytes handed to `consegna` in pieces of at most `pezzo` bytes, in
// order (none for an absent table): some 20 MB at the longest line, never held
// whole. REQUIRES: pezzo >= 10, the largest element.
void immagine_tracciato_a_pezzi(const tabella_tracciato& tracciato, size_t pezzo,
                                const std::function<void(std::string_view)>& consegna);
