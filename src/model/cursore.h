// The little-endian cursor: the one place where the numbers of the binary
// files (Byte, Integer, Long, double), the unsigned words of the package
// payload and of program headers, and counted strings become bytes and back,
// by explicit shifts whatever the host's byte order.
//
// Writing stores at a position in a buffer the caller has sized, with no
// check a byte, so the long runs of the line file cost one store a field.
// Reading checks every read against the end: a caller tests bastano() before
// a group of reads to say what is missing in its own words, and a read it
// forgot throws rather than reaching past the bytes.
#pragma once

#include <bit>
#include <concepts>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

class cursore_scrittura {
 public:
  // REQUIRES: the buffer from `p` on has room for everything written.
  explicit cursore_scrittura(char* p) : p_(p) {}

  char* posizione() const { return p_; }

  cursore_scrittura& byte(uint8_t v) {
    *p_++ = static_cast<char>(v);
    return *this;
  }
  cursore_scrittura& parola(uint16_t v) { return senza_segno(v); }
  cursore_scrittura& parola_lunga(uint32_t v) { return senza_segno(v); }
  cursore_scrittura& parola_doppia(uint64_t v) { return senza_segno(v); }
  cursore_scrittura& integer(int16_t v) { return numero(v); }
  cursore_scrittura& long_(int32_t v) { return numero(v); }
  cursore_scrittura& doppio(double v) { return parola_doppia(std::bit_cast<uint64_t>(v)); }
  // Any whole number in the bytes of its type, as the records' fields are.
  template <std::integral T>
  cursore_scrittura& numero(T v) {
    return senza_segno(static_cast<std::make_unsigned_t<T>>(v));
  }
  // The bytes as they are, without a count.
  cursore_scrittura& testo(std::string_view t) {
    if (!t.empty()) std::memcpy(p_, t.data(), t.size());
    p_ += t.size();
    return *this;
  }
  // A counted string: its length in a `conteggio` (2 bytes in the binary
  // files, 4 in the package payload), then its bytes. A text too long for
  // its count is refused before anything is written, rather than written
  // with a wrong length, which would shift every later field of the file.
  template <class conteggio = uint16_t>
  cursore_scrittura& stringa(std::string_view t) {
    static_assert(std::is_unsigned_v<conteggio>);
    if (t.size() > std::numeric_limits<conteggio>::max())
      throw std::length_error("testo di " + std::to_string(t.size()) + " byte, oltre " +
                              std::to_string(std::numeric_limits<conteggio>::max()));
    senza_segno(static_cast<conteggio>(t.size()));
    return testo(t);
  }
  // The bytes a counted string takes.
  template <class conteggio = uint16_t>
  static constexpr size_t byte_stringa(std::string_view t) {
    return sizeof(conteggio) + t.size();
  }

 private:
  template <class U>
  cursore_scrittura& senza_segno(U v) {
    for (size_t i = 0; i < sizeof(U); ++i) p_[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    p_ += sizeof(U);
    return *this;
  }

  char* p_;
};

// A writer for `n` more bytes at the end of `b`, which grows by them.
inline cursore_scrittura in_coda(std::string& b, size_t n) {
  const size_t inizio = b.size();
  b.resize(inizio + n);
  return cursore_scrittura(b.data() + inizio);
}

class cursore_lettura {
 public:
  // Reads `dati` from byte `da` on.
  explicit cursore_lettura(std::string_view dati, size_t da = 0) : dati_(dati), pos_(da) {
    if (da > dati.size()) throw std::out_of_range("lettura oltre la fine dei byte");
  }

  size_t posizione() const { return pos_; }
  size_t restanti() const { return dati_.size() - pos_; }
  bool finito() const { return pos_ == dati_.size(); }
  bool bastano(size_t n) const { return restanti() >= n; }

  uint8_t byte() { return static_cast<uint8_t>(prendi(1)[0]); }
  uint16_t parola() { return senza_segno<uint16_t>(); }
  uint32_t parola_lunga() { return senza_segno<uint32_t>(); }
  uint64_t parola_doppia() { return senza_segno<uint64_t>(); }
  int16_t integer() { return numero<int16_t>(); }
  int32_t long_() { return numero<int32_t>(); }
  template <std::integral T>
  T numero() {
    return static_cast<T>(senza_segno<std::make_unsigned_t<T>>());
  }
  double doppio() { return std::bit_cast<double>(parola_doppia()); }
  // The next `n` bytes as they are.
  std::string_view testo(size_t n) { return {prendi(n), n}; }
  void salta(size_t n) { prendi(n); }

 private:
  const char* prendi(size_t n) {
    if (!bastano(n)) throw std::out_of_range("lettura oltre la fine dei byte");
    const char* p = dati_.data() + pos_;
    pos_ += n;
    return p;
  }
  template <class U>
  U senza_segno() {
    const char* p = prendi(sizeof(U));
    U v = 0;
    for (size_t i = 0; i < sizeof(U); ++i) v |= static_cast<U>(static_cast<U>(static_cast<uint8_t>(p[i])) << (8 * i));
    return v;
  }

  std::string_view dati_;
  size_t pos_;
};
