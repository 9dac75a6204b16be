#include "model/testo_mostrabile.h"

#include "model/testo_autore.h"

namespace {

void esadecimale(std::string& s, unsigned valore) {
  static constexpr char cifre[] = "0123456789abcdef";
  s += "\\x";
  s += cifre[(valore >> 4) & 0xF];
  s += cifre[valore & 0xF];
}

}  // namespace

std::string testo_mostrabile(std::string_view testo) {
  std::string s;
  s.reserve(testo.size());
  for (size_t i = 0; i < testo.size();) {
    const auto b = static_cast<unsigned char>(testo[i]);
    const size_t n = lunghezza_utf8(testo, i);
    if (n == 0) {
      esadecimale(s, b);
      ++i;
    } else if (n == 1) {
      if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F)
        esadecimale(s, b);
      else
        s += static_cast<char>(b);
      ++i;
    } else {
      // U+0080 to U+009F are C2 80 to C2 9F.
      const auto seconda = static_cast<unsigned char>(testo[i + 1]);
      if (b == 0xC2 && seconda < 0xA0)
        esadecimale(s, seconda);
      else
        s.append(testo.substr(i, n));
      i += n;
    }
  }
  return s;
}
