// The source line shown under a message with a caret under the column, as
// compilers do. The place before the message is diagnosi/riga_gnu.h's, the
// lines of a text model/righe_testo.h's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diagnosi/riga_gnu.h"
#include "model/righe_testo.h"

// A source line quoted under a message: the file as the message names it,
// the line's number and its text as riga_mostrabile gives it, and the number
// of its character (1-based) that the message is about.
struct citazione {
  std::string file;
  int32_t riga = 0;
  int32_t colonna = 0;
  std::string testo;
};

// `riga` (UTF-8) and under it a caret under its character number `colonna`,
// each ending in a line end. The blanks before the caret keep the line's
// tabs, so the caret lines up in a terminal; a byte that is not valid UTF-8
// is shown as "?".
std::string riga_con_segno(std::string_view riga, int32_t colonna);
inline std::string riga_con_segno(const citazione& c) { return riga_con_segno(c.testo, c.colonna); }
