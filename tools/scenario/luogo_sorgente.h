// Where in an author's source a message is about, in the form editors jump
// to ("FILE:LINE:COLUMN: ", as read by Vim's quickfix, Emacs' compilation
// mode and editors' problem matchers), and the source line shown under a
// message with a caret under the column, as compilers do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "FILE:LINE:COLUMN: ", leaving out what is unknown (a column without a line
// is left out too).
std::string prefisso_luogo(const std::string& file, std::optional<int32_t> riga, std::optional<int32_t> colonna);

// Line `riga` (1-based) of `testo` without its line end; lines end at CR LF,
// LF or CR. Empty when the text has no such line.
std::string_view riga_del_testo(std::string_view testo, int32_t riga);

// `riga` (UTF-8) as it can be shown: each byte that is not valid UTF-8
// becomes "?", so characters keep their count.
std::string riga_mostrabile(std::string_view riga);

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
