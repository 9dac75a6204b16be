// The coordinate table's bookkeeping: creation, the uncommon puts, reading
// back, and completion into the line file's image.
#include "model/tracciato.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr size_t byte_massimi = tabella_tracciato::byte_di(tipo_elemento::doppio);

// The bytes of one coordinate of a line as the reader completes it: integers
// at metres 0 and 1, doubles up to T - 2, the last two metres Empty. The y
// stream starts there, so that a usual build never has to move it.
size_t byte_usuali(int64_t t) {
  const int64_t metri = t + 1;
  const int64_t interi = std::min<int64_t>(2, metri);
  const int64_t doppi = std::max<int64_t>(0, t - 3);
  const int64_t vuoti = metri - interi - doppi;
  return static_cast<size_t>(interi) * tabella_tracciato::byte_di(tipo_elemento::intero) +
         static_cast<size_t>(doppi) * tabella_tracciato::byte_di(tipo_elemento::doppio) +
         static_cast<size_t>(vuoti) * tabella_tracciato::byte_di(tipo_elemento::vuoto);
}

}  // namespace

void tabella_tracciato::crea(int32_t t, std::pmr::memory_resource& memoria) {
  if (t < 0) throw std::logic_error("tabella del tracciato fino al metro " + std::to_string(t));
  byte_.libera();  // the old buffer goes before the new one comes
  ultimo_ = -1;
  completa_ = false;
  const size_t y = byte_usuali(t);
  flussi_[0] = flusso{};
  flussi_[1] = flusso{y, y, 0, {}};
  byte_ = blocco(memoria, 2 * byte_massimi * (static_cast<size_t>(t) + 1));
  ultimo_ = t;
}

tabella_tracciato::tabella_tracciato(const tabella_tracciato& altra)
    : ultimo_(altra.ultimo_), completa_(altra.completa_) {
  flussi_[0] = altra.flussi_[0];
  flussi_[1] = altra.flussi_[1];
  if (altra.byte_.get() == nullptr) return;
  byte_ = blocco(altra.byte_.memoria(), altra.byte_.size());
  for (const flusso& f : flussi_) std::memcpy(byte_.get() + f.inizio, altra.byte_.get() + f.inizio, f.fine - f.inizio);
}

tabella_tracciato& tabella_tracciato::operator=(const tabella_tracciato& altra) {
  if (this != &altra) *this = tabella_tracciato(altra);
  return *this;
}

void tabella_tracciato::controlla(int k, int32_t m, int64_t quanti) const {
  if (!esiste() || completa_ || (k != 0 && k != 1) || m < flussi_[k].prossimo || quanti < 1 ||
      m + quanti - 1 > ultimo_)
    throw std::logic_error("elemento del tracciato fuori ordine: metro " + std::to_string(m) + ", coordinata " +
                           std::to_string(k));
}

char* tabella_tracciato::riserva(int k, int32_t m, int64_t quanti, tipo_elemento t) {
  controlla(k, m, quanti);
  flusso& f = flussi_[k];
  if (m > f.prossimo) metti_vuoti(k, m);
  const size_t n = static_cast<size_t>(quanti) * byte_di(t);
  fai_spazio(k, n);
  if (f.tratti.empty() || f.tratti.back().tipo != t) f.tratti.push_back({m, t, f.fine - f.inizio});
  char* p = byte_.get() + f.fine;
  f.fine += n;
  f.prossimo = m + quanti;
  return p;
}

void tabella_tracciato::metti_vuoti(int k, int64_t fino) {
  flusso& f = flussi_[k];
  if (fino <= f.prossimo) return;
  const size_t n = static_cast<size_t>(fino - f.prossimo) * byte_di(tipo_elemento::vuoto);
  fai_spazio(k, n);
  if (f.tratti.empty() || f.tratti.back().tipo != tipo_elemento::vuoto)
    f.tratti.push_back({f.prossimo, tipo_elemento::vuoto, f.fine - f.inizio});
  std::memset(byte_.get() + f.fine, 0, n);  // type code 0, no value
  f.fine += n;
  f.prossimo = fino;
}

void tabella_tracciato::fai_spazio(int k, size_t n) {
  if (flussi_[k].fine + n <= limite(k)) return;
  // Only x can run into y's start; at the most bytes x can take, y moves
  // once, and then both always fit.
  flusso& y = flussi_[1];
  const size_t piu_lontano = byte_massimi * (static_cast<size_t>(ultimo_) + 1);
  if (k == 0 && y.inizio < piu_lontano) {
    std::memmove(byte_.get() + piu_lontano, byte_.get() + y.inizio, y.fine - y.inizio);
    y.fine = piu_lontano + (y.fine - y.inizio);
    y.inizio = piu_lontano;
  }
  if (flussi_[k].fine + n > limite(k)) throw std::logic_error("tabella del tracciato piena");
}

const tabella_tracciato::flusso& tabella_tracciato::flusso_letto(int32_t m, int k) const {
  if ((k != 0 && k != 1) || m < 0 || m > ultimo_)
    throw std::out_of_range("nessun elemento del tracciato al metro " + std::to_string(m) + ", coordinata " +
                            std::to_string(k));
  return flussi_[k];
}

// REQUIRES: m < f.prossimo, so some run holds it.
const tabella_tracciato::tratto& tabella_tracciato::tratto_di(const flusso& f, int64_t m) const {
  auto dopo = std::upper_bound(f.tratti.begin(), f.tratti.end(), m,
                               [](int64_t metro, const tratto& r) { return metro < r.primo_metro; });
  return *(dopo - 1);
}

tipo_elemento tabella_tracciato::tipo(int32_t m, int k) const {
  const flusso& f = flusso_letto(m, k);
  if (m >= f.prossimo) return tipo_elemento::vuoto;
  return tratto_di(f, m).tipo;
}

double tabella_tracciato::valore(int32_t m, int k) const {
  const flusso& f = flusso_letto(m, k);
  if (m >= f.prossimo) return 0;
  const tratto& r = tratto_di(f, m);
  const size_t inizio = f.inizio + r.inizio + static_cast<size_t>(m - r.primo_metro) * byte_di(r.tipo) + 2;
  cursore_lettura l(std::string_view(byte_.get(), f.fine), inizio);
  switch (r.tipo) {
    case tipo_elemento::intero:
      return l.integer();
    case tipo_elemento::doppio:
      return l.doppio();
    case tipo_elemento::vuoto:
      break;
  }
  return 0;
}

std::string_view tabella_tracciato::immagine() {
  if (!esiste()) return {};
  if (!completa_) {
    metti_vuoti(0, int64_t{ultimo_} + 1);
    metti_vuoti(1, int64_t{ultimo_} + 1);
    flusso& x = flussi_[0];
    flusso& y = flussi_[1];
    // y closes up to x's end; after a usual build it already stands there.
    if (y.inizio != x.fine) {
      const size_t lunghezza = y.fine - y.inizio;
      std::memmove(byte_.get() + x.fine, byte_.get() + y.inizio, lunghezza);
      y.inizio = x.fine;
      y.fine = x.fine + lunghezza;
    }
    completa_ = true;
  }
  return {byte_.get(), flussi_[1].fine};
}
