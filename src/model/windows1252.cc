#include "model/windows1252.h"

#include <array>
#include <cstdint>

namespace {

// Unicode code points of bytes 0x80..0x9F; the rest of the page is Latin-1.
constexpr std::array<char32_t, 32> alti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t carattere(unsigned char b) { return (b >= 0x80 && b <= 0x9F) ? alti[b - 0x80] : b; }

void aggiungi_utf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

int byte_cp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (size_t i = 0; i < alti.size(); ++i)
    if (alti[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

std::string da_cp1252_a_utf8(std::string_view testo) {
  std::string s;
  s.reserve(testo.size());
  for (char b : testo) aggiungi_utf8(s, carattere(static_cast<unsigned char>(b)));
  return s;
}

std::string da_utf8_a_cp1252(std::string_view testo) {
  std::string s;
  size_t i = 0;
  while (i < testo.size()) {
    auto b = static_cast<unsigned char>(testo[i]);
    size_t lunghezza = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (lunghezza == 0 || i + lunghezza > testo.size()) {
      s += '?';
      ++i;
      continue;
    }
    char32_t c = lunghezza == 1 ? b : b & (0x7F >> lunghezza);
    bool valido = true;
    for (size_t k = 1; k < lunghezza; ++k) {
      auto t = static_cast<unsigned char>(testo[i + k]);
      if ((t & 0xC0) != 0x80) valido = false;
      c = (c << 6) | (t & 0x3F);
    }
    if (!valido) {
      s += '?';
      ++i;
      continue;
    }
    const int b1252 = byte_cp1252(c);
    s += b1252 < 0 ? '?' : static_cast<char>(b1252);
    i += lunghezza;
  }
  return s;
}

char minuscola_cp1252(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 32);
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 32);
  if (b == 0x8A || b == 0x8C || b == 0x8E) return static_cast<char>(b + 16);
  if (b == 0x9F) return static_cast<char>(0xFF);
  return c;
}

std::string minuscole_cp1252(std::string_view testo) {
  std::string s(testo);
  for (char& c : s) c = minuscola_cp1252(c);
  return s;
}

std::string campo_citato(std::string_view campo) {
  constexpr size_t caratteri_citati = 60;
  if (campo.size() <= caratteri_citati) return "\"" + da_cp1252_a_utf8(campo) + "\"";
  return "\"" + da_cp1252_a_utf8(campo.substr(0, caratteri_citati)) + "...\"";
}
