// `scenario new`: a starter scenario folder, a small complete scenario with
// every kind of feature that builds with no error (scenarios/valdigrano,
// compiled into the tool), for a new author to start from.
#pragma once

#include <filesystem>
#include <ostream>

#include "model/testo_autore.h"
#include "platform/piattaforma.h"
#include "sources/scenario.h"

// The starter scenario; its definition is generated from
// scenarios/valdigrano at build time (tools/CMakeLists.txt).
scenario scenario_iniziale();

// The whole command; returns the exit status: 0 written, 2 bad use (a file
// where the folder goes, or a folder that already holds a scenario's files),
// 3 a failed file operation. `codifica`: the files in Windows-1252 or in
// UTF-8 (cartella_su_disco.h).
int comando_new(piattaforma& sistema, const std::filesystem::path& cartella, codifica_testo codifica,
                std::ostream& errori, std::ostream* riepilogo = nullptr);
