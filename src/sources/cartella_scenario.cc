// A scenario folder read into a scenario, and a scenario written as one.
#include "sources/cartella_scenario.h"

namespace {

// Why a converted character could not be, in words.
std::string descrivi_codifica(const errore_codifica& e, codifica_testo richiesta) {
  if (e.carattere == 0) {
    static constexpr char cifre[] = "0123456789ABCDEF";
    const std::string byte = {'0', 'x', cifre[e.byte >> 4], cifre[e.byte & 0xF]};
    return "il byte " + byte + " non è UTF-8 valido, e il testo è letto come UTF-8" +
           (richiesta == codifica_testo::automatica ? " (comincia con il segno di ordine dei byte UTF-8)" : "");
  }
  std::string chi = "il carattere " + nome_unicode(e.carattere);
  if (e.carattere >= 0xA0) chi += " \"" + carattere_utf8(e.carattere) + "\"";
  return chi + " non esiste in Windows-1252, la codifica dei file dello scenario";
}

// A text's lines: CR LF or LF end a line. A CR anywhere else stays in its
// line, for difetto_dello_scenario to refuse.
std::vector<std::string> dividi_righe(std::string_view testo) {
  std::vector<std::string> righe;
  size_t inizio = 0;
  while (inizio < testo.size()) {
    size_t fine = testo.find('\n', inizio);
    const bool ultima = fine == std::string_view::npos;
    if (ultima) fine = testo.size();
    std::string_view riga = testo.substr(inizio, fine - inizio);
    if (!ultima && riga.ends_with('\r')) riga.remove_suffix(1);
    righe.emplace_back(riga);
    inizio = fine + 1;
  }
  return righe;
}

}  // namespace

cartella_letta leggi_cartella_scenario(const std::array<std::string, 7>& byte, codifica_testo richiesta) {
  cartella_letta r;
  for (size_t i = 0; i < byte.size(); ++i) {
    testo_convertito t = converti_testo_autore(byte[i], richiesta);
    if (t.errore) {
      r.problema = problema_cartella{file_cartella_scenario[i], t.errore->riga, t.errore->colonna,
                                     descrivi_codifica(*t.errore, richiesta)};
      return r;
    }
    r.convertiti[i] = std::move(t.testo);
    r.codifiche[i] = t.codifica;
    if (t.misto)
      r.misti.push_back({file_cartella_scenario[i], t.misto->riga, t.misto->colonna,
                         testo_codifica_mista(t.misto->carattere)});
  }

  scenario s;
  for (const auto& [i, nome] : {std::pair{size_t{0}, &s.nome_scenario}, std::pair{size_t{1}, &s.numero_treno}}) {
    std::string_view n = r.convertiti[i];
    if (n.ends_with("\r\n"))
      n.remove_suffix(2);
    else if (n.ends_with('\n'))
      n.remove_suffix(1);
    if (n.find_first_of("\r\n") != std::string_view::npos) {
      r.problema = problema_cartella{file_cartella_scenario[i], 0, 0, "il nome deve stare su una riga sola"};
      return r;
    }
    *nome = n;
  }
  for (size_t t = 0; t < testi_scenario.size(); ++t) s.*testi_scenario[t].membro = dividi_righe(r.convertiti[2 + t]);
  if (auto d = difetto_dello_scenario(s)) {
    r.problema = problema_cartella{file_cartella_scenario[d->parte], d->riga, 0, d->testo};
    return r;
  }
  r.s = std::move(s);
  return r;
}

std::string descrivi_misto(std::string_view file, const problema_cartella& p) {
  problema_cartella avviso = p;
  // The code as the build's warnings name it (reader/avvisi.h).
  avviso.testo = "attenzione: " + p.testo + " [codifica_mista]";
  return descrivi_problema(file, avviso);
}

std::string descrivi_problema(std::string_view file, const problema_cartella& p) {
  std::string luogo(file);
  if (p.riga > 0) {
    luogo += ":" + std::to_string(p.riga);
    if (p.colonna > 0) luogo += ":" + std::to_string(p.colonna);
  }
  return luogo + ": " + p.testo;
}

std::array<std::string, 7> file_cartella(const scenario& s) {
  std::array<std::string, 7> f;
  f[0] = s.nome_scenario;
  f[1] = s.numero_treno;
  for (size_t t = 0; t < testi_scenario.size(); ++t) {
    for (const std::string& riga : s.*testi_scenario[t].membro) f[2 + t] += riga + "\r\n";
  }
  return f;
}
