// The named codes of the diagnostics: what a warning, a note or an error of
// the texts that has no build number is about (a numbered build error is
// named by its number, diagnosi/errori_build.h), or an error found in binary
// files handed in. The names (nome_avviso) are
// stable: scripts and editors may match them. Each code has its properties in
// one table: its severity, and whether it means that something the author
// wrote is lost or distorted in the files built (`pack` refuses those).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

enum class gravita : uint8_t { errore, avviso, nota };

enum class codice_avviso : uint8_t {
  chiave_sconosciuta,    // a key field that matches no key, and its line dropped
  sezione_sconosciuta,   // a section header that is none of the source's sections
  valori_in_piu,         // a field after the values a key read, on its line, dropped
  valori_mancanti,       // a key read values past the end of its line, from the next
  numero_arrotondato,    // a number with a fraction, rounded to a whole number
  oltre_fine_percorso,   // a feature past the route's length, inside the grid's margin
  area_oltre_fine,       // a station's area past the route's end, and a station after it
  treno_senza_generale,  // a train source without "[generale]": none of it is read
  separatore_migliaia,   // a number like "3.000": a thousands separator read as a decimal point
  fuori_ordine,          // a gradient, speed or adhesion line before the position the list had reached
  elemento_coperto,      // a station's stop cell put over a feature read before it, which is lost
  codifica_mista,        // a text read as Windows-1252 that holds UTF-8 letters too (met by the author tool)
  codifica_non_valida,   // an error: a character Windows-1252 cannot hold, or a byte that is not UTF-8 in UTF-8
  valore_negativo,       // a length written negative: a slowdown's, a station's area, a curve's
  fine_prima_inizio,     // a mountain section whose end is written before its start
  commento_letto,        // a line that starts like a comment (";", "#", "/", "'") read as a key
  indicatore_illeggibile,  // a speed indicator's pair that the simulator cannot read back as written
  nome_con_spazi,        // a name file whose name ends (or starts) with a blank, which goes into every file name
  cartella_non_valida,   // an error: a scenario folder that lacks a file or breaks a rule
  avvisi_omessi,         // a note: more warnings than a report shows, and how many more
  costruzioni_diverse,   // an error: binary files one build would not have written together (ispeziona/stessa_costruzione.h)
};

inline constexpr codice_avviso codici_avviso[] = {
    codice_avviso::chiave_sconosciuta, codice_avviso::sezione_sconosciuta, codice_avviso::valori_in_piu,
    codice_avviso::valori_mancanti,    codice_avviso::numero_arrotondato,  codice_avviso::oltre_fine_percorso,
    codice_avviso::area_oltre_fine,    codice_avviso::treno_senza_generale, codice_avviso::separatore_migliaia,
    codice_avviso::fuori_ordine,       codice_avviso::elemento_coperto,    codice_avviso::codifica_mista,
    codice_avviso::codifica_non_valida, codice_avviso::valore_negativo,   codice_avviso::fine_prima_inizio,
    codice_avviso::commento_letto,     codice_avviso::indicatore_illeggibile, codice_avviso::nome_con_spazi,
    codice_avviso::cartella_non_valida, codice_avviso::avvisi_omessi,   codice_avviso::costruzioni_diverse,
};
// Every code is listed once, in the order of its value, up to the last one.
constexpr bool codici_in_ordine() {
  for (size_t i = 0; i < std::size(codici_avviso); ++i)
    if (static_cast<size_t>(codici_avviso[i]) != i) return false;
  return static_cast<size_t>(codice_avviso::costruzioni_diverse) + 1 == std::size(codici_avviso);
}
static_assert(codici_in_ordine(), "codici_avviso must list every codice_avviso in order");

struct proprieta_codice {
  std::string_view nome;  // "chiave_sconosciuta", ...
  gravita livello;
  // Something the author wrote is lost or distorted in the files built.
  bool perde_contenuto;
};

const proprieta_codice& proprieta(codice_avviso c);
// "chiave_sconosciuta", ...: the code as reports and JSON name it.
inline std::string_view nome_avviso(codice_avviso c) { return proprieta(c).nome; }
