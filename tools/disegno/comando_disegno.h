// `scenario draw`: the three binary files of a build, found by the scenario's
// name and train number, drawn into one SVG file. The files are checked whole
// before anything is written, and the SVG reaches its name only complete (a
// temporary file renamed), so a failure leaves no file and an older drawing
// untouched. Without the line file the drawing is the profile alone.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "platform/piattaforma.h"

struct richiesta_disegno {
  std::string nome;                             // nome_scenario, as in the file names (UTF-8)
  std::string numero;                           // numero_treno, likewise
  std::filesystem::path cartella = ".";         // where the binary files are
  std::optional<std::filesystem::path> uscita;  // default CARTELLA/NAME_NUMBER.svg
};

// Exit status: 0 drawn, 1 a binary file missing, unreadable or not valid,
// 2 bad use (nothing read), 3 the SVG could not be written. Notes, errors and
// a warning that features lie past the route's end go to `errori`; the
// warning leaves the status 0.
int comando_draw(piattaforma& sistema, const richiesta_disegno& richiesta, std::ostream& errori);
