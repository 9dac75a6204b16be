// Little-endian encoding of the model's number types into a byte buffer, by
// explicit shifts, whatever the host's byte order. The three binary writers
// use nothing else.
#pragma once

#include <bit>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

inline void metti_byte(std::string& b, uint8_t v) { b.push_back(static_cast<char>(v)); }

inline void metti_integer(std::string& b, int16_t v) {
  auto u = static_cast<uint16_t>(v);
  b.push_back(static_cast<char>(u & 0xFF));
  b.push_back(static_cast<char>(u >> 8));
}

inline void metti_long(std::string& b, int32_t v) {
  auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

inline void metti_doppio(std::string& b, double v) {
  auto u = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

// The same encodings into a buffer already sized to hold them, for the long
// runs of the line file: each writes at `p` and returns the position after
// its bytes, with no capacity check a byte (the compiler makes each one store).
inline char* poni_integer(char* p, int16_t v) {
  auto u = static_cast<uint16_t>(v);
  p[0] = static_cast<char>(u & 0xFF);
  p[1] = static_cast<char>(u >> 8);
  return p + 2;
}

inline char* poni_doppio(char* p, double v) {
  auto u = std::bit_cast<uint64_t>(v);
  for (int i = 0; i < 8; ++i) p[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
  return p + 8;
}

// A counted string: 2-byte length, then the Windows-1252 bytes. A text too
// long for its count is refused rather than written with a wrong length,
// which would shift every later field of the file.
inline void metti_stringa(std::string& b, std::string_view testo) {
  if (testo.size() > 0xFFFF)
    throw std::length_error("testo di " + std::to_string(testo.size()) + " byte, oltre 65535");
  metti_integer(b, static_cast<int16_t>(static_cast<uint16_t>(testo.size())));
  b.append(testo);
}

// Reading back what the poni_ helpers wrote.
inline int16_t leggi_integer(const char* p) {
  auto u = static_cast<uint16_t>(static_cast<uint8_t>(p[0]) | static_cast<uint16_t>(static_cast<uint8_t>(p[1])) << 8);
  return static_cast<int16_t>(u);
}

inline double leggi_doppio(const char* p) {
  uint64_t u = 0;
  for (int i = 0; i < 8; ++i) u |= static_cast<uint64_t>(static_cast<uint8_t>(p[i])) << (8 * i);
  return std::bit_cast<double>(u);
}
