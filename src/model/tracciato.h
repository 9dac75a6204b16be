// The plane-coordinate table `tracciato`: for every metre 0..T of the line an
// x (k = 0) and a y (k = 1), each a variant that is Empty, a 16-bit integer or
// a double.
//
// The table is held as the line file's own bytes: all x metre by metre, then
// all y, each element a 2-byte type code and its value. The reader's walk
// stores each point straight into place, so the largest line (some 20 MB) is
// neither held twice nor encoded in a second pass; the finished table is the
// image that is written.
//
// Elements of one k go in in metre order; a metre passed over stays Empty.
// Reading any element back is for checks and tools: a binary search over the
// runs of elements of one type (a built line has three runs a coordinate).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/cursore.h"

// An element's type, by its 2-byte code in the file.
enum class tipo_elemento : uint8_t { vuoto = 0, intero = 2, doppio = 5 };

// The type a code stands for; none for a code no element has.
constexpr std::optional<tipo_elemento> tipo_da_codice(uint16_t codice) {
  switch (codice) {
    case static_cast<uint16_t>(tipo_elemento::vuoto): return tipo_elemento::vuoto;
    case static_cast<uint16_t>(tipo_elemento::intero): return tipo_elemento::intero;
    case static_cast<uint16_t>(tipo_elemento::doppio): return tipo_elemento::doppio;
    default: return std::nullopt;
  }
}

class tabella_tracciato {
 public:
  tabella_tracciato() = default;
  tabella_tracciato(const tabella_tracciato& altra);
  tabella_tracciato& operator=(const tabella_tracciato& altra);
  // A table moved from is left absent.
  tabella_tracciato(tabella_tracciato&& altra) noexcept { scambia(altra); }
  tabella_tracciato& operator=(tabella_tracciato&& altra) noexcept {
    tabella_tracciato presa(std::move(altra));
    scambia(presa);
    return *this;
  }
  ~tabella_tracciato() = default;

  // Re-creates the table for metres 0..t, every element Empty, its bytes
  // taken from `memoria` (a copy takes them from the same place).
  // REQUIRES: t >= 0.
  void crea(int32_t t, std::pmr::memory_resource& memoria = *std::pmr::new_delete_resource());
  bool esiste() const { return ultimo_ >= 0; }
  int32_t ultimo_metro() const { return ultimo_; }  // T; -1 when absent
  size_t elementi() const { return esiste() ? 2 * (static_cast<size_t>(ultimo_) + 1) : 0; }

  // REQUIRES: the table exists and immagine() has not completed it; k is 0
  // or 1; m is beyond every metre already put for k and at most T. Anything
  // else is a fault of the caller and throws std::logic_error.
  void metti_intero(int32_t m, int k, int16_t v) {
    cursore_scrittura(posto(m, k, tipo_elemento::intero)).parola(codice(tipo_elemento::intero)).integer(v);
  }
  void metti_doppio(int32_t m, int k, double v) {
    cursore_scrittura(posto(m, k, tipo_elemento::doppio)).parola(codice(tipo_elemento::doppio)).doppio(v);
  }

  // Puts doubles at metres da..a of both coordinates, the points in turn from
  // `punto()`, an {x, y} pair: the walk's long runs, in one tight pass.
  // REQUIRES: what metti_doppio requires, for every metre da..a and both k.
  template <class F>
  void metti_punti(int32_t da, int32_t a, F&& punto) {
    static_assert(std::is_nothrow_invocable_v<F&>, "a point that fails would leave its bytes unwritten");
    if (a < da) return;
    const int64_t quanti = int64_t{a} - da + 1;
    controlla(1, da, quanti);  // y's checks too before x's stream moves
    cursore_scrittura sx(riserva(0, da, quanti, tipo_elemento::doppio));
    cursore_scrittura sy(riserva(1, da, quanti, tipo_elemento::doppio));  // after x's: x may move y up
    for (int64_t i = 0; i < quanti; ++i) {
      const auto [x, y] = punto();
      sx.parola(codice(tipo_elemento::doppio)).doppio(x);
      sy.parola(codice(tipo_elemento::doppio)).doppio(y);
    }
  }

  // Any element; valore is 0 for an Empty one.
  // REQUIRES: 0 <= m <= T, k is 0 or 1 (std::out_of_range otherwise).
  tipo_elemento tipo(int32_t m, int k) const;
  double valore(int32_t m, int k) const;

