// `scenario draw`: the three binary files of a build, found by the scenario's
// name and train number, drawn into one SVG file (or, for `scenario watch`,
// from the bytes a build holds, into memory). The files are checked whole
// before anything is written, and the SVG reaches its name only complete (a
// temporary file renamed), so a failure leaves no file and an older drawing
// untouched. Without the line file the drawing is the profile alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "disegno/punti_piani.h"
#include "platform/piattaforma.h"

struct richiesta_disegno {
  std::string nome;                             // nome_scenario, as in the file names (UTF-8)
  std::string numero;                           // numero_treno, likewise
  std::filesystem::path cartella = ".";         // where the binary files are
  std::optional<std::filesystem::path> file_disegno;  // default CARTELLA/NAME_NUMBER.svg
};

// Where the drawing of `richiesta` goes: its --out, or NAME_NUMBER.svg
// beside the binary files.
std::filesystem::path percorso_disegno(const richiesta_disegno& richiesta);

// How many of each feature the drawing shows, for a summary in words.
struct conteggi_scena {
  int32_t lunghezza = 0;  // route length, metres
  size_t stazioni = 0, segnali = 0, cartelli = 0, indicatori = 0, rallentamenti = 0, montagne = 0;
  size_t oltre_la_fine = 0;  // features flagged past the route's end
};

// The drawing of a build, made in memory: nothing is written.
struct disegno_build {
  int stato = 0;  // 0 drawn; else the exit status of the command, as below
  // Notes and errors, one line each; a drawing without the line file has a
  // note.
  std::vector<std::string> righe;
  std::string svg;  // when drawn
  conteggi_scena conteggi;
  std::filesystem::path file_disegno;  // where the command writes the drawing
};

// Reads, checks and draws the binary files of `richiesta`.
disegno_build disegna_build(piattaforma& sistema, const richiesta_disegno& richiesta);

// The three binary files' bytes, as a build holds them before they go.
struct immagini_build {
  std::string_view sim, dat;
  std::optional<std::string_view> linea;  // none: no line file
};

// Checks and draws `immagini`, the files that `richiesta` names (its names
// and paths are those of the messages and the drawing), reading and writing
// nothing; the line's points go into `piani`, whose memory a caller that
// draws again and again (scenario watch) keeps for the next drawing.
disegno_build disegna_immagini(const richiesta_disegno& richiesta, const immagini_build& immagini, punti_piani& piani);

// The whole command: the drawing, written to its file. Exit status: 0
// drawn, 1 a binary file missing, unreadable or not valid, 2 bad use
// (nothing read), 3 the SVG could not be written. Notes, errors and a
// warning that features lie past the route's end go to `errori`; the
// warning leaves the status 0.
int comando_draw(piattaforma& sistema, const richiesta_disegno& richiesta, std::ostream& errori);
