#include "finish/compilazione.h"

#include <algorithm>

#include "driver/form1.h"
#include "model/file_binari.h"
#include "model/righe_testo.h"
#include "model/windows1252.h"
#include "platform/piattaforma_in_memoria.h"

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
  return testo_carattere_assente(e.carattere) + ": nulla è stato scritto";
}

// Each diagnostic's line of its source, as the author wrote it.
void cita(std::vector<diagnostica>& diagnostiche, const sorgenti_build& s) {
  const indice_righe linea(s.linea), treno(s.treno);
  for (diagnostica& d : diagnostiche) {
    if (d.dove.riga <= 0 || !d.citata.empty()) continue;
    const indice_righe* indice = d.dove.sorgente == sorgente_build::linea   ? &linea
                                 : d.dove.sorgente == sorgente_build::treno ? &treno
                                                                            : nullptr;
    if (indice) d.citata = da_cp1252_a_utf8(indice->riga(d.dove.riga));
  }
}

// Keeps the first avvisi_al_massimo warnings, and a note of the rest;
// returns how many were left out.
size_t limita(std::vector<diagnostica>& diagnostiche) {
  auto avviso = [](const diagnostica& d) { return d.livello == gravita::avviso; };
  const auto avvisi = static_cast<size_t>(std::count_if(diagnostiche.begin(), diagnostiche.end(), avviso));
  if (avvisi <= avvisi_al_massimo) return 0;
  // The note stands where the first warning left out would have.
  diagnostica nota;
  nota.livello = gravita::nota;
  nota.codice = codice_avviso::avvisi_omessi;
  nota.testo = "altri " + std::to_string(avvisi - avvisi_al_massimo) + " avvisi non mostrati (se ne mostrano al più " +
               std::to_string(avvisi_al_massimo) + " per costruzione)";
  std::vector<diagnostica> tenute;
  size_t visti = 0;
  for (diagnostica& d : diagnostiche) {
    if (avviso(d) && ++visti > avvisi_al_massimo) {
      if (visti == avvisi_al_massimo + 1) tenute.push_back(std::move(nota));
      continue;
    }
    tenute.push_back(std::move(d));
  }
  diagnostiche = std::move(tenute);
  return avvisi - avvisi_al_massimo;
}

}  // namespace

sorgente_pronta prepara_sorgente(std::string_view byte, codifica_testo richiesta, sorgente_build quale) {
  sorgente_pronta p;
  testo_convertito t = converti_testo_autore(byte, richiesta);
  p.codifica = t.codifica;
  if (t.errore) {
    const errore_codifica& e = *t.errore;
    diagnostica& d = p.diagnostiche.emplace_back();
    d.livello = gravita::errore;
    d.codice = codice_avviso::codifica_non_valida;
    d.dove = {quale, {}, e.riga, e.colonna, e.riga, e.colonna + 1, {}};
    d.testo = descrivi(e);
    std::string_view riga = riga_del_testo(byte, e.riga);
    if (e.riga == 1 && riga.starts_with(bom)) riga.remove_prefix(bom.size());
    d.citata = riga_mostrabile(riga);
    return p;
  }
  if (const auto& m = t.misto) {
    diagnostica& d = p.diagnostiche.emplace_back();
    d.codice = codice_avviso::codifica_mista;
    d.dove = {quale, {}, m->riga, m->colonna, 0, 0, {}};
    d.testo = testo_codifica_mista(m->carattere);
  }
  p.testo = std::move(t.testo);
  return p;
}

std::vector<std::string_view> compilazione::immagini() const {
  if (!esito.file_scritti()) return {};
  std::vector<std::string_view> i;
  if (!linea.empty()) i.push_back(linea);
  i.push_back(sim);
  i.push_back(dat);
  return i;
}

compilazione compila(piattaforma& base, const sorgenti_build& s) {
  piattaforma_in_memoria memoria(&base);
  Form1 form(memoria);
  form.nome_scenario = s.nome_scenario;
  form.numero_treno = s.numero_treno;
  memoria.file[memoria.nome(form.percorso_file(form.nome_sorgente_linea()))] = s.linea;
  memoria.file[memoria.nome(form.percorso_file(form.nome_sorgente_treno()))] = s.treno;

  compilazione c;
  int32_t j = s.crea_linea ? 1 : 0;
  c.esito = form.compila_percorso(j);
  std::vector<diagnostica>& d = c.esito.diagnostiche;
  d.insert(d.begin(), s.diagnostiche.begin(), s.diagnostiche.end());
  ordina_diagnostiche(d);
  c.esito.avvisi_omessi = limita(d);
  cita(d, s);
  if (c.esito.file_scritti()) {
    c.sim = immagine_testata(form.testata);
    c.dat = immagine_percorso(form.percorso);
  }
  c.percorso = std::move(form.percorso);
  c.testata = form.testata;
  c.tracciato = std::move(form.tracciato);
  if (c.esito.file_scritti()) c.linea = c.tracciato.immagine();
  return c;
}
