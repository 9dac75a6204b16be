// CRC-32 a byte at a time from a table of the 256 byte values' remainders,
// made once at compile time.
#include "carico/crc32.h"

#include <array>

namespace {

constexpr std::array<uint32_t, 256> tabella_crc32() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}

constexpr std::array<uint32_t, 256> tabella = tabella_crc32();

}  // namespace

uint32_t crc32(std::string_view dati) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : dati) c = tabella[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}
