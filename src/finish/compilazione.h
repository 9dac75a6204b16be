// The compile in memory: one build of a scenario's two source texts that
// touches no disk. The build reads its sources from an in-memory platform
// (platform/piattaforma_in_memoria.h) over the caller's, and returns the
// outcome, its diagnostics, the model and the images of the three binary
// files. `scenario build` is this and then the three files written; `pack`,
// `watch` and the editor's server call it as it is. The package program keeps
// its own path through the platform (Form1::avvio), which writes its sources,
// reads and deletes them, and writes the files in its folder.
//
// Every call is a build of its own: nothing of one is seen in the next.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "finish/esito_build.h"
#include "model/testo_autore.h"
#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"
#include "platform/piattaforma.h"

// What one build is given: the two names and the two source texts, all as
// the Windows-1252 bytes the build reads (prepara_sorgente converts an
// author's text).
struct sorgenti_build {
  std::string nome_scenario;
  std::string numero_treno;
  std::string linea;
  std::string treno;
  // The build's j: 0 makes no line file (and no coordinate table).
  bool crea_linea = true;
  // What preparing the texts found (prepara_sorgente's warnings): they join
  // the build's own.
  std::vector<diagnostica> diagnostiche;
};

// The most warnings one build reports; the rest are counted in a note.
inline constexpr size_t avvisi_al_massimo = 1000;

// One source text as the author wrote it, made ready for the build.
struct sorgente_pronta {
  // Windows-1252; none when the text cannot be converted.
  std::optional<std::string> testo;
  codifica_testo codifica = codifica_testo::windows1252;  // what it was read as
  // An error at the character that cannot be converted (then no text; its
  // quoted line is the line as written), or a warning of a text that mixes
  // the two encodings.
  std::vector<diagnostica> diagnostiche;
};

// Converts the bytes of source `quale` as `richiesta` says
// (model/testo_autore.h).
sorgente_pronta prepara_sorgente(std::string_view byte, codifica_testo richiesta, sorgente_build quale);

struct compilazione {
  compilazione() = default;
  // Moved, never copied: `linea` points into `tracciato`'s buffer, which a
  // move carries along and a copy would not.
  compilazione(compilazione&&) = default;
  compilazione& operator=(compilazione&&) = default;
  compilazione(const compilazione&) = delete;
  compilazione& operator=(const compilazione&) = delete;

  esito_build esito;
  // The model as the build left it: the route grid (empty when the route
  // length never sized it), the header table, the coordinate table (empty
  // without crea_linea), the mountain sections read.
  std::vector<cella> percorso;
  tabella_testata testata{};
  tabella_tracciato tracciato;
  // The images of the binary files, when esito.file_scritti(): the line
  // file's is the completed coordinate table's bytes (empty without
  // crea_linea), then `.sim` and `.dat`.
  std::string_view linea;
  std::string sim;
  std::string dat;

  // The three images in the order the build writes them, the line file's
  // first when there is one; none when the build makes no files.
  std::vector<std::string_view> immagini() const;
};

// Builds `s` in memory; large buffers and file names come from `base`. Every
// diagnostic with a line of a source gets that line quoted; past
// avvisi_al_massimo warnings, the rest give way to a note that counts them.
compilazione compila(piattaforma& base, const sorgenti_build& s);
