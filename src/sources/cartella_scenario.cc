// A scenario folder read into a scenario, and a scenario written as one.
#include "sources/cartella_scenario.h"

#include "model/righe_testo.h"
#include "model/windows1252.h"

namespace {

// Why a converted character could not be, in words.
std::string descrivi_codifica(const errore_codifica& e, codifica_testo richiesta) {
  if (e.carattere == 0) {
    static constexpr char cifre[] = "0123456789ABCDEF";
    const std::string byte = {'0', 'x', cifre[e.byte >> 4], cifre[e.byte & 0xF]};
    return "il byte " + byte + " non è UTF-8 valido, e il testo è letto come UTF-8" +
           (richiesta == codifica_testo::automatica ? " (comincia con il segno di ordine dei byte UTF-8)" : "");
  }
  return testo_carattere_assente(e.carattere);
}

// A text's lines: CR LF, LF or CR end a line.
std::vector<std::string> dividi_righe(std::string_view testo) {
  std::vector<std::string> righe;
  size_t inizio = 0;
  while (inizio < testo.size()) {
    size_t fine = testo.find_first_of("\r\n", inizio);
    if (fine == std::string_view::npos) {
      righe.emplace_back(testo.substr(inizio));
      break;
    }
    righe.emplace_back(testo.substr(inizio, fine - inizio));
    inizio = fine + (testo.compare(fine, 2, "\r\n") == 0 ? 2 : 1);
  }
  return righe;
}

diagnostica di_cartella(gravita g, codice_avviso c, size_t file, int32_t riga, int32_t colonna, std::string testo) {
  diagnostica d;
  d.livello = g;
  d.codice = c;
  d.dove = luogo_in_cartella(file, riga, colonna);
  d.testo = std::move(testo);
  return d;
}

// The words of the name in file `i` (0 or 1), as a message names it.
const char* quale_nome(size_t i) { return i == 0 ? "il nome dello scenario" : "il numero del treno"; }

}  // namespace

std::string testo_nome_con_spazi(std::string_view quale, std::string_view nome) {
  return std::string(quale) + " \"" + std::string(nome) +
         "\" comincia o finisce con uno spazio, che va in ogni nome di file dello scenario senza vedersi; se non è "
         "voluto, va tolto";
}

luogo_testo luogo_in_cartella(size_t i, int32_t riga, int32_t colonna) {
  luogo_testo l;
  l.sorgente = i == 2 ? sorgente_build::linea : i == 3 ? sorgente_build::treno : sorgente_build::cartella;
  l.file = file_cartella_scenario[i];
  l.riga = riga;
  l.colonna = colonna;
  return l;
}

const diagnostica* cartella_letta::errore() const {
  for (const diagnostica& d : diagnostiche)
    if (d.livello == gravita::errore) return &d;
  return nullptr;
}

cartella_letta leggi_cartella_scenario(const std::array<std::string, 7>& byte, codifica_testo richiesta) {
  cartella_letta r;
  // The line a diagnostic is about, as written (converted, when it could be).
  auto cita = [&](diagnostica& d, size_t i, bool convertito) {
    if (d.dove.riga <= 0) return;
    const std::string_view riga = riga_del_testo(convertito ? r.convertiti[i] : byte[i], d.dove.riga);
    d.citata = convertito ? da_cp1252_a_utf8(riga) : riga_mostrabile(riga);
  };

  for (size_t i = 0; i < byte.size(); ++i) {
    testo_convertito t = converti_testo_autore(byte[i], richiesta);
    if (t.errore) {
      diagnostica d = di_cartella(gravita::errore, codice_avviso::codifica_non_valida, i, t.errore->riga,
                                  t.errore->colonna, descrivi_codifica(*t.errore, richiesta));
      d.dove.riga_fine = d.dove.riga;
      d.dove.colonna_fine = d.dove.colonna + 1;
      cita(d, i, false);
      r.diagnostiche.push_back(std::move(d));
      return r;
    }
    r.convertiti[i] = std::move(t.testo);
    r.codifiche[i] = t.codifica;
    if (t.misto) {
      diagnostica d = di_cartella(gravita::avviso, codice_avviso::codifica_mista, i, t.misto->riga,
                                  t.misto->colonna, testo_codifica_mista(t.misto->carattere));
      cita(d, i, true);
      r.diagnostiche.push_back(std::move(d));
    }
  }

  auto rifiuta = [&](size_t i, int32_t riga, std::string testo) {
    diagnostica d = di_cartella(gravita::errore, codice_avviso::cartella_non_valida, i, riga, 0, std::move(testo));
    cita(d, i, true);
    r.diagnostiche.push_back(std::move(d));
    return r;
  };

  scenario s;
  for (const auto& [i, nome] : {std::pair{size_t{0}, &s.nome_scenario}, std::pair{size_t{1}, &s.numero_treno}}) {
    const std::vector<std::string> righe = dividi_righe(r.convertiti[i]);
    if (righe.size() > 1) {
      // The line after the name: an empty one is most likely a line end
      // too many at the end of the file.
      const std::string cosa = righe[1].empty() ? "una riga vuota" : "un'altra riga";
      return rifiuta(i, 2,
                     std::string(quale_nome(i)) + " sta su una riga sola, senza altre righe dopo di lui: la riga 2 è " +
                         cosa + (i == 1 ? " (il file contiene il numero del treno, non un nome né una nota)" : "") +
                         "; va tolta");
    }
    *nome = righe.empty() ? std::string() : righe[0];
    // A blank at either end goes into every file name, where it does not show.
    if (!nome->empty() && (nome->front() == ' ' || nome->back() == ' ' || nome->front() == '\t' ||
                           nome->back() == '\t')) {
      diagnostica d = di_cartella(gravita::avviso, codice_avviso::nome_con_spazi, i, 1,
                                  nome->front() == ' ' || nome->front() == '\t'
                                      ? 1
                                      : static_cast<int32_t>(nome->find_last_not_of(" \t") + 2),
                                  testo_nome_con_spazi(quale_nome(i), da_cp1252_a_utf8(*nome)));
      cita(d, i, true);
      r.diagnostiche.push_back(std::move(d));
    }
  }
  for (size_t t = 0; t < testi_scenario.size(); ++t) s.*testi_scenario[t].membro = dividi_righe(r.convertiti[2 + t]);
  if (auto d = difetto_dello_scenario(s)) return rifiuta(d->parte, d->riga, d->testo);
  r.s = std::move(s);
  return r;
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
