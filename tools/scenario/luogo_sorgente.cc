#include "luogo_sorgente.h"

#include "model/testo_autore.h"

std::string riga_con_segno(std::string_view riga, int32_t colonna) {
  const std::string mostrata = riga_mostrabile(riga);
  std::string segno;
  int32_t carattere = 1;
  for (size_t i = 0; i < mostrata.size(); ++carattere) {
    if (carattere < colonna) segno += mostrata[i] == '\t' ? '\t' : ' ';
    i += lunghezza_utf8(mostrata, i);
  }
  // A column just past the line's end (a field that is missing) still gets
  // its caret.
  for (; carattere < colonna; ++carattere) segno += ' ';
  return mostrata + "\n" + segno + "^\n";
}
