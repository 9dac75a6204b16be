// The one shape of everything a build says about a scenario's texts: an
// error, a warning or a note, where it is, its stable code, its words, the
// line it is about and, where the build knows one, a fix as data. The core
// makes them; every output only renders them (the GNU lines of the author
// tool, `build --json`, `pack`, the watch page, the editor's server).
//
// Places: lines and columns are 1-based; a column counts the characters of
// the line as the author wrote them (in a Windows-1252 text its bytes, in a
// UTF-8 text its code points), which are the bytes of the Windows-1252 text
// the build reads. An end is the place just past the last character.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diagnosi/codici.h"

// The source text an error or a warning was met in; `cartella` for any
// other file, named by the place's `file`.
enum class sorgente_build : uint8_t { nessuna, linea, treno, cartella };

// A place in one of the texts, or a whole file.
struct luogo_testo {
  sorgente_build sorgente = sorgente_build::nessuna;
  // For `cartella`: the file's name as the author knows it (UTF-8), a file
  // of the scenario folder or a binary file.
  std::string file;
  int32_t riga = 0;     // 0: the whole text
  int32_t colonna = 0;  // 0: the whole line, or unknown
  // The end, on riga_fine, just past the last character; 0 and 0 when only
  // the start is known.
  int32_t riga_fine = 0;
  int32_t colonna_fine = 0;
  // For a binary file: the offset of the byte it is about.
  std::optional<uint64_t> byte;

  bool operator==(const luogo_testo&) const = default;
};

// The names of the two sources as a report shows them (the author's files as
// given); a place in another file names its own.
struct nomi_sorgenti {
  std::string linea;
  std::string treno;

  // The file `l` is in; empty for a place in no file.
  const std::string& di(const luogo_testo& l) const;
};

// A change that mends what a diagnostic says: `dove` replaced by `testo`
// (UTF-8), with a title that says what it does ("sostituisci con
// \"pendenza\"").
struct correzione {
  luogo_testo dove;
  std::string testo;
  std::string titolo;

  bool operator==(const correzione&) const = default;
};

// Another place a diagnostic is about (the station before one too close to
// it, the feature that holds a cell), with why.
struct luogo_correlato {
  luogo_testo dove;
  std::string testo;

  bool operator==(const luogo_correlato&) const = default;
};

struct diagnostica {
  gravita livello = gravita::avviso;
  luogo_testo dove;
  // A numbered build error: its number; 0 for a named code.
  int32_t errore = 0;
  codice_avviso codice = codice_avviso::chiave_sconosciuta;
  // For an error that carries one, the position along the line in metres.
  std::optional<int32_t> metri;
  std::string testo;   // the words, in Italian (UTF-8), without place or code
  std::string citata;  // the line it is about as written (UTF-8), where there is one
  std::optional<correzione> rimedio;
  std::vector<luogo_correlato> correlati;

  bool operator==(const diagnostica&) const = default;
};

// A warning that says something the author wrote is lost or distorted in
// the files built (its code's property); `pack` refuses those.
bool perde_contenuto(const diagnostica& d);

// The stable code: "E15" for a numbered error, else the code's name.
std::string codice_di(const diagnostica& d);

// In the order reports give them: the warnings and notes by source (the
// line's first) and place, then the errors in the order they came.
void ordina_diagnostiche(std::vector<diagnostica>& d);
