#include "model/righe_testo.h"

#include "model/testo_autore.h"

indice_righe::indice_righe(std::string_view testo) : testo_(testo) {
  if (testo.empty()) return;
  inizi_.push_back(0);
  for (size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] != '\r' && testo[i] != '\n') continue;
    if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') ++i;
    if (i + 1 < testo.size()) inizi_.push_back(i + 1);
  }
}

std::string_view indice_righe::riga(int32_t riga) const {
  if (riga < 1 || static_cast<size_t>(riga) > inizi_.size()) return {};
  const size_t inizio = inizi_[static_cast<size_t>(riga) - 1];
  const size_t fine = testo_.find_first_of("\r\n", inizio);
  return testo_.substr(inizio, (fine == std::string_view::npos ? testo_.size() : fine) - inizio);
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
