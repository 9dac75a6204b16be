// `scenario unpack`: the scenario folder back out of a program made by
// `scenario pack`, for Linux or Windows alike, so that an author who has only
// the program recovers the seven files as the program holds them.
#pragma once

#include <filesystem>
#include <ostream>

#include "model/testo_autore.h"
#include "platform/piattaforma.h"

// The whole command; returns the exit status: 0 written, 1 a program without
// a payload or with a damaged one, 2 bad use or a program that cannot be
// read (nothing written), 3 a failed file operation. `codifica`: the files
// as held (windows1252) or in UTF-8 (cartella_su_disco.h).
int comando_unpack(piattaforma& sistema, const std::filesystem::path& programma, const std::filesystem::path& cartella,
                   codifica_testo codifica, std::ostream& errori, std::ostream* riepilogo = nullptr);
