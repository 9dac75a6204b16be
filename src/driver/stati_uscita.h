// The exit statuses of the programs. The package program ends with 0, or with
// 1 after it has shown a message; the author tool `scenario` uses all four.
#pragma once

inline constexpr int uscita_riuscita = 0;
// Package program: a message was shown (a build error or a failed file
// operation). Tool: a build error, or a file that is not valid.
inline constexpr int uscita_errore = 1;
// Tool: bad options, names or sources; nothing written.
inline constexpr int uscita_uso_errato = 2;
// Tool: a file operation failed.
inline constexpr int uscita_errore_file = 3;
