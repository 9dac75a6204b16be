// Decoders of the three binary files the build writes, the inverse of the
// byte images of model/file_binari.h: bytes in, the model's structures out.
// They trust nothing in the input, so they serve both the author tool's
// `inspect` and fuzz targets. A file that is not a valid image throws
// errore_formato naming the byte offset where decoding gave up; a file that
// decodes gives back exactly its own bytes when imaged again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/cella.h"
#include "model/tracciato.h"
#include "model/voce.h"

struct errore_formato : std::runtime_error {
  errore_formato(size_t offset, const std::string& motivo);
  size_t offset;      // byte offset in the file where the fault lies
  std::string motivo;  // the fault, without the offset
};

// Which of the three files a name is, by its ending: "_linea.dat" is the line
// file, any other ".dat" the route grid, ".sim" the header records.
enum class tipo_file { linea, sim, dat, sconosciuto };
tipo_file tipo_da_nome(std::string_view nome);

// `.dat`: one or more 15-byte cells, each of a known kind (model/cella.h).
std::vector<cella> decodifica_percorso(std::string_view dati);
// `.sim`: exactly 87 records of 34 + n bytes, nothing after them.
tabella_testata decodifica_testata(std::string_view dati);
// `_linea.dat`: an even number (at least 2) of tagged elements, each of type
// 0 (Empty), 2 (16-bit integer) or 5 (double), nothing after them: the x of
// metres 0..T, then their y. controlla_tracciato checks that alone and
// returns T; decodifica_tracciato fills a table too.
int32_t controlla_tracciato(std::string_view dati);
tabella_tracciato decodifica_tracciato(std::string_view dati);

// The role of header record r in a decoded table. Records 1..80 are told
// apart by content: a sign record carries only its text, a station numbers
// too.
ruolo_voce ruolo_di(int r, const voce& v);
// The role in words, as inspect shows it: "nessun ruolo", "stazione",
// "cartello", "vuota", "riferimento progressiva", "treno e percorso",
// "scenario", "treno".
std::string_view nome_ruolo(ruolo_voce ruolo);
