// The stamps and the two competition codes that every build puts into its
// files, as free functions over the header table, so that a check of files
// handed in (the decoders, `scenario draw`) computes them as the build does.
// The simulator checks the codes against the names, so every byte of the rule
// matters.
#pragma once

#include <cstdint>

#include "model/cella.h"
#include "model/voce.h"

// The stamp in header record 85's intero1 and in cell 1's dato1.
inline constexpr int16_t timbro_testata = 610;
inline constexpr int16_t timbro_griglia = 5121;

// The codes, from the train number and the scenario name as records 86 and
// 85 hold them: lower-cased, padded with a fixed filler, the first 25
// characters summed (og) and summed by place (st).
int32_t codice_gara_og(const tabella_testata& testata);
int32_t codice_gara_st(const tabella_testata& testata);

// Puts the stamps and the codes into their places: record 85's intero1 and
// orario, cell 1's dato1 and dato2. Returns 0, or 1250 (the first stamp's
// places are taken) or 1251 (the codes' places are taken), and then changes
// nothing of the second pair.
int32_t metti_timbri(tabella_testata& testata, cella& prima);
