#include "sorgente_autore.h"

#include "luogo_sorgente.h"
#include "platform/testo_percorso.h"

namespace {

constexpr std::string_view bom = "\xEF\xBB\xBF";

std::string esadecimale(unsigned char b) {
  static constexpr char cifre[] = "0123456789ABCDEF";
  return {'0', 'x', cifre[b >> 4], cifre[b & 0xF]};
}

// What is wrong at the place of `e`, in words.
std::string descrivi(const errore_codifica& e) {
  if (e.carattere == 0)
    return "il byte " + esadecimale(e.byte) +
           " non è UTF-8 valido, e il testo è letto come UTF-8 (un testo in Windows-1252 si legge con "
           "--encoding windows-1252)";
  std::string chi = "il carattere " + nome_unicode(e.carattere);
  // The character itself, where it is one that shows.
  if (e.carattere >= 0xA0) chi += " \"" + carattere_utf8(e.carattere) + "\"";
  return chi + " non esiste in Windows-1252, la codifica dei file dello scenario: nulla è stato scritto";
}

}  // namespace

lettura_sorgente leggi_sorgente_autore(piattaforma& sistema, const std::filesystem::path& p, const std::string& quale,
                                       codifica_testo richiesta) {
  lettura_sorgente r;
  std::string byte;
  if (esito e = sistema.leggi(p, byte); !e) {
    r.messaggio = "impossibile leggere il sorgente " + quale + " \"" + testo_percorso(p) + "\": " + e.motivo;
    return r;
  }
  testo_convertito t = converti_testo_autore(byte, richiesta);
  if (t.errore) {
    const errore_codifica& e = *t.errore;
    r.messaggio = prefisso_luogo(testo_percorso(p), e.riga, e.colonna) + descrivi(e);
    std::string_view riga = riga_del_testo(byte, e.riga);
    if (e.riga == 1 && riga.starts_with(bom)) riga.remove_prefix(bom.size());
    r.citata = citazione{testo_percorso(p), e.riga, e.colonna, riga_mostrabile(riga)};
    return r;
  }
  r.sorgente = sorgente_autore{std::move(t.testo), t.codifica, t.misto};
  return r;
}
