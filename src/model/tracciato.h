// The plane-coordinate table `tracciato`: for every metre 0..T of the line an
// x (k = 0) and a y (k = 1), each a variant that is Empty, a 16-bit integer or
// a double. Held as a kind byte and a double per element (a 16-bit integer is
// exact in a double), in the file's storage order: all x first, then all y.
#pragma once

#include <cstdint>
#include <vector>

enum class tipo_elemento : uint8_t { vuoto = 0, intero = 2, doppio = 5 };

class tabella_tracciato {
 public:
  // Re-creates the table for metres 0..t, every element Empty.
  void crea(int32_t t) {
    ultimo_ = t;
    size_t n = 2 * (static_cast<size_t>(t) + 1);
    tipi_.assign(n, tipo_elemento::vuoto);
    valori_.assign(n, 0.0);
  }
  bool esiste() const { return ultimo_ >= 0; }
  int32_t ultimo_metro() const { return ultimo_; }  // T; -1 when absent
  size_t elementi() const { return tipi_.size(); }

  // REQUIRES: 0 <= m <= ultimo_metro(), k is 0 or 1.
  void metti_intero(int32_t m, int k, int16_t v) { metti(m, k, tipo_elemento::intero, v); }
  void metti_doppio(int32_t m, int k, double v) { metti(m, k, tipo_elemento::doppio, v); }
  tipo_elemento tipo(int32_t m, int k) const { return tipi_[indice(m, k)]; }
  double valore(int32_t m, int k) const { return valori_[indice(m, k)]; }

  // Elements in storage order, for the writer.
  tipo_elemento tipo_in(size_t i) const { return tipi_[i]; }
  double valore_in(size_t i) const { return valori_[i]; }

 private:
  size_t indice(int32_t m, int k) const {
    return static_cast<size_t>(k) * (static_cast<size_t>(ultimo_) + 1) + static_cast<size_t>(m);
  }
  void metti(int32_t m, int k, tipo_elemento t, double v) {
    tipi_[indice(m, k)] = t;
    valori_[indice(m, k)] = v;
  }

  int32_t ultimo_ = -1;
  std::vector<tipo_elemento> tipi_;
  std::vector<double> valori_;
};
