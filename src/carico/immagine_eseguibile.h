// Where the program in a file ends, as its own headers say: what the linker
// made, before anything appended to it. A payload begins there
// (carico/carico.h), so a file longer than its program carries something
// after it, and a payload cut short inside is told apart from no payload at
// all. Two formats, whichever the file is: ELF (64-bit, little-endian: the
// Linux program) and PE (the Windows .exe, 32 or 64 bit). The end is the
// furthest byte that the headers, the program and section header tables, the
// sections and segments, a PE certificate table or COFF symbol table reach.
// Only those headers and tables are read, never the program's content.
#pragma once

#include <cstdint>
#include <string>

#include "carico/file_a_intervalli.h"

struct misura_immagine {
  enum class stato {
    misurata,       // `fine` holds the program's end
    non_programma,  // not an ELF or PE program this reader knows
    troncata,       // the headers reach beyond the end of the file
    illeggibile,    // a read failed
  };
  stato st = stato::non_programma;
  uint64_t fine = 0;
  std::string problema;  // in words (Italian), unless misurata
};

misura_immagine misura_programma(file_a_intervalli& f);