  // Completes the table (every metre not put stays Empty) and returns the line
  // file's bytes, valid while the table lives unchanged; empty when the table
  // is absent. Nothing more can be put afterwards.
  std::string_view immagine();

  // The bytes of an element of type t: its 2-byte code, then its value.
  static constexpr size_t byte_di(tipo_elemento t) {
    return t == tipo_elemento::doppio ? 10 : t == tipo_elemento::intero ? 4 : 2;
  }

 private:
  // Elements of one type from metre `primo_metro` on, starting `inizio` bytes
  // into their coordinate's stream.
  struct tratto {
    int64_t primo_metro;
    tipo_elemento tipo;
    size_t inizio;
  };
  // One coordinate's elements, in the buffer at [inizio, fine).
  struct flusso {
    size_t inizio = 0;
    size_t fine = 0;
    int64_t prossimo = 0;  // the first metre not yet put
    std::vector<tratto> tratti;
  };

  static constexpr uint16_t codice(tipo_elemento t) { return static_cast<uint16_t>(t); }

  void scambia(tabella_tracciato& altra) noexcept {
    std::swap(ultimo_, altra.ultimo_);
    std::swap(completa_, altra.completa_);
    std::swap(byte_, altra.byte_);
    std::swap(flussi_, altra.flussi_);
  }

  // Where the next element's bytes go. The usual case (the next metre, of the
  // same type as the one before, with room) stays inline; the rest, and every
  // misuse, is handled out of line.
  char* posto(int32_t m, int k, tipo_elemento t) {
    if (k == 0 || k == 1) {
      flusso& f = flussi_[k];
      const size_t n = byte_di(t);
      if (m == f.prossimo && m <= ultimo_ && !f.tratti.empty() && f.tratti.back().tipo == t &&
          f.fine + n <= limite(k)) {
        char* p = byte_.get() + f.fine;
        f.fine += n;
        f.prossimo = m + int64_t{1};
        return p;
      }
    }
    return riserva(k, m, 1, t);
  }
  // Room for `quanti` elements of type t of k from metre m on, after the
  // checks, Empty elements for the metres passed over and a new run if the
  // type changes; the stream then stands past them. Returns where m's go.
  char* riserva(int k, int32_t m, int64_t quanti, tipo_elemento t);
  // Throws std::logic_error unless k's next `quanti` elements may go from m on.
  void controlla(int k, int32_t m, int64_t quanti) const;
  // Appends Empty elements for k's metres up to, not including, `fino`.
  void metti_vuoti(int k, int64_t fino);
  // Makes room for n more bytes of k, moving the y stream up if the x
  // stream has grown into it.
  void fai_spazio(int k, size_t n);
  size_t limite(int k) const { return k == 0 ? flussi_[1].inizio : byte_.size(); }
  const tratto& tratto_di(const flusso& f, int64_t m) const;
  const flusso& flusso_letto(int32_t m, int k) const;

  int32_t ultimo_ = -1;
  bool completa_ = false;
  // A buffer from a memory resource, given back to it on destruction.
  class blocco {
   public:
    blocco() = default;
    blocco(std::pmr::memory_resource& memoria, size_t n)
        : memoria_(&memoria), p_(static_cast<char*>(memoria.allocate(n, 1))), n_(n) {}
    blocco(blocco&& altro) noexcept
        : memoria_(altro.memoria_), p_(std::exchange(altro.p_, nullptr)), n_(std::exchange(altro.n_, 0)) {}
    blocco& operator=(blocco&& altro) noexcept {
      if (this != &altro) {
        libera();
        memoria_ = altro.memoria_;
        p_ = std::exchange(altro.p_, nullptr);
        n_ = std::exchange(altro.n_, 0);
      }
      return *this;
    }
    ~blocco() { libera(); }
    char* get() const { return p_; }
    size_t size() const { return n_; }
    std::pmr::memory_resource& memoria() const { return *memoria_; }
    void libera() {
      if (p_ != nullptr) memoria_->deallocate(p_, n_, 1);
      p_ = nullptr;
      n_ = 0;
    }

   private:
    std::pmr::memory_resource* memoria_ = std::pmr::new_delete_resource();
    char* p_ = nullptr;
    size_t n_ = 0;
  };

  // Room for both coordinates at 10 bytes each, left unwritten: every byte is
  // stored once, by a put, so a page only counts once the walk reaches it.
  blocco byte_;
  flusso flussi_[2];
};
