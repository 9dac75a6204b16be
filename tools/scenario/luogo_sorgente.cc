#include "luogo_sorgente.h"

#include "model/testo_autore.h"

std::string prefisso_luogo(const std::string& file, std::optional<int32_t> riga, std::optional<int32_t> colonna) {
  std::string p = file;
  if (riga) {
    p += ":" + std::to_string(*riga);
    if (colonna) p += ":" + std::to_string(*colonna);
  }
  return p + ": ";
}

std::string_view riga_del_testo(std::string_view testo, int32_t riga) {
  size_t inizio = 0;
  for (int32_t n = 1; n < riga; ++n) {
    const size_t fine = testo.find_first_of("\r\n", inizio);
    if (fine == std::string_view::npos) return {};
    inizio = fine + (testo.compare(fine, 2, "\r\n") == 0 ? 2 : 1);
  }
  if (riga < 1 || inizio >= testo.size()) return {};
  return testo.substr(inizio, testo.find_first_of("\r\n", inizio) - inizio);
}

std::string riga_mostrabile(std::string_view riga) {
  std::string mostrata;
  for (size_t i = 0; i < riga.size();) {
    const size_t n = lunghezza_utf8(riga, i);
    mostrata += n != 0 ? riga.substr(i, n) : std::string_view("?");
    i += n != 0 ? n : 1;
  }
  return mostrata;
}

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
