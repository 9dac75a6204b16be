// The payload's bytes written and read back: counted strings and texts, and
// the fixed trailer.
#include "carico/carico.h"

#include <cassert>
#include <limits>
#include <vector>

#include "carico/crc32.h"

namespace {

void metti_u32(std::string& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

uint32_t leggi_u32(std::string_view b, size_t da) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(b[da + i])) << (8 * i);
  return v;
}

uint32_t come_u32(size_t n) {
  assert(n <= std::numeric_limits<uint32_t>::max());
  return static_cast<uint32_t>(n);
}

void metti_stringa(std::string& b, std::string_view s) {
  metti_u32(b, come_u32(s.size()));
  b.append(s);
}

// Reads the payload's fields in order; the first field that runs past the
// end stops it, with what was being read.
struct lettore {
  std::string_view b;
  size_t pos = 0;
  std::string problema;

  bool u32(uint32_t& v, const std::string& cosa) {
    if (b.size() - pos < 4) {
      problema = cosa + " finisce prima del previsto";
      return false;
    }
    v = leggi_u32(b, pos);
    pos += 4;
    return true;
  }
  bool stringa(std::string& s, const std::string& cosa) {
    uint32_t n = 0;
    if (!u32(n, cosa)) return false;
    if (b.size() - pos < n) {
      problema = cosa + " dichiara " + std::to_string(n) + " byte, oltre la fine del contenuto";
      return false;
    }
    s.assign(b.substr(pos, n));
    pos += n;
    return true;
  }
  bool testo(std::vector<std::string>& righe, const std::string& nome) {
    uint32_t k = 0;
    if (!u32(k, nome)) return false;
    // Every line takes at least its 4-byte length: a count beyond what is
    // left cannot be true, and is refused before anything is reserved.
    if ((b.size() - pos) / 4 < k) {
      problema = nome + " dichiara " + std::to_string(k) + " righe, oltre la fine del contenuto";
      return false;
    }
    righe.resize(k);
    for (uint32_t i = 0; i < k; ++i) {
      if (!stringa(righe[i], nome + ", riga " + std::to_string(i + 1))) return false;
    }
    return true;
  }
};

}  // namespace

std::string codifica_carico(const scenario& s) {
  std::string b;
  metti_stringa(b, s.nome_scenario);
  metti_stringa(b, s.numero_treno);
  for (const testo_scenario& t : testi_scenario) {
    const std::vector<std::string>& righe = s.*t.membro;
    metti_u32(b, come_u32(righe.size()));
    for (const std::string& riga : righe) metti_stringa(b, riga);
  }
  return b;
}

std::string codifica_coda(std::string_view carico) {
  std::string b(magia_carico);
  metti_u32(b, versione_carico);
  metti_u32(b, come_u32(carico.size()));
  metti_u32(b, crc32(carico));
  assert(b.size() == lunghezza_coda);
  return b;
}

std::string carico_con_coda(const scenario& s) {
  std::string b = codifica_carico(s);
  b += codifica_coda(b);
  return b;
}

std::optional<coda_carico> decodifica_coda(std::string_view byte) {
  if (byte.size() != lunghezza_coda || !byte.starts_with(magia_carico)) return std::nullopt;
  const size_t n = magia_carico.size();
  return coda_carico{leggi_u32(byte, n), leggi_u32(byte, n + 4), leggi_u32(byte, n + 8)};
}

carico_decodificato decodifica_carico(std::string_view carico) {
  lettore l{carico, 0, {}};
  scenario s;
  bool ok = l.stringa(s.nome_scenario, "il nome dello scenario") && l.stringa(s.numero_treno, "il numero del treno");
  for (const testo_scenario& t : testi_scenario) ok = ok && l.testo(s.*t.membro, std::string(t.nome));
  if (!ok) return {std::nullopt, l.problema};
  if (l.pos != carico.size())
    return {std::nullopt, std::to_string(carico.size() - l.pos) + " byte in più dopo la scheda del treno"};
  return {std::move(s), {}};
}
