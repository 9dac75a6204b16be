// The payload's bytes written and read back: counted strings and texts, and
// the fixed trailer.
#include "carico/carico.h"

#include <cassert>
#include <limits>
#include <vector>

#include "carico/crc32.h"
#include "model/cursore.h"

namespace {

uint32_t come_u32(size_t n) {
  assert(n <= std::numeric_limits<uint32_t>::max());
  return static_cast<uint32_t>(n);
}

// A payload string, with its 4-byte count, at the end of `b`.
void aggiungi_stringa(std::string& b, std::string_view s) {
  in_coda(b, cursore_scrittura::byte_stringa<uint32_t>(s)).stringa<uint32_t>(s);
}

// Reads the payload's fields in order; the first field that runs past the
// end stops it, with what was being read.
struct lettore {
  cursore_lettura l;
  std::string problema;

  bool u32(uint32_t& v, const std::string& cosa) {
    if (!l.bastano(4)) {
      problema = cosa + " finisce prima del previsto";
      return false;
    }
    v = l.parola_lunga();
    return true;
  }
  bool stringa(std::string& s, const std::string& cosa) {
    uint32_t n = 0;
    if (!u32(n, cosa)) return false;
    if (!l.bastano(n)) {
      problema = cosa + " dichiara " + std::to_string(n) + " byte, oltre la fine del contenuto";
      return false;
    }
    s.assign(l.testo(n));
    return true;
  }
  bool testo(std::vector<std::string>& righe, const std::string& nome) {
    uint32_t k = 0;
    if (!u32(k, nome)) return false;
    // Every line takes at least its 4-byte length: a count beyond what is
    // left cannot be true, and is refused before anything is reserved.
    if (l.restanti() / 4 < k) {
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

std::string serializza_carico(const scenario& s) {
  std::string b;
  aggiungi_stringa(b, s.nome_scenario);
  aggiungi_stringa(b, s.numero_treno);
  for (const testo_scenario& t : testi_scenario) {
    const std::vector<std::string>& righe = s.*t.membro;
    in_coda(b, 4).parola_lunga(come_u32(righe.size()));
    for (const std::string& riga : righe) aggiungi_stringa(b, riga);
  }
  return b;
}

std::string serializza_coda(std::string_view carico) {
  std::string b(lunghezza_coda, '\0');
  cursore_scrittura(b.data())
      .testo(magia_carico)
      .parola_lunga(versione_carico)
      .parola_lunga(come_u32(carico.size()))
      .parola_lunga(crc32(carico));
  return b;
}

std::string carico_con_coda(const scenario& s) {
  std::string b = serializza_carico(s);
  b += serializza_coda(b);
  return b;
}

std::optional<coda_carico> deserializza_coda(std::string_view byte) {
  if (byte.size() != lunghezza_coda || !byte.starts_with(magia_carico)) return std::nullopt;
  cursore_lettura l(byte, magia_carico.size());
  coda_carico c;
  c.versione = l.parola_lunga();
  c.lunghezza = l.parola_lunga();
  c.crc = l.parola_lunga();
  return c;
}

carico_deserializzato deserializza_carico(std::string_view carico) {
  lettore l{cursore_lettura(carico), {}};
  scenario s;
  bool ok = l.stringa(s.nome_scenario, "il nome dello scenario") && l.stringa(s.numero_treno, "il numero del treno");
  for (const testo_scenario& t : testi_scenario) ok = ok && l.testo(s.*t.membro, std::string(t.nome));
  if (!ok) return {std::nullopt, l.problema};
  if (!l.l.finito())
    return {std::nullopt, std::to_string(l.l.restanti()) + " byte in più dopo la scheda del treno"};
  return {std::move(s), {}};
}
