#include "model/testo_autore.h"

#include "model/windows1252.h"

namespace {

constexpr std::string_view bom = "\xEF\xBB\xBF";

bool continuazione(unsigned char b) { return (b & 0xC0) == 0x80; }

// The character of the valid sequence of `n` bytes at `i`.
char32_t decodifica(std::string_view t, size_t i, size_t n) {
  const auto b = static_cast<unsigned char>(t[i]);
  if (n == 1) return b;
  char32_t c = b & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(t[i + k]) & 0x3F);
  return c;
}

// Counts lines and columns over a text, character by character.
struct segnaposto {
  int32_t riga = 1;
  int32_t colonna = 1;
  // Moves past one character whose first byte is `b` and whose next byte (or
  // -1 at the end) is `dopo`; a CR before an LF does not end the line itself.
  void avanza(unsigned char b, int dopo) {
    if (b == '\n' || (b == '\r' && dopo != '\n')) {
      ++riga;
      colonna = 1;
    } else if (b != '\r') {
      ++colonna;
    }
  }
};

// Valid UTF-8 throughout, with at least one multi-byte sequence.
bool sembra_utf8(std::string_view t) {
  bool multibyte = false;
  for (size_t i = 0; i < t.size();) {
    const size_t n = lunghezza_utf8(t, i);
    if (n == 0) return false;
    if (n > 1) multibyte = true;
    i += n;
  }
  return multibyte;
}

// The first multi-byte UTF-8 sequence of a text read as Windows-1252, where
// a column is a byte.
std::optional<errore_codifica> primo_utf8(std::string_view t) {
  segnaposto qui;
  for (size_t i = 0; i < t.size(); ++i) {
    const auto b = static_cast<unsigned char>(t[i]);
    if (b >= 0x80) {
      const size_t n = lunghezza_utf8(t, i);
      if (n > 1) return errore_codifica{qui.riga, qui.colonna, decodifica(t, i, n), 0};
    }
    qui.avanza(b, i + 1 < t.size() ? static_cast<unsigned char>(t[i + 1]) : -1);
  }
  return std::nullopt;
}

testo_convertito da_utf8(std::string_view t) {
  testo_convertito r;
  r.codifica = codifica_testo::utf8;
  if (t.starts_with(bom)) t.remove_prefix(bom.size());
  r.testo.reserve(t.size());
  segnaposto qui;
  for (size_t i = 0; i < t.size();) {
    const auto b = static_cast<unsigned char>(t[i]);
    const size_t n = lunghezza_utf8(t, i);
    if (n == 0) {
      r.errore = errore_codifica{qui.riga, qui.colonna, 0, b};
      break;
    }
    const char32_t c = decodifica(t, i, n);
    const int b1252 = byte_cp1252(c);
    if (b1252 < 0) {
      r.errore = errore_codifica{qui.riga, qui.colonna, c, 0};
      break;
    }
    r.testo += static_cast<char>(b1252);
    qui.avanza(b, i + 1 < t.size() ? static_cast<unsigned char>(t[i + 1]) : -1);
    i += n;
  }
  if (r.errore) r.testo.clear();
  return r;
}

}  // namespace

std::string_view nome_codifica(codifica_testo c) {
  switch (c) {
    case codifica_testo::automatica:
      return "auto";
    case codifica_testo::utf8:
      return "utf-8";
    case codifica_testo::windows1252:
      return "windows-1252";
  }
  return "";
}

std::optional<codifica_testo> codifica_di_nome(std::string_view nome) {
  for (codifica_testo c : {codifica_testo::automatica, codifica_testo::utf8, codifica_testo::windows1252})
    if (nome == nome_codifica(c)) return c;
  return std::nullopt;
}

size_t lunghezza_utf8(std::string_view t, size_t i) {
  const auto b = static_cast<unsigned char>(t[i]);
  if (b < 0x80) return 1;
  // The second byte's range narrows for the first bytes that would allow an
  // overlong form, a surrogate or a character past U+10FFFF.
  size_t n = 0;
  unsigned char min = 0x80, max = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) min = 0xA0;
    if (b == 0xED) max = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) min = 0x90;
    if (b == 0xF4) max = 0x8F;
  } else {
    return 0;
  }
  if (t.size() - i < n) return 0;
  const auto secondo = static_cast<unsigned char>(t[i + 1]);
  if (secondo < min || secondo > max) return 0;
  for (size_t k = 2; k < n; ++k)
    if (!continuazione(static_cast<unsigned char>(t[i + k]))) return 0;
  return n;
}

testo_convertito converti_testo_autore(std::string_view testo, codifica_testo richiesta) {
  const bool decisa = richiesta == codifica_testo::automatica;
  if (decisa)
    richiesta = testo.starts_with(bom) || sembra_utf8(testo) ? codifica_testo::utf8 : codifica_testo::windows1252;
  if (richiesta == codifica_testo::utf8) return da_utf8(testo);
  testo_convertito r;
  r.testo.assign(testo);
  if (decisa) r.misto = primo_utf8(testo);
  return r;
}

std::string testo_carattere_assente(char32_t c) {
  std::string chi = "il carattere " + nome_unicode(c);
  // The character itself, where it is one that shows.
  if (c >= 0xA0) chi += " \"" + carattere_utf8(c) + "\"";
  if (c == 0xFFFD)
    return chi + " non esiste in Windows-1252: è il segno che un editor ha sostituito una lettera che non sapeva "
                 "leggere (di solito un file in Windows-1252 aperto come UTF-8), e la lettera è persa; scrivila di "
                 "nuovo al suo posto, e apri i file con la codifica in cui sono scritti (o salvali tutti in UTF-8)";
  return chi + " non esiste in Windows-1252, la codifica dei file dello scenario";
}

std::string nome_unicode(char32_t c) {
  static constexpr char cifre[] = "0123456789ABCDEF";
  std::string esa;
  for (char32_t v = c; v != 0 || esa.size() < 4; v >>= 4) esa.insert(esa.begin(), cifre[v & 0xF]);
  return "U+" + esa;
}

std::string carattere_utf8(char32_t c) {
  const size_t n = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  std::string s(n, '\0');
  for (size_t k = n - 1; k > 0; --k) {
    s[k] = static_cast<char>(0x80 | (c & 0x3F));
    c >>= 6;
  }
  // The lead byte: n - 1 marks of length above a zero, then the rest.
  s[0] = static_cast<char>(n == 1 ? c : ((0xFF00 >> n) & 0xFF) | c);
  return s;
}

std::string testo_codifica_mista(char32_t carattere) {
  const std::string lettera = carattere_utf8(carattere);
  return "il testo non è tutto UTF-8 ed è letto come Windows-1252, ma qui c'è una lettera in UTF-8 (\"" + lettera +
         "\", che così diventa \"" + da_cp1252_a_utf8(lettera) +
         "\"): il file mescola le due codifiche; va salvato tutto in UTF-8 o tutto in Windows-1252";
}
