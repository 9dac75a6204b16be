// The prints of the files, and the settling of a change.
#include "osserva/sorveglianza.h"

#include <algorithm>

impronta_file impronta(piattaforma& sistema, const std::filesystem::path& p) {
  stato_di_file stato;
  if (!sistema.stato_file(p, stato) || !stato.regolare) return {};
  return {true, stato.dimensione, stato.modificato};
}

uint64_t impronta_contenuto(std::string_view contenuto) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : contenuto) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

bool sorveglianza::guarda(const std::vector<impronta_file>& viste, orologio::time_point ora) {
  if (prima_ || viste != ultime_) {
    if (!prima_) cambiato(ora);
    if (prima_) {
      ultimo_movimento_ = ora;
      prossima_lettura_ = ora + tra_letture_;
    }
    prima_ = false;
    ultime_ = viste;
    return false;
  }
  if (!in_attesa_ || ora - cambiato_ < quiete_) return false;
  const bool manca = std::any_of(viste.begin(), viste.end(), [](const impronta_file& i) { return !i.esiste; });
  if (manca && ora - cambiato_ < pazienza_) return false;
  in_attesa_ = false;
  return true;
}

void sorveglianza::cambiato(orologio::time_point ora) {
  in_attesa_ = true;
  cambiato_ = ora;
  ultimo_movimento_ = ora;
}

bool sorveglianza::leggere_contenuti(orologio::time_point ora) {
  if (prima_ || in_attesa_ || ora < prossima_lettura_ || ora - ultimo_movimento_ > finestra_) return false;
  prossima_lettura_ = ora + tra_letture_;
  return true;
}
